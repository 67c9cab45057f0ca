#include "CliArguments.h"

#include <array>

namespace
{
// What each command takes; anything else on its line is a usage error.
struct CommandSyntax
{
    CliArguments::Command command;
    const char* name;
    bool isDeviceAllowed;
    bool isFileAllowed;
    // Exactly one of a file and --device.
    bool isDeviceOrFile;
    bool isDeviceRequired;
    bool isFileRequired;
    bool isTabUsed;
    bool isPasswordAsked;
    bool isConfirmationAsked;
};

constexpr std::array<CommandSyntax, 5> SYNTAXES = {{
    {CliArguments::COMMAND_LIST, "list", false, false, false, false, false, false, false, false},
    {CliArguments::COMMAND_BACKUP, "backup", true, true, false, true, true, false, false, false},
    {CliArguments::COMMAND_CHECK, "check", true, true, true, false, false, false, true, false},
    {CliArguments::COMMAND_EXPORT, "export", true, true, true, false, false, true, true, false},
    {CliArguments::COMMAND_RESTORE, "restore", true, true, false, true, true, false, true, true},
}};

const CommandSyntax* findSyntax(CliArguments::Command command)
{
    for (const CommandSyntax& syntax : SYNTAXES)
    {
        if (syntax.command == command)
            return &syntax;
    }
    return nullptr;
}

// Reads the value of an option given as "--name VALUE" or "--name=VALUE".
bool takeValue(const QStringList& arguments, int& index, const QString& inlineValue, bool hasInlineValue,
               std::optional<QString>& value)
{
    if (hasInlineValue)
        value = inlineValue;
    else if (index + 1 < arguments.size())
        value = arguments.at(++index);
    else
        return false;
    return true;
}
} // namespace

QString CliArguments::commandName(Command command)
{
    const CommandSyntax* syntax = findSyntax(command);
    return syntax != nullptr ? QString::fromLatin1(syntax->name) : QString();
}

