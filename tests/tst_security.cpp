// Memory image encryption against an independent implementation of the image layout, password
// generation and strength rating.
//
// Cost: scheme 2 derives two keys of 262144 PBKDF2 iterations per call; this file makes 10 such
// calls (2 known-answer, 4 round trip, 2 independent check, 2 damaged image), the rest is scheme 1.
#include "Security.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>

namespace
{
constexpr int MEMORY_SIZE = 131072;
constexpr int SCHEME1_GCM_SIZE = 130980;
constexpr int SCHEME2_GCM_SIZE = 130964;
constexpr int CHECK_VALUE_OFFSET = 130948;

const QString DATA_DIRECTORY = QStringLiteral(PAVISOR_SOURCE_DIR "/tests/data/");
const QString INDEPENDENT_IMPLEMENTATION = DATA_DIRECTORY + QStringLiteral("make_known_answer_images.py");

// The fixed inputs of the known-answer images (see tests/data/README.md).
const QString KNOWN_ANSWER_PASSWORD = QStringLiteral(u"Cl\u00e9 de test \u2713 42");

QByteArray knownAnswerPlaintext()
{
    QByteArray plaintext(MEMORY_SIZE, '\0');
    for (int i = 0; i < MEMORY_SIZE; i++)
        plaintext[i] = static_cast<char>((i * 131 + 17) & 0xFF);
    const QByteArray prefix("Known-answer plaintext of the memory image test.");
    plaintext.replace(0, prefix.size() + 1, QByteArray(prefix).append('\0'));
    return plaintext;
}

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; i++)
        bytes[i] = static_cast<char>(QRandomGenerator::global()->generate() & 0xFF);
    return bytes;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

unsigned char* bytesOf(QByteArray& buffer)
{
    return reinterpret_cast<unsigned char*>(buffer.data());
}

Security::EncryptionSchemeId scheme(int id)
{
    return static_cast<Security::EncryptionSchemeId>(id);
}

int gcmSize(int schemeId)
{
    return schemeId == 1 ? SCHEME1_GCM_SIZE : SCHEME2_GCM_SIZE;
}
} // namespace

class TestSecurity : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void knownAnswerImagesOpen();
    void roundTripsAndWrongPasswords();
    void writtenImagesOpenWithIndependentDecryption();
    void retiredAndUnknownSchemesAreRefused();
    void damagedImagesAreRejected();
    void generatedPasswordsFollowTheClassRules();
    void generatedCharactersComeFromTheTable();
    void strengthRatings_data();
    void strengthRatings();

private:
    // Every encryption call goes through these two, which also check that the call left the
    // scratch blocks wiped; cleanup() fails the test function if any call did not.
    int encrypt(const QString& password, int schemeId, QByteArray& buffer);
    int decrypt(const QString& password, int schemeId, QByteArray& buffer);
    void checkScratchBlocks(const char* call);

    QStringList _callsLeavingScratchDirty;
};

void TestSecurity::checkScratchBlocks(const char* call)
{
    for (int schemeId : {1, 2})
        for (bool isEncryption : {true, false})
        {
            const unsigned char* block = Security::testOnlyScratchBlock(scheme(schemeId), isEncryption);
            if (block == nullptr ||
                std::any_of(block, block + MEMORY_SIZE, [](unsigned char b) { return b != 0; }))
                _callsLeavingScratchDirty << QStringLiteral("%1 (scratch of scheme %2 %3)")
                                                 .arg(QLatin1String(call))
                                                 .arg(schemeId)
                                                 .arg(isEncryption ? "encryption" : "decryption");
        }
}

int TestSecurity::encrypt(const QString& password, int schemeId, QByteArray& buffer)
{
    const int result = Security::encryptMemoryData(password, scheme(schemeId), bytesOf(buffer));
    checkScratchBlocks("encryptMemoryData");
    return result;
}

int TestSecurity::decrypt(const QString& password, int schemeId, QByteArray& buffer)
{
    const int result = Security::decryptMemoryData(password, scheme(schemeId), bytesOf(buffer));
    checkScratchBlocks("decryptMemoryData");
    return result;
}

void TestSecurity::cleanup()
{
    const QStringList dirty = _callsLeavingScratchDirty;
    _callsLeavingScratchDirty.clear();
    QVERIFY2(dirty.isEmpty(), qPrintable(dirty.join(QStringLiteral(", "))));
}

