#include "CSV.h"
#include "CSVReader.h"
#include "PasswordStoreCodec.h"
#include "SafeFile.h"
#include "WipeText.h"

#include <QFile>
#include <QStringEncoder>

namespace
{
constexpr char CHARACTER_QUOTE = '"';
constexpr char CHARACTER_LINE_FEED = '\n';

static_assert(CSVFormats::FIELD_COUNT == PasswordRecord::FIELD_COUNT &&
                  int(CSVFormats::TARGET_NOTE) == int(PasswordRecord::FIELD_NOTE),
              "imported fields land in the record fields of the same index");

QString describeProblem(const CSVReader::Problem& problem, bool isFormatKnown)
{
    switch (problem.id)
    {
    case CSVReader::LINE_PROBLEM_COLUMN_COUNT:
        // One column is said apart: the sentence differs, not only the word.
        if (problem.columnCount == 1)
            return (isFormatKnown ? CSV::tr("Line %1: one column, where the column names line has %2.")
                                  : CSV::tr("Line %1: one column, where the other lines have %2."))
                .arg(problem.lineNumber)
                .arg(problem.expectedColumnCount);
        return (isFormatKnown ? CSV::tr("Line %1: %2 columns, where the column names line has %3.")
                              : CSV::tr("Line %1: %2 columns, where the other lines have %3."))
            .arg(problem.lineNumber)
            .arg(problem.columnCount)
            .arg(problem.expectedColumnCount);
    case CSVReader::LINE_PROBLEM_TEXT_AFTER_QUOTE:
        return CSV::tr("Line %1: text follows the closing double quote of column %2.")
            .arg(problem.lineNumber)
            .arg(problem.column);
    case CSVReader::LINE_PROBLEM_UNKNOWN_COLUMN_NAMES:
        return CSV::tr("Line %1 names the columns of a program this import does not know: it is left out, "
                       "and the other lines are read as name, login, password, web site and note.")
            .arg(problem.lineNumber);
    }
    return QString();
}
} // namespace

void CSV::FileContent::wipe()
{
    for (PasswordRecord& password : passwords)
        for (QString& field : password.data)
            wipeText(field);
    for (QString& folder : folders)
        wipeText(folder);
    passwords.clear();
    folders.clear();
}

int CSV::readFile(const QString& completeFileName, QChar fieldsSeparatorCharacter,
                  FileContent* pointerContent, QString& referenceErrorText)
{
    pointerContent->wipe();
    *pointerContent = FileContent();
    QFile file(completeFileName);
    if (!file.open(QIODevice::ReadOnly))
    {
        referenceErrorText = tr("Could not open the file in read mode (%1).").arg(file.errorString());
        return -1;
    }
    const qint64 fileSize = file.size();
    if (fileSize < 4)
    {
        referenceErrorText = tr("File size is too small to contain meaningful data.");
        return -1;
    }
    if (fileSize > MAXIMUM_IMPORTED_FILE_SIZE)
    {
        referenceErrorText = tr("File size is too large: at most %1 MB can be imported.")
                                 .arg(MAXIMUM_IMPORTED_FILE_SIZE / (1024 * 1024));
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

    CSVReader::Result result;
    CSVReader::readRecords(&bytes, fieldsSeparatorCharacter.toLatin1(), PasswordStoreCodec::STORE_CAPACITY,
                           &result);
    wipeBytes(bytes);
    switch (result.error)
    {
    case CSVReader::FILE_ERROR_NONE:
        break;
    case CSVReader::FILE_ERROR_INVALID_UTF8:
        referenceErrorText =
            tr("The file is not UTF-8 text: invalid bytes on line %1.").arg(result.errorLineNumber);
        return -1;
    case CSVReader::FILE_ERROR_NULL_CHARACTER:
        referenceErrorText = tr("The file holds a null character on line %1: it is not a text file.")
                                 .arg(result.errorLineNumber);
        return -1;
    case CSVReader::FILE_ERROR_UNCLOSED_QUOTE:
        referenceErrorText =
            tr("A double quote opens a field on line %1 and never closes it.").arg(result.errorLineNumber);
        return -1;
    case CSVReader::FILE_ERROR_TOO_LARGE_FOR_DEVICE:
        referenceErrorText = tr("The passwords of this file take more than the %1 bytes a Pavisor can store.")
                                 .arg(PasswordStoreCodec::STORE_CAPACITY);
        return -1;
    }

    FileContent& content = *pointerContent;
    const bool isFormatKnown = result.formatIndex >= 0;
    // The names of the known formats are marked for translation in their table.
    content.formatName = isFormatKnown ? tr(CSVFormats::getKnownFormats()[result.formatIndex].name)
                                       : tr("Pavisor Key Manager, or any file of five columns: name, login, "
                                            "password, web site and note");
    content.isFolderPresent = result.isFolderPresent;
    content.passwords.reserve(result.records.size());
    content.folders.reserve(result.records.size());
    for (CSVFormats::Record& record : result.records)
    {
        PasswordRecord& password = content.passwords.emplace_back();
        for (int field = 0; field < PasswordRecord::FIELD_COUNT; field++)
            password.data[field] = std::move(record.fields[field]);
        content.folders.append(std::move(record.folder));
    }
    result.records.clear();
    for (const CSVReader::Problem& problem : result.problems)
        content.problems.append(describeProblem(problem, isFormatKnown));
    content.problemCount = result.problemCount;
    return 0;
}

int CSV::writeRecords(QIODevice* device, const QList<PasswordRecord>& passwords, QString& referenceErrorText)
{
    // The whole file is built in one buffer of its exact size, so that no grown copy of the passwords
    // is left behind unwiped.
    qsizetype textSize = 0;
    for (const PasswordRecord& password : passwords)
        for (const QString& field : password.data)
            textSize += field.size() + field.count(QLatin1Char(CHARACTER_QUOTE)) + 3;

    QString text;
    text.reserve(textSize);
    for (const PasswordRecord& password : passwords)
    {
        for (int fieldIndex = 0; fieldIndex < PasswordRecord::FIELD_COUNT; fieldIndex++)
        {
            text.append(QLatin1Char(CHARACTER_QUOTE));
            for (const QChar character : password.data[fieldIndex])
            {
                if (character == QLatin1Char(CHARACTER_QUOTE))
                    text.append(QLatin1Char(CHARACTER_QUOTE));
                text.append(character);
            }
            text.append(QLatin1Char(CHARACTER_QUOTE));
            text.append(
                QLatin1Char(fieldIndex + 1 < PasswordRecord::FIELD_COUNT ? ',' : CHARACTER_LINE_FEED));
        }
    }

    // UTF-8 needs at most three bytes per UTF-16 code unit.
    QByteArray bytes(text.size() * 3, Qt::Uninitialized);
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    const qsizetype byteCount = encoder.appendToBuffer(bytes.data(), text) - bytes.data();
    wipeText(text);

    // A copy that silently misses its end would only be found out when it is needed.
    const int result = SafeFile::writeAll(device, bytes.constData(), byteCount, referenceErrorText);
    wipeBytes(bytes);
    return result;
}

int CSV::exportTabToFile(const QString& completeFileName, const QList<PasswordRecord>& passwords,
                         QString& referenceErrorText)
{
    // Every password is in clear in this file.
    return SafeFile::write(
        completeFileName,
        [&passwords](QIODevice* file, QString& errorText)
        { return writeRecords(file, passwords, errorText); },
        referenceErrorText);
}
