// Memory image encryption: PBKDF2 key derivation, the inner AES-256-GCM layer and the outer
// ChaCha20 layer. The offsets, iteration counts and check values below are a stored format:
// images written years ago must still open, so none of them may change.
#include "Security.h"

#include <QByteArray>
#include <QRandomGenerator>

#include <openssl/crypto.h>
#include <openssl/evp.h>

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

// SHA-256 of the inner salt and IV, the scheme 1 check value.
int computeCheckValue(const unsigned char* innerHeader, unsigned char* digest)
{
    unsigned int digestSize = 0;
    const bool isDone =
        EVP_Digest(innerHeader, INNER_CIPHERTEXT_OFFSET, digest, &digestSize, EVP_sha256(), nullptr) == 1;
    return isDone && digestSize == DIGEST_SIZE ? 0 : -1;
}

// ChaCha20 from block counter 0. OpenSSL takes a 16-byte IV: the 32-bit little-endian counter, then
// the 12-byte nonce.
int chacha20(const unsigned char* key, const unsigned char* nonce, const unsigned char* input,
             unsigned char* output)
{
    unsigned char counterAndNonce[16] = {};
    std::memcpy(counterAndNonce + 4, nonce, CHACHA20_NONCE_SIZE);
    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    unsigned char finalBlock[16];
    int length = 0;
    int finalLength = 0;
    const bool isDone = context != nullptr &&
                        EVP_EncryptInit_ex(context, EVP_chacha20(), nullptr, key, counterAndNonce) == 1 &&
                        EVP_EncryptUpdate(context, output, &length, input, INNER_BLOCK_SIZE) == 1 &&
                        length == INNER_BLOCK_SIZE &&
                        EVP_EncryptFinal_ex(context, finalBlock, &finalLength) == 1 && finalLength == 0;
    // Freeing the context wipes the key schedule it holds.
    EVP_CIPHER_CTX_free(context);
    OPENSSL_cleanse(counterAndNonce, sizeof(counterAndNonce));
    return isDone ? 0 : -1;
}

// AES-256-GCM with a 16-byte IV and no additional data. Encrypting fills `tag`. Decrypting with an
// expected tag gives 1 when it does not match (the library compares in constant time); decrypting
// without one skips the finish, which OpenSSL refuses without a tag and which has nothing to add:
// every byte is out after the update.
int aes256Gcm(bool isEncryption, const unsigned char* key, const unsigned char* initializationVector,
              const unsigned char* input, int size, unsigned char* output, unsigned char* tag)
{
    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    unsigned char finalBlock[16];
    int length = 0;
    int finalLength = 0;
    int result = -1;
    if (context != nullptr &&
        EVP_CipherInit_ex(context, EVP_aes_256_gcm(), nullptr, nullptr, nullptr, isEncryption ? 1 : 0) == 1 &&
        EVP_CIPHER_CTX_ctrl(context, EVP_CTRL_GCM_SET_IVLEN, GCM_IV_SIZE, nullptr) == 1 &&
        EVP_CipherInit_ex(context, nullptr, nullptr, key, initializationVector, -1) == 1 &&
        (isEncryption || tag == nullptr ||
         EVP_CIPHER_CTX_ctrl(context, EVP_CTRL_GCM_SET_TAG, GCM_TAG_SIZE, tag) == 1) &&
        EVP_CipherUpdate(context, output, &length, input, size) == 1 && length == size)
    {
        if (isEncryption)
            result = EVP_CipherFinal_ex(context, finalBlock, &finalLength) == 1 && finalLength == 0 &&
                             EVP_CIPHER_CTX_ctrl(context, EVP_CTRL_GCM_GET_TAG, GCM_TAG_SIZE, tag) == 1
                         ? 0
                         : -1;
        else if (tag == nullptr)
            result = 0;
        else
            // With the context set up and every byte through, the finish fails only on a tag mismatch.
            result = EVP_CipherFinal_ex(context, finalBlock, &finalLength) == 1 && finalLength == 0 ? 0 : 1;
    }
    EVP_CIPHER_CTX_free(context);
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

    // The password bytes are as secret as the key: wipe our UTF-8 copy too.
    QByteArray passwordBytes = masterPassword.toUtf8();
    const int result =
        PKCS5_PBKDF2_HMAC(passwordBytes.constData(), static_cast<int>(passwordBytes.size()), salt, saltSize,
                          iterationsCount, EVP_sha256(), outputSize, output) == 1
            ? 0
            : -1;
    if (!passwordBytes.isEmpty())
        OPENSSL_cleanse(passwordBytes.data(), static_cast<size_t>(passwordBytes.size()));
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

        if (aes256Gcm(true, key, initializationVectorOrNonce, memoryBuffer, parameters.encryptedPlaintextSize,
                      scratchBlock + INNER_CIPHERTEXT_OFFSET, tag) != 0)
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

        if (chacha20(key, initializationVectorOrNonce, scratchBlock,
                     memoryBuffer + IMAGE_INNER_BLOCK_OFFSET) != 0)
            break;
        result = 0;
    } while (false);

    // Reseeding overwrites the generator state, from which the inner salt and IV could be replayed.
    generator.seed();
    OPENSSL_cleanse(scratchBlock, MEMORY_SIZE);
    OPENSSL_cleanse(key, sizeof(key));
    OPENSSL_cleanse(salt, sizeof(salt));
    OPENSSL_cleanse(initializationVectorOrNonce, sizeof(initializationVectorOrNonce));
    OPENSSL_cleanse(digest, sizeof(digest));
    OPENSSL_cleanse(tag, sizeof(tag));
    return result;
}

