// libFuzzer target of the CSV reader, from bytes to records. The first byte chooses the case: any
// bytes with one of the four separators, checked for what must hold whatever the input; or records
// cut out of the input, written as our own export writes them and read back, which must give them
// back exactly.
#include "CSVReader.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringDecoder>

#include <cstdint>
#include <cstdlib>

namespace
{
constexpr qsizetype STORE_CAPACITY = 130948;
constexpr char FIELD_CUT = '\x1F';

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkAnyBytes(const QByteArray& input, char separator)
{
    QByteArray bytes = input;
    CSVReader::Result result;
    CSVReader::readRecords(&bytes, separator, STORE_CAPACITY, &result);
    check(result.error == CSVReader::FILE_ERROR_NONE || result.records.isEmpty());
    check(result.problems.size() <= CSVReader::MAXIMUM_LISTED_PROBLEMS &&
          result.problems.size() <= result.problemCount);
    check(result.formatIndex >= -1 && result.formatIndex < CSVFormats::getKnownFormats().size());
    bool isFolderPresent = false;
    for (const CSVFormats::Record& record : result.records)
    {
        bool isEmpty = record.folder.isEmpty();
        for (const QString& field : record.fields)
        {
            isEmpty = isEmpty && field.isEmpty();
            for (const QChar character : field)
                check(character != QChar(0) && character != QChar(3) && character != QChar(4));
        }
        check(!isEmpty);
        isFolderPresent = isFolderPresent || !record.folder.isEmpty();
    }
    check(isFolderPresent == result.isFolderPresent);
    for (const CSVReader::Problem& problem : result.problems)
        check(problem.lineNumber >= 1 &&
              problem.lineNumber <= CSVReader::getLineNumberAt(input, input.size()));
}

void checkRoundTrip(const QByteArray& input)
{
    // Five fields a record; texts that the store could not hold, or a record of nothing, are left out
    // as the export never writes them.
    const QList<QByteArray> pieces = input.split(FIELD_CUT);
    QList<QList<QString>> expected;
    QByteArray bytes;
    for (qsizetype start = 0; start + CSVFormats::FIELD_COUNT <= pieces.size();
         start += CSVFormats::FIELD_COUNT)
    {
        QList<QString> fields;
        bool isValid = true;
        bool isEmpty = true;
        for (qsizetype index = start; index < start + CSVFormats::FIELD_COUNT; index++)
        {
            const QByteArray& piece = pieces[index];
            // Decoded keeping a byte-order mark that starts a field, as the reader does.
            QStringDecoder decoder(QStringDecoder::Utf8,
                                   QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
            const QString field = decoder.decode(piece);
            isValid = isValid && !decoder.hasError() && !piece.contains('\0') && !piece.contains('\3') &&
                      !piece.contains('\4');
            isEmpty = isEmpty && piece.isEmpty();
            fields.append(field);
        }
        if (!isValid || isEmpty)
            continue;
        expected.append(fields);
        for (qsizetype index = start; index < start + CSVFormats::FIELD_COUNT; index++)
        {
            bytes += '"' + QByteArray(pieces[index]).replace("\"", "\"\"") + '"';
            bytes += index + 1 < start + CSVFormats::FIELD_COUNT ? ',' : '\n';
        }
    }
    if (expected.isEmpty())
        return;

    CSVReader::Result result;
    CSVReader::readRecords(&bytes, ',', STORE_CAPACITY, &result);
    // A first record made of nothing but a known program's column names is taken for them: the one
    // case where our own file does not read back.
    if (result.error == CSVReader::FILE_ERROR_TOO_LARGE_FOR_DEVICE || CSVFormats::recognize(expected[0]) >= 0)
        return;
    check(result.error == CSVReader::FILE_ERROR_NONE && result.formatIndex == -1 && result.problemCount == 0);
    check(result.records.size() == expected.size());
    for (qsizetype index = 0; index < expected.size(); index++)
    {
        for (int field = 0; field < CSVFormats::FIELD_COUNT; field++)
            check(result.records[index].fields[field] == expected[index][field]);
        check(result.records[index].folder.isEmpty());
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray input(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    if ((data[0] & 0x80) != 0)
        checkRoundTrip(input);
    else
        checkAnyBytes(input, ",; \t"[data[0] % 4]);
    return 0;
}
