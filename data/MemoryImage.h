#ifndef MEMORYIMAGE_H
#define MEMORYIMAGE_H

#include "Security.h"

#include <QString>
#include <memory>

// Opening one 131072-byte memory image with a master password, whichever scheme wrote it.
namespace MemoryImage
{
constexpr int SIZE = Security::MEMORY_SIZE;

// Decrypts a copy of `image` into `work` with `password`, trying schemes 2, 1, 0 (each on a fresh
// copy: a scheme that says no may have scrambled its buffer). 0: the plaintext store is in `work`
// and *openedScheme (when given) says which scheme opened it; 1: no scheme opened it; negative:
// decryption failed. `work` holds nothing unless 0.
int decrypt(const QString& password, const unsigned char* image, unsigned char* work,
            Security::EncryptionSchemeId* openedScheme = nullptr);
// A plaintext image buffer, wiped on every way out.
class PlaintextBuffer
{
public:
    PlaintextBuffer();
    ~PlaintextBuffer();
    PlaintextBuffer(const PlaintextBuffer&) = delete;
    PlaintextBuffer& operator=(const PlaintextBuffer&) = delete;
    unsigned char* get() { return _bytes.get(); }

private:
    std::unique_ptr<unsigned char[]> _bytes;
};
} // namespace MemoryImage

#endif
