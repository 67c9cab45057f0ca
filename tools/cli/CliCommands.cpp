#include "CliCommands.h"

#include "BackupFile.h"
#include "CSV.h"
#include "CliDeviceRoad.h"
#include "CliImages.h"
#include "CliTerminal.h"
#include "Device.h"
#include "WipeText.h"

#include <QFile>
#include <memory>
#include <unistd.h>

namespace
{
using ExitCode = CliArguments::ExitCode;

// The typed master password, wiped on every way out.
struct Password
{
    QString text;
    ~Password()
    {
        wipeText(text);
        text.clear();
    }
};

int readPassword(const CliArguments& arguments, Password* password)
{
    QString errorText;
    if (CliTerminal::readPassword(arguments.isPasswordFromStandardInput, password->text, errorText) == 0)
        return CliArguments::EXIT_CODE_SUCCESS;
    CliTerminal::printError(errorText);
    return CliArguments::EXIT_CODE_USAGE;
}

int fail(ExitCode code, const QString& message)
{
    CliTerminal::printError(message);
    return code;
}

const unsigned char* bytesOf(const QByteArray& image)
{
    return reinterpret_cast<const unsigned char*>(image.constData());
}

QByteArray imageOf(Device& device, Device::MemoryId memoryId)
{
    return QByteArray(reinterpret_cast<const char*>(device.getMemoryBuffer(memoryId)), Device::MEMORY_SIZE);
}

int readBackupFile(const QString& fileName, BackupFile::Content* content)
{
    QString errorText;
    if (BackupFile::read(fileName, content, errorText) == 0)
        return CliArguments::EXIT_CODE_SUCCESS;
    return fail(CliArguments::EXIT_CODE_DEVICE_OR_FILE,
                CliCommands::tr("The backup file %1 cannot be used: %2").arg(fileName, errorText));
}

std::unique_ptr<Device> openDevice(const QString& usbSerialNumber)
{
    QString errorText;
    std::unique_ptr<Device> device = CliDeviceRoad::openDevice(usbSerialNumber, errorText);
    if (device == nullptr)
        CliTerminal::printError(errorText);
    return device;
}

int readMemories(Device& device, int memories)
{
    QString errorText;
    if (CliDeviceRoad::readMemories(device, memories, errorText) == CliDeviceRoad::RESULT_DONE)
        return CliArguments::EXIT_CODE_SUCCESS;
    return fail(CliArguments::EXIT_CODE_DEVICE_OR_FILE, errorText);
}

QString deviceTitle(const QString& name, const QString& usbSerialNumber)
{
    return CliCommands::tr("'%1' (%2)").arg(name, usbSerialNumber);
}

QString fileTitle(const QString& fileName, const BackupFile::Content& content)
{
    return CliCommands::tr("the backup of %1 in %2").arg(deviceTitle(content.name, content.serial), fileName);
}

bool areSameTabs(const QList<PasswordStoreCodec::Tab>& first, const QList<PasswordStoreCodec::Tab>& second)
{
    if (first.size() != second.size())
        return false;
    for (qsizetype index = 0; index < first.size(); index++)
    {
        if (first.at(index).name != second.at(index).name ||
            first.at(index).passwords != second.at(index).passwords)
            return false;
    }
    return true;
}

int wrongPassword(const QString& title)
{
    return fail(CliArguments::EXIT_CODE_WRONG_PASSWORD,
                CliCommands::tr("The master password opens no memory image of %1.").arg(title));
}

int decryptionFailed()
{
    return fail(CliArguments::EXIT_CODE_DEVICE_OR_FILE, CliCommands::tr("Failed to decrypt data, aborting."));
}
} // namespace

int CliCommands::run(const QStringList& arguments)
{
    CliArguments parsed;
    QString errorText;
    if (CliArguments::parse(arguments, &parsed, errorText) != 0)
    {
        const QString command = CliArguments::commandName(parsed.command);
        return fail(CliArguments::EXIT_CODE_USAGE,
                    errorText + QLatin1Char('\n') +
                        tr("Run \"pavisor-cli %1--help\" for help.")
                            .arg(command.isEmpty() ? QString() : command + QLatin1Char(' ')));
    }
    if (parsed.isHelpRequested)
    {
        CliTerminal::print(CliArguments::help(parsed.command));
        return CliArguments::EXIT_CODE_SUCCESS;
    }
    switch (parsed.command)
    {
    case CliArguments::COMMAND_LIST:
        return _list();
    case CliArguments::COMMAND_BACKUP:
        return _backup(parsed);
    case CliArguments::COMMAND_CHECK:
        return _check(parsed);
    case CliArguments::COMMAND_EXPORT:
        return _export(parsed);
    default:
        return _restore(parsed);
    }
}

