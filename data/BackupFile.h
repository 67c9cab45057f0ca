#ifndef BACKUPFILE_H
#define BACKUPFILE_H

#include <QByteArray>
#include <QByteArrayView>
#include <QCoreApplication>
#include <QDateTime>
#include <QString>

// A backup file: the two memory images of a device, exactly as the device holds them (encrypted
// under its master password, so the file is as strong as the device and needs no cryptography of
// its own), with a small description.
//
// Layout: the 16 bytes "PAVISOR-BACKUP" 0x00 0x01 (format version 1); a 4-byte little-endian
// length L; L bytes of UTF-8 JSON ("name", "serial", "versions", "created", "sha256": the hex
// SHA-256 of the two images, "headerSha256": the hex SHA-256 of the other header fields written
// as compact JSON); the main image; the backup image (131072 bytes each). Any byte altered,
// missing or added makes the file refused.
class BackupFile
{
    Q_DECLARE_TR_FUNCTIONS(BackupFile)

public:
    static constexpr int IMAGE_SIZE = 131072;
    static constexpr int MAGIC_SIZE = 16;
    static constexpr int FORMAT_VERSION = 1;
    // A header is a few hundred bytes; anything much larger is not one of ours.
    static constexpr int MAXIMUM_HEADER_SIZE = 65536;
    // Automatic backups kept per device, newest first.
    static constexpr int AUTOMATIC_BACKUPS_KEPT = 20;
    static constexpr const char* FILE_SUFFIX = "pavisorbackup";

    struct Content
    {
        // The device's name and USB serial number.
        QString name;
        QString serial;
        // Hardware high, low, firmware high, low.
        int versions[4] = {0, 0, 0, 0};
        QDateTime created;
        // The main and backup memory images, IMAGE_SIZE bytes each.
        QByteArray mainImage;
        QByteArray backupImage;
    };

    // The whole file for `content` (its images must be IMAGE_SIZE bytes).
    static QByteArray encode(const Content& content);
    // Reads a whole file's bytes: 0, or -1 with errorText saying what is wrong (nothing kept).
    static int decode(QByteArrayView bytes, Content* content, QString& errorText);

    // Writes the file owner-only through a temporary file renamed into place: a failure leaves no
    // partial file and any previous file whole. 0, or -1 with errorText set.
    static int write(const QString& completeFileName, const Content& content, QString& errorText);
    static int read(const QString& completeFileName, Content* content, QString& errorText);

    // `dataFolder`/backups/<serial>: where the automatic backups of that device go.
    static QString automaticFolder(const QString& dataFolder, const QString& serial);
    // Writes an automatic backup named by its UTC creation time, then removes the oldest of that
    // device beyond AUTOMATIC_BACKUPS_KEPT. 0, or -1 with errorText set.
    static int writeAutomatic(const QString& dataFolder, const Content& content, QString& errorText);

    // For file dialogs.
    static QString fileDialogFilter();

private:
    static QByteArray _headerJson(const Content& content, const QByteArray& imagesDigest,
                                  const QByteArray* headerDigest);
};

#endif
