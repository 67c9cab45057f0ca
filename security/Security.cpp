// Memory image encryption: PBKDF2 key derivation, the inner AES-256-GCM layer and the outer
// ChaCha20 layer. The offsets, iteration counts and check values below are a stored format:
// images written years ago must still open, so none of them may change.
#include "Security.h"

#include <QByteArray>
#include <QRandomGenerator>

#include <mbedtls/chacha20.h>
#include <mbedtls/cipher.h>
#include <mbedtls/gcm.h>
#include <mbedtls/md.h>
#include <mbedtls/pkcs5.h>
#include <mbedtls/platform_util.h>
#include <mbedtls/sha256.h>

#include <cstring>

namespace
{
constexpr int KEY_SIZE = 32;
constexpr int SALT_SIZE = 32;
constexpr int GCM_IV_SIZE = 16;
constexpr int GCM_TAG_SIZE = 16;
constexpr int CHACHA20_NONCE_SIZE = 12;
constexpr int DIGEST_SIZE = 32;

// Image: outer salt, nonce, then the inner block encrypted with ChaCha20.
constexpr int IMAGE_OUTER_SALT_OFFSET = 0;
constexpr int IMAGE_NONCE_OFFSET = 32;
constexpr int IMAGE_INNER_BLOCK_OFFSET = 44;
constexpr int INNER_BLOCK_SIZE = Security::MEMORY_SIZE - IMAGE_INNER_BLOCK_OFFSET; // 131028

// Inner block: inner salt, GCM IV, GCM ciphertext, and with scheme 2 the tag at its very end.
constexpr int INNER_SALT_OFFSET = 0;
constexpr int INNER_IV_OFFSET = 32;
constexpr int INNER_CIPHERTEXT_OFFSET = 48;
constexpr int INNER_TAG_OFFSET = INNER_BLOCK_SIZE - GCM_TAG_SIZE; // 131012

// Scheme 1 has no tag; it stores SHA-256(inner salt, IV) at the end of its GCM range instead.
constexpr int SCHEME1_CHECK_VALUE_OFFSET = 130948;

constexpr int SCHEME0_AVAILABLE_MEMORY = 131052;
constexpr int SCHEME1_ITERATIONS = 16384;
constexpr int SCHEME1_PLAINTEXT_SIZE = INNER_BLOCK_SIZE - INNER_CIPHERTEXT_OFFSET; // 130980
constexpr int SCHEME2_ITERATIONS = 262144;
constexpr int SCHEME2_PLAINTEXT_SIZE = INNER_TAG_OFFSET - INNER_CIPHERTEXT_OFFSET; // 130964

static_assert(SCHEME1_PLAINTEXT_SIZE == 130980, "scheme 1 GCM range");
static_assert(SCHEME2_PLAINTEXT_SIZE == 130964, "scheme 2 GCM range");
static_assert(SCHEME1_CHECK_VALUE_OFFSET + DIGEST_SIZE == SCHEME1_PLAINTEXT_SIZE,
              "check value ends the GCM range");

// Each byte is the low 8 bits of one 32-bit draw, so the draw order is part of how an image is
// made: inner salt, IV, outer salt, nonce.
void drawRandomBytes(QRandomGenerator& generator, unsigned char* output, int size)
{
    for (int i = 0; i < size; i++)
        output[i] = static_cast<unsigned char>(generator.generate() & 0xFF);
}

// Compares without an early exit, so the time taken says nothing about how many leading bytes of
// a check value or tag a guessed password got right.
bool isEqualInConstantTime(const unsigned char* first, const unsigned char* second, int size)
{
    const volatile unsigned char* a = first;
    const volatile unsigned char* b = second;
    unsigned char difference = 0;
    for (int i = 0; i < size; i++)
        difference = static_cast<unsigned char>(difference | (a[i] ^ b[i]));
    return difference == 0;
}

// SHA-256 of the inner salt and IV, the scheme 1 check value.
int computeCheckValue(const unsigned char* innerHeader, unsigned char* digest)
{
    mbedtls_sha256_context context;
    mbedtls_sha256_init(&context);
    int result = -1;
    if (mbedtls_sha256_starts_ret(&context, 0) == 0 &&
        mbedtls_sha256_update_ret(&context, innerHeader, INNER_CIPHERTEXT_OFFSET) == 0 &&
        mbedtls_sha256_finish_ret(&context, digest) == 0)
        result = 0;
    mbedtls_sha256_free(&context);
    return result;
}
} // namespace

