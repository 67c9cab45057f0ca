#ifndef CSV_H
#define CSV_H

#include "PasswordRecord.h"

#include <QChar>
#include <QCoreApplication>
#include <QIODevice>
#include <QList>
#include <QString>

// Reads and writes the CSV files of the import and export menu entries. Written files quote every
// field and separate them with commas, one record per line ended by LF, without column names.
// Read files are taken line by line (CSVReader): our own files, and the exports of the programs
// CSVFormats knows by their column names.
class CSV
{
    Q_DECLARE_TR_FUNCTIONS(CSV)

public:
    // Largest file the import reads, so that any file is read quickly and fits in memory: a hundred
    // times what a device can hold (records that do not fit a device are refused anyway).
    static constexpr qint64 MAXIMUM_IMPORTED_FILE_SIZE = 16 * 1024 * 1024;

    // What a file holds, read whole before anything changes, so that the user can look before
    // importing.
    struct FileContent
    {
        // The program the file was recognised as coming from, or our own five-column format.
        QString formatName;
        QList<PasswordRecord> passwords;
        // The folder of each record (empty for none), in the order of passwords.
        QList<QString> folders;
        // At least one record has a folder.
        bool isFolderPresent = false;
        // "Line n: why" for each line that is not a record, and how many there are in all (a
        // file of garbage lists only the first ones).
        QList<QString> problems;
        qsizetype problemCount = 0;

        void wipe();
    };

    // Reads the file into *pointerContent: 0, or -1 with referenceErrorText set, when the file as a
    // whole cannot be read (nothing is then kept). Lines that are no record are listed in the content.
    static int readFile(const QString& completeFileName, QChar fieldsSeparatorCharacter,
                        FileContent* pointerContent, QString& referenceErrorText);
    // Writes the records of the table, in list order, to a temporary file that replaces the file
    // only once it is complete: 0 with the error text cleared, or -1 with it set (the file is then as
    // it was).
    static int exportTabToFile(const QString& completeFileName, const QList<PasswordRecord>& passwords,
                               QString& referenceErrorText);
    // Writes the records in that format to `device` (a file, standard output): 0, or -1 with
    // referenceErrorText set.
    static int writeRecords(QIODevice* device, const QList<PasswordRecord>& passwords,
                            QString& referenceErrorText);
};

#endif
