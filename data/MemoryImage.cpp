#include "MemoryImage.h"
#include "Wipe.h"

#include <cstring>

int MemoryImage::decrypt(const QString& password, const unsigned char* image, unsigned char* work,
                         Security::EncryptionSchemeId* openedScheme)
{
    int result = 1;
    for (Security::EncryptionSchemeId scheme :
         {Security::ENCRYPTION_SCHEME_ID_2, Security::ENCRYPTION_SCHEME_ID_1,
          Security::ENCRYPTION_SCHEME_ID_0})
    {
        std::memcpy(work, image, SIZE);
        result = Security::decryptMemoryData(password, scheme, work);
        if (result == 0 && openedScheme != nullptr)
            *openedScheme = scheme;
        if (result <= 0)
            break;
    }
    if (result != 0)
        wipeMemory(work, SIZE);
    return result;
}

MemoryImage::PlaintextBuffer::PlaintextBuffer() : _bytes(new unsigned char[SIZE]) {}

MemoryImage::PlaintextBuffer::~PlaintextBuffer()
{
    wipeMemory(_bytes.get(), SIZE);
}