unsigned char Security::_scratchBlockScheme1Encrypt[MEMORY_SIZE];
unsigned char Security::_scratchBlockScheme1Decrypt[MEMORY_SIZE];
unsigned char Security::_scratchBlockScheme2Encrypt[MEMORY_SIZE];
unsigned char Security::_scratchBlockScheme2Decrypt[MEMORY_SIZE];

int Security::encryptMemoryData(QString masterPassword, EncryptionSchemeId encryptionSchemeId,
                                unsigned char* memoryBuffer)
{
    if (memoryBuffer == nullptr)
        return -1;
    switch (encryptionSchemeId)
    {
    case ENCRYPTION_SCHEME_ID_0:
        return _encryptionScheme0EncryptMemoryData(masterPassword, memoryBuffer);
    case ENCRYPTION_SCHEME_ID_1:
        return _encryptionScheme1EncryptMemoryData(masterPassword, memoryBuffer);
    case ENCRYPTION_SCHEME_ID_2:
        return _encryptionScheme2EncryptMemoryData(masterPassword, memoryBuffer);
    }
    return -1;
}

int Security::decryptMemoryData(QString masterPassword, EncryptionSchemeId encryptionSchemeId,
                                unsigned char* memoryBuffer)
{
    if (memoryBuffer == nullptr)
        return -1;
    switch (encryptionSchemeId)
    {
    case ENCRYPTION_SCHEME_ID_0:
        return _encryptionScheme0DecryptMemoryData(masterPassword, memoryBuffer);
    case ENCRYPTION_SCHEME_ID_1:
        return _encryptionScheme1DecryptMemoryData(masterPassword, memoryBuffer);
    case ENCRYPTION_SCHEME_ID_2:
        return _encryptionScheme2DecryptMemoryData(masterPassword, memoryBuffer);
    }
    return -1;
}

int Security::getAvailableMemory(EncryptionSchemeId encryptionSchemeId)
{
    switch (encryptionSchemeId)
    {
    case ENCRYPTION_SCHEME_ID_0:
        return SCHEME0_AVAILABLE_MEMORY;
    case ENCRYPTION_SCHEME_ID_1:
        return SCHEME1_CHECK_VALUE_OFFSET;
    case ENCRYPTION_SCHEME_ID_2:
        return SCHEME2_PLAINTEXT_SIZE;
    }
    return -1;
}

const unsigned char* Security::testOnlyScratchBlock(EncryptionSchemeId encryptionSchemeId, bool isEncryption)
{
    switch (encryptionSchemeId)
    {
    case ENCRYPTION_SCHEME_ID_1:
        return isEncryption ? _scratchBlockScheme1Encrypt : _scratchBlockScheme1Decrypt;
    case ENCRYPTION_SCHEME_ID_2:
        return isEncryption ? _scratchBlockScheme2Encrypt : _scratchBlockScheme2Decrypt;
    default:
        return nullptr;
    }
}

// Scheme 0 is retired: nothing is ever written with it, and no image is accepted under it, so
// that a reader trying every scheme ends with "wrong password" rather than an error.
int Security::_encryptionScheme0EncryptMemoryData(QString, unsigned char*)
{
    return -1;
}

int Security::_encryptionScheme0DecryptMemoryData(QString, unsigned char*)
{
    return 1;
}

int Security::_encryptionScheme1EncryptMemoryData(QString masterPassword, unsigned char* memoryBuffer)
{
    return _encryptTwoLayers(masterPassword, memoryBuffer, _scratchBlockScheme1Encrypt,
                             {SCHEME1_ITERATIONS, SCHEME1_PLAINTEXT_SIZE, false});
}

int Security::_encryptionScheme1DecryptMemoryData(QString masterPassword, unsigned char* memoryBuffer)
{
    return _decryptTwoLayers(masterPassword, memoryBuffer, _scratchBlockScheme1Decrypt,
                             {SCHEME1_ITERATIONS, SCHEME1_PLAINTEXT_SIZE, false});
}

int Security::_encryptionScheme2EncryptMemoryData(QString masterPassword, unsigned char* memoryBuffer)
{
    return _encryptTwoLayers(masterPassword, memoryBuffer, _scratchBlockScheme2Encrypt,
                             {SCHEME2_ITERATIONS, SCHEME2_PLAINTEXT_SIZE, true});
}

