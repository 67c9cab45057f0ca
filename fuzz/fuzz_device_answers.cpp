// libFuzzer target of the device link: what the application makes of the bytes a device answers.
// A fake device stands behind the port; the input is a script of commands, each followed by the
// answer the fake gives to each request the command sends: a header byte below 0xC0 is the length
// of the answer taken from the input, one from 0xC0 up gives a memory-sized answer (131040 to
// 131103 bytes of the next input byte). Each command must succeed exactly when its answer is
// complete (and, for commands with an acknowledge, when the first byte acknowledges), give what the
// answer holds, and send well-formed requests; bytes beyond an answer never count for the next one.
#include "Device.h"

#include <QIODevice>
#include <QList>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace
{
void check(bool condition)
{
    if (!condition)
        std::abort();
}

constexpr unsigned char ACKNOWLEDGE = 0xA5;

struct Script
{
    const std::uint8_t* data;
    std::size_t size;
    std::size_t offset = 0;

    bool atEnd() const { return offset >= size; }
    std::uint8_t next() { return atEnd() ? 0 : data[offset++]; }
    QByteArray take(std::size_t count)
    {
        count = std::min(count, size - offset);
        const QByteArray bytes(reinterpret_cast<const char*>(data + offset), static_cast<qsizetype>(count));
        offset += count;
        return bytes;
    }
};

// The device's side of the link: every request written gets the script's next answer.
class FakeDevice : public QIODevice
{
public:
    explicit FakeDevice(Script* script) : _script(script) {}

    struct Exchange
    {
        QByteArray request;
        QByteArray answer;
    };
    QList<Exchange> exchanges;

    bool open(OpenMode mode) override { return QIODevice::open(mode | QIODevice::Unbuffered); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        return _pending.size() - _readOffset + QIODevice::bytesAvailable();
    }

protected:
    qint64 readData(char* data, qint64 maximumSize) override
    {
        const qint64 count = std::min<qint64>(maximumSize, _pending.size() - _readOffset);
        std::memcpy(data, _pending.constData() + _readOffset, static_cast<std::size_t>(count));
        _readOffset += count;
        return count;
    }
    qint64 writeData(const char* data, qint64 size) override
    {
        const std::uint8_t header = _script->next();
        QByteArray answer;
        if (header < 0xC0)
            answer = _script->take(header);
        else
            answer = QByteArray(Device::MEMORY_SIZE + header - 0xE0, static_cast<char>(_script->next()));
        exchanges.append({QByteArray(data, static_cast<qsizetype>(size)), answer});
        // What was not read of the previous answer stays in the way, as on a real line.
        _pending = _pending.mid(_readOffset) + answer;
        _readOffset = 0;
        return size;
    }

private:
    Script* _script;
    QByteArray _pending;
    qint64 _readOffset = 0;
};

QString textField(const QByteArray& field)
{
    if (static_cast<unsigned char>(field[0]) == 0xFF)
        return QString();
    const qsizetype end = field.indexOf('\0');
    return QString::fromUtf8(field.left(end < 0 ? field.size() : end));
}

bool isAcknowledged(const FakeDevice::Exchange& exchange)
{
    return !exchange.answer.isEmpty() && static_cast<unsigned char>(exchange.answer[0]) == ACKNOWLEDGE;
}

// Size of each command's request, by command byte.
int requestSize(unsigned char command)
{
    switch (command)
    {
    case 0:
    case 5:
    case 6:
    case 8:
        return 2;
    case 1:
    case 2:
        return 3;
    case 4:
        return 4 + Device::MEMORY_PAGE_SIZE;
    case 9:
        return 2 + Device::NAME_SIZE;
    default:
        return -1;
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Script script{data, size};
    auto* fake = new FakeDevice(&script);
    Device device(DevicePortInfo(), fake);

    for (int step = 0; step < 16 && !script.atEnd(); step++)
    {
        const std::uint8_t operation = script.next();
        const bool wasOpen = fake->isOpen();
        const qsizetype before = fake->exchanges.size();
        int result = 0;
        QString text = QStringLiteral("untouched");
        int hardware = -1, firmware = -1;
        switch (operation % 8)
        {
        case 0:
            device.close();
            result = device.open();
            break;
        case 1:
            result = device.setLedState(static_cast<TCommunicationProtocolLedState>(1 + operation / 8 % 3));
            break;
        case 2:
            result = device.selectMemory(static_cast<Device::MemoryId>(operation / 8 % 2));
            break;
        case 3:
            result = device.readWholeMemory(static_cast<Device::MemoryId>(operation / 8 % 2));
            break;
        case 4:
        {
            unsigned char page[Device::MEMORY_PAGE_SIZE];
            std::memset(page, operation, sizeof(page));
            result = device.writeSelectedMemoryPage(script.next() * 2 + operation / 128, page);
            break;
        }
        case 5:
            result = device.readSerialNumber(text);
            break;
        case 6:
            result = device.readVersionsInformation(hardware, firmware);
            break;
        default:
            text = QString::fromUtf8(script.take(operation / 8 * 3));
            result = device.writeName(text);
            break;
        }

        QList<FakeDevice::Exchange> sent = fake->exchanges.mid(before);
        for (const FakeDevice::Exchange& exchange : sent)
            check(exchange.request.size() >= 2 && static_cast<unsigned char>(exchange.request[0]) == 0xA5 &&
                  exchange.request.size() == requestSize(static_cast<unsigned char>(exchange.request[1])));
        if (operation % 8 == 0 && wasOpen)
        {
            // Closing tells the LED to stop first.
            check(!sent.isEmpty() && sent.takeFirst().request == QByteArray("\xA5\x01\x01", 3));
        }
        else if (!wasOpen && operation % 8 != 0)
        {
            // Nothing goes out before the port is open.
            check(sent.isEmpty() && result < 0);
            continue;
        }
        const QByteArray answer = sent.isEmpty() ? QByteArray() : sent.last().answer;
        switch (operation % 8)
        {
        case 0:
            check(sent.size() == 1 && sent[0].request == QByteArray("\xA5\x08", 2) &&
                  (result == 0) == (answer.size() >= Device::NAME_SIZE));
            if (result == 0 && static_cast<unsigned char>(answer[0]) != 0xFF)
                check(device.getName() == textField(answer.left(Device::NAME_SIZE)));
            break;
        case 1:
        case 2:
        case 4:
            check(sent.size() == 1 && (result == 0) == isAcknowledged(sent[0]));
            break;
        case 3:
        {
            check(!sent.isEmpty() && sent.size() == (isAcknowledged(sent[0]) ? 2 : 1));
            check((result == 0) == (sent.size() == 2 && answer.size() >= Device::MEMORY_SIZE));
            if (result == 0)
            {
                const auto* image = device.getMemoryBuffer(static_cast<Device::MemoryId>(operation / 8 % 2));
                check(std::memcmp(image, answer.constData(), Device::MEMORY_SIZE) == 0);
            }
            break;
        }
        case 5:
            check(sent.size() == 1 && (result == 0) == (answer.size() >= Device::SERIAL_NUMBER_SIZE));
            if (result != 0)
                check(text == QLatin1String("untouched"));
            else if (static_cast<unsigned char>(answer[0]) != 0xFF)
                check(text == textField(answer.left(Device::SERIAL_NUMBER_SIZE)));
            break;
        case 6:
            check(sent.size() == 1 && (result == 0) == (answer.size() >= 4));
            if (result == 0)
            {
                const auto* bytes = reinterpret_cast<const unsigned char*>(answer.constData());
                check(hardware == bytes[0] * 256 + bytes[1] && firmware == bytes[2] * 256 + bytes[3]);
            }
            break;
        default:
            if (text.toUtf8().size() > Device::NAME_SIZE)
                check(result == -2 && sent.isEmpty());
            else
            {
                check(sent.size() == 1 && (result == 0) == isAcknowledged(sent[0]));
                check(sent[0].request.mid(2, text.toUtf8().size()) == text.toUtf8());
                if (result == 0)
                    check(device.getName() == text);
            }
            break;
        }
    }
    return 0;
}
