#ifndef SIMULATOR_H
#define SIMULATOR_H

#include "DevicePortInfo.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// One device simulator (tools/simulator, flags in `pavisor_simulator --help`) run for a test, with
// its state folder (main.bin, backup.bin, name.bin, serial.bin, versions.bin) and the record of
// every byte it received in a temporary folder of its own. The state survives stop() and start()
// on the same object: unplugging and replugging one device. A simulator announces itself in
// $PAVISOR_SIMULATOR_DIR when the test's environment has it.
class Simulator
{
public:
    Simulator();
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // The simulator program built with the tests (empty when it was not built).
    static QString executablePath();

    // Starts it with `flags` (--state, --record and --exit-with-parent are added) and waits for its
    // ready line; false with the reason in errorString() on failure.
    bool start(const QStringList& flags = {});
    // SIGTERM and wait: it removes its descriptor, as when a device is unplugged.
    bool stop(int timeoutMs = 5000);
    // SIGKILL: a power cut; the descriptor stays behind.
    void kill();
    // Waits for it to exit on its own (after --power-cut-page, for example).
    bool waitForExit(int timeoutMs = 5000);
    bool isRunning() const;
    qint64 processId() const;
    QString errorString() const { return _errorString; }

    // From the ready line of the last start().
    QString portPath() const { return _portPath; }
    QString location() const { return _location; }
    // The running simulator's port with a Pavisor's identity (and its bridge's latency timer when it
    // plays one), to construct a Device without discovery.
    DevicePortInfo portInfo() const;

    // One stored item ("main.bin", ...); writing is for before start(), when the state is read.
    QByteArray stateFile(const QString& fileName) const;
    bool writeStateFile(const QString& fileName, const QByteArray& content);
    // Both memories: `main`, and `backup` or the same bytes when it is empty.
    bool writeMemories(const QByteArray& main, const QByteArray& backup = {});
    // How many of this process's descriptors are open on its port.
    int openDescriptorCount() const;

    // Every byte received since the start or the last clearRecord().
    QByteArray recordedBytes() const;
    void clearRecord();

private:
    std::unique_ptr<QTemporaryDir> _directory;
    std::unique_ptr<QProcess> _process;
    QString _errorString;
    QString _portPath;
    QString _location;
    QString _usbSerialNumber;
    QString _latencyTimer;
};

// Starts `simulator` with `flags` inside a test function, failing it with the reason.
#define START_SIMULATOR(simulator, ...)                                                                      \
    QVERIFY2((simulator).start(__VA_ARGS__), qPrintable((simulator).errorString()))

#endif