int Security::_decryptTwoLayers(const QString& masterPassword, unsigned char* memoryBuffer,
                                unsigned char* scratchBlock, const _SchemeParameters& parameters)
{
    unsigned char key[KEY_SIZE];
    unsigned char digest[DIGEST_SIZE];

    int result = -1;
    do
    {
        // Outer layer: recover the inner block into the scratch block.
        if (_hashMasterPasswordPBKDF2(masterPassword, memoryBuffer + IMAGE_OUTER_SALT_OFFSET, SALT_SIZE,
                                      parameters.iterationsCount, KEY_SIZE, key) != 0 ||
            chacha20(key, memoryBuffer + IMAGE_NONCE_OFFSET, memoryBuffer + IMAGE_INNER_BLOCK_OFFSET,
                     scratchBlock) != 0)
            break;

        // Inner layer: the plaintext goes back to the start of the caller's buffer. A wrong password
        // decrypts to garbage, whose tag or check value cannot match.
        if (_hashMasterPasswordPBKDF2(masterPassword, scratchBlock + INNER_SALT_OFFSET, SALT_SIZE,
                                      parameters.iterationsCount, KEY_SIZE, key) != 0)
            break;
        result = aes256Gcm(false, key, scratchBlock + INNER_IV_OFFSET, scratchBlock + INNER_CIPHERTEXT_OFFSET,
                           parameters.encryptedPlaintextSize, memoryBuffer,
                           parameters.isTagStored ? scratchBlock + INNER_TAG_OFFSET : nullptr);
        if (result == 0 && !parameters.isTagStored)
        {
            if (computeCheckValue(scratchBlock, digest) != 0)
                result = -1;
            else
                result = CRYPTO_memcmp(digest, memoryBuffer + SCHEME1_CHECK_VALUE_OFFSET, DIGEST_SIZE) == 0
                             ? 0
                             : 1;
        }
    } while (false);

    // Bytes that did not pass the tag or the check value are never handed out: to a caller that
    // ignored the result, a damaged image reads as zeros, not as a plausible store.
    if (result != 0)
        OPENSSL_cleanse(memoryBuffer, static_cast<size_t>(parameters.encryptedPlaintextSize));
    OPENSSL_cleanse(scratchBlock, MEMORY_SIZE);
    OPENSSL_cleanse(key, sizeof(key));
    OPENSSL_cleanse(digest, sizeof(digest));
    return result;
}