void TestSecurity::knownAnswerImagesOpen()
{
    const QByteArray plaintext = knownAnswerPlaintext();
    const QByteArray images[] = {readFile(DATA_DIRECTORY + QStringLiteral("known_answer_scheme1.bin")),
                                 readFile(DATA_DIRECTORY + QStringLiteral("known_answer_scheme2.bin"))};
    for (int schemeId : {1, 2})
    {
        const QByteArray& image = images[schemeId - 1];
        QCOMPARE(image.size(), MEMORY_SIZE);
        QByteArray buffer = image;
        QCOMPARE(decrypt(KNOWN_ANSWER_PASSWORD, schemeId, buffer), 0);
        const int available = Security::getAvailableMemory(scheme(schemeId));
        QCOMPARE(buffer.left(available), plaintext.left(available));
        // Past the GCM range the buffer keeps the image's own bytes.
        QCOMPARE(buffer.mid(gcmSize(schemeId)), image.mid(gcmSize(schemeId)));
        if (schemeId == 1)
        {
            // The check value is SHA-256 of the fixed inner salt (0x00..0x1F) and IV (0x20..0x2F).
            QByteArray innerHeader;
            for (int i = 0; i < 48; i++)
                innerHeader.append(static_cast<char>(i));
            QCOMPARE(buffer.mid(CHECK_VALUE_OFFSET, 32),
                     QCryptographicHash::hash(innerHeader, QCryptographicHash::Sha256));
        }
    }

    // Each image opens under its own scheme only, and only with its own password.
    QByteArray buffer = images[0];
    QCOMPARE(decrypt(KNOWN_ANSWER_PASSWORD, 2, buffer), 1);
    buffer = images[1];
    QCOMPARE(decrypt(KNOWN_ANSWER_PASSWORD, 1, buffer), 1);
    buffer = images[0];
    QCOMPARE(decrypt(QStringLiteral("Cle de test \u2713 42"), 1, buffer), 1);
}

void TestSecurity::roundTripsAndWrongPasswords()
{
    const QString password = QStringLiteral("correct horse battery staple");
    const QByteArray plaintext = randomBytes(MEMORY_SIZE);

    // Scheme 1, twice: fresh salts, IV and nonce each time, and both images open.
    QByteArray first = plaintext;
    QByteArray second = plaintext;
    QCOMPARE(encrypt(password, 1, first), 0);
    QCOMPARE(encrypt(password, 1, second), 0);
    QVERIFY(first.left(32) != second.left(32));
    QVERIFY(first.mid(32, 12) != second.mid(32, 12));
    QVERIFY(first.mid(44) != second.mid(44));
    QVERIFY(first.mid(44, 4096) != plaintext.mid(44, 4096));
    for (const QByteArray& image : {first, second})
    {
        QByteArray buffer = image;
        QCOMPARE(decrypt(password, 1, buffer), 0);
        QCOMPARE(buffer.left(CHECK_VALUE_OFFSET), plaintext.left(CHECK_VALUE_OFFSET));
        QCOMPARE(buffer.mid(SCHEME1_GCM_SIZE), image.mid(SCHEME1_GCM_SIZE));
    }
    QByteArray buffer = first;
    QCOMPARE(decrypt(QStringLiteral("correct horse battery stapler"), 1, buffer), 1);
    buffer = first;
    QCOMPARE(decrypt(password, 2, buffer), 1);

    // Scheme 2.
    QByteArray image = plaintext;
    QCOMPARE(encrypt(password, 2, image), 0);
    buffer = image;
    QCOMPARE(decrypt(password, 2, buffer), 0);
    QCOMPARE(buffer.left(SCHEME2_GCM_SIZE), plaintext.left(SCHEME2_GCM_SIZE));
    QCOMPARE(buffer.mid(SCHEME2_GCM_SIZE), image.mid(SCHEME2_GCM_SIZE));
    buffer = image;
    QCOMPARE(decrypt(QStringLiteral("Correct horse battery staple"), 2, buffer), 1);

    // The empty master password is a password like any other.
    image = plaintext;
    QCOMPARE(encrypt(QString(), 1, image), 0);
    buffer = image;
    QCOMPARE(decrypt(QString(), 1, buffer), 0);
    QCOMPARE(buffer.left(CHECK_VALUE_OFFSET), plaintext.left(CHECK_VALUE_OFFSET));
    buffer = image;
    QCOMPARE(decrypt(QStringLiteral(" "), 1, buffer), 1);
}

