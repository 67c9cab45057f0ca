#include "PasswordStoreCodec.h"
#include "Wipe.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <cstring>

namespace PasswordStoreCodec
{
Encoder::Encoder(unsigned char* pointerBuffer) : _pointerBuffer(pointerBuffer) {}

Encoder::~Encoder()
{
    if (!_scratch.isEmpty())
        wipeMemory(_scratch.data(), static_cast<size_t>(_scratch.size()));
}

int Encoder::_appendText(const QString& text, unsigned char terminator)
{
    if (_freeBytes < 0)
        return -1;

    // UTF-8 needs at most three bytes per UTF-16 code unit. Growing the scratch buffer wipes the old one.
    const qsizetype requiredSize = text.size() * 3;
    if (requiredSize > _scratch.size())
    {
        if (!_scratch.isEmpty())
            wipeMemory(_scratch.data(), static_cast<size_t>(_scratch.size()));
        _scratch = QByteArray(requiredSize, '\0');
    }
    QStringEncoder utf8Encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    char* const scratch = _scratch.data();
    const qsizetype encodedLength = utf8Encoder.appendToBuffer(scratch, text) - scratch;

    // Only U+0000 encodes to a zero byte and only U+0003 and U+0004 to the other two delimiters, so
    // the cut and the removal work on the bytes. Compacted in place, counting what will be written.
    qsizetype length = 0;
    for (qsizetype i = 0; i < encodedLength; i++)
    {
        const unsigned char byte = static_cast<unsigned char>(scratch[i]);
        if (byte == BYTE_FIELD_END)
            break;
        if (byte == BYTE_TAB_NAME_END || byte == BYTE_STORE_END)
            continue;
        scratch[length++] = static_cast<char>(byte);
    }

    if (length + 1 > _freeBytes)
    {
        _freeBytes = -1;
        return -1;
    }
    _freeBytes -= static_cast<int>(length) + 1;
    std::memcpy(_pointerBuffer + _offset, scratch, static_cast<size_t>(length));
    _offset += static_cast<int>(length);
    _pointerBuffer[_offset++] = terminator;
    return 0;
}

int Encoder::appendTabName(const QString& name)
{
    return _appendText(name, BYTE_TAB_NAME_END);
}

int Encoder::appendPassword(const PasswordRecord& password)
{
    for (const QString& field : password.data)
    {
        if (_appendText(field, BYTE_FIELD_END) < 0)
            return -1;
    }
    return 0;
}

int Encoder::finish()
{
    if (_freeBytes < 1)
    {
        _freeBytes = -1;
        return -1;
    }
    _freeBytes -= 1;
    _pointerBuffer[_offset++] = BYTE_STORE_END;
    return _freeBytes;
}

int encode(const QList<Tab>& tabs, unsigned char* pointerBuffer)
{
    Encoder encoder(pointerBuffer);
    for (const Tab& tab : tabs)
    {
        if (encoder.appendTabName(tab.name) < 0)
            return -1;
        for (const PasswordRecord& password : tab.passwords)
        {
            if (encoder.appendPassword(password) < 0)
                return -1;
        }
    }
    return encoder.finish();
}

namespace
{
// The scan limit is below the buffer size, so the accumulator can never overflow.
unsigned char parseAccumulator[MEMORY_SIZE];
static_assert(PARSE_SCAN_LIMIT <= MEMORY_SIZE, "the accumulator must hold every scanned byte");

QString accumulatorToString(int length)
{
    // A text may begin with U+FEFF: keep it as a character instead of dropping it as a byte-order
    // mark, or it would not read back as it was written.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(reinterpret_cast<const char*>(parseAccumulator), length));
}
} // namespace

const unsigned char* testOnlyParseAccumulator()
{
    return parseAccumulator;
}

int parse(const unsigned char* pointerBuffer, QList<Tab>* tabs)
{
    int accumulatorLength = 0;
    int accumulatorHighWaterMark = 0;
    int fieldIndex = 0;
    PasswordRecord pendingPassword;
    qsizetype currentTabIndex = -1;
    int result = PARSE_RESULT_SCAN_LIMIT_REACHED;

    for (int offset = 0; offset < PARSE_SCAN_LIMIT; offset++)
    {
        const unsigned char byte = pointerBuffer[offset];
        if (byte == BYTE_FIELD_END)
        {
            pendingPassword.data[fieldIndex] = accumulatorToString(accumulatorLength);
            accumulatorHighWaterMark = std::max(accumulatorHighWaterMark, accumulatorLength);
            accumulatorLength = 0;
            fieldIndex++;
            if (fieldIndex == PasswordRecord::FIELD_COUNT)
            {
                // Fields with no tab to hold them: the data are not a store.
                if (currentTabIndex < 0)
                {
                    result = PARSE_RESULT_RECORD_BEFORE_TAB;
                    break;
                }
                (*tabs)[currentTabIndex].passwords.append(pendingPassword);
                fieldIndex = 0;
            }
        }
        else if (byte == BYTE_TAB_NAME_END)
        {
            // The field counter goes on across a tab name, as the format defines it.
            tabs->append(Tab{accumulatorToString(accumulatorLength), {}});
            currentTabIndex = tabs->size() - 1;
            accumulatorHighWaterMark = std::max(accumulatorHighWaterMark, accumulatorLength);
            accumulatorLength = 0;
        }
        else if (byte == BYTE_STORE_END)
        {
            result = PARSE_RESULT_END_FOUND;
            break;
        }
        else
        {
            parseAccumulator[accumulatorLength++] = byte;
        }
    }

    accumulatorHighWaterMark = std::max(accumulatorHighWaterMark, accumulatorLength);
    wipeMemory(parseAccumulator, static_cast<size_t>(accumulatorHighWaterMark));
    return result;
}
} // namespace PasswordStoreCodec
