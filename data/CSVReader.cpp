#include "CSVReader.h"
#include "PasswordStoreCodec.h"
#include "WipeText.h"

#include <algorithm>
#include <map>

namespace
{
constexpr char CHARACTER_QUOTE = '"';
constexpr char CHARACTER_BACKSLASH = '\\';
constexpr char CHARACTER_LINE_FEED = '\n';
constexpr char CHARACTER_CARRIAGE_RETURN = '\r';
// The store reads these two as structure (a new tab, the end of the store), so no text may hold them.
constexpr char CHARACTER_TAB_NAME_END = PasswordStoreCodec::BYTE_TAB_NAME_END;
constexpr char CHARACTER_STORE_END = PasswordStoreCodec::BYTE_STORE_END;
// Fields of a line that has no column names.
constexpr int OWN_FORMAT_COLUMN_COUNT = 5;

// Drops the two store delimiters in place; the cut-off tail held text too.
void removeStoreDelimiters(QByteArray& bytes)
{
    char* const data = bytes.data();
    char* const end =
        std::remove_if(data, data + bytes.size(),
                       [](char character)
                       { return character == CHARACTER_TAB_NAME_END || character == CHARACTER_STORE_END; });
    const qsizetype length = end - data;
    wipeMemory(end, static_cast<size_t>(bytes.size() - length));
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

// Bytes a text takes in the store: its UTF-8 length, plus its end byte.
qsizetype storedSize(const QString& text)
{
    qsizetype size = 1;
    for (const QChar character : text)
    {
        const char16_t unit = character.unicode();
        // A surrogate pair is four bytes, two per unit.
        size += unit < 0x80 ? 1 : unit < 0x800 || character.isSurrogate() ? 2 : 3;
    }
    return size;
}

bool isBlankRow(const CSVReader::Row& row)
{
    return std::all_of(row.fields.begin(), row.fields.end(),
                       [](const QString& field) { return field.isEmpty(); });
}

void wipeRow(CSVReader::Row* pointerRow)
{
    for (QString& field : pointerRow->fields)
        wipeText(field);
    pointerRow->fields.clear();
}
} // namespace

void CSVReader::Result::wipe()
{
    for (CSVFormats::Record& record : records)
    {
        for (QString& field : record.fields)
            wipeText(field);
        wipeText(record.folder);
    }
    records.clear();
}

CSVReader::CSVReader(QByteArrayView bytes, char separator)
    : _data(bytes.data()), _size(bytes.size()), _separator(separator)
{
}

bool CSVReader::_isBlank(char character) const
{
    return (character == ' ' || character == '\t') && character != _separator;
}

bool CSVReader::_isFieldEnd(qsizetype position) const
{
    const char character = _data[position];
    return character == _separator || character == CHARACTER_LINE_FEED ||
           character == CHARACTER_CARRIAGE_RETURN;
}

QString CSVReader::_readUnquotedText()
{
    const qsizetype start = _position;
    while (_position < _size && !_isFieldEnd(_position))
        _position++;
    return _decoder.decode(QByteArrayView(_data + start, _position - start));
}

bool CSVReader::_readQuotedField(qsizetype quote, QString* pointerField)
{
    // First the closing quote and the escapes, so that the field is built in one allocation (no copy
    // of a secret is left behind in a freed, grown buffer).
    qsizetype lineNumber = _lineNumber;
    qsizetype escapeCount = 0;
    qsizetype closingQuote = quote + 1;
    for (;; closingQuote++)
    {
        if (closingQuote >= _size)
            return false;
        const char character = _data[closingQuote];
        if (character == CHARACTER_LINE_FEED)
            lineNumber++;
        else if (character == CHARACTER_CARRIAGE_RETURN)
        {
            lineNumber++;
            if (closingQuote + 1 < _size && _data[closingQuote + 1] == CHARACTER_LINE_FEED)
                closingQuote++;
        }
        else if (_isBackslashEscaped && character == CHARACTER_BACKSLASH && closingQuote + 1 < _size &&
                 (_data[closingQuote + 1] == CHARACTER_QUOTE ||
                  _data[closingQuote + 1] == CHARACTER_BACKSLASH))
        {
            escapeCount++;
            closingQuote++;
        }
        else if (character == CHARACTER_QUOTE)
        {
            if (_isBackslashEscaped || closingQuote + 1 >= _size ||
                _data[closingQuote + 1] != CHARACTER_QUOTE)
                break;
            escapeCount++;
            closingQuote++;
        }
    }

    const char* const start = _data + quote + 1;
    const qsizetype length = closingQuote - quote - 1;
    if (escapeCount == 0)
        *pointerField = _decoder.decode(QByteArrayView(start, length));
    else
    {
        QByteArray unescaped(length - escapeCount, Qt::Uninitialized);
        char* output = unescaped.data();
        for (qsizetype i = 0; i < length; i++)
        {
            // The escape's first character is dropped, the one it stands for kept.
            if (start[i] == (_isBackslashEscaped ? CHARACTER_BACKSLASH : CHARACTER_QUOTE) && i + 1 < length &&
                (start[i + 1] == CHARACTER_QUOTE ||
                 (_isBackslashEscaped && start[i + 1] == CHARACTER_BACKSLASH)))
                i++;
            *output++ = start[i];
        }
        *pointerField = _decoder.decode(unescaped);
        wipeBytes(unescaped);
    }
    _position = closingQuote + 1;
    _lineNumber = lineNumber;
    return true;
}

CSVReader::RowResult CSVReader::readRow(Row* pointerRow)
{
    wipeRow(pointerRow);
    pointerRow->textAfterQuoteColumn = -1;
    pointerRow->isEveryFieldQuoted = true;
    pointerRow->lineNumber = _lineNumber;
    if (_position >= _size)
        return ROW_END_OF_TEXT;

    for (;;)
    {
        QString field;
        // Blanks before an opening quote are layout ("a", "b"); elsewhere they are text.
        qsizetype quote = _position;
        while (quote < _size && _isBlank(_data[quote]))
            quote++;
        if (quote < _size && _data[quote] == CHARACTER_QUOTE)
        {
            const qsizetype quoteLineNumber = _lineNumber;
            if (!_readQuotedField(quote, &field))
            {
                pointerRow->lineNumber = quoteLineNumber;
                return ROW_UNCLOSED_QUOTE;
            }
            while (_position < _size && _isBlank(_data[_position]))
                _position++;
            if (_position < _size && !_isFieldEnd(_position))
            {
                // Kept as text so that the line ends where it would, but the line is not trusted.
                if (pointerRow->textAfterQuoteColumn < 0)
                    pointerRow->textAfterQuoteColumn = static_cast<int>(pointerRow->fields.size());
                QString rest = _readUnquotedText();
                // Grown in place would leave the shorter copy behind unwiped.
                QString joined;
                joined.reserve(field.size() + rest.size());
                joined.append(field).append(rest);
                wipeText(field);
                wipeText(rest);
                field = std::move(joined);
            }
        }
        else
        {
            field = _readUnquotedText();
            pointerRow->isEveryFieldQuoted = false;
        }
        pointerRow->fields.append(field);

        if (_position >= _size)
            return ROW_READ;
        const char character = _data[_position++];
        if (character == _separator)
            continue;
        if (character == CHARACTER_CARRIAGE_RETURN && _position < _size &&
            _data[_position] == CHARACTER_LINE_FEED)
            _position++;
        _lineNumber++;
        return ROW_READ;
    }
}

qsizetype CSVReader::getLineNumberAt(QByteArrayView bytes, qsizetype offset)
{
    qsizetype lineNumber = 1;
    for (qsizetype i = 0; i < offset && i < bytes.size(); i++)
    {
        // A CR LF pair counts at its LF.
        if (bytes[i] == CHARACTER_LINE_FEED ||
            (bytes[i] == CHARACTER_CARRIAGE_RETURN &&
             (i + 1 >= bytes.size() || bytes[i + 1] != CHARACTER_LINE_FEED)))
            lineNumber++;
    }
    return lineNumber;
}

void CSVReader::readRecords(QByteArray* pointerBytes, char separator, qsizetype storeCapacity,
                            Result* pointerResult)
{
    Result& result = *pointerResult;
    result.wipe();
    result = Result();
    QByteArray& bytes = *pointerBytes;
    // A byte-order mark says nothing but "UTF-8" and must not become part of the first name.
    if (bytes.startsWith("\xEF\xBB\xBF"))
    {
        wipeMemory(bytes.data(), 3);
        bytes.remove(0, 3);
    }
    removeStoreDelimiters(bytes);

    qsizetype badOffset = 0;
    const TextCheck textCheck = checkText(bytes, &badOffset);
    if (textCheck != TEXT_CHECK_VALID)
    {
        result.error =
            textCheck == TEXT_CHECK_INVALID_UTF8 ? FILE_ERROR_INVALID_UTF8 : FILE_ERROR_NULL_CHARACTER;
        result.errorLineNumber = getLineNumberAt(bytes, badOffset);
        return;
    }

    // Every line first: without column names, the column count the lines agree on is known only
    // at the end. The first line that is not blank may name the columns.
    CSVReader reader(bytes, separator);
    QList<Row> rows;
    CSVFormats::ColumnPlan plan;
    bool isFirstLine = true;
    const auto addProblem = [&result](const Problem& problem)
    {
        if (result.problemCount++ < MAXIMUM_LISTED_PROBLEMS)
            result.problems.append(problem);
    };
    for (;;)
    {
        Row row;
        const RowResult rowResult = reader.readRow(&row);
        if (rowResult == ROW_END_OF_TEXT)
            break;
        if (rowResult == ROW_UNCLOSED_QUOTE)
        {
            wipeRow(&row);
            for (Row& readRow : rows)
                wipeRow(&readRow);
            result.error = FILE_ERROR_UNCLOSED_QUOTE;
            result.errorLineNumber = row.lineNumber;
            return;
        }
        if (isBlankRow(row))
            continue;
        if (isFirstLine)
        {
            isFirstLine = false;
            result.formatIndex = CSVFormats::recognize(row.fields);
            if (result.formatIndex >= 0)
            {
                plan = CSVFormats::planColumns(result.formatIndex, row.fields);
                reader.setBackslashEscaped(
                    CSVFormats::getKnownFormats()[result.formatIndex].isBackslashEscaped);
                continue;
            }
            // Our own export quotes every field: a record of it that happens to hold column names
            // (a password "password" in a record named "Title") stays a record.
            if (!row.isEveryFieldQuoted && CSVFormats::isLikelyColumnNames(row.fields))
            {
                addProblem({row.lineNumber, LINE_PROBLEM_UNKNOWN_COLUMN_NAMES});
                continue;
            }
        }
        rows.append(row);
    }

    int expectedColumnCount = static_cast<int>(plan.columnNames.size());
    const bool isColumnCountChecked =
        result.formatIndex < 0 ||
        CSVFormats::getKnownFormats()[result.formatIndex].layout == CSVFormats::LAYOUT_COLUMNS;
    if (result.formatIndex < 0)
    {
        // The count most lines have (the larger one on a tie): a line split by an unquoted line
        // end, or joined by a stray separator, stands out instead of shifting its fields.
        std::map<int, int> lineCounts;
        for (const Row& row : rows)
        {
            if (row.fields.size() <= OWN_FORMAT_COLUMN_COUNT && row.textAfterQuoteColumn < 0)
                lineCounts[static_cast<int>(row.fields.size())]++;
        }
        expectedColumnCount = OWN_FORMAT_COLUMN_COUNT;
        int bestLineCount = 0;
        for (const auto& [columnCount, lineCount] : lineCounts)
        {
            if (lineCount >= bestLineCount)
            {
                expectedColumnCount = columnCount;
                bestLineCount = lineCount;
            }
        }
    }

    qsizetype storeSize = 0;
    for (Row& row : rows)
    {
        const int columnCount = static_cast<int>(row.fields.size());
        if (row.textAfterQuoteColumn >= 0)
            addProblem({row.lineNumber, LINE_PROBLEM_TEXT_AFTER_QUOTE, 0, 0, row.textAfterQuoteColumn + 1});
        else if (isColumnCountChecked && columnCount != expectedColumnCount)
            addProblem({row.lineNumber, LINE_PROBLEM_COLUMN_COUNT, columnCount, expectedColumnCount});
        else
        {
            CSVFormats::Record record;
            if (result.formatIndex >= 0)
                CSVFormats::mapRow(plan, row.fields, &record);
            else
                std::copy(row.fields.begin(), row.fields.end(), std::begin(record.fields));
            // Values that all say nothing make no record.
            if (record.folder.isEmpty() && std::all_of(std::begin(record.fields), std::end(record.fields),
                                                       [](const QString& field) { return field.isEmpty(); }))
            {
                wipeRow(&row);
                continue;
            }
            result.isFolderPresent = result.isFolderPresent || !record.folder.isEmpty();
            for (const QString& field : record.fields)
                storeSize += storedSize(field);
            result.records.append(std::move(record));
            // Refused while read: a file of many tiny records would otherwise build a table of
            // hundreds of thousands of rows.
            if (storeSize > storeCapacity)
            {
                for (Row& rest : rows)
                    wipeRow(&rest);
                // The records share their texts with their rows: with the rows gone, they are wiped.
                rows.clear();
                result.wipe();
                result.error = FILE_ERROR_TOO_LARGE_FOR_DEVICE;
                return;
            }
        }
        wipeRow(&row);
    }
}