int Security::_encryptionScheme2DecryptMemoryData(QString masterPassword, unsigned char* memoryBuffer)
{
    return _decryptTwoLayers(masterPassword, memoryBuffer, _scratchBlockScheme2Decrypt,
                             {SCHEME2_ITERATIONS, SCHEME2_PLAINTEXT_SIZE, true});
}

int Security::_hashMasterPasswordPBKDF2(QString masterPassword, const unsigned char* salt, int saltSize,
                                        int iterationsCount, int outputSize, unsigned char* output)
{
    if (salt == nullptr || output == nullptr || saltSize < 0 || iterationsCount <= 0 || outputSize <= 0)
        return -1;

    mbedtls_md_context_t context;
    mbedtls_md_init(&context);
    const mbedtls_md_info_t* information = mbedtls_md_info_from_type(MBEDTLS_MD_SHA256);

    // The password bytes are as secret as the key: wipe our UTF-8 copy too.
    QByteArray passwordBytes = masterPassword.toUtf8();

    int result = -1;
    if (information != nullptr && mbedtls_md_setup(&context, information, 1) == 0 &&
        mbedtls_pkcs5_pbkdf2_hmac(&context, reinterpret_cast<const unsigned char*>(passwordBytes.constData()),
                                  static_cast<size_t>(passwordBytes.size()), salt,
                                  static_cast<size_t>(saltSize), static_cast<unsigned int>(iterationsCount),
                                  static_cast<uint32_t>(outputSize), output) == 0)
        result = 0;
    mbedtls_md_free(&context);

    if (!passwordBytes.isEmpty())
        mbedtls_platform_zeroize(passwordBytes.data(), static_cast<size_t>(passwordBytes.size()));
    return result;
}

int Security::_encryptTwoLayers(const QString& masterPassword, unsigned char* memoryBuffer,
                                unsigned char* scratchBlock, const _SchemeParameters& parameters)
{
    unsigned char key[KEY_SIZE];
    unsigned char salt[SALT_SIZE];
    unsigned char initializationVectorOrNonce[GCM_IV_SIZE];
    unsigned char digest[DIGEST_SIZE];
    unsigned char tag[GCM_TAG_SIZE];

    mbedtls_gcm_context gcmContext;
    mbedtls_gcm_init(&gcmContext);

    // Seeded per call from the operating system, so no two calls share generator state.
    QRandomGenerator generator = QRandomGenerator::securelySeeded();
    int result = -1;
    do
    {
        // Inner layer: the scratch block becomes the inner block (salt, IV, GCM ciphertext, tag).
        drawRandomBytes(generator, salt, SALT_SIZE);
        std::memcpy(scratchBlock + INNER_SALT_OFFSET, salt, SALT_SIZE);
        if (_hashMasterPasswordPBKDF2(masterPassword, salt, SALT_SIZE, parameters.iterationsCount, KEY_SIZE,
                                      key) != 0)
            break;

        drawRandomBytes(generator, initializationVectorOrNonce, GCM_IV_SIZE);
        std::memcpy(scratchBlock + INNER_IV_OFFSET, initializationVectorOrNonce, GCM_IV_SIZE);

        if (!parameters.isTagStored)
        {
            if (computeCheckValue(scratchBlock, digest) != 0)
                break;
            std::memcpy(memoryBuffer + SCHEME1_CHECK_VALUE_OFFSET, digest, DIGEST_SIZE);
        }

        if (mbedtls_gcm_setkey(&gcmContext, MBEDTLS_CIPHER_ID_AES, key, KEY_SIZE * 8) != 0 ||
            mbedtls_gcm_starts(&gcmContext, MBEDTLS_GCM_ENCRYPT, initializationVectorOrNonce, GCM_IV_SIZE,
                               nullptr, 0) != 0 ||
            mbedtls_gcm_update(&gcmContext, static_cast<size_t>(parameters.encryptedPlaintextSize),
                               memoryBuffer, scratchBlock + INNER_CIPHERTEXT_OFFSET) != 0 ||
            mbedtls_gcm_finish(&gcmContext, tag, GCM_TAG_SIZE) != 0)
            break;
        if (parameters.isTagStored)
            std::memcpy(scratchBlock + INNER_TAG_OFFSET, tag, GCM_TAG_SIZE);

        // Outer layer over the whole inner block.
        drawRandomBytes(generator, salt, SALT_SIZE);
        std::memcpy(memoryBuffer + IMAGE_OUTER_SALT_OFFSET, salt, SALT_SIZE);
        if (_hashMasterPasswordPBKDF2(masterPassword, salt, SALT_SIZE, parameters.iterationsCount, KEY_SIZE,
                                      key) != 0)
            break;

        drawRandomBytes(generator, initializationVectorOrNonce, CHACHA20_NONCE_SIZE);
        std::memcpy(memoryBuffer + IMAGE_NONCE_OFFSET, initializationVectorOrNonce, CHACHA20_NONCE_SIZE);
        std::memset(memoryBuffer + IMAGE_INNER_BLOCK_OFFSET, 0, INNER_BLOCK_SIZE);

        if (mbedtls_chacha20_crypt(key, initializationVectorOrNonce, 0, INNER_BLOCK_SIZE, scratchBlock,
                                   memoryBuffer + IMAGE_INNER_BLOCK_OFFSET) != 0)
            break;
        result = 0;
    } while (false);

    // Reseeding overwrites the generator state, from which the inner salt and IV could be replayed.
    generator.seed();
    mbedtls_gcm_free(&gcmContext);
    mbedtls_platform_zeroize(scratchBlock, MEMORY_SIZE);
    mbedtls_platform_zeroize(key, sizeof(key));
    mbedtls_platform_zeroize(salt, sizeof(salt));
    mbedtls_platform_zeroize(initializationVectorOrNonce, sizeof(initializationVectorOrNonce));
    mbedtls_platform_zeroize(digest, sizeof(digest));
    mbedtls_platform_zeroize(tag, sizeof(tag));
    return result;
}

