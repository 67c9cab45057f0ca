#!/usr/bin/env python3
"""Independent implementation of the Pavisor memory image envelope (schemes 1 and 2).

It shares no code with the application: PBKDF2 comes from hashlib, AES-256-GCM and ChaCha20 from
the `cryptography` package. It has two uses:

  make_known_answer_images.py make [OUTPUT_DIR]
      Writes known_answer_scheme1.bin and known_answer_scheme2.bin (131072 bytes each), built
      from the fixed password, plaintext and "random" bytes below. The C++ tests open them.

  make_known_answer_images.py decrypt SCHEME PASSWORD_HEX INPUT OUTPUT
      Decrypts an image written by the application (password given as hex of its UTF-8 bytes),
      verifies the scheme 1 check value or the scheme 2 tag, and writes the 131072-byte buffer
      the application would hold after decrypting. Exit code 0 on success, 1 when the password
      does not open the image, 2 on a usage error.

Exit code 3 means the `cryptography` package is missing.
"""
import hashlib
import os
import sys

try:
    from cryptography.hazmat.primitives.ciphers import Cipher, algorithms, modes
    from cryptography.exceptions import InvalidTag
except ImportError:
    sys.stderr.write("the python3 'cryptography' package is missing\n")
    sys.exit(3)

MEMORY_SIZE = 131072
INNER_BLOCK_OFFSET = 44
INNER_BLOCK_SIZE = MEMORY_SIZE - INNER_BLOCK_OFFSET  # 131028
CHECK_VALUE_OFFSET = 130948

SCHEMES = {
    # scheme: (PBKDF2 iterations per key, bytes under GCM, GCM tag stored)
    1: (16384, 130980, False),
    2: (262144, 130964, True),
}

# Fixed inputs of the known-answer images. The password has non-ASCII characters so that the
# UTF-8 encoding of the password is part of what the images pin down.
KNOWN_ANSWER_PASSWORD = "Cl\u00e9 de test \u2713 42"
PLAINTEXT_PREFIX = b"Known-answer plaintext of the memory image test.\x00"
FIXED_RANDOM_BYTES = {
    # scheme: (inner salt, GCM IV, outer salt, ChaCha20 nonce), in the order they are drawn
    1: (bytes(range(0x00, 0x20)), bytes(range(0x20, 0x30)), bytes(range(0x40, 0x60)), bytes(range(0x60, 0x6C))),
    2: (bytes(range(0x80, 0xA0)), bytes(range(0xA0, 0xB0)), bytes(range(0xC0, 0xE0)), bytes(range(0xE0, 0xEC))),
}


def known_answer_plaintext():
    """131072 bytes: the prefix, then byte i = (i * 131 + 17) mod 256."""
    data = bytearray((i * 131 + 17) & 0xFF for i in range(MEMORY_SIZE))
    data[: len(PLAINTEXT_PREFIX)] = PLAINTEXT_PREFIX
    return data


def derive_key(password_bytes, salt, iterations):
    return hashlib.pbkdf2_hmac("sha256", password_bytes, salt, iterations, 32)


def chacha20(key, nonce, data):
    # The library takes a 16-byte nonce: 32-bit little-endian block counter (0), then the nonce.
    cipher = Cipher(algorithms.ChaCha20(key, b"\x00\x00\x00\x00" + nonce), mode=None)
    return cipher.encryptor().update(data)


def gcm_keystream_xor(key, iv, data):
    """GCM without its tag: both directions XOR the same counter-mode keystream, so running the
    encryptor over a ciphertext yields the plaintext (scheme 1 stores no tag to verify)."""
    encryptor = Cipher(algorithms.AES(key), modes.GCM(iv)).encryptor()
    out = encryptor.update(bytes(data))
    encryptor.finalize()
    return out


def encrypt(password_bytes, scheme, plaintext, random_bytes):
    iterations, gcm_size, tag_stored = SCHEMES[scheme]
    inner_salt, iv, outer_salt, nonce = random_bytes
    plaintext = bytearray(plaintext)
    if not tag_stored:
        plaintext[CHECK_VALUE_OFFSET : CHECK_VALUE_OFFSET + 32] = hashlib.sha256(inner_salt + iv).digest()

    inner_key = derive_key(password_bytes, inner_salt, iterations)
    encryptor = Cipher(algorithms.AES(inner_key), modes.GCM(iv)).encryptor()
    ciphertext = encryptor.update(bytes(plaintext[:gcm_size])) + encryptor.finalize()
    inner_block = inner_salt + iv + ciphertext
    if tag_stored:
        inner_block += encryptor.tag
    assert len(inner_block) == INNER_BLOCK_SIZE

    outer_key = derive_key(password_bytes, outer_salt, iterations)
    image = outer_salt + nonce + chacha20(outer_key, nonce, inner_block)
    assert len(image) == MEMORY_SIZE
    return image


def decrypt(password_bytes, scheme, image):
    """Returns the decrypted 131072-byte buffer, or None when the password does not open it."""
    iterations, gcm_size, tag_stored = SCHEMES[scheme]
    outer_key = derive_key(password_bytes, image[0:32], iterations)
    inner_block = chacha20(outer_key, image[32:44], image[INNER_BLOCK_OFFSET:])
    inner_salt, iv, ciphertext = inner_block[0:32], inner_block[32:48], inner_block[48 : 48 + gcm_size]
    inner_key = derive_key(password_bytes, inner_salt, iterations)
    if tag_stored:
        decryptor = Cipher(algorithms.AES(inner_key), modes.GCM(iv, inner_block[48 + gcm_size :])).decryptor()
        try:
            plaintext = decryptor.update(ciphertext) + decryptor.finalize()
        except InvalidTag:
            return None
    else:
        plaintext = gcm_keystream_xor(inner_key, iv, ciphertext)
        if plaintext[CHECK_VALUE_OFFSET : CHECK_VALUE_OFFSET + 32] != hashlib.sha256(inner_salt + iv).digest():
            return None
    # Bytes past the GCM range keep what the image held there, as in the application.
    return plaintext + image[gcm_size:]


def main(argv):
    if len(argv) >= 2 and argv[1] == "make" and len(argv) <= 3:
        output_dir = argv[2] if len(argv) == 3 else os.path.dirname(os.path.abspath(__file__))
        password_bytes = KNOWN_ANSWER_PASSWORD.encode("utf-8")
        for scheme in (1, 2):
            image = encrypt(password_bytes, scheme, known_answer_plaintext(), FIXED_RANDOM_BYTES[scheme])
            # Check the writer against the reader before anything is stored.
            assert decrypt(password_bytes, scheme, image) is not None
            with open(os.path.join(output_dir, "known_answer_scheme%d.bin" % scheme), "wb") as f:
                f.write(image)
        return 0
    if len(argv) == 6 and argv[1] == "decrypt" and argv[2] in ("1", "2"):
        with open(argv[4], "rb") as f:
            image = f.read()
        if len(image) != MEMORY_SIZE:
            sys.stderr.write("an image has %d bytes\n" % MEMORY_SIZE)
            return 2
        result = decrypt(bytes.fromhex(argv[3]), int(argv[2]), image)
        if result is None:
            return 1
        with open(argv[5], "wb") as f:
            f.write(result)
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
