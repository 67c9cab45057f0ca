#ifndef SAFEFILE_H
#define SAFEFILE_H

#include <QCoreApplication>
#include <QIODevice>
#include <QString>
#include <functional>

// Files that hold a user's records (CSV exports, backups): written beside their place and renamed
// over it once complete, so that a full disk or a crash leaves no partial file and any previous file
// whole, and readable by their owner only.
class SafeFile
{
    Q_DECLARE_TR_FUNCTIONS(SafeFile)

public:
    // Writes the file through `writeContent` (0, or -1 with its error text set): 0 with errorText
    // cleared, or -1 with it set, the file then being as it was. A device node or a pipe chosen by
    // mistake is refused, never replaced. The file is unbuffered: a full disk fails the write that
    // meets it, with the system's reason, and no copy of the content stays in a write buffer.
    static int write(const QString& completeFileName,
                     const std::function<int(QIODevice* file, QString& errorText)>& writeContent,
                     QString& errorText);
    // Writes all `size` bytes, going on after a short write (the next one says why it stopped): 0, or
    // -1 with errorText set.
    static int writeAll(QIODevice* device, const char* data, qint64 size, QString& errorText);
};

#endif
