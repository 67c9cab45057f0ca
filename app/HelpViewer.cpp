#include "HelpViewer.h"

#include "Configuration.h"

#include <QProcess>

namespace
{
// Constructed before main() runs; its destruction at exit terminates a viewer still running.
QProcess helpViewerProcess;
} // namespace

QProcess& HelpViewer::process()
{
    return helpViewerProcess;
}

void HelpViewer::display(const QString& pageName)
{
    // A viewer that is starting or running only needs the name of the next page.
    if (helpViewerProcess.state() != QProcess::NotRunning)
    {
        helpViewerProcess.write((pageName + QStringLiteral("\n")).toLatin1());
        return;
    }

    const QString program = Configuration::getHelpViewerPath();
    const QStringList arguments = {QStringLiteral("/") + Configuration::getSystemLanguageString(),
                                   QStringLiteral("index.html"), pageName};
    // A viewer that fails to start is not reported: help is a convenience, never a blocker.
    helpViewerProcess.start(program, arguments, QIODevice::ReadWrite);
}
