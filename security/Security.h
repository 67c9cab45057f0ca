#ifndef SECURITY_H
#define SECURITY_H

#include <QString>

// Key derivation, memory image encryption, random password generation and strength rating.
//
// The device stores opaque 131072-byte images; all cryptography happens here. An image is
// encrypted in two layers: an inner AES-256-GCM layer over the plaintext store and an outer
// ChaCha20 layer over the whole inner block, each under its own PBKDF2-HMAC-SHA-256 key derived
// from the master password and a random salt. The image carries no scheme identifier, so a
// reader tries the schemes one after the other.
//
// Nothing here keeps state between calls, and no key material outlives the call that made it.
// The functions are not reentrant (each scheme function owns one fixed scratch block) and are
// meant to be called from the GUI thread only.
class Security
{
public:
    enum EncryptionSchemeId : int
    {
        // Retired: can neither encrypt nor decrypt.
        ENCRYPTION_SCHEME_ID_0 = 0,
        // Written by earlier versions and still read: 16384 iterations per key, SHA-256 check value
        // over the inner header only, so damaged store bytes go unnoticed.
        ENCRYPTION_SCHEME_ID_1 = 1,
        // 262144 iterations per key, and a GCM tag over the whole store.
        ENCRYPTION_SCHEME_ID_2 = 2
    };

    // The scheme saving writes. Readers still try 2, 1, 0 in turn, so older images keep opening.
    // The store keeps the capacity getAvailableMemory(ENCRYPTION_SCHEME_ID_1), which fits under
    // both schemes, so a store that could be saved before still can.
    static constexpr EncryptionSchemeId ENCRYPTION_SCHEME_ID_WRITTEN = ENCRYPTION_SCHEME_ID_2;

    // Size of one device memory image, the buffer every encryption function works on in place.
    static constexpr int MEMORY_SIZE = 131072;

    // Encrypts the 131072-byte plaintext buffer in place. The plaintext must end within
    // getAvailableMemory(scheme). Returns 0 on success, -1 on any failure (scheme 0 and unknown
    // identifiers included); after -1 the buffer is partly overwritten and must not be stored.
    static int encryptMemoryData(QString masterPassword, EncryptionSchemeId encryptionSchemeId,
                                 unsigned char* memoryBuffer);
    // Decrypts the 131072-byte image in place. Returns 0 on success (plaintext at the start of the
    // buffer), 1 when the password does not open the image under this scheme or the image was
    // altered (scheme 0 always gives 1, leaving the buffer alone), -1 when a primitive fails or the
    // identifier is unknown. After 1 or -1 from schemes 1 and 2 the bytes under GCM are zeros:
    // callers trying several schemes decrypt a fresh copy each time.
    static int decryptMemoryData(QString masterPassword, EncryptionSchemeId encryptionSchemeId,
                                 unsigned char* memoryBuffer);
    // Number of plaintext bytes, from offset 0, the password store may use under the scheme;
    // -1 for an unknown identifier.
    static int getAvailableMemory(EncryptionSchemeId encryptionSchemeId);

    // A new random password of minimumLength to maximumLength characters drawn from the allowed
    // classes, each allowed class occurring at least once. The caller allows at least one class,
    // asks for at least one character per allowed class and keeps minimum <= maximum; a request
    // that breaks these rules gets an empty text instead of looping forever.
    static QString generateRandomPassword(int minimumLength, int maximumLength, bool isLowercaseAllowed,
                                          bool isUppercaseAllowed, bool isDigitAllowed, bool isSymbolAllowed);
    // Rates the password from 0 (very weak) to 4 (excellent) by its entropy estimate and, when
    // pointerStrengthText is not null, stores the translated rating word there.
    static int computePasswordStrength(QString password, QString* pointerStrengthText);

private:
    // Lets the tests check that every scratch block is all zero between calls.
    friend class TestSecurity;
    // The fixed scratch block of one scheme function (schemes 1 and 2, encryption or decryption);
    // nullptr for any other scheme.
    static const unsigned char* testOnlyScratchBlock(EncryptionSchemeId encryptionSchemeId,
                                                     bool isEncryption);

    static int _encryptionScheme0EncryptMemoryData(QString masterPassword, unsigned char* memoryBuffer);
    static int _encryptionScheme0DecryptMemoryData(QString masterPassword, unsigned char* memoryBuffer);
    static int _encryptionScheme1EncryptMemoryData(QString masterPassword, unsigned char* memoryBuffer);
    static int _encryptionScheme1DecryptMemoryData(QString masterPassword, unsigned char* memoryBuffer);
    static int _encryptionScheme2EncryptMemoryData(QString masterPassword, unsigned char* memoryBuffer);
    static int _encryptionScheme2DecryptMemoryData(QString masterPassword, unsigned char* memoryBuffer);

    // PBKDF2-HMAC-SHA-256 of the UTF-8 password. Returns 0 on success, -1 on failure.
    static int _hashMasterPasswordPBKDF2(QString masterPassword, const unsigned char* salt, int saltSize,
                                         int iterationsCount, int outputSize, unsigned char* output);

    // What tells schemes 1 and 2 apart; the layout around it is shared.
    struct _SchemeParameters
    {
        int iterationsCount;
        int encryptedPlaintextSize;
        bool isTagStored;
    };
    static int _encryptTwoLayers(const QString& masterPassword, unsigned char* memoryBuffer,
                                 unsigned char* scratchBlock, const _SchemeParameters& parameters);
    static int _decryptTwoLayers(const QString& masterPassword, unsigned char* memoryBuffer,
                                 unsigned char* scratchBlock, const _SchemeParameters& parameters);

    // One scratch block per scheme function, in static storage: 128 KiB is too large for the
    // stack, and a block allocated per call could be left behind unwiped by the allocator.
    static unsigned char _scratchBlockScheme1Encrypt[MEMORY_SIZE];
    static unsigned char _scratchBlockScheme1Decrypt[MEMORY_SIZE];
    static unsigned char _scratchBlockScheme2Encrypt[MEMORY_SIZE];
    static unsigned char _scratchBlockScheme2Decrypt[MEMORY_SIZE];
};

#endif
