#include "DevicePortInfo.h"

#include <QFile>
#include <QFileInfo>
#include <QList>

namespace
{
// The latency timer of a USB serial bridge (ftdi_sio exposes it), in milliseconds: 1 to 255.
int parseLatencyTimer(const QByteArray& text)
{
    bool valid = false;
    const int value = text.trimmed().toInt(&valid, 10);
    return valid && value >= 0 && value <= 255 ? value : -1;
}
} // namespace

DevicePortInfo::DevicePortInfo(const QSerialPortInfo& serialPortInfo)
    : _serialPortInfo(serialPortInfo), _portPath(serialPortInfo.systemLocation()),
      _portName(serialPortInfo.portName()), _systemLocation(serialPortInfo.systemLocation()),
      _description(serialPortInfo.description()), _manufacturer(serialPortInfo.manufacturer()),
      _serialNumber(serialPortInfo.serialNumber()),
      _hasVendorIdentifier(serialPortInfo.hasVendorIdentifier()),
      _hasProductIdentifier(serialPortInfo.hasProductIdentifier()),
      _vendorIdentifier(serialPortInfo.vendorIdentifier()),
      _productIdentifier(serialPortInfo.productIdentifier())
{
}

DevicePortInfo DevicePortInfo::fromDescriptor(const QByteArray& descriptor)
{
    DevicePortInfo info;
    const QList<QByteArray> lines = descriptor.split('\n');
    for (const QByteArray& line : lines)
    {
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0)
            continue;
        const QByteArray key = line.left(equals).trimmed();
        const QString value = QString::fromUtf8(line.mid(equals + 1).trimmed());
        bool valid = false;
        if (key == "port")
            info._portPath = value;
        else if (key == "location")
            info._systemLocation = value;
        else if (key == "serial")
            info._serialNumber = value;
        else if (key == "pid")
            info._processId = qMax(0LL, value.toLongLong());
        else if (key == "latency_timer")
            info._latencyTimerMs = parseLatencyTimer(value.toLatin1());
        else if (key == "vendor")
        {
            const uint number = value.toUInt(&valid, 10);
            info._hasVendorIdentifier = valid && number <= 0xFFFF;
            info._vendorIdentifier = info._hasVendorIdentifier ? static_cast<quint16>(number) : 0;
        }
        else if (key == "product")
        {
            const uint number = value.toUInt(&valid, 10);
            info._hasProductIdentifier = valid && number <= 0xFFFF;
            info._productIdentifier = info._hasProductIdentifier ? static_cast<quint16>(number) : 0;
        }
    }
    if (info._portPath.isEmpty())
        return DevicePortInfo();
    info._portName = QFileInfo(info._systemLocation).fileName();
    return info;
}

int DevicePortInfo::latencyTimerMs() const
{
    if (isNull() || isSimulated())
        return _latencyTimerMs;
#ifdef Q_OS_LINUX
    // Read when asked: a udev rule or the user may change it while the device stays plugged in.
    QFile file(QStringLiteral("/sys/bus/usb-serial/devices/") + _portName + QStringLiteral("/latency_timer"));
    if (!_portName.isEmpty() && file.open(QIODevice::ReadOnly))
        return parseLatencyTimer(file.read(16));
#endif
    return -1;
}

bool DevicePortInfo::operator==(const DevicePortInfo& other) const
{
    return _portPath == other._portPath && _systemLocation == other._systemLocation &&
           _serialNumber == other._serialNumber && _hasVendorIdentifier == other._hasVendorIdentifier &&
           _hasProductIdentifier == other._hasProductIdentifier &&
           _vendorIdentifier == other._vendorIdentifier && _productIdentifier == other._productIdentifier;
}
