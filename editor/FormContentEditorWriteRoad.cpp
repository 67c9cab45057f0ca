// The road of every memory write but erasing: save, copy and repair.
//
// The device writes main then backup, page by page, and a power cut can stop it anywhere. That
// order keeps one complete image only if the backup memory held one when the write started, so
// before any write the road makes sure it does: from what is known of the device's memories, or by
// reading both and trying the passwords the user has typed; a backup memory that does not open
// while the main one does is first repaired from it (written, read back). Whatever instant a
// write then stops at, the main memory, whenever it opens, holds the newest content.
#include "FormContentEditor.h"

#include "Device.h"
#include "MemoryImage.h"
#include "Security.h"
#include "ViewContentReadDevice.h"
#include "ViewContentWriteDevice.h"
#include "Wipe.h"

#include <cstring>
#include <memory>

namespace
{
// Whether `image` opens with one of `passwords`; negative when decryption failed.
int opensWithAny(const QStringList& passwords, const unsigned char* image)
{
    MemoryImage::PlaintextBuffer work;
    int result = 1;
    for (const QString& password : passwords)
    {
        result = MemoryImage::decrypt(password, image, work.get());
        if (result <= 0)
            break;
    }
    return result;
}

// A run that covers one memory.
ViewContentDeviceAccess::Memories only(Device::MemoryId memoryId)
{
    return memoryId == Device::MEMORY_ID_MAIN ? ViewContentDeviceAccess::MEMORIES_MAIN
                                              : ViewContentDeviceAccess::MEMORIES_BACKUP;
}
} // namespace

void FormContentEditor::_startWriteRoad(const unsigned char* image, const QStringList& passwords)
{
    _writeRoadImage = image;
    _writeRoadPasswords = passwords;
    if (_isMasterPasswordKnown && !passwords.contains(_masterPassword))
        _writeRoadPasswords.append(_masterPassword);
    _continueWriteRoad(
        DeviceMemoryHealth::planWrite(_deviceMemoryHealth.get(_selectedDeviceUsbSerialNumber()), false));
}

void FormContentEditor::_startRepair(Device::MemoryId sourceMemory)
{
    Device* device = Device::getSelectedDevice();
    _repairTarget =
        sourceMemory == Device::MEMORY_ID_MAIN ? Device::MEMORY_ID_BACKUP : Device::MEMORY_ID_MAIN;
    std::memcpy(_deviceWriteImages.repair, device->getMemoryBuffer(sourceMemory), Device::MEMORY_SIZE);
    std::memcpy(device->getMemoryBuffer(_repairTarget), _deviceWriteImages.repair, Device::MEMORY_SIZE);
    _writeRoadStep = WRITE_ROAD_REPAIR_WRITE;
    static_cast<ViewContentWriteDevice*>(viewGetContent(VIEW_ID_WRITE_DEVICE))
        ->setNextRunMemories(only(_repairTarget));
    viewPush(VIEW_ID_WRITE_DEVICE);
}

void FormContentEditor::_continueWriteRoad(DeviceMemoryHealth::WritePlan plan)
{
    Device* device = Device::getSelectedDevice();
    switch (plan)
    {
    case DeviceMemoryHealth::WRITE_PLAN_CHECK:
        _writeRoadStep = WRITE_ROAD_CHECK_READ;
        viewPush(VIEW_ID_READ_DEVICE);
        break;
    case DeviceMemoryHealth::WRITE_PLAN_REPAIR_BACKUP:
        _startRepair(Device::MEMORY_ID_MAIN);
        break;
    case DeviceMemoryHealth::WRITE_PLAN_REFUSE:
        _writeRoadStep = WRITE_ROAD_IDLE;
        _showDeviceWriteErrorMessage(
            tr("Error"),
            tr("The main and backup memories of the device '%1' differ and neither opens with the master "
               "password: either could be the last good copy of its records, so nothing was written.\nOpen "
               "the device with its own master password to repair it, or erase it first.")
                .arg(device->getName()));
        _forgetCandidateMasterPassword();
        Device::releaseSelectedDevice();
        break;
    default:
        // The device is safe: the workflow's own write and its read-back follow.
        _writeRoadStep = WRITE_ROAD_IDLE;
        std::memcpy(device->getMemoryBuffer(Device::MEMORY_ID_MAIN), _writeRoadImage, Device::MEMORY_SIZE);
        std::memcpy(device->getMemoryBuffer(Device::MEMORY_ID_BACKUP), _writeRoadImage, Device::MEMORY_SIZE);
        viewPush(VIEW_ID_WRITE_DEVICE);
        break;
    }
}