int CliCommands::_list()
{
    const std::unique_ptr<QList<DevicePortInfo>> ports(Device::findAvailableDevices());
    if (ports == nullptr || ports->isEmpty())
    {
        CliTerminal::printError(tr("No Pavisor is connected."));
        return CliArguments::EXIT_CODE_SUCCESS;
    }
    int code = CliArguments::EXIT_CODE_SUCCESS;
    for (const DevicePortInfo& port : *ports)
    {
        auto device = std::make_unique<Device>(port);
        int hardwareVersion = 0;
        int firmwareVersion = 0;
        if (device->open() != 0 || device->readVersionsInformation(hardwareVersion, firmwareVersion) != 0)
        {
            code = fail(CliArguments::EXIT_CODE_DEVICE_OR_FILE,
                        tr("The device %1 does not answer: it may be in use by another program.")
                            .arg(port.serialNumber()));
            continue;
        }
        CliTerminal::print(QStringLiteral("%1\t%2\t%3\t%4")
                               .arg(port.serialNumber(), device->getName())
                               .arg(hardwareVersion)
                               .arg(firmwareVersion));
    }
    return code;
}

int CliCommands::_backup(const CliArguments& arguments)
{
    const std::unique_ptr<Device> device = openDevice(*arguments.device);
    if (device == nullptr)
        return CliArguments::EXIT_CODE_DEVICE_OR_FILE;
    int hardwareVersion = 0;
    int firmwareVersion = 0;
    if (device->readVersionsInformation(hardwareVersion, firmwareVersion) != 0)
        return fail(CliArguments::EXIT_CODE_DEVICE_OR_FILE,
                    tr("The device %1 did not give its versions.").arg(*arguments.device));
    // Nothing is written before both memories are in: an unplug leaves no file behind.
    if (const int code = readMemories(*device, CliDeviceRoad::MEMORIES_BOTH); code != 0)
        return code;

    BackupFile::Content content;
    content.name = device->getName();
    content.serial = device->getUsbSerialNumber();
    content.versions[0] = (hardwareVersion >> 8) & 0xFF;
    content.versions[1] = hardwareVersion & 0xFF;
    content.versions[2] = (firmwareVersion >> 8) & 0xFF;
    content.versions[3] = firmwareVersion & 0xFF;
    content.created = QDateTime::currentDateTimeUtc();
    content.mainImage = imageOf(*device, Device::MEMORY_ID_MAIN);
    content.backupImage = imageOf(*device, Device::MEMORY_ID_BACKUP);
    const QString& fileName = arguments.files.first();
    QString errorText;
    if (BackupFile::write(fileName, content, errorText) != 0)
        return fail(CliArguments::EXIT_CODE_DEVICE_OR_FILE,
                    tr("The backup file %1 could not be written: %2").arg(fileName, errorText));
    CliTerminal::print(tr("Both memories of the device %1 backed up to %2.")
                           .arg(deviceTitle(content.name, content.serial), fileName));
    return CliArguments::EXIT_CODE_SUCCESS;
}

int CliCommands::_check(const CliArguments& arguments)
{
    QByteArray images[2];
    QString title;
    if (arguments.device.has_value())
    {
        const std::unique_ptr<Device> device = openDevice(*arguments.device);
        if (device == nullptr)
            return CliArguments::EXIT_CODE_DEVICE_OR_FILE;
        title = tr("the device %1").arg(deviceTitle(device->getName(), device->getUsbSerialNumber()));
        Password password;
        if (const int code = readPassword(arguments, &password); code != 0)
            return code;
        if (const int code = readMemories(*device, CliDeviceRoad::MEMORIES_BOTH); code != 0)
            return code;
        CliTerminal::print(
            tr("Device: %1").arg(deviceTitle(device->getName(), device->getUsbSerialNumber())));
        images[0] = imageOf(*device, Device::MEMORY_ID_MAIN);
        images[1] = imageOf(*device, Device::MEMORY_ID_BACKUP);
        return _report(title, password.text, images);
    }

    BackupFile::Content content;
    if (const int code = readBackupFile(arguments.files.first(), &content); code != 0)
        return code;
    title = fileTitle(arguments.files.first(), content);
    Password password;
    if (const int code = readPassword(arguments, &password); code != 0)
        return code;
    CliTerminal::print(tr("Backup file: %1").arg(arguments.files.first()));
    CliTerminal::print(tr("Device: %1, hardware version %2, firmware version %3")
                           .arg(deviceTitle(content.name, content.serial))
                           .arg(content.versions[0] * 256 + content.versions[1])
                           .arg(content.versions[2] * 256 + content.versions[3]));
    CliTerminal::print(tr("Backed up: %1").arg(content.created.toUTC().toString(Qt::ISODate)));
    images[0] = content.mainImage;
    images[1] = content.backupImage;
    return _report(title, password.text, images);
}

