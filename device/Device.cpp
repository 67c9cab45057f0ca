#include "Device.h"
#include "Wipe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <cstring>

namespace
{
// Every request starts with this byte, and every acknowledge is this byte.
constexpr unsigned char SYNC_BYTE = 0xA5;
constexpr unsigned char ACKNOWLEDGE = 0xA5;

enum Command : unsigned char
{
    COMMAND_READ_VERSIONS = 0,
    COMMAND_SET_LED_STATE = 1,
    COMMAND_SELECT_MEMORY = 2,
    COMMAND_WRITE_PAGE = 4,
    COMMAND_READ_MEMORY = 5,
    COMMAND_READ_SERIAL_NUMBER = 6,
    COMMAND_READ_NAME = 8,
    COMMAND_WRITE_NAME = 9
};

// Poll budgets (one poll waits at most 1 ms for bytes to arrive).
constexpr int POLLS_SHORT_COMMAND = 2000;
constexpr int POLLS_WRITE_PAGE = 3000;
constexpr int POLLS_READ_MEMORY = 6000;
constexpr int POLL_WAIT_MS = 1;
constexpr int WRITE_WAIT_MS = 30000;

// USB identity of the serial adapter inside a Pavisor.
constexpr quint16 PAVISOR_VENDOR_IDENTIFIER = 0x0403;
constexpr quint16 PAVISOR_PRODUCT_IDENTIFIER = 0x6015;
const QLatin1String PAVISOR_SERIAL_NUMBER_PREFIX("QRTAV-");

// Each adapter shows up as two nodes on macOS (call-in "tty." and call-out "cu."); the call-out
// node is the one to open. Linux has a single node per adapter.
#ifdef Q_OS_MACOS
const QLatin1String PAVISOR_LOCATION_PREFIX("/dev/cu");
#else
const QLatin1String PAVISOR_LOCATION_PREFIX("/dev/ttyUSB");
#endif

// A simulator descriptor is a few short lines; anything longer is not one.
constexpr qint64 DESCRIPTOR_MAXIMUM_SIZE = 4096;

Device* selectedDevice = nullptr;

bool isPavisorPort(const DevicePortInfo& port)
{
    return port.hasVendorIdentifier() && port.hasProductIdentifier() &&
           port.vendorIdentifier() == PAVISOR_VENDOR_IDENTIFIER &&
           port.productIdentifier() == PAVISOR_PRODUCT_IDENTIFIER &&
           port.systemLocation().startsWith(PAVISOR_LOCATION_PREFIX, Qt::CaseSensitive) &&
           port.serialNumber().startsWith(PAVISOR_SERIAL_NUMBER_PREFIX, Qt::CaseSensitive);
}

// Text fields of the device: 255 in the first byte means nothing is stored, else UTF-8 up to the
// first zero byte or the end of the field.
QString decodeTextField(const unsigned char* field, int size, const QString& placeholder)
{
    if (field[0] == 255)
        return placeholder;
    int length = 0;
    while (length < size && field[length] != 0)
        length++;
    return QString::fromUtf8(reinterpret_cast<const char*>(field), length);
}
} // namespace

QList<DevicePortInfo>* Device::findAvailableDevices()
{
    auto* devices = new QList<DevicePortInfo>;
    const QList<QSerialPortInfo> serialPorts = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& serialPort : serialPorts)
    {
        const DevicePortInfo port(serialPort);
        if (isPavisorPort(port))
            devices->append(port);
    }

    // Running simulators announce themselves with one descriptor file each.
    const QString simulatorDirectory = qEnvironmentVariable("PAVISOR_SIMULATOR_DIR");
    if (simulatorDirectory.isEmpty())
        return devices;
    const QDir directory(simulatorDirectory);
    const QStringList descriptorFiles =
        directory.entryList({QStringLiteral("*.device")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& fileName : descriptorFiles)
    {
        QFile file(directory.filePath(fileName));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const DevicePortInfo port = DevicePortInfo::fromDescriptor(file.read(DESCRIPTOR_MAXIMUM_SIZE));
        // A descriptor whose terminal is gone was left by a simulator that was killed.
        if (!port.isNull() && QFileInfo::exists(port.portPath()) && isPavisorPort(port))
            devices->append(port);
    }
    return devices;
}

