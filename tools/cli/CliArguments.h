#ifndef CLIARGUMENTS_H
#define CLIARGUMENTS_H

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <optional>

// The command line of pavisor-cli: which command, its options and files, and the help texts.
class CliArguments
{
    Q_DECLARE_TR_FUNCTIONS(CliArguments)

public:
    // The process exit codes, documented in every help text and the README.
    enum ExitCode
    {
        EXIT_CODE_SUCCESS = 0,
        EXIT_CODE_USAGE = 1,
        EXIT_CODE_DEVICE_OR_FILE = 2,
        EXIT_CODE_WRONG_PASSWORD = 3,
        EXIT_CODE_VERIFICATION_FAILED = 4
    };

    enum Command
    {
        COMMAND_NONE,
        COMMAND_LIST,
        COMMAND_BACKUP,
        COMMAND_CHECK,
        COMMAND_EXPORT,
        COMMAND_RESTORE
    };

    Command command = COMMAND_NONE;
    bool isHelpRequested = false;
    std::optional<QString> device;
    std::optional<QString> tab;
    std::optional<QString> output;
    bool isPasswordFromStandardInput = false;
    bool isConfirmed = false;
    QStringList files;

    // Reads the arguments (the program name first, as QCoreApplication::arguments() gives them):
    // 0, or -1 with errorText saying what is wrong. A command's --help is valid whatever follows.
    static int parse(const QStringList& arguments, CliArguments* parsed, QString& errorText);

    // The help of one command, or the general help for COMMAND_NONE.
    static QString help(Command command);
    // The command's name as typed ("restore").
    static QString commandName(Command command);
};

#endif
