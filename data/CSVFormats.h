#ifndef CSVFORMATS_H
#define CSVFORMATS_H

#include <QList>
#include <QString>
#include <QStringList>

// The CSV exports of other programs that the import recognises by their column names line, and
// where each of their columns goes. Adding a program is adding one entry to the table in
// CSVFormats.cpp. Qt Core only, so that the reader can be tested and fuzzed without a window.
class CSVFormats
{
public:
    // Where a column's values go. The first five are the record fields, in the store's order.
    enum Target
    {
        TARGET_NAME,
        TARGET_LOGIN,
        TARGET_PASSWORD,
        TARGET_URL,
        TARGET_NOTE,
        // Becomes the tab of the record when the user asks for one tab per folder.
        TARGET_FOLDER,
        // No field of its own: "column: value" is appended to the note.
        TARGET_NOTE_LINE
    };
    static constexpr int FIELD_COUNT = TARGET_NOTE + 1;

    enum Layout
    {
        // Every line holds the columns that the column names line lists, in its order.
        LAYOUT_COLUMNS,
        // A title, then any number of (label, value) pairs, then the note when there is one.
        LAYOUT_LABELLED_PAIRS
    };

    struct Column
    {
        // Compared without case and surrounding blanks. For labelled pairs, also a label.
        const char* name;
        Target target;
        // The columns that must all be named for the line to be this program's.
        bool isRequired = false;
        // A value that says nothing (a "not a favourite" flag): not worth a line in the note.
        const char* emptyValue = nullptr;
    };

    struct Format
    {
        // Shown on the import page, so that the user knows what the file was taken for.
        const char* name;
        Layout layout;
        // Quotes and backslashes inside quoted fields are written \" and \\ instead of "".
        bool isBackslashEscaped;
        // When several columns have one target, the first of this list holding a value fills the
        // field and the others go to the note.
        QList<Column> columns;
    };

    // One imported record, fields indexed by Target.
    struct Record
    {
        QString fields[FIELD_COUNT];
        QString folder;
    };

    // How the columns of one file map, worked out once from its column names line.
    struct ColumnPlan
    {
        int formatIndex = -1;
        QStringList columnNames;
        // For each column of the file, its entry in the format's columns, or -1.
        QList<int> columnIndexes;
    };

    static const QList<Format>& getKnownFormats();
    // Index of the known format whose required columns the line names (the one naming the most of
    // them when several do), or -1.
    static int recognize(const QStringList& columnNames);
    // Whether a line that no format recognises still looks like column names (a password column and
    // another known one): the export of a program this table does not know.
    static bool isLikelyColumnNames(const QStringList& fields);
    static ColumnPlan planColumns(int formatIndex, const QStringList& columnNames);
    // Fills *pointerRecord from one line of the file. A record left without a name is named after
    // its web site's host, or else its login.
    static void mapRow(const ColumnPlan& plan, const QStringList& fields, Record* pointerRecord);
};

#endif
