#include "DeviceMemoryHealth.h"

#include <cstring>

void DeviceMemoryHealth::setMemory(const QString& usbSerialNumber, Device::MemoryId memoryId, State state)
{
    Memories& memories = _devices[usbSerialNumber];
    (memoryId == Device::MEMORY_ID_MAIN ? memories.main : memories.backup) = state;
    memories.areEqual = false;
}

void DeviceMemoryHealth::forgetWrittenMemories(const QString& usbSerialNumber, int memories)
{
    for (Device::MemoryId memoryId : {Device::MEMORY_ID_MAIN, Device::MEMORY_ID_BACKUP})
    {
        if ((memories & (1 << memoryId)) != 0)
            setMemory(usbSerialNumber, memoryId, STATE_NOT_READ);
    }
}

void DeviceMemoryHealth::forgetAllBut(const QStringList& presentUsbSerialNumbers)
{
    for (auto iterator = _devices.begin(); iterator != _devices.end();)
    {
        if (presentUsbSerialNumbers.contains(iterator.key()))
            ++iterator;
        else
            iterator = _devices.erase(iterator);
    }
}

DeviceMemoryHealth::WritePlan DeviceMemoryHealth::planWrite(const Memories& memories, bool isChecked)
{
    const auto opens = [](State state) { return state == STATE_OPENS || state == STATE_OLDER_CONTENT; };
    // The backup is not touched before the main memory is complete: a backup that opens, or a main
    // memory with nothing to lose, makes the plain write safe.
    if (memories.areEqual || opens(memories.backup) || memories.main == STATE_EMPTY)
        return WRITE_PLAN_WRITE;
    if (!isChecked)
        return WRITE_PLAN_CHECK;
    if (opens(memories.main))
        return WRITE_PLAN_REPAIR_BACKUP;
    // Neither opens. An empty backup leaves nothing that opens to lose; two differing images that
    // both hold something could each be the last good copy under a password never typed here.
    if (memories.backup == STATE_EMPTY)
        return WRITE_PLAN_WRITE;
    return WRITE_PLAN_REFUSE;
}

QString DeviceMemoryHealth::describe(State state)
{
    switch (state)
    {
    case STATE_OPENS:
        return tr("opens");
    case STATE_OLDER_CONTENT:
        return tr("older content");
    case STATE_EMPTY:
        return tr("empty");
    case STATE_DAMAGED:
        return tr("damaged");
    default:
        return tr("not read yet");
    }
}

bool DeviceMemoryHealth::isEmptyImage(const unsigned char* image)
{
    const unsigned char first = image[0];
    if (first != 0x00 && first != 0xFF)
        return false;
    for (int offset = 1; offset < Device::MEMORY_SIZE; offset++)
    {
        if (image[offset] != first)
            return false;
    }
    return true;
}

int DeviceMemoryHealth::classify(const unsigned char* mainImage, const unsigned char* backupImage,
                                 const std::function<int(const unsigned char* image)>& opens,
                                 Memories* memories)
{
    const unsigned char* images[2] = {mainImage, backupImage};
    State* states[2] = {&memories->main, &memories->backup};
    memories->areEqual = std::memcmp(mainImage, backupImage, Device::MEMORY_SIZE) == 0;
    for (int memory = 0; memory < 2; memory++)
    {
        int result = 1;
        if (isEmptyImage(images[memory]))
            *states[memory] = STATE_EMPTY;
        else if (memory == 1 && memories->areEqual)
            *states[memory] = memories->main;
        else if ((result = opens(images[memory])) < 0)
            return result;
        else
            *states[memory] = result == 0 ? STATE_OPENS : STATE_DAMAGED;
    }
    // Two that open and differ: main is the newer, since writes go main then backup.
    if (!memories->areEqual && memories->main == STATE_OPENS && memories->backup == STATE_OPENS)
        memories->backup = STATE_OLDER_CONTENT;
    return 0;
}