int Security::_decryptTwoLayers(const QString& masterPassword, unsigned char* memoryBuffer,
                                unsigned char* scratchBlock, const _SchemeParameters& parameters)
{
    unsigned char key[KEY_SIZE];
    unsigned char digest[DIGEST_SIZE];
    unsigned char tag[GCM_TAG_SIZE];

    mbedtls_gcm_context gcmContext;
    mbedtls_gcm_init(&gcmContext);

    int result = -1;
    do
    {
        // Outer layer: recover the inner block into the scratch block.
        if (_hashMasterPasswordPBKDF2(masterPassword, memoryBuffer + IMAGE_OUTER_SALT_OFFSET, SALT_SIZE,
                                      parameters.iterationsCount, KEY_SIZE, key) != 0)
            break;
        if (mbedtls_chacha20_crypt(key, memoryBuffer + IMAGE_NONCE_OFFSET, 0, INNER_BLOCK_SIZE,
                                   memoryBuffer + IMAGE_INNER_BLOCK_OFFSET, scratchBlock) != 0)
            break;

        // Inner layer: the plaintext goes back to the start of the caller's buffer.
        if (_hashMasterPasswordPBKDF2(masterPassword, scratchBlock + INNER_SALT_OFFSET, SALT_SIZE,
                                      parameters.iterationsCount, KEY_SIZE, key) != 0)
            break;
        if (mbedtls_gcm_setkey(&gcmContext, MBEDTLS_CIPHER_ID_AES, key, KEY_SIZE * 8) != 0 ||
            mbedtls_gcm_starts(&gcmContext, MBEDTLS_GCM_DECRYPT, scratchBlock + INNER_IV_OFFSET, GCM_IV_SIZE,
                               nullptr, 0) != 0 ||
            mbedtls_gcm_update(&gcmContext, static_cast<size_t>(parameters.encryptedPlaintextSize),
                               scratchBlock + INNER_CIPHERTEXT_OFFSET, memoryBuffer) != 0 ||
            mbedtls_gcm_finish(&gcmContext, tag, GCM_TAG_SIZE) != 0)
            break;

        // A wrong password decrypts to garbage: its check value or tag cannot match.
        if (parameters.isTagStored)
        {
            result = isEqualInConstantTime(tag, scratchBlock + INNER_TAG_OFFSET, GCM_TAG_SIZE) ? 0 : 1;
        }
        else
        {
            if (computeCheckValue(scratchBlock, digest) != 0)
                break;
            result =
                isEqualInConstantTime(digest, memoryBuffer + SCHEME1_CHECK_VALUE_OFFSET, DIGEST_SIZE) ? 0 : 1;
        }
    } while (false);

    mbedtls_gcm_free(&gcmContext);
    mbedtls_platform_zeroize(scratchBlock, MEMORY_SIZE);
    mbedtls_platform_zeroize(key, sizeof(key));
    mbedtls_platform_zeroize(digest, sizeof(digest));
    mbedtls_platform_zeroize(tag, sizeof(tag));
    return result;
}