int CliArguments::parse(const QStringList& arguments, CliArguments* parsed, QString& errorText)
{
    *parsed = CliArguments();
    if (arguments.size() < 2)
    {
        errorText = tr("No command given.");
        return -1;
    }
    const QString& first = arguments.at(1);
    if (first == QLatin1String("--help") || first == QLatin1String("-h") || first == QLatin1String("help"))
    {
        parsed->isHelpRequested = true;
        // "help COMMAND" is the command's help.
        if (arguments.size() > 2)
        {
            for (const CommandSyntax& syntax : SYNTAXES)
            {
                if (arguments.at(2) == QLatin1String(syntax.name))
                    parsed->command = syntax.command;
            }
        }
        return 0;
    }
    for (const CommandSyntax& syntax : SYNTAXES)
    {
        if (first == QLatin1String(syntax.name))
            parsed->command = syntax.command;
    }
    const CommandSyntax* syntax = findSyntax(parsed->command);
    if (syntax == nullptr)
    {
        errorText = tr("Unknown command \"%1\".").arg(first);
        return -1;
    }
    // --help anywhere on the line wins over any other mistake on it.
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h")))
    {
        parsed->isHelpRequested = true;
        return 0;
    }

    bool areOptionsEnded = false;
    for (int index = 2; index < arguments.size(); index++)
    {
        const QString& argument = arguments.at(index);
        if (areOptionsEnded || !argument.startsWith(QLatin1String("--")))
        {
            parsed->files.append(argument);
            continue;
        }
        if (argument == QLatin1String("--"))
        {
            areOptionsEnded = true;
            continue;
        }
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? argument : argument.left(equals);
        const QString inlineValue = equals < 0 ? QString() : argument.mid(equals + 1);
        const bool hasInlineValue = equals >= 0;
        bool isKnown = true;
        bool isValueMissing = false;
        if (name == QLatin1String("--device") && syntax->isDeviceAllowed)
            isValueMissing = !takeValue(arguments, index, inlineValue, hasInlineValue, parsed->device);
        else if (name == QLatin1String("--tab") && syntax->isTabUsed)
            isValueMissing = !takeValue(arguments, index, inlineValue, hasInlineValue, parsed->tab);
        else if (name == QLatin1String("--output") && syntax->isTabUsed)
            isValueMissing = !takeValue(arguments, index, inlineValue, hasInlineValue, parsed->output);
        else if (name == QLatin1String("--password-stdin") && syntax->isPasswordAsked && !hasInlineValue)
            parsed->isPasswordFromStandardInput = true;
        else if (name == QLatin1String("--yes") && syntax->isConfirmationAsked && !hasInlineValue)
            parsed->isConfirmed = true;
        else
            isKnown = false;
        if (!isKnown)
        {
            errorText = tr("The command \"%1\" has no option \"%2\".").arg(first, argument);
            return -1;
        }
        if (isValueMissing)
        {
            errorText = tr("The option \"%1\" needs a value.").arg(name);
            return -1;
        }
    }

    const bool hasFile = !parsed->files.isEmpty();
    const bool hasDevice = parsed->device.has_value();
    if (parsed->files.size() > 1)
        errorText = tr("Too many files: %1.").arg(parsed->files.join(QStringLiteral(", ")));
    else if (hasDevice && parsed->device->isEmpty())
        errorText = tr("The serial number after --device is empty.");
    else if (syntax->isDeviceOrFile && hasFile == hasDevice)
        errorText = tr("Give either a backup file or --device SERIAL, not both or neither.");
    else if (syntax->isDeviceRequired && !hasDevice)
        errorText = tr("The device to use is missing: --device SERIAL.");
    else if (syntax->isFileRequired && !hasFile)
        errorText = tr("The backup file is missing.");
    else if (!syntax->isFileAllowed && hasFile)
        errorText = tr("The command \"%1\" takes no file.").arg(first);
    else if (syntax->isTabUsed && (!parsed->tab.has_value() || parsed->tab->isEmpty()))
        errorText = tr("The tab to export is missing: --tab NAME.");
    else if (syntax->isTabUsed && (!parsed->output.has_value() || parsed->output->isEmpty()))
        errorText = tr("The output is missing: --output FILE, or --output - for standard output.");
    else if (hasFile && parsed->files.first().isEmpty())
        errorText = tr("The file name is empty.");
    else
        return 0;
    return -1;
}

namespace
{
QString exitCodesHelp()
{
    return CliArguments::tr(
        "Exit codes:\n"
        "  0  success\n"
        "  1  usage error (unknown command or option, missing argument, unknown tab, output refused),\n"
        "     or the restore was not confirmed\n"
        "  2  device or file error: unknown serial number, device unplugged or not answering, device\n"
        "     refused (its memories differ and neither opens), file unreadable, damaged or not a backup\n"
        "     file, disk full\n"
        "  3  wrong password: no memory image opens with it\n"
        "  4  verification failed: what was read back from the device differs from what was written\n");
}

QString passwordOptionHelp()
{
    return CliArguments::tr(
        "  --password-stdin    read the master password from the first line of standard input\n"
        "                      instead of asking it on the terminal (without echo)\n");
}
} // namespace

