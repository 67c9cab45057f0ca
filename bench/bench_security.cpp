// Cost of opening and saving a full memory image under each scheme, and of the key derivation
// underneath (OpenSSL's PBKDF2-HMAC-SHA-256, the call the application makes), per iteration.
// Prints "name: value unit" lines.
#include "Security.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QVector>

#include <openssl/evp.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace
{
constexpr int MEMORY_SIZE = Security::MEMORY_SIZE;
constexpr int REPETITIONS = 3;
// The scheme 2 count, long enough for the per-iteration figure to swamp the set-up cost.
constexpr int PBKDF2_ITERATIONS = 262144;

void print(const char* name, double value, const char* unit)
{
    std::printf("%s: %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

// Median of REPETITIONS runs in milliseconds; false when a run fails.
bool measure(const char* name, const std::function<bool()>& run)
{
    QVector<double> milliseconds;
    for (int i = 0; i < REPETITIONS; i++)
    {
        QElapsedTimer timer;
        timer.start();
        if (!run())
        {
            std::fprintf(stderr, "%s failed\n", name);
            return false;
        }
        milliseconds << timer.nsecsElapsed() / 1e6;
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    print(name, milliseconds[REPETITIONS / 2], "ms");
    return true;
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QString password = QStringLiteral("benchmark master password");
    const int storeSize = Security::getAvailableMemory(Security::ENCRYPTION_SCHEME_ID_1);

    QByteArray plaintext(MEMORY_SIZE, '\0');
    for (int i = 0; i < MEMORY_SIZE; i++)
        plaintext[i] = static_cast<char>(QRandomGenerator::global()->generate());
    auto bytesOf = [](QByteArray& buffer) { return reinterpret_cast<unsigned char*>(buffer.data()); };

    for (const Security::EncryptionSchemeId scheme :
         {Security::ENCRYPTION_SCHEME_ID_2, Security::ENCRYPTION_SCHEME_ID_1})
    {
        const QByteArray schemeName = QByteArray::number(int(scheme));
        // Saving: one encryption of a full image.
        QByteArray image;
        if (!measure(("save_scheme" + schemeName + "_image").constData(),
                     [&]
                     {
                         image = plaintext;
                         return Security::encryptMemoryData(password, scheme, bytesOf(image)) == 0;
                     }))
            return 1;

        // Opening as the read workflow does it: a fresh copy per scheme tried, scheme 2 first.
        if (!measure(("open_scheme" + schemeName + "_image").constData(),
                     [&]
                     {
                         for (const Security::EncryptionSchemeId tried :
                              {Security::ENCRYPTION_SCHEME_ID_2, Security::ENCRYPTION_SCHEME_ID_1})
                         {
                             QByteArray work = image;
                             const int result = Security::decryptMemoryData(password, tried, bytesOf(work));
                             if (result == 0)
                                 return tried == scheme && work.left(storeSize) == plaintext.left(storeSize);
                             if (result != 1)
                                 return false;
                         }
                         return false;
                     }))
            return 1;
    }

    // A wrong password costs every scheme's derivations before the user hears about it.
    const QByteArray image = [&]
    {
        QByteArray written = plaintext;
        Security::encryptMemoryData(password, Security::ENCRYPTION_SCHEME_ID_WRITTEN, bytesOf(written));
        return written;
    }();
    if (!measure("refuse_wrong_password_all_schemes",
                 [&]
                 {
                     for (const int tried : {2, 1, 0})
                     {
                         QByteArray work = image;
                         if (Security::decryptMemoryData(QStringLiteral("wrong"),
                                                         static_cast<Security::EncryptionSchemeId>(tried),
                                                         bytesOf(work)) != 1)
                             return false;
                     }
                     return true;
                 }))
        return 1;

    // Key derivation per PBKDF2 iteration.
    const QByteArray passwordBytes = password.toUtf8();
    unsigned char salt[32];
    for (unsigned char& byte : salt)
        byte = static_cast<unsigned char>(QRandomGenerator::global()->generate());
    unsigned char key[32];
    QVector<double> nanoseconds;
    for (int i = 0; i < REPETITIONS; i++)
    {
        QElapsedTimer timer;
        timer.start();
        if (PKCS5_PBKDF2_HMAC(passwordBytes.constData(), static_cast<int>(passwordBytes.size()), salt,
                              sizeof(salt), PBKDF2_ITERATIONS, EVP_sha256(), sizeof(key), key) != 1)
        {
            std::fprintf(stderr, "PBKDF2 failed\n");
            return 1;
        }
        nanoseconds << double(timer.nsecsElapsed()) / PBKDF2_ITERATIONS;
    }
    std::sort(nanoseconds.begin(), nanoseconds.end());
    print("pbkdf2_sha256_per_iteration", nanoseconds[REPETITIONS / 2], "ns");
    return 0;
}