Device* Device::getSelectedDevice()
{
    return selectedDevice;
}

void Device::setSelectedDevice(Device* device)
{
    selectedDevice = device;
}

void Device::releaseSelectedDevice()
{
    if (selectedDevice == nullptr)
        return;
    Device* device = selectedDevice;
    selectedDevice = nullptr;
    device->close();
    delete device;
}

Device::Device(const QSerialPortInfo& serialPortInfo) : Device(DevicePortInfo(serialPortInfo)) {}

Device::Device(const DevicePortInfo& portInfo) : _portInfo(portInfo), _name(tr("No name defined")) {}

Device::~Device()
{
    _destroyPort();
    // The images hold encrypted password data.
    wipeMemory(_memoryImages, sizeof(_memoryImages));
}

int Device::open()
{
    _destroyPort();
    if (_portInfo.serialPortInfo().isNull())
    {
        _port = new QSerialPort;
        _port->setPortName(_portInfo.portPath());
    }
    else
        _port = new QSerialPort(_portInfo.serialPortInfo());
    if (_port->error() != QSerialPort::NoError)
        return -1;

    _port->setBaudRate(QSerialPort::Baud115200, QSerialPort::AllDirections);
    _port->setDataBits(QSerialPort::Data8);
    _port->setParity(QSerialPort::NoParity);
    _port->setStopBits(QSerialPort::OneStop);
    _port->setFlowControl(QSerialPort::NoFlowControl);
    if (!_port->open(QIODevice::ReadWrite))
        return -1;

    const unsigned char request[] = {SYNC_BYTE, COMMAND_READ_NAME};
    unsigned char answer[NAME_SIZE];
    if (_sendRequest(request, sizeof(request)) != 0 ||
        _receiveAnswer(answer, NAME_SIZE, POLLS_SHORT_COMMAND) != 0)
        return -1;
    _name = decodeTextField(answer, NAME_SIZE, tr("No name defined"));
    return 0;
}

void Device::close()
{
    if (_port == nullptr)
        return;
    // The acknowledge is awaited even though its result does not matter: left unread, it would be
    // taken for the first byte of the next answer after the port is reopened.
    setLedState(COMMUNICATION_PROTOCOL_LED_STATE_IDLE);
    _destroyPort();
}

QString Device::getUsbSerialNumber() const
{
    return _portInfo.serialNumber();
}

QString Device::getName() const
{
    return _name;
}

int Device::setLedState(TCommunicationProtocolLedState state)
{
    const unsigned char request[] = {SYNC_BYTE, COMMAND_SET_LED_STATE, static_cast<unsigned char>(state)};
    return _acknowledgedCommand(request, sizeof(request), POLLS_SHORT_COMMAND);
}

int Device::selectMemory(MemoryId memoryId)
{
    const unsigned char request[] = {SYNC_BYTE, COMMAND_SELECT_MEMORY, static_cast<unsigned char>(memoryId)};
    return _acknowledgedCommand(request, sizeof(request), POLLS_SHORT_COMMAND);
}

int Device::readWholeMemory(MemoryId memoryId)
{
    unsigned char* image = getMemoryBuffer(memoryId);
    if (image == nullptr || selectMemory(memoryId) != 0)
        return -1;
    const unsigned char request[] = {SYNC_BYTE, COMMAND_READ_MEMORY};
    if (_sendRequest(request, sizeof(request)) != 0 ||
        _receiveAnswer(image, MEMORY_SIZE, POLLS_READ_MEMORY) != 0)
        return -1;
    return 0;
}

int Device::writeSelectedMemoryPage(int page, void* data)
{
    if (page < 0 || page >= MEMORY_PAGE_COUNT || data == nullptr)
        return -1;
    unsigned char request[4 + MEMORY_PAGE_SIZE];
    request[0] = SYNC_BYTE;
    request[1] = COMMAND_WRITE_PAGE;
    request[2] = static_cast<unsigned char>(page >> 8);
    request[3] = static_cast<unsigned char>(page & 0xFF);
    memcpy(request + 4, data, MEMORY_PAGE_SIZE);
    const int result = _acknowledgedCommand(request, sizeof(request), POLLS_WRITE_PAGE);
    wipeMemory(request, sizeof(request));
    return result;
}