void FormContentEditor::_classifyCheckedMemories()
{
    Device* device = Device::getSelectedDevice();
    DeviceMemoryHealth::Memories health;
    // An image that could not be tried counts as one that does not open: kept, never trusted.
    DeviceMemoryHealth::classify(
        device->getMemoryBuffer(Device::MEMORY_ID_MAIN), device->getMemoryBuffer(Device::MEMORY_ID_BACKUP),
        [this](const unsigned char* image)
        {
            const int result = opensWithAny(_writeRoadPasswords, image);
            return result < 0 ? 1 : result;
        },
        &health);
    _deviceMemoryHealth.set(device->getUsbSerialNumber(), health);
}

bool FormContentEditor::_handleWriteRoadReadFinished(int code)
{
    if (_writeRoadStep != WRITE_ROAD_CHECK_READ && _writeRoadStep != WRITE_ROAD_REPAIR_VERIFY)
        return false;
    const WriteRoadStep step = _writeRoadStep;
    _writeRoadStep = WRITE_ROAD_IDLE;
    // A failed read is reported like any other; nothing was written yet by this road's last step
    // that a read could have spoiled.
    if (code != 0)
    {
        _forgetCandidateMasterPassword();
        return false;
    }

    Device* device = Device::getSelectedDevice();
    const QString usbSerialNumber = device->getUsbSerialNumber();
    if (step == WRITE_ROAD_CHECK_READ)
    {
        _classifyCheckedMemories();
        _continueWriteRoad(DeviceMemoryHealth::planWrite(_deviceMemoryHealth.get(usbSerialNumber), true));
        return true;
    }

    if (std::memcmp(device->getMemoryBuffer(_repairTarget), _deviceWriteImages.repair, Device::MEMORY_SIZE) !=
        0)
    {
        _deviceMemoryHealth.setMemory(usbSerialNumber, _repairTarget, DeviceMemoryHealth::STATE_NOT_READ);
        _showDeviceWriteErrorMessage(tr("Write error"), _verificationFailedMessage());
        _forgetCandidateMasterPassword();
        Device::releaseSelectedDevice();
        return true;
    }
    DeviceMemoryHealth::Memories health;
    health.main = health.backup = DeviceMemoryHealth::STATE_OPENS;
    health.areEqual = true;
    _deviceMemoryHealth.set(usbSerialNumber, health);
    if (_writeRoadImage != nullptr)
    {
        _continueWriteRoad(DeviceMemoryHealth::WRITE_PLAN_WRITE);
        return true;
    }
    viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_SUCCESS, tr("Repair success"),
                             tr("Both device memories hold the same complete content again."),
                             ViewContentMessageBoxDialog::BUTTON_OK, ViewContentMessageBoxDialog::BUTTON_OK);
    Device::releaseSelectedDevice();
    return true;
}

bool FormContentEditor::_handleWriteRoadWriteFinished(int code)
{
    if (_writeRoadStep != WRITE_ROAD_REPAIR_WRITE)
        return false;
    if (code != 0)
    {
        // Reported like any failed write.
        _writeRoadStep = WRITE_ROAD_IDLE;
        return false;
    }
    _writeRoadStep = WRITE_ROAD_REPAIR_VERIFY;
    static_cast<ViewContentReadDevice*>(viewGetContent(VIEW_ID_READ_DEVICE))
        ->setNextRunMemories(only(_repairTarget));
    viewPush(VIEW_ID_READ_DEVICE);
    return true;
}
