// Memory image encryption against an independent implementation of the image layout, password
// generation and strength rating.
//
// Cost: scheme 2 derives two keys of 262144 PBKDF2 iterations per call; this file makes about 35
// such calls, most of them refusing altered images.
#include "Security.h"

#include <QtTest>

#include <openssl/evp.h>

#include <algorithm>
#include <cmath>
#include <numeric>

using namespace Qt::StringLiterals;

namespace
{
constexpr int MEMORY_SIZE = 131072;
constexpr int INNER_BLOCK_OFFSET = 44;
constexpr int CHECK_VALUE_OFFSET = 130948;
constexpr int STORE_OFFSET = INNER_BLOCK_OFFSET + 48;
constexpr int TAG_OFFSET = INNER_BLOCK_OFFSET + 131012;

// By scheme (1, 2), from the image format: PBKDF2 iterations, bytes under GCM, bytes a decryption gives back.
constexpr int ITERATIONS[] = {0, 16384, 262144};
constexpr int GCM_SIZE[] = {0, 130980, 130964};
constexpr int RESTORED_SIZE[] = {0, CHECK_VALUE_OFFSET, 130964};

const QString DATA_DIRECTORY = QStringLiteral(PAVISOR_SOURCE_DIR "/tests/data/");

// The fixed inputs of the known-answer images (see tests/data/README.md).
const QString KNOWN_ANSWER_PASSWORD = u"Cl\u00e9 de test \u2713 42"_s;

QByteArray knownAnswerPlaintext()
{
    QByteArray plaintext(MEMORY_SIZE, '\0');
    for (int i = 0; i < MEMORY_SIZE; i++)
        plaintext[i] = static_cast<char>((i * 131 + 17) & 0xFF);
    const QByteArray prefix("Known-answer plaintext of the memory image test.");
    return plaintext.replace(0, prefix.size() + 1, prefix + '\0');
}

QByteArray randomImage()
{
    QByteArray bytes(MEMORY_SIZE, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(bytes.data()), MEMORY_SIZE / 4);
    return bytes;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// unsigned char* for a buffer, const unsigned char* for a constant one.
template <typename Buffer> auto* bytesOf(Buffer& buffer)
{
    return reinterpret_cast<std::conditional_t<std::is_const_v<Buffer>, const uchar, uchar>*>(buffer.data());
}

QByteArray flipped(QByteArray image, int offset)
{
    image[offset] = static_cast<char>(image[offset] ^ 0x10);
    return image;
}

// XOR with the keystream of ChaCha20 (iv: counter and nonce) or of AES-256-GCM (no tag checked).
QByteArray keystreamXor(bool isGcm, const QByteArray& key, const QByteArray& iv, const QByteArray& input)
{
    QByteArray output(input.size(), '\0');
    int length = 0;
    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    const bool isDone =
        EVP_EncryptInit_ex(context, isGcm ? EVP_aes_256_gcm() : EVP_chacha20(), nullptr, nullptr, nullptr) &&
        (!isGcm || EVP_CIPHER_CTX_ctrl(context, EVP_CTRL_GCM_SET_IVLEN, int(iv.size()), nullptr)) &&
        EVP_EncryptInit_ex(context, nullptr, nullptr, bytesOf(key), bytesOf(iv)) &&
        EVP_EncryptUpdate(context, bytesOf(output), &length, bytesOf(input), int(input.size()));
    EVP_CIPHER_CTX_free(context);
    return isDone ? output : QByteArray();
}

// The inner salt and IV exist only under the outer layer: open it by hand. Returns the 48-byte inner
// header, or nothing when the plaintext under it is not `plaintext` (a wrong peel proves nothing).
QByteArray innerHeaderOf(const QString& password, int schemeId, const QByteArray& image,
                         const QByteArray& plaintext)
{
    const QByteArray passwordBytes = password.toUtf8();
    const auto derive = [&](const QByteArray& salt)
    {
        QByteArray key(32, '\0');
        PKCS5_PBKDF2_HMAC(passwordBytes.constData(), int(passwordBytes.size()), bytesOf(salt),
                          int(salt.size()), ITERATIONS[schemeId], EVP_sha256(), 32, bytesOf(key));
        return key;
    };
    const QByteArray inner =
        keystreamXor(false, derive(image.left(32)), QByteArray(4, '\0') + image.mid(32, 12),
                     image.mid(INNER_BLOCK_OFFSET));
    const int restored = RESTORED_SIZE[schemeId];
    const QByteArray opened =
        keystreamXor(true, derive(inner.left(32)), inner.mid(32, 16), inner.mid(48, restored));
    return opened == plaintext.left(restored) ? inner.left(48) : QByteArray();
}

using Scheme = Security::EncryptionSchemeId;
} // namespace

class TestSecurity : public QObject
{
    Q_OBJECT

