#ifndef WINDOWBENCH_H
#define WINDOWBENCH_H

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <functional>

// What the runs that drive the main window against simulators share.

// Before the application object: offscreen unless told otherwise, the start menu's update check on
// a closed local port (never the real web site), and simulators announcing themselves in a folder
// of `directory`. False when that folder cannot be made.
inline bool prepareWindowBenchEnvironment(const QTemporaryDir& directory)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("PAVISOR_WEBSITE_URL", "http://127.0.0.1:9");
    const QString descriptors = directory.filePath(QStringLiteral("descriptors"));
    qputenv("PAVISOR_SIMULATOR_DIR", descriptors.toLocal8Bit());
    return directory.isValid() && QDir().mkpath(descriptors);
}

// Turns the event loop until `condition` holds, for at most `timeoutMs`: a sleeping wait would slow
// the write page (one page per turn) down a hundredfold.
inline bool waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition())
    {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

#endif
