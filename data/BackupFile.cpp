#include "BackupFile.h"
#include "SafeFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtEndian>
#include <cstring>

namespace
{
constexpr char MAGIC[BackupFile::MAGIC_SIZE] = {
    'P', 'A', 'V', 'I', 'S', 'O', 'R', '-', 'B', 'A', 'C', 'K', 'U', 'P', 0x00, BackupFile::FORMAT_VERSION};
// The magic without its version byte: a file that has it comes from a newer format, not elsewhere.
constexpr int MAGIC_NAME_SIZE = BackupFile::MAGIC_SIZE - 1;
constexpr int LENGTH_SIZE = 4;
constexpr int PREFIX_SIZE = BackupFile::MAGIC_SIZE + LENGTH_SIZE;

QByteArray imagesDigest(QByteArrayView mainImage, QByteArrayView backupImage)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(mainImage);
    hash.addData(backupImage);
    return hash.result().toHex();
}
} // namespace

QByteArray BackupFile::_headerJson(const Content& content, const QByteArray& digest,
                                   const QByteArray* headerDigest)
{
    QJsonObject header{{QStringLiteral("name"), content.name},
                       {QStringLiteral("serial"), content.serial},
                       {QStringLiteral("versions"), QJsonArray{content.versions[0], content.versions[1],
                                                               content.versions[2], content.versions[3]}},
                       {QStringLiteral("created"), content.created.toUTC().toString(Qt::ISODate)},
                       {QStringLiteral("sha256"), QString::fromLatin1(digest)}};
    if (headerDigest != nullptr)
        header.insert(QStringLiteral("headerSha256"), QString::fromLatin1(*headerDigest));
    return QJsonDocument(header).toJson(QJsonDocument::Compact);
}

QByteArray BackupFile::encode(const Content& content)
{
    const QByteArray digest = imagesDigest(content.mainImage, content.backupImage);
    const QByteArray headerDigest =
        QCryptographicHash::hash(_headerJson(content, digest, nullptr), QCryptographicHash::Sha256).toHex();
    const QByteArray header = _headerJson(content, digest, &headerDigest);

    QByteArray bytes;
    bytes.reserve(PREFIX_SIZE + header.size() + 2 * IMAGE_SIZE);
    bytes.append(MAGIC, MAGIC_SIZE);
    char length[LENGTH_SIZE];
    qToLittleEndian<quint32>(quint32(header.size()), length);
    bytes.append(length, LENGTH_SIZE);
    bytes.append(header);
    bytes.append(content.mainImage);
    bytes.append(content.backupImage);
    return bytes;
}

int BackupFile::decode(QByteArrayView bytes, Content* content, QString& errorText)
{
    if (bytes.size() < MAGIC_SIZE || std::memcmp(bytes.data(), MAGIC, MAGIC_NAME_SIZE) != 0)
    {
        errorText = tr("This is not a Pavisor backup file.");
        return -1;
    }
    if (bytes[MAGIC_NAME_SIZE] != MAGIC[MAGIC_NAME_SIZE])
    {
        errorText = tr("This backup file has format %1, which this version of the application cannot read.")
                        .arg(int(static_cast<unsigned char>(bytes[MAGIC_NAME_SIZE])));
        return -1;
    }
    const qint64 headerSize =
        bytes.size() >= PREFIX_SIZE ? qFromLittleEndian<quint32>(bytes.data() + MAGIC_SIZE) : -1;
    if (headerSize < 0 || headerSize > MAXIMUM_HEADER_SIZE ||
        bytes.size() != PREFIX_SIZE + headerSize + 2 * qint64(IMAGE_SIZE))
    {
        errorText = tr("The backup file is incomplete or has bytes added: its length is wrong.");
        return -1;
    }

    const QByteArrayView headerBytes = bytes.sliced(PREFIX_SIZE, headerSize);
    const QByteArrayView mainImage = bytes.sliced(PREFIX_SIZE + headerSize, IMAGE_SIZE);
    const QByteArrayView backupImage = bytes.sliced(PREFIX_SIZE + headerSize + IMAGE_SIZE, IMAGE_SIZE);
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(headerBytes.toByteArray(), &parseError);
    const QJsonObject header = document.object();
    const QJsonArray versions = header.value(QStringLiteral("versions")).toArray();
    Content read;
    read.name = header.value(QStringLiteral("name")).toString();
    read.serial = header.value(QStringLiteral("serial")).toString();
    read.created = QDateTime::fromString(header.value(QStringLiteral("created")).toString(), Qt::ISODate);
    bool areVersionsValid = versions.size() == 4;
    for (int index = 0; areVersionsValid && index < 4; index++)
    {
        const QJsonValue version = versions.at(index);
        areVersionsValid = version.isDouble() && version.toDouble() >= 0 && version.toDouble() <= 255 &&
                           version.toDouble() == version.toInt();
        read.versions[index] = version.toInt();
    }
    if (parseError.error != QJsonParseError::NoError || !document.isObject() ||
        !header.value(QStringLiteral("name")).isString() ||
        !header.value(QStringLiteral("serial")).isString() || !read.created.isValid() || !areVersionsValid)
    {
        errorText = tr("The description at the start of the backup file is damaged.");
        return -1;
    }

    const QByteArray digest = imagesDigest(mainImage, backupImage);
    const QByteArray expectedHeaderDigest =
        QCryptographicHash::hash(_headerJson(read, digest, nullptr), QCryptographicHash::Sha256).toHex();
    if (header.value(QStringLiteral("sha256")).toString().toLatin1() != digest ||
        header.value(QStringLiteral("headerSha256")).toString().toLatin1() != expectedHeaderDigest)
    {
        errorText =
            tr("The backup file has been altered or damaged: its check digest does not match its content.");
        return -1;
    }
    read.mainImage = mainImage.toByteArray();
    read.backupImage = backupImage.toByteArray();
    *content = read;
    return 0;
}

