#include "Simulator.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <algorithm>

namespace
{
constexpr int READY_TIMEOUT_MS = 10000;

// The value of `key=` in the ready line ("ready port=... location=... serial=... [latency_timer=...]").
QString readyLineField(const QString& line, const QString& key)
{
    for (const QString& word : line.split(QLatin1Char(' '), Qt::SkipEmptyParts))
    {
        if (word.startsWith(key + QLatin1Char('=')))
            return word.mid(key.size() + 1);
    }
    return QString();
}
} // namespace

Simulator::Simulator() : _directory(std::make_unique<QTemporaryDir>()) {}

Simulator::~Simulator()
{
    kill();
}

QString Simulator::executablePath()
{
#ifdef PAVISOR_SIMULATOR
    return QStringLiteral(PAVISOR_SIMULATOR);
#else
    return QString();
#endif
}

bool Simulator::start(const QStringList& flags)
{
    if (isRunning() || executablePath().isEmpty() || !_directory->isValid())
    {
        _errorString = QStringLiteral("already running, or no simulator program or temporary folder");
        return false;
    }
    _process = std::make_unique<QProcess>();
    _process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    _process->start(executablePath(),
                    QStringList{QStringLiteral("--state"), _directory->filePath("state"),
                                QStringLiteral("--record"), _directory->filePath("received.bin"),
                                QStringLiteral("--exit-with-parent")}
                        << flags);
    QDeadlineTimer deadline(READY_TIMEOUT_MS);
    while (!_process->canReadLine() && _process->state() != QProcess::NotRunning && !deadline.hasExpired())
        _process->waitForReadyRead(100);
    const QString line = QString::fromUtf8(_process->readLine()).trimmed();
    _portPath = readyLineField(line, QStringLiteral("port"));
    _location = readyLineField(line, QStringLiteral("location"));
    _usbSerialNumber = readyLineField(line, QStringLiteral("serial"));
    _latencyTimer = readyLineField(line, QStringLiteral("latency_timer"));
    if (line.startsWith(QStringLiteral("ready ")) && !_portPath.isEmpty())
        return true;
    _errorString = QStringLiteral("no ready line (flags: %1; %2): %3")
                       .arg(flags.join(QLatin1Char(' ')), _process->errorString(), line);
    kill();
    return false;
}

bool Simulator::stop(int timeoutMs)
{
    if (!isRunning())
        return true;
    _process->terminate();
    if (_process->waitForFinished(timeoutMs))
        return true;
    kill();
    return false;
}

void Simulator::kill()
{
    if (!isRunning())
        return;
    _process->kill();
    _process->waitForFinished(5000);
}

bool Simulator::waitForExit(int timeoutMs)
{
    return !isRunning() || _process->waitForFinished(timeoutMs);
}

bool Simulator::isRunning() const
{
    return _process && _process->state() != QProcess::NotRunning;
}

qint64 Simulator::processId() const
{
    return isRunning() ? _process->processId() : 0;
}

DevicePortInfo Simulator::portInfo() const
{
    QString descriptor = QStringLiteral("port=%1\nlocation=%2\nvendor=1027\nproduct=24597\nserial=%3\n")
                             .arg(_portPath, _location, _usbSerialNumber);
    if (!_latencyTimer.isEmpty())
        descriptor += QStringLiteral("latency_timer=%1\n").arg(_latencyTimer);
    return DevicePortInfo::fromDescriptor(descriptor.toUtf8());
}

QByteArray Simulator::stateFile(const QString& fileName) const
{
    QFile file(QDir(_directory->filePath("state")).filePath(fileName));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Simulator::writeStateFile(const QString& fileName, const QByteArray& content)
{
    QFile file(QDir(_directory->filePath("state")).filePath(fileName));
    return QDir().mkpath(_directory->filePath("state")) &&
           file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

bool Simulator::writeMemories(const QByteArray& main, const QByteArray& backup)
{
    return writeStateFile(QStringLiteral("main.bin"), main) &&
           writeStateFile(QStringLiteral("backup.bin"), backup.isEmpty() ? main : backup);
}

int Simulator::openDescriptorCount() const
{
    const QFileInfoList descriptors = QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System);
    return int(std::count_if(descriptors.begin(), descriptors.end(),
                             [this](const QFileInfo& entry) { return entry.symLinkTarget() == _portPath; }));
}

QByteArray Simulator::recordedBytes() const
{
    QFile file(_directory->filePath("received.bin"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Simulator::clearRecord()
{
    // The simulator appends, so a truncated record simply starts again from empty.
    QFile::resize(_directory->filePath("received.bin"), 0);
}
