// libFuzzer target of the backup-file reader. Whatever the bytes, decoding either refuses them with
// a reason or gives two whole images, and what it accepts encodes into a file that reads back the same.
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
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
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
