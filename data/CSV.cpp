#include "CSV.h"
#include "PasswordStoreCodec.h"
#include "Wipe.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace
{
constexpr char CHARACTER_QUOTE = '"';
constexpr char CHARACTER_LINE_FEED = '\n';
constexpr char CHARACTER_CARRIAGE_RETURN = '\r';
// The store reads these two as structure (a new tab, the end of the store), so no text may hold them.

void wipeBytes(QByteArray& bytes)
{
    if (!bytes.isEmpty())
        wipeMemory(bytes.data(), static_cast<size_t>(bytes.size()));
}

void wipeText(QString& text)
{
    if (!text.isEmpty())
        wipeMemory(text.data(), static_cast<size_t>(text.size()) * sizeof(QChar));
}

void wipePasswords(QList<PasswordTable::Password>& passwords)
{
    for (PasswordTable::Password& password : passwords)
        for (QString& field : password.data)
            wipeText(field);
}

// Line ends become LF, in place. The first CR or LF of the file decides the convention: LF first
// changes nothing, CR LF turns every CR LF pair into LF, a CR followed by anything else (or by
// nothing) turns every CR into LF. The two store delimiters are dropped in the same pass.
void normalizeLineEndsAndRemoveDelimiters(QByteArray& bytes)
{
    const qsizetype size = bytes.size();
    char* const data = bytes.data();
    bool isCarriageReturnLineFeed = false;
    bool isCarriageReturnOnly = false;
    for (qsizetype i = 0; i < size; i++)
    {
        if (data[i] == CHARACTER_LINE_FEED)
            break;
        if (data[i] == CHARACTER_CARRIAGE_RETURN)
        {
            isCarriageReturnLineFeed = i + 1 < size && data[i + 1] == CHARACTER_LINE_FEED;
            isCarriageReturnOnly = !isCarriageReturnLineFeed;
            break;
        }
    }

    qsizetype length = 0;
    for (qsizetype i = 0; i < size; i++)
    {
        char character = data[i];
        if (character == char(PasswordStoreCodec::BYTE_TAB_NAME_END) ||
            character == char(PasswordStoreCodec::BYTE_STORE_END))
            continue;
        if (character == CHARACTER_CARRIAGE_RETURN)
        {
            if (isCarriageReturnLineFeed && i + 1 < size && data[i + 1] == CHARACTER_LINE_FEED)
                continue;
            if (isCarriageReturnOnly)
                character = CHARACTER_LINE_FEED;
        }
        data[length++] = character;
    }
    // The cut-off tail held text too.
    wipeMemory(data + length, static_cast<size_t>(size - length));
    bytes.truncate(length);
}

enum TextCheck
{
    TEXT_CHECK_VALID,
    TEXT_CHECK_INVALID_UTF8,
    TEXT_CHECK_NULL_CHARACTER
};

// Finds the first byte that is not well-formed UTF-8 (overlong forms, surrogates and code points
// past U+10FFFF included) or that is a zero byte, which the store would read as the end of a text.
// A decoder would silently turn bad bytes into replacement characters, and a password changed that
// way is worse than a refused file.
TextCheck checkText(const QByteArray& bytes, qsizetype* pointerOffset)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size)
    {
        const unsigned char byte = data[i];
        *pointerOffset = i;
        if (byte == 0)
            return TEXT_CHECK_NULL_CHARACTER;
        if (byte < 0x80)
        {
            i++;
            continue;
        }

        int length;
        unsigned char secondByteMinimum = 0x80;
        unsigned char secondByteMaximum = 0xBF;
        if (byte >= 0xC2 && byte <= 0xDF)
            length = 2;
        else if (byte == 0xE0)
        {
            length = 3;
            secondByteMinimum = 0xA0;
        }
        else if (byte == 0xED)
        {
            length = 3;
            secondByteMaximum = 0x9F;
        }
        else if (byte >= 0xE1 && byte <= 0xEF)
            length = 3;
        else if (byte == 0xF0)
        {
            length = 4;
            secondByteMinimum = 0x90;
        }
        else if (byte >= 0xF1 && byte <= 0xF3)
            length = 4;
        else if (byte == 0xF4)
        {
            length = 4;
            secondByteMaximum = 0x8F;
        }
        else
            return TEXT_CHECK_INVALID_UTF8;

        if (i + length > size || data[i + 1] < secondByteMinimum || data[i + 1] > secondByteMaximum)
            return TEXT_CHECK_INVALID_UTF8;
        for (int k = 2; k < length; k++)
        {
            if (data[i + k] < 0x80 || data[i + k] > 0xBF)
                return TEXT_CHECK_INVALID_UTF8;
        }
        i += length;
    }
    return TEXT_CHECK_VALID;
}

