#ifndef CLICOMMANDS_H
#define CLICOMMANDS_H

#include "CliArguments.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QStringList>

// The commands of pavisor-cli. Each returns the process exit code (CliArguments::ExitCode).
class CliCommands
{
    Q_DECLARE_TR_FUNCTIONS(CliCommands)

public:
    // Parses the arguments and runs the command they name.
    static int run(const QStringList& arguments);

private:
    static int _list();
    static int _backup(const CliArguments& arguments);
    static int _check(const CliArguments& arguments);
    static int _export(const CliArguments& arguments);
    static int _restore(const CliArguments& arguments);
    // Prints what each image of `images` (main, backup) holds for the password and whether they
    // agree: EXIT_CODE_SUCCESS when one opens.
    static int _report(const QString& title, const QString& password, const QByteArray images[2]);
};

#endif