void TestSecurity::writtenImagesOpenWithIndependentDecryption()
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        QSKIP("python3 is not installed: images are not checked by the independent decryption");
    QProcess probe;
    probe.start(python,
                {QStringLiteral("-c"), QStringLiteral("import cryptography.hazmat.primitives.ciphers")});
    if (!probe.waitForFinished(60000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        QSKIP("python3 'cryptography' package is missing: images are not checked by the independent "
              "decryption");

    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    auto runIndependentDecryption = [&](int schemeId, const QString& password, const QByteArray& image,
                                        QByteArray* output) -> int
    {
        const QString input = directory.filePath(QStringLiteral("image.bin"));
        const QString result = directory.filePath(QStringLiteral("decrypted.bin"));
        QFile::remove(result);
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(image) != image.size())
            return -100;
        file.close();
        QProcess process;
        process.start(python,
                      {INDEPENDENT_IMPLEMENTATION, QStringLiteral("decrypt"), QString::number(schemeId),
                       QString::fromLatin1(password.toUtf8().toHex()), input, result});
        if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit)
            return -101;
        if (process.exitCode() > 1)
            qWarning("independent decryption: exit %d %s", process.exitCode(),
                     process.readAllStandardError().constData());
        *output = readFile(result);
        return process.exitCode();
    };

    const struct
    {
        int schemeId;
        QString password;
    } cases[] = {{1, QStringLiteral(u"Mot de passe \u00e0 l'\u00e9preuve \U0001F511")},
                 {1, QString()},
                 {2, QStringLiteral(u"Stra\u00dfe 2")}};
    for (const auto& testCase : cases)
    {
        const QByteArray plaintext = randomBytes(MEMORY_SIZE);
        QByteArray image = plaintext;
        QCOMPARE(encrypt(testCase.password, testCase.schemeId, image), 0);

        // The independent reader checks the check value or the tag itself; its whole buffer must
        // be what our own decryption leaves.
        QByteArray independent;
        QCOMPARE(runIndependentDecryption(testCase.schemeId, testCase.password, image, &independent), 0);
        QCOMPARE(independent.size(), MEMORY_SIZE);
        const int available = Security::getAvailableMemory(scheme(testCase.schemeId));
        QCOMPARE(independent.left(available), plaintext.left(available));
        QByteArray own = image;
        QCOMPARE(decrypt(testCase.password, testCase.schemeId, own), 0);
        QCOMPARE(own, independent);
    }

    // The harness itself tells a wrong password apart.
    QByteArray image = randomBytes(MEMORY_SIZE);
    QCOMPARE(encrypt(QStringLiteral("right"), 1, image), 0);
    QByteArray independent;
    QCOMPARE(runIndependentDecryption(1, QStringLiteral("wrong"), image, &independent), 1);
}

void TestSecurity::retiredAndUnknownSchemesAreRefused()
{
    const QByteArray original = randomBytes(MEMORY_SIZE);
    QByteArray buffer = original;

    // Scheme 0 never writes, and never accepts an image, so that a reader trying every scheme
    // ends with "wrong password"; neither touches the buffer.
    QCOMPARE(encrypt(QStringLiteral("password"), 0, buffer), -1);
    QCOMPARE(buffer, original);
    QCOMPARE(decrypt(QStringLiteral("password"), 0, buffer), 1);
    QCOMPARE(buffer, original);

    for (int unknown : {3, -1, 255})
    {
        QCOMPARE(encrypt(QStringLiteral("password"), unknown, buffer), -1);
        QCOMPARE(decrypt(QStringLiteral("password"), unknown, buffer), -1);
        QCOMPARE(buffer, original);
        QCOMPARE(Security::getAvailableMemory(scheme(unknown)), -1);
    }

    QCOMPARE(Security::getAvailableMemory(Security::ENCRYPTION_SCHEME_ID_0), 131052);
    QCOMPARE(Security::getAvailableMemory(Security::ENCRYPTION_SCHEME_ID_1), 130948);
    QCOMPARE(Security::getAvailableMemory(Security::ENCRYPTION_SCHEME_ID_2), 130964);
}

