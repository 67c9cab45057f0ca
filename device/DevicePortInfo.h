#ifndef DEVICEPORTINFO_H
#define DEVICEPORTINFO_H

#include <QByteArray>
#include <QSerialPortInfo>
#include <QString>

// Description of one serial port that may lead to a Pavisor: what enumeration reports about it
// (location, USB identifiers, USB serial number) and the path that is opened to talk to it.
//
// Two kinds of ports exist. Real ports come from QSerialPortInfo::availablePorts(); their path is
// their system location. Ports of running device simulators come from the descriptor files that
// the simulators drop into $PAVISOR_SIMULATOR_DIR; their path is a pseudo-terminal and their
// location, identifiers and serial number are whatever the descriptor says, so that the discovery
// filter treats them exactly like real ones. QSerialPortInfo cannot stand for the second kind: it
// has no setters, and a port that the system does not enumerate comes out null. Hence this thin
// value type with the same accessors as QSerialPortInfo for both kinds.
class DevicePortInfo
{
public:
    // A null description (opens nothing).
    DevicePortInfo() = default;
    // A real port as the system enumerates it.
    explicit DevicePortInfo(const QSerialPortInfo& serialPortInfo);

    // Reads a simulator descriptor: one key=value per line, keys port (path to open), location,
    // vendor and product (decimal; a missing key means no such identifier), serial, pid (the
    // simulator's process) and latency_timer (milliseconds, what the bridge's sysfs entry would
    // say). Gives a null description when the port key is missing.
    static DevicePortInfo fromDescriptor(const QByteArray& descriptor);

    bool isNull() const { return _portPath.isEmpty(); }
    // True for a port described by a simulator descriptor.
    bool isSimulated() const { return !isNull() && _serialPortInfo.isNull(); }

    // The path that is opened to talk to the device.
    QString portPath() const { return _portPath; }
    // The last component of the system location ("cu.usbserial-A1", "ttyUSB0").
    QString portName() const { return _portName; }
    // The location that enumeration reports; the discovery filter looks at this one.
    QString systemLocation() const { return _systemLocation; }
    QString description() const { return _description; }
    QString manufacturer() const { return _manufacturer; }
    // The USB serial number ("QRTAV-..." for a Pavisor).
    QString serialNumber() const { return _serialNumber; }
    bool hasVendorIdentifier() const { return _hasVendorIdentifier; }
    bool hasProductIdentifier() const { return _hasProductIdentifier; }
    quint16 vendorIdentifier() const { return _vendorIdentifier; }
    quint16 productIdentifier() const { return _productIdentifier; }
    // The process of the simulator that wrote the descriptor; 0 when unknown (and for real ports).
    qint64 processId() const { return _processId; }
    // The USB bridge's latency timer in milliseconds: how long it holds a short answer (an
    // acknowledge) before handing it to the host. Read from sysfs for a real port on Linux, from
    // the descriptor for a simulated one; -1 where it cannot be read (macOS, other drivers).
    int latencyTimerMs() const;

    // The system's own description of a real port; null for a simulated one.
    const QSerialPortInfo& serialPortInfo() const { return _serialPortInfo; }

    bool operator==(const DevicePortInfo& other) const;
    bool operator!=(const DevicePortInfo& other) const { return !(*this == other); }

private:
    QSerialPortInfo _serialPortInfo;
    QString _portPath;
    QString _portName;
    QString _systemLocation;
    QString _description;
    QString _manufacturer;
    QString _serialNumber;
    bool _hasVendorIdentifier = false;
    bool _hasProductIdentifier = false;
    quint16 _vendorIdentifier = 0;
    quint16 _productIdentifier = 0;
    qint64 _processId = 0;
    int _latencyTimerMs = -1;
};

#endif
