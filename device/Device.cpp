#include "Device.h"
#include "Wipe.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <cerrno>
#include <cstring>
#ifdef Q_OS_UNIX
#include <signal.h>
#endif

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
// 115200 baud with 10 bits a byte (8N1): what the device can send at most.
constexpr qint64 LINE_BYTES_PER_SECOND = 11520;

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

// A simulator killed outright leaves its descriptor behind; its process is gone for good.
bool isSimulatorGone(const DevicePortInfo& port)
{
#ifdef Q_OS_UNIX
    return port.processId() > 0 && ::kill(static_cast<pid_t>(port.processId()), 0) != 0 && errno == ESRCH;
#else
    return false;
#endif
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
        // A descriptor whose process or terminal is gone was left by a simulator that was killed.
        if (!port.isNull() && !isSimulatorGone(port) && QFileInfo::exists(port.portPath()) &&
            isPavisorPort(port))
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

Device::Device(const DevicePortInfo& portInfo, QIODevice* link) : Device(portInfo)
{
    _link = link;
}

Device::~Device()
{
    _destroyPort();
    delete _link;
    // The images hold encrypted password data.
    wipeMemory(_memoryImages, sizeof(_memoryImages));
}

int Device::open()
{
    _destroyPort();
    if (_link != nullptr)
    {
        if (!_link->open(QIODevice::ReadWrite))
            return -1;
        _port = _link;
    }
    else
    {
        if (_portInfo.serialPortInfo().isNull())
        {
            _serialPort = new QSerialPort;
            _serialPort->setPortName(_portInfo.portPath());
        }
        else
            _serialPort = new QSerialPort(_portInfo.serialPortInfo());
        _port = _serialPort;
        if (_serialPort->error() != QSerialPort::NoError)
            return -1;

        _serialPort->setBaudRate(QSerialPort::Baud115200, QSerialPort::AllDirections);
        _serialPort->setDataBits(QSerialPort::Data8);
        _serialPort->setParity(QSerialPort::NoParity);
        _serialPort->setStopBits(QSerialPort::OneStop);
        _serialPort->setFlowControl(QSerialPort::NoFlowControl);
        if (!_serialPort->open(QIODevice::ReadWrite))
            return -1;
    }

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
    if (startReadWholeMemory(memoryId) != 0)
        return -1;
    return continueReadWholeMemory(-1);
}

int Device::startReadWholeMemory(MemoryId memoryId)
{
    _reception = Reception();
    unsigned char* image = getMemoryBuffer(memoryId);
    if (image == nullptr || selectMemory(memoryId) != 0)
        return -1;
    const unsigned char request[] = {SYNC_BYTE, COMMAND_READ_MEMORY};
    if (_sendRequest(request, sizeof(request)) != 0)
        return -1;
    _beginReceive(image, MEMORY_SIZE, POLLS_READ_MEMORY);
    return 0;
}

int Device::continueReadWholeMemory(int sliceMs)
{
    if (_reception.buffer == nullptr)
        return -1;
    const int result = _continueReceive(sliceMs);
    return result > 0 ? 1 : (result == 0 ? 0 : -1);
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
    // A late answer to an earlier request, bytes nobody asked for, or whatever an earlier user of
    // the port left unread (the first request follows the opening) must not be taken for the
    // answer to this one.
    if (_serialPort != nullptr)
    {
        _serialPort->clearError();
        _serialPort->clear(QSerialPort::Input);
    }
    else
        _port->skip(_port->bytesAvailable());
    if (_port->write(reinterpret_cast<const char*>(request), size) != size)
        return -1;
    _port->waitForBytesWritten(WRITE_WAIT_MS);
    return 0;
}

// The poll budget is the longest silence accepted: it starts again whenever bytes arrive, so a
// device that keeps sending completes an answer that takes longer than the budget (a whole
// memory takes 11.4 s at 115200 baud), while one that falls silent fails after exactly the budget.
// A device that trickles forever is stopped by the cap: twice the answer's time on the wire, plus
// the budget, counted in polls of at most 1 ms each like the budget.
void Device::_beginReceive(unsigned char* buffer, int size, int maximumPollCount)
{
    _reception = Reception();
    _reception.buffer = buffer;
    _reception.size = size;
    _reception.maximumSilentPollCount = maximumPollCount;
    const qint64 wireMs = (qint64(size) * 1000 + LINE_BYTES_PER_SECOND - 1) / LINE_BYTES_PER_SECOND;
    _reception.maximumPollCount = static_cast<int>(2 * wireMs / POLL_WAIT_MS) + maximumPollCount;
}

// 0 when the answer is complete, 1 when `sliceMs` (unless negative) ran out while bytes are still
// due, -2 when the silence or the whole answer took too long, -1 on a read error.
int Device::_continueReceive(qint64 sliceMs)
{
    Reception& reception = _reception;
    QElapsedTimer slice;
    slice.start();
    int result = 1;
    while (result == 1)
    {
        if (reception.received == reception.size)
            result = 0;
        else if (reception.silentPollCount >= reception.maximumSilentPollCount ||
                 reception.pollCount >= reception.maximumPollCount)
            result = -2;
        else if (sliceMs >= 0 && slice.elapsed() >= sliceMs)
            break;
        else if (_port->bytesAvailable() <= 0 && !_port->waitForReadyRead(POLL_WAIT_MS))
        {
            reception.pollCount++;
            reception.silentPollCount++;
            // A vanished device (unplugged adapter, hung-up terminal) will never answer.
            if (_serialPort != nullptr && (_serialPort->error() == QSerialPort::ResourceError ||
                                           _serialPort->error() == QSerialPort::ReadError))
                result = -1;
        }
        else
        {
            reception.pollCount++;
            const qint64 count = _port->read(reinterpret_cast<char*>(reception.buffer) + reception.received,
                                             reception.size - reception.received);
            if (count < 0)
                result = -1;
            else if (count > 0)
            {
                reception.received += static_cast<int>(count);
                reception.silentPollCount = 0;
            }
            else
                reception.silentPollCount++;
        }
    }
    if (result != 1)
        reception.buffer = nullptr;
    return result;
}

int Device::_receiveAnswer(unsigned char* buffer, int size, int maximumPollCount)
{
    _beginReceive(buffer, size, maximumPollCount);
    return _continueReceive(-1);
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
    if (_port != nullptr && _port == _link)
        _link->close();
    delete _serialPort;
    _serialPort = nullptr;
    _port = nullptr;
}