    QStringList _callsLeavingScratchDirty;

    void checkScratchBlocks(const char* call)
    {
        for (int schemeId : {1, 2})
            for (bool isEncryption : {true, false})
            {
                const unsigned char* block = Security::testOnlyScratchBlock(Scheme(schemeId), isEncryption);
                if (block == nullptr ||
                    std::any_of(block, block + MEMORY_SIZE, [](unsigned char b) { return b != 0; }))
                    _callsLeavingScratchDirty << QString::asprintf(
                        "%s (scheme %d %s)", call, schemeId, isEncryption ? "encryption" : "decryption");
            }
    }

    // Every encryption call goes through these, which also check that the call left the scratch
    // blocks wiped; cleanup() fails the test function if any call did not.
    int encrypt(const QString& password, int schemeId, QByteArray& buffer)
    {
        const int result = Security::encryptMemoryData(password, Scheme(schemeId), bytesOf(buffer));
        checkScratchBlocks("encryptMemoryData");
        return result;
    }

    int decrypt(const QString& password, int schemeId, QByteArray& buffer)
    {
        const int result = Security::decryptMemoryData(password, Scheme(schemeId), bytesOf(buffer));
        checkScratchBlocks("decryptMemoryData");
        return result;
    }

    // Decrypts a copy of `image`: 0, `plaintext` restored and the bytes past the GCM range left as
    // the image's own. The decrypted copy goes to `output`.
    bool opensTo(const QString& password, int schemeId, const QByteArray& image, const QByteArray& plaintext,
                 QByteArray* output = nullptr)
    {
        QByteArray buffer = image;
        const int restored = RESTORED_SIZE[schemeId];
        const bool isOpened = decrypt(password, schemeId, buffer) == 0 &&
                              buffer.left(restored) == plaintext.left(restored) &&
                              buffer.mid(GCM_SIZE[schemeId]) == image.mid(GCM_SIZE[schemeId]);
        if (output != nullptr)
            *output = buffer;
        return isOpened;
    }

    // Decrypts a copy of an image that must not open: 1, and nothing under GCM handed out.
    bool isRefused(const QString& password, int schemeId, const QByteArray& image)
    {
        QByteArray buffer = image;
        return decrypt(password, schemeId, buffer) == 1 &&
               std::all_of(buffer.cbegin(), buffer.cbegin() + GCM_SIZE[schemeId],
                           [](char b) { return b == 0; });
    }

private slots:
    void cleanup()
    {
        const QStringList dirty = std::exchange(_callsLeavingScratchDirty, {});
        QVERIFY2(dirty.isEmpty(), qPrintable(dirty.join(u", "_s)));
    }

    void knownAnswerImagesOpen()
    {
        const QByteArray plaintext = knownAnswerPlaintext();
        const QByteArray images[] = {readFile(DATA_DIRECTORY + u"known_answer_scheme1.bin"_s),
                                     readFile(DATA_DIRECTORY + u"known_answer_scheme2.bin"_s)};
        QByteArray opened;
        for (int schemeId : {1, 2})
        {
            QCOMPARE(images[schemeId - 1].size(), MEMORY_SIZE);
            QVERIFY(opensTo(KNOWN_ANSWER_PASSWORD, schemeId, images[schemeId - 1], plaintext, &opened));
            if (schemeId == 1)
            {
                // The check value is SHA-256 of the fixed inner salt (0x00..0x1F) and IV (0x20..0x2F).
                QByteArray innerHeader(48, 0);
                std::iota(innerHeader.begin(), innerHeader.end(), 0);
                QCOMPARE(opened.mid(CHECK_VALUE_OFFSET, 32),
                         QCryptographicHash::hash(innerHeader, QCryptographicHash::Sha256));
            }
        }
        // Each image opens under its own scheme only, and only with its own password.
        QVERIFY(isRefused(KNOWN_ANSWER_PASSWORD, 2, images[0]));
        QVERIFY(isRefused(KNOWN_ANSWER_PASSWORD, 1, images[1]));
        QVERIFY(isRefused(u"Cle de test \u2713 42"_s, 1, images[0]));
    }

