// pavisor-cli: the command-line companion of the application, for backups, checks, exports and
// restores, built on the same libraries without Qt Widgets.
#include "CliCommands.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pavisor-cli"));
    // The application's French catalogue is compiled in; any other language stays in English.
    QTranslator translator;
    if (QLocale::system().language() == QLocale::French &&
        translator.load(QStringLiteral(":/Translations/fr.qm")))
        QCoreApplication::installTranslator(&translator);
    return CliCommands::run(application.arguments());
}