void TestSecurity::damagedImagesAreRejected()
{
    const QString password = KNOWN_ANSWER_PASSWORD;
    const QByteArray scheme1Image = readFile(DATA_DIRECTORY + QStringLiteral("known_answer_scheme1.bin"));
    const QByteArray scheme2Image = readFile(DATA_DIRECTORY + QStringLiteral("known_answer_scheme2.bin"));
    QCOMPARE(scheme1Image.size(), MEMORY_SIZE);
    QCOMPARE(scheme2Image.size(), MEMORY_SIZE);

    // An erased or blank device and random garbage are "wrong password", not errors.
    QByteArray buffer(MEMORY_SIZE, '\0');
    QCOMPARE(decrypt(password, 1, buffer), 1);
    buffer.fill('\0');
    QCOMPARE(decrypt(password, 2, buffer), 1);
    buffer.fill('\xFF');
    QCOMPARE(decrypt(password, 1, buffer), 1);
    buffer = randomBytes(MEMORY_SIZE);
    QCOMPARE(decrypt(password, 1, buffer), 1);

    // A write cut short: the start of a good image, the rest still erased.
    buffer = scheme1Image.left(4096) + QByteArray(MEMORY_SIZE - 4096, '\xFF');
    QCOMPARE(decrypt(password, 1, buffer), 1);

    // Scheme 1 checks only the inner header: a damaged check value is refused...
    buffer = scheme1Image;
    buffer[44 + 48 + CHECK_VALUE_OFFSET + 5] =
        static_cast<char>(buffer[44 + 48 + CHECK_VALUE_OFFSET + 5] ^ 0x01);
    QCOMPARE(decrypt(password, 1, buffer), 1);
    // ...a damaged outer salt too...
    buffer = scheme1Image;
    buffer[0] = static_cast<char>(buffer[0] ^ 0x80);
    QCOMPARE(decrypt(password, 1, buffer), 1);
    // ...while damaged store bytes go through unnoticed, one flipped bit for one flipped bit.
    buffer = scheme1Image;
    buffer[44 + 48 + 1000] = static_cast<char>(buffer[44 + 48 + 1000] ^ 0x04);
    QCOMPARE(decrypt(password, 1, buffer), 0);
    QByteArray expected = knownAnswerPlaintext().left(CHECK_VALUE_OFFSET);
    expected[1000] = static_cast<char>(expected[1000] ^ 0x04);
    QCOMPARE(buffer.left(CHECK_VALUE_OFFSET), expected);

    // Scheme 2's tag covers every byte of the store.
    buffer = scheme2Image;
    buffer[44 + 48 + 1000] = static_cast<char>(buffer[44 + 48 + 1000] ^ 0x04);
    QCOMPARE(decrypt(password, 2, buffer), 1);
}

