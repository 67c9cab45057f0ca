#include "SafeFile.h"

#include <QFileInfo>
#include <QSaveFile>

int SafeFile::write(const QString& completeFileName,
                    const std::function<int(QIODevice* file, QString& errorText)>& writeContent,
                    QString& errorText)
{
    const QFileInfo target(completeFileName);
    if (target.exists() && !target.isFile())
    {
        errorText = tr("It is not a regular file.");
        return -1;
    }
    QSaveFile file(completeFileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    {
        errorText = file.errorString();
        return -1;
    }
    // Owner-only whether the file is created here or replaces one readable by others. A file system
    // without permissions (a FAT memory stick) refuses, which is no reason to stop.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    errorText.clear();
    if (writeContent(&file, errorText) != 0 || !file.commit())
    {
        if (errorText.isEmpty())
            errorText = file.errorString();
        file.cancelWriting();
        return -1;
    }
    errorText.clear();
    return 0;
}

int SafeFile::writeAll(QIODevice* device, const char* data, qint64 size, QString& errorText)
{
    qint64 written = 0;
    while (written < size)
    {
        const qint64 part = device->write(data + written, size - written);
        if (part <= 0)
        {
            errorText = device->errorString();
            return -1;
        }
        written += part;
    }
    return 0;
}
