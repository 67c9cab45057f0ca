#ifndef DEVICE_H
#define DEVICE_H

#include "DevicePortInfo.h"

#include <QList>
#include <QObject>
#include <QSerialPortInfo>
#include <QString>

class QIODevice;
class QSerialPort;

// LED state byte of the LED command.
enum TCommunicationProtocolLedState : int
{
    // Stop blinking: the idle state, sent when closing, when a selection ends and after every
    // memory read or write run.
    COMMUNICATION_PROTOCOL_LED_STATE_IDLE = 1,
    // Blink so that the user can tell which device of the selection list is which.
    COMMUNICATION_PROTOCOL_LED_STATE_IDENTIFY = 2,
    // Blink while the memories are being read or written.
    COMMUNICATION_PROTOCOL_LED_STATE_ACCESS = 3
};

// One Pavisor on one serial port: discovery, the serial command protocol, the two memory images
// and the process-wide selected device.
//
// Every operation that talks to the device first discards whatever input is waiting (late or
// unasked-for bytes), then blocks until its answer is complete, until the device has been silent
// for its poll budget, or until the answer has taken twice its time on the wire plus that budget;
// it returns 0 on success or a negative number on failure; nothing is retried. Only the GUI thread
// uses this class.
class Device : public QObject
{
    Q_OBJECT

public:
    // The two memories of the device; the value is sent on the wire.
    enum MemoryId : int
    {
        MEMORY_ID_MAIN = 0,
        MEMORY_ID_BACKUP = 1
    };

    static constexpr int MEMORY_SIZE = 131072;
    static constexpr int MEMORY_PAGE_SIZE = 256;
    static constexpr int MEMORY_PAGE_COUNT = MEMORY_SIZE / MEMORY_PAGE_SIZE;
    static constexpr int NAME_SIZE = 64;
    static constexpr int SERIAL_NUMBER_SIZE = 16;

    // Lists the connected Pavisor devices: the real serial ports first, in the system's order,
    // then (only while PAVISOR_SIMULATOR_DIR is set) the running simulators, all through the same
    // filter. Opens nothing. The caller deletes the list.
    static QList<DevicePortInfo>* findAvailableDevices();

    // The process-wide selected device, or nullptr.
    static Device* getSelectedDevice();
    // Makes `device` (nullptr allowed) the selected device; the previous one is left alone.
    static void setSelectedDevice(Device* device);
    // Closes and deletes the selected device, if any, and selects none.
    static void releaseSelectedDevice();

    explicit Device(const QSerialPortInfo& serialPortInfo);
    explicit Device(const DevicePortInfo& portInfo);
    // A device behind `link` instead of a serial port (the fuzzer's fake device): any QIODevice that
    // plays the device's side of the protocol. Taken over; open() opens it and reads the name.
    Device(const DevicePortInfo& portInfo, QIODevice* link);
    ~Device() override;

    int open();
    void close();

    const DevicePortInfo& getPortInfo() const { return _portInfo; }
    // The USB serial number of the port; no device traffic.
    QString getUsbSerialNumber() const;
    // The device name read by open() or set by writeName(); no device traffic.
    QString getName() const;

    int setLedState(TCommunicationProtocolLedState state);
    int selectMemory(MemoryId memoryId);
    // Selects the memory and reads it whole into its image.
    int readWholeMemory(MemoryId memoryId);
    // The same read cut into slices, for a caller that keeps the event loop turning while a
    // memory arrives (11 s on a real link): startReadWholeMemory() selects the memory and sends
    // the read command (0 or -1); each continueReadWholeMemory() then takes in what arrives within
    // about `sliceMs` and gives 1 while bytes are still due, 0 once the image is complete, -1 on
    // failure. The limits are those of readWholeMemory().
    int startReadWholeMemory(MemoryId memoryId);
    int continueReadWholeMemory(int sliceMs);
    // Bytes of the answer being received that have arrived so far.
    int getReceivedByteCount() const { return _reception.received; }
    // Writes 256 bytes from `data` as page `page` (0 to 511) of the memory selected last.
    int writeSelectedMemoryPage(int page, void* data);
    // The serial number stored in the device itself; `serialNumber` is left alone on failure.
    int readSerialNumber(QString& serialNumber);
    int readVersionsInformation(int& hardwareVersion, int& firmwareVersion);
    // -2 (and no traffic) when the name takes more than 64 UTF-8 bytes.
    int writeName(QString& name);

    // The 131072-byte image of that memory, or nullptr for any other value.
    unsigned char* getMemoryBuffer(MemoryId memoryId);

    // Number of polls that the last answer took (for measurements).
    int getLastReceivePollCount() const { return _reception.pollCount; }

private:
    // The answer being received: where it goes, how much of it is in, and its limits.
    struct Reception
    {
        unsigned char* buffer = nullptr;
        int size = 0;
        int received = 0;
        int pollCount = 0;
        int silentPollCount = 0;
        int maximumSilentPollCount = 0;
        int maximumPollCount = 0;
    };

    int _sendRequest(const unsigned char* request, int size);
    void _beginReceive(unsigned char* buffer, int size, int maximumPollCount);
    int _continueReceive(qint64 sliceMs);
    int _receiveAnswer(unsigned char* buffer, int size, int maximumPollCount);
    int _acknowledgedCommand(const unsigned char* request, int size, int maximumPollCount);
    void _destroyPort();

    DevicePortInfo _portInfo;
    // The open link: _serialPort, or _link once opened.
    QIODevice* _port = nullptr;
    QSerialPort* _serialPort = nullptr;
    QIODevice* _link = nullptr;
    QString _name;
    Reception _reception;
    unsigned char _memoryImages[2][MEMORY_SIZE];
};

#endif
