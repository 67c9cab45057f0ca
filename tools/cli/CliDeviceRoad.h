#ifndef CLIDEVICEROAD_H
#define CLIDEVICEROAD_H

#include "Device.h"
#include "DeviceMemoryHealth.h"

#include <QCoreApplication>
#include <QString>
#include <memory>

// The device side of pavisor-cli: finding a device by its USB serial number, reading its memories,
// and the write road of a restore, the same as the window's (FormContentEditorWriteRoad.cpp):
// read both memories and classify them with the typed password, plan, repair a backup memory that
// does not open from a main memory that does, write main then backup, read both back and compare.
class CliDeviceRoad
{
    Q_DECLARE_TR_FUNCTIONS(CliDeviceRoad)

public:
    enum Result
    {
        RESULT_DONE = 0,
        // The device did not answer as it should (unplugged, a failed command): errorText says which.
        RESULT_DEVICE_FAILED = -1,
        // Nothing was written: the memories differ, neither opens and neither is empty.
        RESULT_REFUSED = -2,
        // What was read back differs from what was written.
        RESULT_VERIFICATION_FAILED = -3
    };

    // The bits of the memories a run covers.
    static constexpr int MEMORIES_MAIN = 1 << Device::MEMORY_ID_MAIN;
    static constexpr int MEMORIES_BACKUP = 1 << Device::MEMORY_ID_BACKUP;
    static constexpr int MEMORIES_BOTH = MEMORIES_MAIN | MEMORIES_BACKUP;

    // The connected device with that USB serial number, opened (its name read); nullptr with
    // errorText set when none has it or it does not open.
    static std::unique_ptr<Device> openDevice(const QString& usbSerialNumber, QString& errorText);

    // Reads the memories of `memories` into the device's images, with progress: RESULT_DONE or
    // RESULT_DEVICE_FAILED.
    static int readMemories(Device& device, int memories, QString& errorText);

    // Writes `image` to both memories through the road. `password` opens `image`; it is the only
    // password the classification knows. Says on standard error what it does besides the write.
    static int writeImage(Device& device, const unsigned char* image, const QString& password,
                          QString& errorText);

    // The states of the two memories just read, "opens" meaning opens with `password`: 0, or
    // negative when decryption itself failed.
    static int classify(Device& device, const QString& password, DeviceMemoryHealth::Memories* health);

private:
    static int _writeMemories(Device& device, int memories, const unsigned char* image, QString& errorText);
    // Reads the memories back and compares them with `image`.
    static int _verify(Device& device, int memories, const unsigned char* image, QString& errorText);
};

#endif