    void imagesAreFreshAndOpenWithTheirPasswordOnly()
    {
        // The empty master password is a password like any other.
        const QString passwords[] = {QString(), u"correct horse battery staple"_s};
        const QString nearMisses[] = {u" "_s, u"correct horse battery stapler"_s};
        const QByteArray plaintext = randomImage();
        for (int schemeId : {1, 2})
        {
            const QString& password = passwords[schemeId - 1];
            // Two encryptions of the same content: both open. Each random value is drawn anew and on its
            // own: the eight values of the two images do not share even their first 12 bytes.
            QByteArray images[2] = {plaintext, plaintext};
            QSet<QByteArray> prefixes;
            for (QByteArray& image : images)
            {
                QCOMPARE(encrypt(password, schemeId, image), 0);
                QVERIFY(opensTo(password, schemeId, image, plaintext));
                const QByteArray innerHeader = innerHeaderOf(password, schemeId, image, plaintext);
                QCOMPARE(innerHeader.size(), 48);
                for (const QByteArray& value :
                     {image.left(32), image.mid(32, 12), innerHeader.left(32), innerHeader.mid(32)})
                    prefixes.insert(value.left(12));
            }
            QCOMPARE(prefixes.size(), 8);
            QVERIFY(isRefused(nearMisses[schemeId - 1], schemeId, images[0]));
        }
    }

    void writtenImagesOpenWithIndependentDecryption()
    {
        const QString python = QStandardPaths::findExecutable(u"python3"_s);
        if (python.isEmpty())
            QSKIP("python3 is not installed: images are not checked by the independent decryption");
        QTemporaryDir directory;
        QVERIFY(directory.isValid());
        const QString input = directory.filePath(u"image.bin"_s),
                      result = directory.filePath(u"decrypted.bin"_s);
        // The independent reader's exit code (1 when the password does not open the image), its whole
        // buffer in `output`.
        auto decryptIndependently = [&](int schemeId, const QString& password, const QByteArray& image,
                                        QByteArray* output) -> int
        {
            QFile::remove(result);
            QFile file(input);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(image) != image.size())
                return -100;
            file.close();
            QProcess process;
            process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            process.start(python, {DATA_DIRECTORY + u"make_known_answer_images.py"_s, u"decrypt"_s,
                                   QString::number(schemeId), QString::fromLatin1(password.toUtf8().toHex()),
                                   input, result});
            if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit)
                return -101;
            *output = readFile(result);
            return process.exitCode();
        };