int BackupFile::write(const QString& completeFileName, const Content& content, QString& errorText)
{
    if (content.mainImage.size() != IMAGE_SIZE || content.backupImage.size() != IMAGE_SIZE)
    {
        errorText = tr("The memory images to back up are incomplete.");
        return -1;
    }
    // Encrypted, but still nobody else's business.
    const QByteArray bytes = encode(content);
    return SafeFile::write(
        completeFileName,
        [&bytes](QIODevice* file, QString& writeErrorText)
        { return SafeFile::writeAll(file, bytes.constData(), bytes.size(), writeErrorText); },
        errorText);
}

int BackupFile::read(const QString& completeFileName, Content* content, QString& errorText)
{
    QFile file(completeFileName);
    if (!QFileInfo(completeFileName).isFile() || !file.open(QIODevice::ReadOnly))
    {
        errorText = tr("Could not open the file in read mode (%1).")
                        .arg(file.errorString().isEmpty() ? tr("not a regular file") : file.errorString());
        return -1;
    }
    // Never more than one byte past the largest valid file: that is enough to tell it is too long.
    const qint64 maximumSize = PREFIX_SIZE + MAXIMUM_HEADER_SIZE + 2 * qint64(IMAGE_SIZE) + 1;
    const QByteArray bytes = file.read(maximumSize);
    if (file.error() != QFileDevice::NoError)
    {
        errorText = file.errorString();
        return -1;
    }
    return decode(bytes, content, errorText);
}

QString BackupFile::automaticFolder(const QString& dataFolder, const QString& serial)
{
    // The serial number comes from the device: nothing in it may climb out of the folder.
    QString folderName = serial;
    folderName.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")), QStringLiteral("_"));
    if (folderName.isEmpty())
        folderName = QStringLiteral("unknown");
    return QDir(dataFolder).filePath(QStringLiteral("backups/") + folderName);
}

int BackupFile::writeAutomatic(const QString& dataFolder, const Content& content, QString& errorText)
{
    const QString folder = automaticFolder(dataFolder, content.serial);
    QDir directory(folder);
    if (!directory.mkpath(QStringLiteral(".")))
    {
        errorText = tr("Could not create the folder %1.").arg(QDir::toNativeSeparators(folder));
        return -1;
    }
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // UTC names sort in time order, whatever the clock's summer time does.
    const QString fileName = content.created.toUTC().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss-zzz")) +
                             QLatin1Char('.') + QLatin1String(FILE_SUFFIX);
    const QString path = directory.filePath(fileName);
    if (write(path, content, errorText) != 0)
        return -1;

    QStringList files = directory.entryList({QStringLiteral("*.") + QLatin1String(FILE_SUFFIX)}, QDir::Files,
                                            QDir::Name | QDir::Reversed);
    for (qsizetype index = AUTOMATIC_BACKUPS_KEPT; index < files.size(); index++)
        directory.remove(files.at(index));
    return 0;
}

QString BackupFile::fileDialogFilter()
{
    return tr("Pavisor backup files (*.%1)").arg(QLatin1String(FILE_SUFFIX));
}
