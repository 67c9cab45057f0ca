// A restore overwrites a device whose state the command line knows nothing of, and a power cut or an
// unplug can stop it anywhere. Writing main then backup keeps a complete image that opens only if
// the backup memory held one when the write started, so both memories are read and classified
// first, with the same plan as the window; the image written is the backup file's, which opens with
// the typed password, so from the first page on the user knows a password that opens one memory.
#include "CliDeviceRoad.h"

#include "CliTerminal.h"
#include "MemoryImage.h"
#include "Wipe.h"

#include <cstring>

namespace
{
// Longest time one step of a memory read waits before the progress is redrawn.
constexpr int RECEIVE_SLICE_MS = 100;

QString memoryName(Device::MemoryId memoryId)
{
    return memoryId == Device::MEMORY_ID_MAIN ? CliDeviceRoad::tr("main") : CliDeviceRoad::tr("backup");
}

int memoryCount(int memories)
{
    return ((memories & CliDeviceRoad::MEMORIES_MAIN) != 0 ? 1 : 0) +
           ((memories & CliDeviceRoad::MEMORIES_BACKUP) != 0 ? 1 : 0);
}

bool isIncluded(int memories, Device::MemoryId memoryId)
{
    return (memories & (1 << memoryId)) != 0;
}

QString unplugHint()
{
    return CliDeviceRoad::tr("Was it unplugged? Plug it in again and retry.");
}
} // namespace

std::unique_ptr<Device> CliDeviceRoad::openDevice(const QString& usbSerialNumber, QString& errorText)
{
    const std::unique_ptr<QList<DevicePortInfo>> ports(Device::findAvailableDevices());
    QStringList present;
    for (const DevicePortInfo& port : ports != nullptr ? *ports : QList<DevicePortInfo>())
    {
        if (port.serialNumber() != usbSerialNumber)
        {
            present.append(port.serialNumber());
            continue;
        }
        auto device = std::make_unique<Device>(port);
        if (device->open() != 0)
        {
            errorText = tr("The device %1 could not be opened: it may be in use by another program.")
                            .arg(usbSerialNumber);
            return nullptr;
        }
        return device;
    }
    errorText =
        present.isEmpty()
            ? tr("No connected Pavisor has the serial number %1; none is connected.").arg(usbSerialNumber)
            : tr("No connected Pavisor has the serial number %1; connected: %2.")
                  .arg(usbSerialNumber, present.join(QStringLiteral(", ")));
    return nullptr;
}

int CliDeviceRoad::readMemories(Device& device, int memories, QString& errorText)
{
    CliProgress progress(tr("Reading"), qint64(memoryCount(memories)) * Device::MEMORY_SIZE);
    if (device.setLedState(COMMUNICATION_PROTOCOL_LED_STATE_ACCESS) != 0)
    {
        errorText = tr("The device '%1' did not answer. %2").arg(device.getName(), unplugHint());
        return RESULT_DEVICE_FAILED;
    }
    qint64 doneBytes = 0;
    for (Device::MemoryId memoryId : {Device::MEMORY_ID_MAIN, Device::MEMORY_ID_BACKUP})
    {
        if (!isIncluded(memories, memoryId))
            continue;
        int result = device.startReadWholeMemory(memoryId) == 0 ? 1 : -1;
        while (result == 1)
        {
            result = device.continueReadWholeMemory(RECEIVE_SLICE_MS);
            progress.update(doneBytes + device.getReceivedByteCount());
        }
        if (result != 0)
        {
            errorText = tr("Reading the %1 memory of the device '%2' failed. %3")
                            .arg(memoryName(memoryId), device.getName(), unplugHint());
            return RESULT_DEVICE_FAILED;
        }
        doneBytes += Device::MEMORY_SIZE;
    }
    if (device.setLedState(COMMUNICATION_PROTOCOL_LED_STATE_IDLE) != 0)
    {
        errorText =
            tr("The device '%1' did not answer after the read. %2").arg(device.getName(), unplugHint());
        return RESULT_DEVICE_FAILED;
    }
    return RESULT_DONE;
}

int CliDeviceRoad::classify(Device& device, const QString& password, DeviceMemoryHealth::Memories* health)
{
    MemoryImage::PlaintextBuffer work;
    const int result = DeviceMemoryHealth::classify(
        device.getMemoryBuffer(Device::MEMORY_ID_MAIN), device.getMemoryBuffer(Device::MEMORY_ID_BACKUP),
        [&](const unsigned char* image) { return MemoryImage::decrypt(password, image, work.get()); },
        health);
    return result < 0 ? -1 : 0;
}

