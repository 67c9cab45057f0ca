#ifndef SIMULATORPROCESS_H
#define SIMULATORPROCESS_H

#include "DevicePortInfo.h"

#include <QProcess>
#include <QString>
#include <QStringList>

// The device simulator run by the benchmarks and the power-cut stress run, on a state folder
// that outlives it: starting it again on the same folder is plugging the same device back in.
class SimulatorProcess
{
public:
    explicit SimulatorProcess(const QString& stateDirectory) : _stateDirectory(stateDirectory)
    {
        _process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    ~SimulatorProcess() { stop(); }

    // Starts it with `flags` and waits for its ready line.
    bool start(const QStringList& flags = {})
    {
#ifdef PAVISOR_SIMULATOR
        _process.start(
            QStringLiteral(PAVISOR_SIMULATOR),
            QStringList{QStringLiteral("--state"), _stateDirectory, QStringLiteral("--exit-with-parent")} +
                flags);
        if (!_process.waitForStarted() || !_process.waitForReadyRead(10000))
            return false;
        const QString line = QString::fromUtf8(_process.readLine());
        _port = DevicePortInfo::fromDescriptor(
            QStringLiteral(
                "port=%1\nlocation=/dev/ttyUSB0\nvendor=1027\nproduct=24597\nserial=QRTAV-000001\n")
                .arg(line.section(QStringLiteral("port="), 1).section(QLatin1Char(' '), 0, 0).trimmed())
                .toUtf8());
        return !_port.isNull();
#else
        Q_UNUSED(flags);
        return false;
#endif
    }
    // Waits for it to exit on its own (a power cut); true as well when the event loop has already
    // seen it go.
    bool waitForExit(int timeoutMs = 10000)
    {
        return _process.state() == QProcess::NotRunning || _process.waitForFinished(timeoutMs);
    }
    void stop()
    {
        if (_process.state() == QProcess::NotRunning)
            return;
        _process.terminate();
        if (!_process.waitForFinished(5000))
            _process.kill();
        _process.waitForFinished();
    }
    const DevicePortInfo& portInfo() const
    {
        return _port;
    }

private:
    QString _stateDirectory;
    QProcess _process;
    DevicePortInfo _port;
};

#endif
