#include "DevicePortInfo.h"

#include <QFileInfo>
#include <QList>

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

bool DevicePortInfo::operator==(const DevicePortInfo& other) const
{
    return _portPath == other._portPath && _systemLocation == other._systemLocation &&
           _serialNumber == other._serialNumber && _hasVendorIdentifier == other._hasVendorIdentifier &&
           _hasProductIdentifier == other._hasProductIdentifier &&
           _vendorIdentifier == other._vendorIdentifier && _productIdentifier == other._productIdentifier;
}
