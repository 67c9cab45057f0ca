#include "Simulator.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>

namespace
{
const QString STATE_FOLDER = QStringLiteral("state");
const QString RECORD_FILE = QStringLiteral("received.bin");
constexpr int READY_TIMEOUT_MS = 10000;

// The value of `key=` in the ready line ("ready port=... location=... serial=...").
QString readyLineField(const QString& line, const QString& key)
{
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& word : words)
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
    if (isRunning())
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

void Simulator::setDescriptorDirectory(const QString& directory)
{
    _descriptorDirectory = directory;
}

bool Simulator::start(const QStringList& flags)
{
    if (isRunning())
    {
        _errorString = QStringLiteral("already running");
        return false;
    }
    if (executablePath().isEmpty() || !_directory->isValid())
    {
        _errorString = QStringLiteral("no simulator program or no temporary folder");
        return false;
    }

    _process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (_descriptorDirectory.has_value())
    {
        if (_descriptorDirectory->isEmpty())
            environment.remove(QStringLiteral("PAVISOR_SIMULATOR_DIR"));
        else
            environment.insert(QStringLiteral("PAVISOR_SIMULATOR_DIR"), *_descriptorDirectory);
    }
    _process->setProcessEnvironment(environment);
    _process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    _process->start(executablePath(),
                    QStringList{QStringLiteral("--state"), stateDirectory(), QStringLiteral("--record"),
                                recordFilePath(), QStringLiteral("--exit-with-parent")}
                        << flags);
    if (!_process->waitForStarted(READY_TIMEOUT_MS))
    {
        _errorString = QStringLiteral("cannot start: ") + _process->errorString();
        return false;
    }

    QDeadlineTimer deadline(READY_TIMEOUT_MS);
    while (!_process->canReadLine())
    {
        if (_process->state() != QProcess::Running || deadline.hasExpired())
        {
            _errorString = QStringLiteral("no ready line (flags: %1)").arg(flags.join(QLatin1Char(' ')));
            kill();
            return false;
        }
        _process->waitForReadyRead(100);
    }
    const QString line = QString::fromUtf8(_process->readLine()).trimmed();
    _portPath = readyLineField(line, QStringLiteral("port"));
    _location = readyLineField(line, QStringLiteral("location"));
    _usbSerialNumber = readyLineField(line, QStringLiteral("serial"));
    if (!line.startsWith(QStringLiteral("ready ")) || _portPath.isEmpty())
    {
        _errorString = QStringLiteral("unexpected first line: ") + line;
        kill();
        return false;
    }
    return true;
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
    if (!isRunning())
        return true;
    return _process->waitForFinished(timeoutMs);
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
    return DevicePortInfo::fromDescriptor(
        QStringLiteral("port=%1\nlocation=%2\nvendor=1027\nproduct=24597\nserial=%3\n")
            .arg(_portPath, _location, _usbSerialNumber)
            .toUtf8());
}

QString Simulator::stateDirectory() const
{
    return _directory->filePath(STATE_FOLDER);
}

QByteArray Simulator::stateFile(const QString& fileName) const
{
    QFile file(QDir(stateDirectory()).filePath(fileName));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool Simulator::writeStateFile(const QString& fileName, const QByteArray& content)
{
    if (!QDir().mkpath(stateDirectory()))
        return false;
    QFile file(QDir(stateDirectory()).filePath(fileName));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

QString Simulator::recordFilePath() const
{
    return _directory->filePath(RECORD_FILE);
}

QByteArray Simulator::recordedBytes() const
{
    QFile file(recordFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void Simulator::clearRecord()
{
    // The simulator appends, so a truncated record simply starts again from empty.
    QFile::resize(recordFilePath(), 0);
}