QString CliArguments::help(Command command)
{
    QString text;
    switch (command)
    {
    case COMMAND_LIST:
        text = tr("Usage: pavisor-cli list\n"
                  "\n"
                  "Lists the connected Pavisor devices, one per line: USB serial number, name, hardware\n"
                  "version and firmware version, separated by tabs. Prints nothing on standard output when\n"
                  "none is connected.\n");
        break;
    case COMMAND_BACKUP:
        text = tr("Usage: pavisor-cli backup --device SERIAL FILE\n"
                  "\n"
                  "Reads both memories of the device with that USB serial number and writes them, exactly\n"
                  "as the device holds them (encrypted under its master password), to the backup file FILE,\n"
                  "with the device's name, serial number and versions and the time of the backup. No\n"
                  "password is asked: the file is as strong as the master password. FILE is written\n"
                  "owner-only, and only once both memories have been read: a failure leaves no partial\n"
                  "file and any previous FILE unchanged. When standard error is a terminal, the progress\n"
                  "is shown there (percent, bytes per second, time left).\n"
                  "\n"
                  "Options:\n"
                  "  --device SERIAL     the device to read (required)\n");
        break;
    case COMMAND_CHECK:
        text = tr("Usage: pavisor-cli check [--password-stdin] FILE\n"
                  "       pavisor-cli check [--password-stdin] --device SERIAL\n"
                  "\n"
                  "Asks the master password and says, for the main and the backup memory image of the\n"
                  "backup file FILE or of the device, whether it opens, under which encryption scheme,\n"
                  "with how many tabs and records, and whether the two images agree. Nothing is written.\n"
                  "Exit code 3 when neither image opens.\n"
                  "\n"
                  "Options:\n"
                  "  --device SERIAL     read the device with that USB serial number instead of a file\n") +
               passwordOptionHelp();
        break;
    case COMMAND_EXPORT:
        text = tr("Usage: pavisor-cli export [--password-stdin] FILE --tab NAME --output OUT.csv\n"
                  "       pavisor-cli export [--password-stdin] --device SERIAL --tab NAME --output OUT.csv\n"
                  "\n"
                  "Asks the master password, opens the main memory image of the backup file or of the\n"
                  "device (the backup image when the main one does not open) and writes the records of\n"
                  "the tab NAME in the application's CSV format: every field quoted, separated by commas,\n"
                  "one record per line, no column names. OUT.csv is written owner-only and replaces any\n"
                  "previous file only once complete. \"--output -\" writes to standard output, even to a\n"
                  "terminal; any other output that is a terminal is refused, so that passwords are never\n"
                  "shown by mistake.\n"
                  "\n"
                  "Options:\n"
                  "  --device SERIAL     read the device with that USB serial number instead of a file\n"
                  "  --tab NAME          the tab to export, by its exact name (required)\n"
                  "  --output OUT.csv    the file to write, or - for standard output (required)\n") +
               passwordOptionHelp();
        break;
    case COMMAND_RESTORE:
        text = tr("Usage: pavisor-cli restore [--password-stdin] [--yes] --device SERIAL FILE\n"
                  "\n"
                  "Asks the master password, takes the image of the backup file FILE that opens with it\n"
                  "(the main image first, then the backup image), asks for confirmation and writes that\n"
                  "image as it is in the file (it already opens with the password: it is not encrypted\n"
                  "again) to both memories of the device, main first, then backup.\n"
                  "\n"
                  "Both device memories are read first. When they differ, neither opens with the password\n"
                  "and neither is empty, nothing is written: either could be the last good copy of the\n"
                  "device's records (open the device with its own master password, or erase it, first).\n"
                  "A backup memory that does not open while the main one does is first repaired from the\n"
                  "main memory and read back. After the write both memories are read back and compared\n"
                  "with the image. At every instant one memory holds a complete image that opens with a\n"
                  "password you know.\n"
                  "\n"
                  "Options:\n"
                  "  --device SERIAL     the device to write (required)\n"
                  "  --yes               write without asking for confirmation\n") +
               passwordOptionHelp() +
               tr("                      (the confirmation, without --yes, is then the next line)\n");
        break;
    default:
        text = tr("Usage: pavisor-cli COMMAND [OPTIONS]\n"
                  "\n"
                  "The command-line companion of Pavisor Key Manager.\n"
                  "\n"
                  "Commands:\n"
                  "  list                            the connected devices: serial number, name, versions\n"
                  "  backup --device SERIAL FILE     reads both device memories into a backup file\n"
                  "  check FILE | --device SERIAL    which memory images open with the master password\n"
                  "  export FILE | --device SERIAL --tab NAME --output OUT.csv\n"
                  "                                  writes one tab's records in CSV\n"
                  "  restore --device SERIAL FILE    writes a backup file's image to a device\n"
                  "\n"
                  "\"pavisor-cli COMMAND --help\" tells more about a command.\n");
        break;
    }
    return text + QLatin1Char('\n') + exitCodesHelp();
}