int CliDeviceRoad::writeImage(Device& device, const unsigned char* image, const QString& password,
                              QString& errorText)
{
    if (readMemories(device, MEMORIES_BOTH, errorText) != RESULT_DONE)
        return RESULT_DEVICE_FAILED;
    DeviceMemoryHealth::Memories health;
    if (classify(device, password, &health) != 0)
    {
        errorText = tr("Failed to decrypt the device memories, nothing was written.");
        return RESULT_DEVICE_FAILED;
    }

    switch (DeviceMemoryHealth::planWrite(health, true))
    {
    case DeviceMemoryHealth::WRITE_PLAN_REFUSE:
        errorText = tr("The main and backup memories of the device '%1' differ and neither opens with this "
                       "master password: either could be the last good copy of its records, so nothing was "
                       "written.\nOpen the device with its own master password to repair it, or erase it "
                       "first.")
                        .arg(device.getName());
        return RESULT_REFUSED;
    case DeviceMemoryHealth::WRITE_PLAN_REPAIR_BACKUP:
    {
        // The backup memory is about to be the only copy while main is written: it gets main's
        // complete image first, checked on the device itself.
        CliTerminal::printError(tr("The backup memory does not open while the main memory does: it is "
                                   "repaired from the main memory first."));
        // Main's image stays in its buffer: the repair writes and reads back the backup memory only.
        const unsigned char* mainImage = device.getMemoryBuffer(Device::MEMORY_ID_MAIN);
        const int result = _writeMemories(device, MEMORIES_BACKUP, mainImage, errorText);
        if (result != RESULT_DONE)
        {
            errorText = tr("Repairing the backup memory of the device '%1' failed; its main memory, which "
                           "opens, was not touched. %2")
                            .arg(device.getName(), unplugHint());
            return result;
        }
        const int verification = _verify(device, MEMORIES_BACKUP, mainImage, errorText);
        if (verification != RESULT_DONE)
            return verification;
        break;
    }
    default:
        break;
    }

    const int result = _writeMemories(device, MEMORIES_BOTH, image, errorText);
    if (result != RESULT_DONE)
        return result;
    return _verify(device, MEMORIES_BOTH, image, errorText);
}

int CliDeviceRoad::_writeMemories(Device& device, int memories, const unsigned char* image,
                                  QString& errorText)
{
    CliProgress progress(tr("Writing"), qint64(memoryCount(memories)) * Device::MEMORY_SIZE);
    if (device.setLedState(COMMUNICATION_PROTOCOL_LED_STATE_ACCESS) != 0)
    {
        errorText =
            tr("The device '%1' did not answer, nothing was written. %2").arg(device.getName(), unplugHint());
        return RESULT_DEVICE_FAILED;
    }
    qint64 doneBytes = 0;
    // The main memory is complete before the backup memory is selected at all.
    for (Device::MemoryId memoryId : {Device::MEMORY_ID_MAIN, Device::MEMORY_ID_BACKUP})
    {
        if (!isIncluded(memories, memoryId))
            continue;
        unsigned char* pages = device.getMemoryBuffer(memoryId);
        std::memcpy(pages, image, Device::MEMORY_SIZE);
        bool isWritten = device.selectMemory(memoryId) == 0;
        for (int page = 0; isWritten && page < Device::MEMORY_PAGE_COUNT; page++)
        {
            isWritten = device.writeSelectedMemoryPage(page, pages + page * Device::MEMORY_PAGE_SIZE) == 0;
            doneBytes += Device::MEMORY_PAGE_SIZE;
            progress.update(doneBytes);
        }
        if (!isWritten)
        {
            errorText =
                memoryId == Device::MEMORY_ID_MAIN
                    ? tr("Writing the main memory of the device '%1' failed; its backup memory was not "
                         "touched. %2")
                          .arg(device.getName(), unplugHint())
                    : tr("Writing the backup memory of the device '%1' failed: its main memory holds "
                         "the restored image. %2")
                          .arg(device.getName(), unplugHint());
            return RESULT_DEVICE_FAILED;
        }
    }
    if (device.setLedState(COMMUNICATION_PROTOCOL_LED_STATE_IDLE) != 0)
    {
        errorText =
            tr("The device '%1' did not answer after the write. %2").arg(device.getName(), unplugHint());
        return RESULT_DEVICE_FAILED;
    }
    return RESULT_DONE;
}

int CliDeviceRoad::_verify(Device& device, int memories, const unsigned char* image, QString& errorText)
{
    if (readMemories(device, memories, errorText) != RESULT_DONE)
        return RESULT_DEVICE_FAILED;
    QStringList differing;
    for (Device::MemoryId memoryId : {Device::MEMORY_ID_MAIN, Device::MEMORY_ID_BACKUP})
    {
        if (isIncluded(memories, memoryId) &&
            std::memcmp(device.getMemoryBuffer(memoryId), image, Device::MEMORY_SIZE) != 0)
            differing.append(memoryName(memoryId));
    }
    if (differing.isEmpty())
        return RESULT_DONE;
    errorText = tr("Verification failed: the %1 memory of the device '%2' does not hold what was written. "
                   "Please retry; consider changing the device if this keeps happening.")
                    .arg(differing.join(tr(" and ")), device.getName());
    return RESULT_VERIFICATION_FAILED;
}
