#ifndef CSVREADER_H
#define CSVREADER_H

#include "CSVFormats.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

// Reads the bytes of a CSV file into records. A record is a line: a line ends at LF, CR LF or a
// lone CR, each recognised wherever it occurs, and line ends inside a quoted field are text. A
// first line naming the columns of a known export (CSVFormats) says where each column goes;
// without one, each line is name, login, password, web site and note. Lines that cannot be a
// record are reported with their number instead of shifting the lines after them. Qt Core only:
// no window, no file, so that it can be tested and fuzzed alone.
class CSVReader
{
public:
    enum RowResult
    {
        ROW_READ,
        ROW_END_OF_TEXT,
        // The quote opening a field never closes: the rest of the text is no record.
        ROW_UNCLOSED_QUOTE
    };

    struct Row
    {
        QStringList fields;
        // Line (from 1) on which the record starts, or where its unclosed quote opens.
        qsizetype lineNumber = 0;
        // Column (from 0) whose closing quote is followed by more text, or -1.
        int textAfterQuoteColumn = -1;
        // As our own export writes every line.
        bool isEveryFieldQuoted = true;
    };

    // What stops a whole file from being read.
    enum FileError
    {
        FILE_ERROR_NONE,
        FILE_ERROR_INVALID_UTF8,
        FILE_ERROR_NULL_CHARACTER,
        FILE_ERROR_UNCLOSED_QUOTE,
        FILE_ERROR_TOO_LARGE_FOR_DEVICE
    };

    // Why one line is not read.
    enum LineProblem
    {
        LINE_PROBLEM_COLUMN_COUNT,
        LINE_PROBLEM_TEXT_AFTER_QUOTE,
        LINE_PROBLEM_UNKNOWN_COLUMN_NAMES
    };

    struct Problem
    {
        qsizetype lineNumber;
        LineProblem id;
        // LINE_PROBLEM_COLUMN_COUNT: the columns of the line and those the other lines have.
        int columnCount = 0;
        int expectedColumnCount = 0;
        // LINE_PROBLEM_TEXT_AFTER_QUOTE: the column (from 1) whose closing quote is followed by text.
        int column = 0;
    };

    struct Result
    {
        FileError error = FILE_ERROR_NONE;
        qsizetype errorLineNumber = 0;
        // In CSVFormats::getKnownFormats(), or -1 for name, login, password, web site and note.
        int formatIndex = -1;
        // A recognised folder column holds a value on at least one record.
        bool isFolderPresent = false;
        QList<CSVFormats::Record> records;
        // The first MAXIMUM_LISTED_PROBLEMS of problemCount.
        QList<Problem> problems;
        qsizetype problemCount = 0;

        void wipe();
    };

    // A file of garbage could report millions of lines: the first ones say what is wrong.
    static constexpr int MAXIMUM_LISTED_PROBLEMS = 1000;

    CSVReader(QByteArrayView bytes, char separator);
    // KeePass's CSV writes \" and \\ inside quoted fields.
    void setBackslashEscaped(bool isBackslashEscaped) { _isBackslashEscaped = isBackslashEscaped; }
    // Reads the next line into *pointerRow.
    RowResult readRow(Row* pointerRow);

    // The whole text, after a byte-order mark and the store's two delimiters (U+0003 and U+0004) are
    // taken out of *pointerBytes. Records whose stored size would pass storeCapacity bytes make the
    // file too large for a device. On an error, no record is kept.
    static void readRecords(QByteArray* pointerBytes, char separator, qsizetype storeCapacity,
                            Result* pointerResult);
    // Line (from 1) of a byte offset, counting LF, CR LF and lone CR as line ends.
    static qsizetype getLineNumberAt(QByteArrayView bytes, qsizetype offset);

private:
    const char* _data;
    qsizetype _size;
    char _separator;
    bool _isBackslashEscaped = false;
    qsizetype _position = 0;
    qsizetype _lineNumber = 1;
    // QString::fromUtf8() drops a byte-order mark that starts a field: it is a character of the
    // field there (the file's own mark is taken off before).
    QStringDecoder _decoder{QStringDecoder::Utf8,
                            QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom};

    bool _isBlank(char character) const;
    bool _isFieldEnd(qsizetype position) const;
    QString _readUnquotedText();
    // Reads the quoted field whose opening quote is at `quote`; false when it never closes.
    bool _readQuotedField(qsizetype quote, QString* pointerField);
};

#endif