// Line number (from 1) of a position in the normalised text: errors name the line the user sees in
// an editor.
template <typename Character> qsizetype lineNumberAt(const Character* data, qsizetype position)
{
    return std::count(data, data + position, Character(CHARACTER_LINE_FEED)) + 1;
}

enum FieldRead
{
    FIELD_READ_DONE,
    FIELD_READ_END_OF_TEXT,
    FIELD_READ_UNTERMINATED_QUOTE
};

// Takes one field off the text at *pointerPosition and moves the position past it and past the
// separator or LF that ends it.
FieldRead readField(const QString& text, qsizetype* pointerPosition, QChar separator, QString* pointerField)
{
    const qsizetype size = text.size();
    const qsizetype start = *pointerPosition;
    if (start >= size)
        return FIELD_READ_END_OF_TEXT;
    const QChar* const data = text.constData();
    const auto isFieldEnd = [&](qsizetype i)
    { return data[i] == separator || data[i] == QLatin1Char(CHARACTER_LINE_FEED); };

    if (data[start] != QLatin1Char(CHARACTER_QUOTE))
    {
        qsizetype end = start;
        while (end < size && !isFieldEnd(end))
            end++;
        *pointerField = text.mid(start, end - start);
        *pointerPosition = end < size ? end + 1 : end;
        return FIELD_READ_DONE;
    }

    // First the closing quote, so that the field is built in one allocation (no copy of a secret
    // is left behind in a freed, grown buffer).
    qsizetype closingQuote = start + 1;
    qsizetype doubledQuoteCount = 0;
    for (;; closingQuote++)
    {
        if (closingQuote >= size)
            return FIELD_READ_UNTERMINATED_QUOTE;
        if (data[closingQuote] != QLatin1Char(CHARACTER_QUOTE))
            continue;
        if (closingQuote + 1 < size && data[closingQuote + 1] == QLatin1Char(CHARACTER_QUOTE))
        {
            doubledQuoteCount++;
            closingQuote++;
            continue;
        }
        break;
    }

    QString field;
    field.reserve(closingQuote - start - 1 - doubledQuoteCount);
    for (qsizetype i = start + 1; i < closingQuote; i++)
    {
        field.append(data[i]);
        // The pair stands for one quote.
        if (data[i] == QLatin1Char(CHARACTER_QUOTE))
            i++;
    }
    *pointerField = field;
    qsizetype next = closingQuote + 1;
    if (next < size && isFieldEnd(next))
        next++;
    *pointerPosition = next;
    return FIELD_READ_DONE;
}

// Bytes a text takes in the store: its UTF-8 length.
qsizetype storedSize(const QString& text)
{
    qsizetype size = 0;
    for (const QChar character : text)
    {
        const char16_t unit = character.unicode();
        // A surrogate pair is four bytes, two per unit.
        size += unit < 0x80 ? 1 : unit < 0x800 || character.isSurrogate() ? 2 : 3;
    }
    return size;
}

// Reads the records of the decoded text into pointerPasswords; 0, or -1 with the error text set.
int parseText(const QString& text, QChar separator, QList<PasswordTable::Password>* pointerPasswords,
              QString* pointerErrorText)
{
    // Records that no device could ever hold are refused while they are read: a file of many tiny
    // records would otherwise build a table of hundreds of thousands of rows.
    qsizetype storeSize = 0;
    qsizetype position = 0;
    while (position < text.size())
    {
        PasswordTable::Password password;
        bool isFieldPresent = false;
        for (QString& field : password.data)
        {
            const qsizetype fieldStart = position;
            const FieldRead fieldRead = readField(text, &position, separator, &field);
            if (fieldRead == FIELD_READ_END_OF_TEXT)
                break;
            if (fieldRead == FIELD_READ_UNTERMINATED_QUOTE)
            {
                *pointerErrorText = CSV::tr("A double quote opens a field on line %1 and never closes it.")
                                        .arg(lineNumberAt(text.constData(), fieldStart));
                return -1;
            }
            isFieldPresent = isFieldPresent || !field.isEmpty();
        }
        // A blank line, or a group of empty fields, is no record.
        if (!isFieldPresent)
            continue;
        pointerPasswords->append(password);
        for (const QString& field : password.data)
            storeSize += storedSize(field) + 1;
        if (storeSize > PasswordStoreCodec::STORE_CAPACITY)
        {
            *pointerErrorText =
                CSV::tr("The passwords of this file take more than the %1 bytes a Pavisor can store.")
                    .arg(PasswordStoreCodec::STORE_CAPACITY);
            return -1;
        }
    }
    return 0;
}
} // namespace

