#include "CliTerminal.h"

#include "Wipe.h"

#include <QFile>
#include <array>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace
{
// Longest line read from standard input (a password or an answer), end of line included.
constexpr int LINE_CAPACITY = 4096;
// Redraws of the progress line, at most.
constexpr qint64 PROGRESS_INTERVAL_MS = 250;

// The terminal settings to put back when a signal ends the program while echo is off.
struct termios savedTerminalSettings;
volatile sig_atomic_t isEchoOff = 0;

void restoreEchoAndRaise(int signalNumber)
{
    if (isEchoOff != 0)
        tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminalSettings);
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

int writeAll(int fd, const char* data, qsizetype size)
{
    while (size > 0)
    {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return -1;
        data += written;
        size -= written;
    }
    return 0;
}

void writeText(int fd, const QString& text, bool isLineEnded)
{
    QByteArray bytes = text.toUtf8();
    if (isLineEnded && !bytes.endsWith('\n'))
        bytes.append('\n');
    writeAll(fd, bytes.constData(), bytes.size());
}

// One line of standard input, read byte by byte so that nothing after it is consumed, into a fixed
// buffer that the caller wipes: its length without the line end, or -1 at the end of input with
// nothing read, or -2 when the line is too long or reading fails.
int readLine(std::array<char, LINE_CAPACITY>& line)
{
    int length = 0;
    bool isAnythingRead = false;
    for (;;)
    {
        char character = 0;
        const ssize_t result = ::read(STDIN_FILENO, &character, 1);
        if (result < 0 && errno == EINTR)
            continue;
        if (result < 0)
            return -2;
        if (result == 0)
            return isAnythingRead ? length : -1;
        isAnythingRead = true;
        if (character == '\n')
            break;
        if (length == LINE_CAPACITY)
            return -2;
        line[size_t(length++)] = character;
    }
    if (length > 0 && line[size_t(length - 1)] == '\r')
        length--;
    return length;
}

QString formatDuration(qint64 seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
} // namespace

bool CliTerminal::isStandardInputTerminal()
{
    return isatty(STDIN_FILENO) != 0;
}

bool CliTerminal::isStandardErrorTerminal()
{
    return isatty(STDERR_FILENO) != 0;
}

bool CliTerminal::isTerminalPath(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status = {};
    if (::stat(name.constData(), &status) != 0 || !S_ISCHR(status.st_mode))
        return false;
    // Opened without becoming its controlling terminal and without waiting for a modem line.
    const int fd = ::open(name.constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return true;
    const bool isTerminal = isatty(fd) != 0;
    ::close(fd);
    return isTerminal;
}

void CliTerminal::print(const QString& text)
{
    writeText(STDOUT_FILENO, text, true);
}

void CliTerminal::printError(const QString& text)
{
    writeText(STDERR_FILENO, text, true);
}

int CliTerminal::readPassword(bool isFromStandardInput, QString& password, QString& errorText)
{
    const bool isTerminal = !isFromStandardInput;
    if (isTerminal && !isStandardInputTerminal())
    {
        errorText = tr("Standard input is not a terminal to ask the master password on: give it on "
                       "standard input with --password-stdin.");
        return -1;
    }

    struct termios settings = {};
    if (isTerminal)
    {
        writeText(STDERR_FILENO, tr("Master password: "), false);
        if (tcgetattr(STDIN_FILENO, &savedTerminalSettings) == 0)
        {
            settings = savedTerminalSettings;
            settings.c_lflag &= ~tcflag_t(ECHO);
            isEchoOff = 1;
            std::signal(SIGINT, restoreEchoAndRaise);
            std::signal(SIGTERM, restoreEchoAndRaise);
            std::signal(SIGHUP, restoreEchoAndRaise);
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &settings);
        }
    }

    std::array<char, LINE_CAPACITY> line;
    const int length = readLine(line);
    if (isEchoOff != 0)
    {
        tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminalSettings);
        isEchoOff = 0;
        // The line feed typed was not echoed.
        writeText(STDERR_FILENO, QStringLiteral("\n"), false);
    }
    if (length >= 0)
        password = QString::fromUtf8(line.data(), length);
    wipeMemory(line.data(), line.size());
    if (length == -1)
        errorText = tr("No master password was given: standard input ended.");
    else if (length < 0)
        errorText = tr("The master password could not be read: longer than %1 bytes, or a read error.")
                        .arg(LINE_CAPACITY);
    return length >= 0 ? 0 : -1;
}

bool CliTerminal::confirm(const QString& question)
{
    writeText(STDERR_FILENO, question + QLatin1Char(' '), false);
    std::array<char, LINE_CAPACITY> line;
    const int length = readLine(line);
    const QString answer =
        length > 0 ? QString::fromUtf8(line.data(), length).trimmed().toLower() : QString();
    if (length < 0)
        writeText(STDERR_FILENO, QStringLiteral("\n"), false);
    return answer == QLatin1String("y") || answer == QLatin1String("yes") ||
           answer == tr("y", "short answer to a yes/no question") ||
           answer == tr("yes", "answer to a yes/no question");
}

CliProgress::CliProgress(const QString& label, qint64 totalBytes)
    : _label(label), _totalBytes(totalBytes), _isShown(CliTerminal::isStandardErrorTerminal())
{
    _clock.start();
}

CliProgress::~CliProgress()
{
    finish();
}

void CliProgress::update(qint64 doneBytes)
{
    if (!_isShown)
        return;
    const qint64 now = _clock.elapsed();
    if (_lastDrawMs >= 0 && now - _lastDrawMs < PROGRESS_INTERVAL_MS && doneBytes < _totalBytes)
        return;
    _lastDrawMs = now;
    _draw(doneBytes);
}

void CliProgress::finish()
{
    if (_isLineOpen)
        writeText(STDERR_FILENO, QStringLiteral("\n"), false);
    _isLineOpen = false;
}

void CliProgress::_draw(qint64 doneBytes)
{
    const qint64 elapsedMs = _clock.elapsed();
    const int percent = _totalBytes > 0 ? int(doneBytes * 100 / _totalBytes) : 100;
    const double bytesPerSecond = elapsedMs > 0 ? doneBytes * 1000.0 / elapsedMs : 0.0;
    const QString timeLeft = bytesPerSecond > 0 && elapsedMs >= 500
                                 ? formatDuration(qint64((_totalBytes - doneBytes) / bytesPerSecond + 0.5))
                                 : QStringLiteral("-:--");
    const QString line = tr("%1: %2%, %3 bytes/s, %4 left")
                             .arg(_label)
                             .arg(percent, 3)
                             .arg(qint64(bytesPerSecond + 0.5))
                             .arg(timeLeft);
    // Spaces wipe the end of a longer line drawn before.
    writeText(STDERR_FILENO, QLatin1Char('\r') + line + QStringLiteral("   "), false);
    _isLineOpen = true;
}
