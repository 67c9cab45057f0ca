// pavisor-cli's backup and restore of a full device at the real line rate of a Pavisor (115200
// baud 8N1 behind a USB bridge), run as a user runs them, each next to its floor: the time its bytes
// take on the wire. A backup is one read of both memories; a restore reads both memories to plan
// its write, writes 1024 pages and reads both memories back to verify them.
#include "DemoContent.h"
#include "LineRate.h"
#include "SimulatorProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

#if defined(PAVISOR_SIMULATOR) && defined(PAVISOR_CLI)
namespace
{
using LineRate::MEMORY_READ_WIRE_BYTES;
using LineRate::SAVE_WRITE_WIRE_BYTES;
using LineRate::wireMs;
// A short answer (an acknowledge) waits for the bridge's latency timer.
constexpr double LATENCY_TIMER_MS = 16.0;
const QString PASSWORD = QStringLiteral("bench password");
const QString SERIAL = QStringLiteral("QRTAV-000001");

void report(const char* name, double value, const char* unit)
{
    std::printf("%s: %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

// Runs pavisor-cli to its end: its wall time in ms, or -1 when it failed.
double runCliMs(const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral(PAVISOR_CLI), arguments);
    if (!process.waitForStarted())
        return -1.0;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(600000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return -1.0;
    return double(clock.elapsed());
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

int lineRate()
{
    QTemporaryDir descriptors;
    QTemporaryDir state;
    QTemporaryDir files;
    qputenv("PAVISOR_SIMULATOR_DIR", QFile::encodeName(descriptors.path()));
    const QByteArray image = DemoContent::encryptedImage(DemoContent::generatedTabs(20, 100000), PASSWORD,
                                                         Security::ENCRYPTION_SCHEME_ID_2);
    if (image.isEmpty() || !writeFile(QDir(state.path()).filePath(QStringLiteral("main.bin")), image) ||
        !writeFile(QDir(state.path()).filePath(QStringLiteral("backup.bin")), image))
        return 1;
    SimulatorProcess simulator(state.path());
    if (!simulator.start({QStringLiteral("--line-rate"), QStringLiteral("--serial"), SERIAL}))
        return 1;

    const QString file = files.filePath(QStringLiteral("bench.pavisorbackup"));
    const double backupMs = runCliMs({QStringLiteral("backup"), QStringLiteral("--device"), SERIAL, file});
    if (backupMs < 0)
        return 1;
    const double backupFloorMs = wireMs(2 * MEMORY_READ_WIRE_BYTES);
    report("line_rate_cli_backup_ms", backupMs, "ms");
    report("line_rate_cli_backup_floor_ms", backupFloorMs, "ms");
    report("line_rate_cli_backup_ratio", backupMs / backupFloorMs, "x");

    const double restoreMs = runCliMs({QStringLiteral("restore"), QStringLiteral("--device"), SERIAL, file,
                                       QStringLiteral("--password-stdin"), QStringLiteral("--yes")},
                                      PASSWORD.toUtf8() + '\n');
    if (restoreMs < 0)
        return 1;
    const double writeFloorMs = wireMs(SAVE_WRITE_WIRE_BYTES);
    const double writeAndVerifyFloorMs = writeFloorMs + wireMs(2 * MEMORY_READ_WIRE_BYTES);
    const double withCheckReadFloorMs = writeAndVerifyFloorMs + wireMs(2 * MEMORY_READ_WIRE_BYTES);
    report("line_rate_cli_restore_ms", restoreMs, "ms");
    report("line_rate_cli_restore_floor_write_and_verify_ms", writeAndVerifyFloorMs, "ms");
    report("line_rate_cli_restore_floor_with_check_read_ms", withCheckReadFloorMs, "ms");
    report("line_rate_cli_restore_ratio_to_floor_with_check_read", restoreMs / withCheckReadFloorMs, "x");
    // Each selection and page write is acknowledged by one byte that waits for the latency timer.
    const double withLatencyTimerMs =
        withCheckReadFloorMs + (2 + 2 * Device::MEMORY_PAGE_COUNT) * LATENCY_TIMER_MS;
    report("line_rate_cli_restore_floor_with_check_read_and_latency_timer_ms", withLatencyTimerMs, "ms");
    report("line_rate_cli_restore_ratio_to_floor_with_latency_timer", restoreMs / withLatencyTimerMs, "x");
    qunsetenv("PAVISOR_SIMULATOR_DIR");
    return 0;
}
} // namespace
#endif

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
#if defined(PAVISOR_SIMULATOR) && defined(PAVISOR_CLI)
    if (lineRate() != 0)
    {
        std::fprintf(stderr, "bench_backup_restore: a run of pavisor-cli failed\n");
        return 1;
    }
    return 0;
#else
    std::printf("backup_restore_benchmark_skipped: 1 (simulator or pavisor-cli not built)\n");
    return 0;
#endif
}
