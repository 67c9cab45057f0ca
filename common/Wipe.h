#ifndef WIPE_H
#define WIPE_H

#include <cstddef>

// Overwrites `size` bytes at `pointer` with zeros in a way the compiler may not drop, even when
// the memory is freed right after. Every secret (keys, salts, plaintext images, scratch blocks)
// goes through here on its way out; it sits below every other library so that the device link
// and the data layer can wipe without depending on the cryptography.
void wipeMemory(void* pointer, std::size_t size);

#endif