void TestSecurity::generatedPasswordsFollowTheClassRules()
{
    auto classesOf = [](const QString& text)
    {
        int classes[4] = {};
        for (const QChar character : text)
        {
            const char16_t c = character.unicode();
            if (c >= u'a' && c <= u'z')
                classes[0]++;
            else if (c >= u'A' && c <= u'Z')
                classes[1]++;
            else if (c >= u'0' && c <= u'9')
                classes[2]++;
            else
                classes[3]++;
        }
        return std::vector<int>(classes, classes + 4);
    };

    // The shortest request with every class: exactly one character of each.
    for (int i = 0; i < 200; i++)
    {
        const QString password = Security::generateRandomPassword(4, 4, true, true, true, true);
        QCOMPARE(classesOf(password), std::vector<int>({1, 1, 1, 1}));
    }

    // The editor's automatic mode: 20 to 30 characters, every class present, both bounds reached.
    QSet<int> lengths;
    QSet<QString> passwords;
    for (int i = 0; i < 400; i++)
    {
        const QString password = Security::generateRandomPassword(20, 30, true, true, true, true);
        QVERIFY2(password.size() >= 20 && password.size() <= 30, qPrintable(password));
        const std::vector<int> classes = classesOf(password);
        QVERIFY2(std::all_of(classes.begin(), classes.end(), [](int count) { return count > 0; }),
                 qPrintable(password));
        lengths.insert(password.size());
        passwords.insert(password);
    }
    QCOMPARE(lengths.size(), 11);
    // Every call seeds its own generator: no repeats.
    QCOMPARE(passwords.size(), 400);

    // Every subset of classes: allowed classes all present, the others absent.
    for (int mask = 1; mask < 16; mask++)
    {
        const bool allowed[4] = {(mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0, (mask & 8) != 0};
        for (int i = 0; i < 30; i++)
        {
            const QString password =
                Security::generateRandomPassword(8, 8, allowed[0], allowed[1], allowed[2], allowed[3]);
            QCOMPARE(password.size(), 8);
            const std::vector<int> classes = classesOf(password);
            for (int c = 0; c < 4; c++)
                QVERIFY2(allowed[c] == (classes[c] > 0),
                         qPrintable(QStringLiteral("mask %1: %2").arg(mask).arg(password)));
        }
    }

    // The advanced mode's longest password.
    const QString digits = Security::generateRandomPassword(1024, 1024, false, false, true, false);
    QCOMPARE(digits.size(), 1024);
    QCOMPARE(classesOf(digits), std::vector<int>({0, 0, 1024, 0}));

    // Requests that could never be met give an empty text rather than hanging.
    QVERIFY(Security::generateRandomPassword(10, 20, false, false, false, false).isEmpty());
    QVERIFY(Security::generateRandomPassword(3, 3, true, true, true, true).isEmpty());
    QVERIFY(Security::generateRandomPassword(12, 11, true, false, false, false).isEmpty());
}

void TestSecurity::generatedCharactersComeFromTheTable()
{
    // 27 distinct symbols; the hyphen-minus is in the table twice.
    const QString symbols = QStringLiteral("&\"#{}()[]-|_\\@=+,?;.:/!*%<>");
    QHash<QChar, int> counts;
    int symbolsCount = 0;
    for (int i = 0; i < 2000; i++)
        for (const QChar character : Security::generateRandomPassword(30, 30, true, true, true, true))
        {
            counts[character]++;
            if (!character.isLetterOrNumber())
                symbolsCount++;
        }

    QCOMPARE(counts.size(), 10 + 26 + 26 + 27);
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        QVERIFY2(it.key().isLetterOrNumber() ? it.key().unicode() < 128 : symbols.contains(it.key()),
                 qPrintable(QStringLiteral("unexpected character %1").arg(it.key())));

    // About 19000 symbols: 667 expected for each, 1333 for the hyphen (standard deviation about 36).
    const double perSymbol = symbolsCount / 28.0;
    for (const QChar symbol : symbols)
    {
        const double expected = symbol == QLatin1Char('-') ? 2 * perSymbol : perSymbol;
        QVERIFY2(std::abs(counts.value(symbol) - expected) < 0.25 * expected,
                 qPrintable(QStringLiteral("%1 drawn %2 times, about %3 expected")
                                .arg(symbol)
                                .arg(counts.value(symbol))
                                .arg(expected)));
    }
}

void TestSecurity::strengthRatings_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("rating");
    QTest::addColumn<QString>("word");

    // Entropy bits in the row names: length x log2(pool), truncated.
    QTest::newRow("empty, 0") << QString() << 0 << "very weak";
    QTest::newRow("8 lowercase, 37") << "abcdefgh" << 0 << "very weak";
    QTest::newRow("7 lowercase+symbol, 40") << "abcde#!" << 0 << "very weak";
    QTest::newRow("7 lower+upper+digit, 41") << "abC1efg" << 1 << "weak";
    QTest::newRow("8 lowercase+digit, 41") << "abcd1234" << 1 << "weak";
    QTest::newRow("9 lowercase, 42") << "abcdefghi" << 1 << "weak";
    QTest::newRow("10 lower+digit+symbol, 60") << "abcd1234#!" << 1 << "weak";
    QTest::newRow("13 lowercase, 61") << "abcdefghijklm" << 2 << "average";
    QTest::newRow("10 all classes, 64") << "aB3#aB3#aB" << 2 << "average";
    QTest::newRow("15 lowercase, 70") << "abcdefghijklmno" << 2 << "average";
    QTest::newRow("11 all classes, 71") << "aB3#aB3#aB3" << 3 << "good";
    QTest::newRow("12 all classes, 77") << "aB3#aB3#aB3#" << 3 << "good";
    QTest::newRow("14 all classes, 90") << "aB3#aB3#aB3#aB" << 3 << "good";
    QTest::newRow("15 lower+digit+symbol, 90") << "abcde12345#!?%&" << 3 << "good";
    QTest::newRow("15 all classes, 97") << "aB3#aB3#aB3#aB3" << 4 << "excellent";
    QTest::newRow("16 lower+upper, 91") << "abcdefghABCDEFGH" << 4 << "excellent";
    QTest::newRow("19 symbols and spaces, 91") << "! ? # % & * ( ) - +" << 4 << "excellent";
    // Non-ASCII letters are symbols (pool 28): 72 bits; as lowercase they would give 70.
    QTest::newRow("15 non-ASCII letters, 72") << QString(15, QChar(0x00E9)) << 3 << "good";
    // Length counts UTF-16 code units: 8 emoji are 16 units, 76 bits.
    QTest::newRow("8 emoji, 76") << QString::fromUtf8("\xF0\x9F\x94\x91").repeated(8) << 3 << "good";
}

void TestSecurity::strengthRatings()
{
    QFETCH(QString, password);
    QFETCH(int, rating);
    QFETCH(QString, word);

    QString text = QStringLiteral("untouched");
    QCOMPARE(Security::computePasswordStrength(password, &text), rating);
    QCOMPARE(text, word);
    QCOMPARE(Security::computePasswordStrength(password, nullptr), rating);
}

QTEST_GUILESS_MAIN(TestSecurity)
#include "tst_security.moc"