int CliCommands::_report(const QString& title, const QString& password, const QByteArray images[2])
{
    CliImages::Opened opened[2];
    const int result =
        CliImages::openPair(password, bytesOf(images[0]), bytesOf(images[1]), true, &opened[0], &opened[1]);
    if (result < 0)
        return decryptionFailed();
    CliTerminal::print(tr("Main memory: %1").arg(CliImages::describe(opened[0])));
    CliTerminal::print(tr("Backup memory: %1").arg(CliImages::describe(opened[1])));
    QString agreement;
    if (images[0] == images[1])
        agreement = tr("identical");
    else if (opened[0].result == 0 && opened[1].result == 0)
        agreement = areSameTabs(opened[0].tabs, opened[1].tabs)
                        ? tr("different bytes, the same records")
                        : tr("different records (as after an interrupted save: the backup memory holds the "
                             "older ones)");
    else
        agreement = tr("different");
    CliTerminal::print(tr("Main and backup memories: %1").arg(agreement));
    return result == 0 ? int(CliArguments::EXIT_CODE_SUCCESS) : wrongPassword(title);
}

int CliCommands::_export(const CliArguments& arguments)
{
    const QString& output = *arguments.output;
    const bool isStandardOutput = output == QLatin1String("-");
    // Passwords in clear go to a terminal only when asked for by name.
    if (!isStandardOutput && CliTerminal::isTerminalPath(output))
        return fail(CliArguments::EXIT_CODE_USAGE,
                    tr("%1 is a terminal: the passwords would be shown there. Give \"--output -\" to print "
                       "them on standard output anyway.")
                        .arg(output));

    QByteArray images[2];
    QString title;
    Password password;
    CliImages::Opened opened[2];
    int result = 1;
    if (arguments.device.has_value())
    {
        const std::unique_ptr<Device> device = openDevice(*arguments.device);
        if (device == nullptr)
            return CliArguments::EXIT_CODE_DEVICE_OR_FILE;
        title = tr("the device %1").arg(deviceTitle(device->getName(), device->getUsbSerialNumber()));
        if (const int code = readPassword(arguments, &password); code != 0)
            return code;
        // The backup memory is read only when the main one does not open.
        if (const int code = readMemories(*device, CliDeviceRoad::MEMORIES_MAIN); code != 0)
            return code;
        CliImages::open(password.text, device->getMemoryBuffer(Device::MEMORY_ID_MAIN), &opened[0]);
        result = opened[0].result;
        if (result == 1)
        {
            if (const int code = readMemories(*device, CliDeviceRoad::MEMORIES_BACKUP); code != 0)
                return code;
            CliImages::open(password.text, device->getMemoryBuffer(Device::MEMORY_ID_BACKUP), &opened[1]);
            result = opened[1].result;
        }
    }
    else
    {
        BackupFile::Content content;
        if (const int code = readBackupFile(arguments.files.first(), &content); code != 0)
            return code;
        title = fileTitle(arguments.files.first(), content);
        if (const int code = readPassword(arguments, &password); code != 0)
            return code;
        result = CliImages::openPair(password.text, bytesOf(content.mainImage), bytesOf(content.backupImage),
                                     false, &opened[0], &opened[1]);
    }
    if (result < 0)
        return decryptionFailed();
    if (result != 0)
        return wrongPassword(title);
    const CliImages::Opened& store = opened[0].result == 0 ? opened[0] : opened[1];
    if (&store == &opened[1])
        CliTerminal::printError(tr("The main memory image does not open: the backup memory image is used."));

    const PasswordStoreCodec::Tab* tab = nullptr;
    QStringList tabNames;
    for (const PasswordStoreCodec::Tab& candidate : store.tabs)
    {
        if (candidate.name == *arguments.tab && tab == nullptr)
            tab = &candidate;
        tabNames.append(QLatin1Char('"') + candidate.name + QLatin1Char('"'));
    }
    if (tab == nullptr)
        return fail(CliArguments::EXIT_CODE_USAGE,
                    tr("No tab is named \"%1\". The tabs are: %2.")
                        .arg(*arguments.tab, tabNames.join(QStringLiteral(", "))));
    if (tabNames.count(QLatin1Char('"') + *arguments.tab + QLatin1Char('"')) > 1)
        CliTerminal::printError(
            tr("Several tabs are named \"%1\": the first one is exported.").arg(tab->name));

    QString errorText;
    int written = 0;
    if (isStandardOutput)
    {
        QFile standardOutput;
        written = standardOutput.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered)
                      ? CSV::writeRecords(&standardOutput, tab->passwords, errorText)
                      : -1;
        if (written != 0 && errorText.isEmpty())
            errorText = standardOutput.errorString();
    }
    else
        written = CSV::exportTabToFile(output, tab->passwords, errorText);
    if (written != 0)
        return fail(CliArguments::EXIT_CODE_DEVICE_OR_FILE,
                    tr("The records could not be written to %1: %2").arg(output, errorText));
    const int recordCount = int(tab->passwords.size());
    CliTerminal::printError(tr("%2 exported from the tab \"%1\".")
                                .arg(tab->name, recordCount == 1
                                                    ? CliImages::tr("1 record")
                                                    : CliImages::tr("%1 records").arg(recordCount)));
    return CliArguments::EXIT_CODE_SUCCESS;
}

