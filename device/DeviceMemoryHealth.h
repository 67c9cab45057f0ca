#ifndef DEVICEMEMORYHEALTH_H
#define DEVICEMEMORYHEALTH_H

#include "Device.h"

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

// What the application knows of the two memories of each device it has read or written, by USB
// serial number, and what a write must do first so that one memory always holds a complete image
// that opens.
//
// "Opens" always means: opens with a password the user has typed in this session. What is known
// is forgotten when the device is unplugged (a replugged device may have been written elsewhere),
// and a memory that a failed write touched is "not read" again until it is read.
class DeviceMemoryHealth
{
    Q_DECLARE_TR_FUNCTIONS(DeviceMemoryHealth)

public:
    enum State
    {
        STATE_NOT_READ,
        // A complete image that opens, with the newest content this session knows of.
        STATE_OPENS,
        // A complete image that opens, differing from the other memory, which is newer.
        STATE_OLDER_CONTENT,
        // Nothing to keep: all bytes erased (0xFF) or zero.
        STATE_EMPTY,
        // Does not open: part of an interrupted write, or an image under a password never typed here.
        STATE_DAMAGED
    };

    struct Memories
    {
        State main = STATE_NOT_READ;
        State backup = STATE_NOT_READ;
        // Known to hold the same bytes (both read, or both written and verified).
        bool areEqual = false;
    };

    // What a write must do before its image goes to the main memory.
    enum WritePlan
    {
        // The backup memory opens, or the main memory holds nothing to keep: write main then backup.
        WRITE_PLAN_WRITE,
        // Not enough is known: read both memories, then plan again with what they hold.
        WRITE_PLAN_CHECK,
        // The main memory opens and the backup does not: copy main to backup (and verify) first.
        WRITE_PLAN_REPAIR_BACKUP,
        // The memories differ, neither opens and neither is empty: either may be the last good copy,
        // so nothing is overwritten.
        WRITE_PLAN_REFUSE
    };

    Memories get(const QString& usbSerialNumber) const { return _devices.value(usbSerialNumber); }
    void set(const QString& usbSerialNumber, const Memories& memories)
    {
        _devices[usbSerialNumber] = memories;
    }
    void setMemory(const QString& usbSerialNumber, Device::MemoryId memoryId, State state);
    // A failed write may have left any part of these memories (bits 1 << MemoryId) written.
    void forgetWrittenMemories(const QString& usbSerialNumber, int memories);
    // Keeps only the devices that are plugged in.
    void forgetAllBut(const QStringList& presentUsbSerialNumbers);
    bool isEmpty() const { return _devices.isEmpty(); }

    // `isChecked`: the states come from reading both memories just now (else from what is remembered).
    static WritePlan planWrite(const Memories& memories, bool isChecked);
    static QString describe(State state);
    // A memory image that holds nothing: erased flash (0xFF) or all zero.
    static bool isEmptyImage(const unsigned char* image);
    // What the two images just read from a device hold; `opens` says whether an image opens with a
    // password the user knows (0), does not (1), or could not be tried (negative, which stops the
    // classification). 0, or that negative answer.
    static int classify(const unsigned char* mainImage, const unsigned char* backupImage,
                        const std::function<int(const unsigned char* image)>& opens, Memories* memories);

private:
    QHash<QString, Memories> _devices;
};

#endif