        const QPair<int, QString> cases[] = {{1, u"Mot de passe \u00e0 l'\u00e9preuve \U0001F511"_s},
                                             {1, QString()},
                                             {Security::ENCRYPTION_SCHEME_ID_WRITTEN, u"Stra\u00dfe 2"_s}};
        for (const auto& [schemeId, password] : cases)
        {
            // The independent reader checks the check value or the tag itself; its whole buffer must be
            // what our own decryption leaves.
            const QByteArray plaintext = randomImage();
            QByteArray image = plaintext;
            QCOMPARE(encrypt(password, schemeId, image), 0);
            QByteArray independent;
            const int exitCode = decryptIndependently(schemeId, password, image, &independent);
            if (exitCode == 3)
                QSKIP("the python3 'cryptography' package is missing: no independent decryption");
            QCOMPARE(exitCode, 0);
            QByteArray own;
            QVERIFY(opensTo(password, schemeId, image, plaintext, &own));
            QCOMPARE(independent, own);
        }
        // The harness itself tells a wrong password apart.
        QByteArray image = randomImage();
        QCOMPARE(encrypt(u"right"_s, 1, image), 0);
        QByteArray independent;
        QCOMPARE(decryptIndependently(1, u"wrong"_s, image, &independent), 1);
    }

    void retiredAndUnknownSchemesAreRefused()
    {
        const QByteArray original = randomImage();
        QByteArray buffer = original;
        const QString password = u"password"_s;
        // Scheme 0 never writes, and never accepts an image, so that a reader trying every scheme ends
        // with "wrong password"; no call touches the buffer.
        QCOMPARE(QList<int>({encrypt(password, 0, buffer), decrypt(password, 0, buffer)}),
                 QList<int>({-1, 1}));
        for (int unknown : {3, -1, 255})
            QCOMPARE(QList<int>({encrypt(password, unknown, buffer), decrypt(password, unknown, buffer),
                                 Security::getAvailableMemory(Scheme(unknown))}),
                     QList<int>({-1, -1, -1}));
        QCOMPARE(buffer, original);
        const int availableMemory[] = {131052, 130948, 130964};
        for (int schemeId : {0, 1, 2})
            QCOMPARE(Security::getAvailableMemory(Scheme(schemeId)), availableMemory[schemeId]);
    }

    void alteredImagesAreRefused()
    {
        const QString password = KNOWN_ANSWER_PASSWORD;
        const QByteArray scheme1Image = readFile(DATA_DIRECTORY + u"known_answer_scheme1.bin"_s);
        QCOMPARE(scheme1Image.size(), MEMORY_SIZE);
        // An erased or blank device and random garbage are "wrong password", not errors.
        for (int schemeId : {1, 2})
            for (const char fill : {'\0', '\xFF'})
                QVERIFY(isRefused(password, schemeId, QByteArray(MEMORY_SIZE, fill)));
        QVERIFY(isRefused(password, 1, randomImage()));
        // A write cut short: the start of a good image, the rest still erased.
        QVERIFY(isRefused(password, 1, scheme1Image.left(4096) + QByteArray(MEMORY_SIZE - 4096, '\xFF')));

        // Scheme 1 checks the salts, the nonce, the IV and its check value, every byte of it.
        QList<int> offsets = {0, 31, 32, 43, INNER_BLOCK_OFFSET, INNER_BLOCK_OFFSET + 47};
        for (int i = 0; i < 32; i++)
            offsets << STORE_OFFSET + CHECK_VALUE_OFFSET + i;
        for (int offset : offsets)
            QVERIFY2(isRefused(password, 1, flipped(scheme1Image, offset)),
                     qPrintable(QString::number(offset)));
        // Nothing in scheme 1 covers the store itself: a changed byte there reads through as it is.
        QVERIFY(opensTo(password, 1, flipped(scheme1Image, STORE_OFFSET + 1000),
                        flipped(knownAnswerPlaintext(), 1000)));

        // What the application writes carries a tag over the whole store: one byte changed in the store,
        // past it or in the tag, and the image does not open.
        const QByteArray plaintext = randomImage();
        QByteArray written = plaintext;
        QCOMPARE(encrypt(password, Security::ENCRYPTION_SCHEME_ID_WRITTEN, written), 0);
        QVERIFY(opensTo(password, 2, written, plaintext));
        offsets = {STORE_OFFSET, STORE_OFFSET + 65536, STORE_OFFSET + CHECK_VALUE_OFFSET - 1,
                   STORE_OFFSET + GCM_SIZE[2] - 1};
        for (int i = 0; i < 16; i++)
            offsets << TAG_OFFSET + i;
        for (int offset : offsets)
            QVERIFY2(isRefused(password, 2, flipped(written, offset)), qPrintable(QString::number(offset)));
    }

    void generatedPasswords()
    {
        // Classes as the rating defines them: lowercase, uppercase, digits, everything else.
        const auto classesOf = [](const QString& text)
        {
            std::vector<int> classes(4);
            for (const QChar character : text)
            {
                const char16_t c = character.unicode();
                classes[c >= u'a' && c <= u'z'   ? 0
                        : c >= u'A' && c <= u'Z' ? 1
                        : c >= u'0' && c <= u'9' ? 2
                                                 : 3]++;
            }
            return classes;
        };
        // The shortest request with every class: exactly one character of each.
        for (int i = 0; i < 200; i++)
            QCOMPARE(classesOf(Security::generateRandomPassword(4, 4, true, true, true, true)),
                     std::vector<int>({1, 1, 1, 1}));

        // The editor's automatic mode: 20 to 30 characters, every class present, both bounds reached;
        // every call seeds its own generator, so no repeats. Its characters come from the table: 27
        // distinct symbols, the hyphen-minus in it twice.
        const QString symbols = u"&\"#{}()[]-|_\\@=+,?;.:/!*%<>"_s;
        QSet<int> lengths;
        QSet<QString> passwords;
        QHash<QChar, int> counts;
        int symbolsCount = 0;
        for (int i = 0; i < 2000; i++)
        {
            const QString password = Security::generateRandomPassword(20, 30, true, true, true, true);
            const std::vector<int> classes = classesOf(password);
            QVERIFY2(password.size() >= 20 && password.size() <= 30 &&
                         std::all_of(classes.begin(), classes.end(), [](int count) { return count > 0; }),
                     qPrintable(password));
            lengths.insert(password.size());
            passwords.insert(password);
            symbolsCount += classes[3];
            for (const QChar character : password)
                counts[character]++;
        }
        QCOMPARE(QList<qsizetype>({lengths.size(), passwords.size(), counts.size()}),
                 QList<qsizetype>({11, 2000, 10 + 26 + 26 + 27}));
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            QVERIFY2(it.key().isLetterOrNumber() ? it.key().unicode() < 128 : symbols.contains(it.key()),
                     qPrintable(u"unexpected character %1"_s.arg(it.key())));
        // About 15000 symbols: 540 expected for each, 1080 for the hyphen (standard deviation about 23).
        for (const QChar symbol : symbols)
        {
            const double expected = symbolsCount / 28.0 * (symbol == QLatin1Char('-') ? 2 : 1);
            QVERIFY2(std::abs(counts.value(symbol) - expected) < 0.25 * expected,
                     qPrintable(u"%1 drawn %2 times"_s.arg(symbol).arg(counts.value(symbol))));
        }

        // Every subset of classes: allowed classes all present, the others absent.
        for (int mask = 1; mask < 16; mask++)
            for (int i = 0; i < 30; i++)
            {
                const QString password =
                    Security::generateRandomPassword(8, 8, mask & 1, mask & 2, mask & 4, mask & 8);
                const std::vector<int> classes = classesOf(password);
                QCOMPARE(password.size(), 8);
                for (int c = 0; c < 4; c++)
                    QVERIFY2(((mask >> c) & 1) == (classes[c] > 0),
                             qPrintable(u"mask %1: %2"_s.arg(mask).arg(password)));
            }
        // The advanced mode's longest password.
        QCOMPARE(classesOf(Security::generateRandomPassword(1024, 1024, false, false, true, false)),
                 std::vector<int>({0, 0, 1024, 0}));
        // Requests that could never be met give an empty text rather than hanging.
        QVERIFY(Security::generateRandomPassword(10, 20, false, false, false, false).isEmpty());
        QVERIFY(Security::generateRandomPassword(3, 3, true, true, true, true).isEmpty());
        QVERIFY(Security::generateRandomPassword(12, 11, true, false, false, false).isEmpty());
    }

    void strengthRatings()
    {
        const QString words[] = {"very weak", "weak", "average", "good", "excellent"};
        // Per rating, with their entropy bits (length x log2(pool), truncated). Non-ASCII letters are
        // symbols (pool 28: 15 of them give 72 bits, as lowercase they would give 70); length counts
        // UTF-16 code units (8 emoji are 16 units, 76 bits).
        const QStringList passwords[] = {
            {QString(), "abcdefgh", "abcde#!"},                                              // 0, 37, 40
            {"abC1efg", "abcd1234", "abcdefghi", "abcd1234#!"},                              // 41, 41, 42, 60
            {"abcdefghijklm", "aB3#aB3#aB", "abcdefghijklmno"},                              // 61, 64, 70
            {"aB3#aB3#aB3", "aB3#aB3#aB3#", "aB3#aB3#aB3#aB", "abcde12345#!?%&",             // 71, 77, 90, 90
             QString(15, QChar(0x00E9)), QString::fromUtf8("\xF0\x9F\x94\x91").repeated(8)}, // 72, 76
            {"aB3#aB3#aB3#aB3", "abcdefghABCDEFGH", "! ? # % & * ( ) - +"},                  // 97, 91, 91
        };
        for (int rating = 0; rating < 5; rating++)
            for (const QString& password : passwords[rating])
            {
                QString text = u"untouched"_s;
                QVERIFY2(Security::computePasswordStrength(password, &text) == rating &&
                             text == words[rating] &&
                             Security::computePasswordStrength(password, nullptr) == rating,
                         qPrintable(password + u": "_s + text));
            }
    }
};

QTEST_GUILESS_MAIN(TestSecurity)
#include "tst_security.moc"