int CliCommands::_restore(const CliArguments& arguments)
{
    const QString& fileName = arguments.files.first();
    BackupFile::Content content;
    if (const int code = readBackupFile(fileName, &content); code != 0)
        return code;
    const std::unique_ptr<Device> device = openDevice(*arguments.device);
    if (device == nullptr)
        return CliArguments::EXIT_CODE_DEVICE_OR_FILE;
    Password password;
    if (const int code = readPassword(arguments, &password); code != 0)
        return code;

    CliImages::Opened opened[2];
    const int result = CliImages::openPair(password.text, bytesOf(content.mainImage),
                                           bytesOf(content.backupImage), false, &opened[0], &opened[1]);
    if (result < 0)
        return decryptionFailed();
    if (result != 0)
        return wrongPassword(fileTitle(fileName, content));
    const bool isMainImage = opened[0].result == 0;
    const CliImages::Opened& store = isMainImage ? opened[0] : opened[1];
    if (!isMainImage)
        CliTerminal::printError(
            tr("The main image of the file does not open: its backup image is restored."));

    const QString target = deviceTitle(device->getName(), device->getUsbSerialNumber());
    if (!arguments.isConfirmed &&
        !CliTerminal::confirm(
            tr("Restore %1, made %2 (%3), to the device %4? Everything the device holds now "
               "is replaced. [y/N]")
                .arg(fileTitle(fileName, content), content.created.toUTC().toString(Qt::ISODate),
                     CliImages::describeContent(store), target)))
        return fail(CliArguments::EXIT_CODE_USAGE, tr("Nothing was written."));

    // The image goes as the file holds it: it opens with the typed password already, and its bytes
    // are exactly those the device held when it was backed up.
    QString errorText;
    const int written = CliDeviceRoad::writeImage(
        *device, bytesOf(isMainImage ? content.mainImage : content.backupImage), password.text, errorText);
    switch (written)
    {
    case CliDeviceRoad::RESULT_DONE:
        CliTerminal::print(tr("Restored to the device %1 and verified: both memories hold the image of the "
                              "backup file.")
                               .arg(target));
        return CliArguments::EXIT_CODE_SUCCESS;
    case CliDeviceRoad::RESULT_VERIFICATION_FAILED:
        return fail(CliArguments::EXIT_CODE_VERIFICATION_FAILED, errorText);
    default:
        return fail(CliArguments::EXIT_CODE_DEVICE_OR_FILE, errorText);
    }
}