int CSV::importFileContent(QString completeFileName, QChar fieldsSeparatorCharacter,
                           QList<PasswordTable::Password>& referencePasswords, QString& referenceErrorText)
{
    QFile file(completeFileName);
    if (!file.open(QIODevice::ReadOnly))
    {
        referenceErrorText = file.errorString();
        return -1;
    }
    const qint64 fileSize = file.size();
    if (fileSize < 4)
    {
        referenceErrorText = tr("File size is too small to contain meaningful data.");
        file.close();
        return -1;
    }
    if (fileSize > MAXIMUM_IMPORTED_FILE_SIZE)
    {
        referenceErrorText = tr("File size is too large: at most %1 MB can be imported.")
                                 .arg(MAXIMUM_IMPORTED_FILE_SIZE / (1024 * 1024));
        file.close();
        return -1;
    }

    QByteArray bytes(static_cast<qsizetype>(fileSize), Qt::Uninitialized);
    const qint64 readSize = file.read(bytes.data(), fileSize);
    if (readSize != fileSize)
    {
        referenceErrorText = file.errorString();
        wipeBytes(bytes);
        return -1;
    }
    file.close();

    // A byte-order mark says nothing but "UTF-8" and must not become part of the first name.
    if (bytes.startsWith("\xEF\xBB\xBF"))
    {
        wipeMemory(bytes.data(), 3);
        bytes.remove(0, 3);
    }
    normalizeLineEndsAndRemoveDelimiters(bytes);

    qsizetype badOffset = 0;
    const TextCheck textCheck = checkText(bytes, &badOffset);
    if (textCheck != TEXT_CHECK_VALID)
    {
        const qsizetype lineNumber = lineNumberAt(bytes.constData(), badOffset);
        referenceErrorText =
            textCheck == TEXT_CHECK_INVALID_UTF8
                ? tr("The file is not UTF-8 text: invalid bytes on line %1.").arg(lineNumber)
                : tr("The file holds a null character on line %1: it is not a text file.").arg(lineNumber);
        wipeBytes(bytes);
        return -1;
    }

    // The mark was removed above: a second one is a character of the first name.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    wipeBytes(bytes);

    QList<PasswordTable::Password> passwords;
    const int result = parseText(text, fieldsSeparatorCharacter, &passwords, &referenceErrorText);
    wipeText(text);
    if (result < 0)
    {
        wipePasswords(passwords);
        return -1;
    }
    referencePasswords.append(passwords);
    return 0;
}

int CSV::exportTabToFile(QString completeFileName, const PasswordTable* pointerPasswordTable,
                         QString& referenceErrorText)
{
    // Every password is in clear in this file: only its owner may read it, whether it is created
    // here or an existing file is replaced.
    const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QFile file(completeFileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text, ownerOnly))
    {
        referenceErrorText = file.errorString();
        return -1;
    }
    // Only a regular file: a device node chosen as target must keep its own permissions. A file
    // system without permissions (a FAT memory stick) refuses, which is no reason to stop.
    if (QFileInfo(completeFileName).isFile())
        file.setPermissions(ownerOnly);

    // The whole file is built in one buffer of its exact size, so that no grown copy of the passwords
    // is left behind unwiped.
    const QList<PasswordTable::Password>& passwords = pointerPasswordTable->passwords;
    qsizetype textSize = 0;
    for (const PasswordTable::Password& password : passwords)
        for (const QString& field : password.data)
            textSize += field.size() + field.count(QLatin1Char(CHARACTER_QUOTE)) + 3;

    QString text;
    text.reserve(textSize);
    for (const PasswordTable::Password& password : passwords)
    {
        for (int fieldIndex = 0; fieldIndex < PasswordTable::PASSWORD_DATA_IDS_COUNT; fieldIndex++)
        {
            text.append(QLatin1Char(CHARACTER_QUOTE));
            for (const QChar character : password.data[fieldIndex])
            {
                if (character == QLatin1Char(CHARACTER_QUOTE))
                    text.append(QLatin1Char(CHARACTER_QUOTE));
                text.append(character);
            }
            text.append(QLatin1Char(CHARACTER_QUOTE));
            text.append(QLatin1Char(
                fieldIndex + 1 < PasswordTable::PASSWORD_DATA_IDS_COUNT ? ',' : CHARACTER_LINE_FEED));
        }
    }

    // UTF-8 needs at most three bytes per UTF-16 code unit.
    QByteArray bytes(text.size() * 3, Qt::Uninitialized);
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    const qsizetype byteCount = encoder.appendToBuffer(bytes.data(), text) - bytes.data();
    wipeText(text);

    // A copy that silently misses its end (a full disk) would only be found out when it is needed.
    const bool isWritten = file.write(bytes.constData(), byteCount) == byteCount && file.flush();
    wipeBytes(bytes);
    if (!isWritten)
    {
        referenceErrorText = file.errorString();
        file.close();
        return -1;
    }
    file.close();
    referenceErrorText.clear();
    return 0;
}
