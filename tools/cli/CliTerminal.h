#ifndef CLITERMINAL_H
#define CLITERMINAL_H

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>

// What pavisor-cli says and asks: messages on standard output and error, the master password
// (typed without echo, or one line of standard input), confirmations, and progress.
class CliTerminal
{
    Q_DECLARE_TR_FUNCTIONS(CliTerminal)

public:
    static bool isStandardInputTerminal();
    static bool isStandardErrorTerminal();
    // Whether writing to `path` would land on a terminal.
    static bool isTerminalPath(const QString& path);

    // UTF-8 on standard output and standard error; a message gets its line feed when it lacks one.
    static void print(const QString& text);
    static void printError(const QString& text);

    // Reads the master password into `password`: from the terminal without echo (the prompt on
    // standard error), or the first line of standard input when `isFromStandardInput`. 0, or -1 with
    // errorText set (no terminal to ask on, end of input). The caller wipes the password.
    static int readPassword(bool isFromStandardInput, QString& password, QString& errorText);
    // Asks `question` on standard error and reads one line of standard input: true for yes only.
    static bool confirm(const QString& question);
};

// Progress of one device run on standard error, only when it is a terminal: percent, bytes per
// second and time left, redrawn at most a few times per second on one line.
class CliProgress
{
    Q_DECLARE_TR_FUNCTIONS(CliProgress)

public:
    CliProgress(const QString& label, qint64 totalBytes);
    ~CliProgress();
    CliProgress(const CliProgress&) = delete;
    CliProgress& operator=(const CliProgress&) = delete;

    void update(qint64 doneBytes);
    // Ends the line (also done when the object goes).
    void finish();

private:
    void _draw(qint64 doneBytes);

    QString _label;
    qint64 _totalBytes;
    bool _isShown;
    bool _isLineOpen = false;
    QElapsedTimer _clock;
    qint64 _lastDrawMs = -1;
};

#endif
