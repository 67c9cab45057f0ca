#include "Wipe.h"

#include <openssl/crypto.h>

void wipeMemory(void* pointer, std::size_t size)
{
    if (pointer != nullptr && size > 0)
        OPENSSL_cleanse(pointer, size);
}
