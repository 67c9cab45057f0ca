#ifndef SIMULATOR_H
#define SIMULATOR_H

#include "DevicePortInfo.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>

// One device simulator (the pavisor_simulator program) run for a test.
//
//     Simulator simulator;
//     QVERIFY2(simulator.start({"--wrong-ack-page", "3"}), qPrintable(simulator.errorString()));
//     Device device(simulator.portInfo());
//     ...
//     QCOMPARE(simulator.recordedBytes(), expectedRequestBytes);
//
// Each Simulator owns a temporary folder holding the state folder (main.bin, backup.bin, name.bin,
// serial.bin, versions.bin) and the record of every byte the simulator received. The state survives
// stop() and start() on the same object, which plays unplugging and replugging one device. The
// destructor kills a simulator still running.
//
// Discovery: a simulator writes its descriptor into $PAVISOR_SIMULATOR_DIR of its environment,
// which is the test's own environment unless setDescriptorDirectory() says otherwise.
//
// The flags most tests need (all in `pavisor_simulator --help`): --line-rate (a real link's
// pace, 11.4 s a memory); --wrong-ack-command C[,A] (refuse command C, or only with first
// argument A: "1,3" LED blink, "1,1" LED stop, "2,0"/"2,1" main/backup selection, "9" name);
// --silent-command C, --late-command C,MS, --truncate-answer C,N, --surplus-bytes N;
// --wrong-ack-page N, --stop-after-pages N; --power-cut-page N and --power-cut-backup-page N
// (the simulator exits in the middle of that page of that memory, the rest of the page erased);
// --read-back-differs main|backup,OFFSET (once that memory has been written, its reads come back
// with that byte inverted); --backup-differs, --no-name, --no-serial.
class Simulator
{
public:
    Simulator();
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // The simulator program built with the tests (empty when it was not built).
    static QString executablePath();

    // Folder for the descriptor file (sets PAVISOR_SIMULATOR_DIR for the simulator only); an empty
    // text leaves the variable out. Takes effect at the next start().
    void setDescriptorDirectory(const QString& directory);

    // Starts the simulator with `flags` (see `pavisor_simulator --help`); --state, --record and
    // --exit-with-parent are added. Waits for its ready line. False on failure, with the reason in
    // errorString().
    bool start(const QStringList& flags = {});
    // Asks the simulator to exit (SIGTERM) and waits: it removes its descriptor, as when a device
    // is unplugged. True when it exited in time.
    bool stop(int timeoutMs = 5000);
    // Kills the simulator at once (SIGKILL): a power cut; the descriptor stays behind.
    void kill();
    // Waits for the simulator to exit on its own (for example after --power-cut-page).
    bool waitForExit(int timeoutMs = 5000);
    bool isRunning() const;
    qint64 processId() const;
    QString errorString() const { return _errorString; }

    // From the ready line of the last start().
    QString portPath() const { return _portPath; }
    QString location() const { return _location; }
    QString usbSerialNumber() const { return _usbSerialNumber; }
    // A description of the running simulator's port with the identity of a Pavisor, for
    // constructing a Device without going through discovery.
    DevicePortInfo portInfo() const;

    QString stateDirectory() const;
    // Reads or replaces one stored item ("main.bin", "name.bin", ...). Writing is meant for before
    // start(): the simulator only reads its state when it starts.
    QByteArray stateFile(const QString& fileName) const;
    bool writeStateFile(const QString& fileName, const QByteArray& content);

    // Every byte received since the start or since the last clearRecord().
    QString recordFilePath() const;
    QByteArray recordedBytes() const;
    void clearRecord();

private:
    std::unique_ptr<QTemporaryDir> _directory;
    std::unique_ptr<QProcess> _process;
    std::optional<QString> _descriptorDirectory;
    QString _errorString;
    QString _portPath;
    QString _location;
    QString _usbSerialNumber;
};

#endif
