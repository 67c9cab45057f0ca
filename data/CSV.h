#ifndef CSV_H
#define CSV_H

#include "PasswordTable.h"

#include <QChar>
#include <QCoreApplication>
#include <QList>
#include <QString>

// Reads and writes the CSV files of the import and export menu entries. Written files quote every
// field and separate them with commas, one record per entry ended by LF. Read files are one flat
// stream of fields in which every five fields make a record, whatever the line ends say.
class CSV
{
    Q_DECLARE_TR_FUNCTIONS(CSV)

public:
    // Largest file the import reads, so that any file is read quickly and fits in memory: a hundred
    // times what a device can hold (records that do not fit a device are refused anyway).
    static constexpr qint64 MAXIMUM_IMPORTED_FILE_SIZE = 16 * 1024 * 1024;

    // Appends the records of the file to referencePasswords: 0, or -1 with referenceErrorText set
    // (the list is then left as it was).
    static int importFileContent(QString completeFileName, QChar fieldsSeparatorCharacter,
                                 QList<PasswordTable::Password>& referencePasswords,
                                 QString& referenceErrorText);
    // Writes the records of the table, in list order: 0 with the error text cleared, or -1 with it set.
    static int exportTabToFile(QString completeFileName, const PasswordTable* pointerPasswordTable,
                               QString& referenceErrorText);
};

#endif
