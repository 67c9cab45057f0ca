#include "CliImages.h"

#include "DeviceMemoryHealth.h"
#include "MemoryImage.h"
#include "WipeText.h"

#include <cstring>
#include <memory>

CliImages::Opened::~Opened()
{
    wipe();
}

int CliImages::Opened::recordCount() const
{
    int count = 0;
    for (const PasswordStoreCodec::Tab& tab : tabs)
        count += int(tab.passwords.size());
    return count;
}

void CliImages::Opened::wipe()
{
    for (PasswordStoreCodec::Tab& tab : tabs)
    {
        wipeText(tab.name);
        for (PasswordRecord& record : tab.passwords)
        {
            for (QString& field : record.data)
                wipeText(field);
        }
    }
    tabs.clear();
}

void CliImages::open(const QString& password, const unsigned char* image, Opened* opened)
{
    opened->wipe();
    opened->isEmpty = DeviceMemoryHealth::isEmptyImage(image);
    std::unique_ptr<unsigned char[]> plaintext(new unsigned char[Security::MEMORY_SIZE]);
    opened->result = MemoryImage::decrypt(password, image, plaintext.get(), &opened->scheme);
    if (opened->result == 0)
        PasswordStoreCodec::parse(plaintext.get(), &opened->tabs);
    wipeMemory(plaintext.get(), Security::MEMORY_SIZE);
}

int CliImages::openPair(const QString& password, const unsigned char* mainImage,
                        const unsigned char* backupImage, bool isBothOpened, Opened* main, Opened* backup)
{
    open(password, mainImage, main);
    if (main->result < 0)
        return main->result;
    if (main->result == 0 && !isBothOpened)
        return 0;
    if (std::memcmp(mainImage, backupImage, Security::MEMORY_SIZE) == 0)
        *backup = *main;
    else
        open(password, backupImage, backup);
    if (backup->result < 0)
        return backup->result;
    return main->result == 0 || backup->result == 0 ? 0 : 1;
}

QString CliImages::describe(const Opened& opened)
{
    if (opened.result == 0)
        return tr("opens (scheme %1): %2").arg(int(opened.scheme)).arg(describeContent(opened));
    if (opened.isEmpty)
        return tr("empty (erased)");
    if (opened.result < 0)
        return tr("could not be decrypted");
    return tr("does not open with this password");
}

QString CliImages::describeContent(const Opened& opened)
{
    const int tabCount = int(opened.tabs.size());
    const int recordCount = opened.recordCount();
    return tr("%1, %2").arg(tabCount == 1 ? tr("1 tab") : tr("%1 tabs").arg(tabCount),
                            recordCount == 1 ? tr("1 record") : tr("%1 records").arg(recordCount));
}
