// libFuzzer target of the backup-file reader. Whatever the bytes, decoding either refuses them with
// a reason or gives two whole images, and what it accepts encodes into a file that reads back the same.
// A valid file is over 256 KiB of images behind a small header, so the first input byte chooses:
// odd, the rest of the input is the whole file; even, it is the magic, length and header, followed
// by two erased images (the seed's header is valid for those, so the fuzzer starts inside the
// header parser and the digest checks rather than at the length check).
#include "BackupFile.h"

#include <cstdint>
#include <cstdlib>

namespace
{
void check(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    QByteArray bytes(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    if (data[0] % 2 == 0)
        bytes.append(QByteArray(2 * BackupFile::IMAGE_SIZE, char(0xFF)));
    BackupFile::Content content;
    QString errorText;
    const int result = BackupFile::decode(bytes, &content, errorText);
    check(result == 0 || result == -1);
    if (result != 0)
    {
        check(!errorText.isEmpty());
        return 0;
    }
    check(content.mainImage.size() == BackupFile::IMAGE_SIZE);
    check(content.backupImage.size() == BackupFile::IMAGE_SIZE);
    BackupFile::Content again;
    check(BackupFile::decode(BackupFile::encode(content), &again, errorText) == 0);
    check(again.mainImage == content.mainImage && again.backupImage == content.backupImage);
    check(again.name == content.name && again.serial == content.serial && again.created == content.created);
    return 0;
}