int Device::readSerialNumber(QString& serialNumber)
{
    const unsigned char request[] = {SYNC_BYTE, COMMAND_READ_SERIAL_NUMBER};
    unsigned char answer[SERIAL_NUMBER_SIZE];
    if (_sendRequest(request, sizeof(request)) != 0 ||
        _receiveAnswer(answer, SERIAL_NUMBER_SIZE, POLLS_SHORT_COMMAND) != 0)
        return -1;
    serialNumber = decodeTextField(answer, SERIAL_NUMBER_SIZE, tr("No serial number"));
    return 0;
}

int Device::readVersionsInformation(int& hardwareVersion, int& firmwareVersion)
{
    const unsigned char request[] = {SYNC_BYTE, COMMAND_READ_VERSIONS};
    unsigned char answer[4];
    if (_sendRequest(request, sizeof(request)) != 0 ||
        _receiveAnswer(answer, sizeof(answer), POLLS_SHORT_COMMAND) != 0)
        return -1;
    hardwareVersion = answer[0] * 256 + answer[1];
    firmwareVersion = answer[2] * 256 + answer[3];
    return 0;
}

int Device::writeName(QString& name)
{
    const QByteArray encoded = name.toUtf8();
    if (encoded.size() > NAME_SIZE)
        return -2;
    // The name is zero-terminated unless it fills the whole field.
    unsigned char request[2 + NAME_SIZE] = {SYNC_BYTE, COMMAND_WRITE_NAME};
    memcpy(request + 2, encoded.constData(), static_cast<size_t>(encoded.size()));
    if (_acknowledgedCommand(request, sizeof(request), POLLS_SHORT_COMMAND) != 0)
        return -1;
    _name = name;
    return 0;
}

unsigned char* Device::getMemoryBuffer(MemoryId memoryId)
{
    if (memoryId != MEMORY_ID_MAIN && memoryId != MEMORY_ID_BACKUP)
        return nullptr;
    return _memoryImages[memoryId];
}

int Device::_sendRequest(const unsigned char* request, int size)
{
    if (_port == nullptr || !_port->isOpen())
        return -1;
    _port->clearError();
    if (_port->write(reinterpret_cast<const char*>(request), size) != size)
        return -1;
    _port->waitForBytesWritten(WRITE_WAIT_MS);
    return 0;
}

// 0 when all `size` bytes arrived within `maximumPollCount` polls, -2 when the polls ran out, -1
// on a read error. A poll that brings bytes counts like an empty one, so a device that trickles
// its answer cannot stretch the wait beyond the budget.
int Device::_receiveAnswer(unsigned char* buffer, int size, int maximumPollCount)
{
    int received = 0;
    int pollCount = 0;
    int result = -2;
    while (received < size && pollCount < maximumPollCount)
    {
        pollCount++;
        if (_port->bytesAvailable() <= 0 && !_port->waitForReadyRead(POLL_WAIT_MS))
        {
            // A vanished device (unplugged adapter, hung-up terminal) will never answer.
            if (_port->error() == QSerialPort::ResourceError || _port->error() == QSerialPort::ReadError)
            {
                result = -1;
                break;
            }
            continue;
        }
        const qint64 count = _port->read(reinterpret_cast<char*>(buffer) + received, size - received);
        if (count < 0)
        {
            result = -1;
            break;
        }
        received += static_cast<int>(count);
    }
    _lastReceivePollCount = pollCount;
    if (received == size)
        return 0;
    return result;
}

// Sends a request whose answer is the single acknowledge byte.
int Device::_acknowledgedCommand(const unsigned char* request, int size, int maximumPollCount)
{
    unsigned char answer = 0;
    if (_sendRequest(request, size) != 0 || _receiveAnswer(&answer, 1, maximumPollCount) != 0)
        return -1;
    return answer == ACKNOWLEDGE ? 0 : -1;
}

void Device::_destroyPort()
{
    delete _port;
    _port = nullptr;
}
