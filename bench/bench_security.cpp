// Cost of opening and saving a memory image, and of the key derivation underneath, next to
// OpenSSL's PBKDF2 as a reference. Prints "name: value unit" lines.
#include "Security.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QVector>

#include <mbedtls/md.h>
#include <mbedtls/pkcs5.h>

#if defined(PAVISOR_HAVE_OPENSSL)
#include <openssl/evp.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace
{
constexpr int MEMORY_SIZE = Security::MEMORY_SIZE;
constexpr int REPETITIONS = 3;
// The scheme 2 count, long enough for the per-iteration figure to swamp the set-up cost.
constexpr int PBKDF2_ITERATIONS = 262144;

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void print(const char* name, double value, const char* unit)
{
    std::printf("%s: %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

// The same calls the application's key derivation makes.
bool mbedtlsPbkdf2(const QByteArray& password, const unsigned char* salt, unsigned char* output)
{
    mbedtls_md_context_t context;
    mbedtls_md_init(&context);
    const bool isDone =
        mbedtls_md_setup(&context, mbedtls_md_info_from_type(MBEDTLS_MD_SHA256), 1) == 0 &&
        mbedtls_pkcs5_pbkdf2_hmac(&context, reinterpret_cast<const unsigned char*>(password.constData()),
                                  static_cast<size_t>(password.size()), salt, 32, PBKDF2_ITERATIONS, 32,
                                  output) == 0;
    mbedtls_md_free(&context);
    return isDone;
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QString password = QStringLiteral("benchmark master password");

    QByteArray plaintext(MEMORY_SIZE, '\0');
    for (int i = 0; i < MEMORY_SIZE; i++)
        plaintext[i] = static_cast<char>(QRandomGenerator::global()->generate());

    // Saving: one scheme 1 encryption of a full image.
    QVector<double> encryptMs;
    QByteArray image;
    for (int i = 0; i < REPETITIONS; i++)
    {
        image = plaintext;
        QElapsedTimer timer;
        timer.start();
        const int result = Security::encryptMemoryData(password, Security::ENCRYPTION_SCHEME_ID_1,
                                                       reinterpret_cast<unsigned char*>(image.data()));
        encryptMs << timer.nsecsElapsed() / 1e6;
        if (result != 0)
        {
            std::fprintf(stderr, "encryption failed: %d\n", result);
            return 1;
        }
    }
    print("encrypt_scheme1_image", median(encryptMs), "ms");

    // Opening, as the read workflow does it: a fresh copy per scheme, scheme 2 first (refused),
    // then scheme 1.
    QVector<double> openMs;
    for (int i = 0; i < REPETITIONS; i++)
    {
        QElapsedTimer timer;
        timer.start();
        QByteArray work = image;
        const int scheme2Result = Security::decryptMemoryData(password, Security::ENCRYPTION_SCHEME_ID_2,
                                                              reinterpret_cast<unsigned char*>(work.data()));
        work = image;
        const int scheme1Result = Security::decryptMemoryData(password, Security::ENCRYPTION_SCHEME_ID_1,
                                                              reinterpret_cast<unsigned char*>(work.data()));
        openMs << timer.nsecsElapsed() / 1e6;
        const int available = Security::getAvailableMemory(Security::ENCRYPTION_SCHEME_ID_1);
        if (scheme2Result != 1 || scheme1Result != 0 || work.left(available) != plaintext.left(available))
        {
            std::fprintf(stderr, "opening failed: scheme 2 gave %d, scheme 1 gave %d\n", scheme2Result,
                         scheme1Result);
            return 1;
        }
    }
    print("open_scheme1_image_trying_scheme2_first", median(openMs), "ms");

    // Key derivation per PBKDF2 iteration, ours and the reference on the same input.
    const QByteArray passwordBytes = password.toUtf8();
    unsigned char salt[32];
    for (unsigned char& byte : salt)
        byte = static_cast<unsigned char>(QRandomGenerator::global()->generate());
    unsigned char ours[32];
    QVector<double> oursNs;
    for (int i = 0; i < REPETITIONS; i++)
    {
        QElapsedTimer timer;
        timer.start();
        if (!mbedtlsPbkdf2(passwordBytes, salt, ours))
        {
            std::fprintf(stderr, "mbed TLS PBKDF2 failed\n");
            return 1;
        }
        oursNs << double(timer.nsecsElapsed()) / PBKDF2_ITERATIONS;
    }
    print("pbkdf2_sha256_mbedtls_per_iteration", median(oursNs), "ns");

#if defined(PAVISOR_HAVE_OPENSSL)
    unsigned char reference[32];
    QVector<double> referenceNs;
    for (int i = 0; i < REPETITIONS; i++)
    {
        QElapsedTimer timer;
        timer.start();
        if (PKCS5_PBKDF2_HMAC(passwordBytes.constData(), passwordBytes.size(), salt, sizeof(salt),
                              PBKDF2_ITERATIONS, EVP_sha256(), sizeof(reference), reference) != 1)
        {
            std::fprintf(stderr, "OpenSSL PBKDF2 failed\n");
            return 1;
        }
        referenceNs << double(timer.nsecsElapsed()) / PBKDF2_ITERATIONS;
    }
    if (std::memcmp(ours, reference, sizeof(ours)) != 0)
    {
        std::fprintf(stderr, "mbed TLS and OpenSSL derived different keys\n");
        return 1;
    }
    print("pbkdf2_sha256_openssl_per_iteration", median(referenceNs), "ns");
    print("pbkdf2_sha256_mbedtls_to_openssl_ratio", median(oursNs) / median(referenceNs), "x");
#else
    std::printf("pbkdf2_sha256_openssl_per_iteration: unavailable (built without OpenSSL)\n");
#endif
    return 0;
}
