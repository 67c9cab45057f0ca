// Opening a device through the real main window against the device simulator: a full device (about
// 130 KB of records) with the simulator unthrottled and paced like the real link, and images with
// thousands of tabs. Two instants are timed from the master password's OK: the records on screen
// (the main memory read and opened) and the end of the backup memory's read in the background.
// Each is printed next to its floor: the key derivation and decryption of the scheme that opens the
// image, plus the transfer of the main memory, or of both, by the device layer alone. At the line
// rate the time to records is also set against one memory's time on the wire.
#include "Configuration.h"
#include "DemoContent.h"
#include "Device.h"
#include "FormContentEditor.h"
#include "LineRate.h"
#include "SimulatorProcess.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace
{
const QString PASSWORD = QStringLiteral("benchmark password");

void report(const QString& name, double value, const char* unit)
{
    std::printf("%s: %.*f %s\n", qPrintable(name), std::strcmp(unit, "ratio") == 0 ? 3 : 1, value, unit);
    std::fflush(stdout);
}

// A simulator on a fresh state folder whose memories both hold `image`; started, it announces itself in
// $PAVISOR_SIMULATOR_DIR.
bool writeMemories(const QString& state, const QByteArray& image)
{
    if (!QDir().mkpath(state))
        return false;
    for (const char* name : {"main.bin", "backup.bin"})
    {
        QFile file(QDir(state).filePath(QLatin1String(name)));
        if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size())
            return false;
    }
    return true;
}

// One memory on the wire at the real line rate: 131072 bytes at 11520 bytes/s.
constexpr double ONE_MEMORY_WIRE_MS = LineRate::wireMs(Device::MEMORY_SIZE);

// Milliseconds from OK on the password page to the editor showing the device's tabs, and to the
// device being let go once its backup memory has arrived; -1 on failure.
struct OpenTimes
{
    double recordsMs = -1.0;
    double backupReadDoneMs = -1.0;
};

OpenTimes openThroughWindow(FormContentEditor& window, int expectedTabCount)
{
    OpenTimes times;
    window.findChild<QAction*>(QStringLiteral("actionOpenDevice"))->trigger();
    if (window.viewGetCurrent() != FormContentEditor::VIEW_ID_INSERT_READING_MASTER_PASSWORD)
        return times;
    window.findChild<QLineEdit*>(QStringLiteral("lineEditPasswordField"))->setText(PASSWORD);
    auto* ok = window.viewGetContent(FormContentEditor::VIEW_ID_INSERT_READING_MASTER_PASSWORD)
                   ->findChild<QPushButton*>(QStringLiteral("pushButtonOk"));
    ok->setEnabled(true);
    auto* tabWidget = window.findChild<QTabWidget*>(QStringLiteral("tabWidget"));
    QElapsedTimer clock;
    clock.start();
    ok->click();
    // The read page is up from the click on: the editor coming back is the records arriving.
    if (window.viewGetCurrent() != FormContentEditor::VIEW_ID_READ_DEVICE)
        return times;
    double recordsMs = -1.0;
    while (window.viewGetCurrent() != FormContentEditor::VIEW_ID_CONTENT_EDITOR ||
           Device::getSelectedDevice() != nullptr)
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (recordsMs < 0.0 && window.viewGetCurrent() == FormContentEditor::VIEW_ID_CONTENT_EDITOR)
            recordsMs = clock.nsecsElapsed() / 1e6;
        if (clock.elapsed() > 600000)
            return times;
    }
    const double doneMs = clock.nsecsElapsed() / 1e6;
    if (tabWidget->count() != expectedTabCount)
        return times;
    times.recordsMs = recordsMs < 0.0 ? doneMs : recordsMs;
    times.backupReadDoneMs = doneMs;
    return times;
}

// Worst milliseconds to bring a tab never shown before to the screen, until the window is idle again,
// right after the open: before the tables of other tabs are built in the background.
double worstFirstTabSwitch(QTabWidget* tabWidget)
{
    double worst = 0.0;
    const int count = tabWidget->count();
    for (int tabIndex : {count - 1, count / 2, 1, count / 3, count - 2})
    {
        QElapsedTimer clock;
        clock.start();
        tabWidget->setCurrentIndex(tabIndex);
        QCoreApplication::processEvents();
        worst = std::max(worst, clock.nsecsElapsed() / 1e6);
    }
    return worst;
}

// The floors of an open: decrypting the image (key derivation included) and reading the main
// memory with the device layer alone, then the backup memory as well.
OpenTimes openFloor(const SimulatorProcess& device, const QByteArray& image,
                    Security::EncryptionSchemeId scheme)
{
    OpenTimes floor;
    QByteArray copy = image;
    QElapsedTimer clock;
    clock.start();
    if (Security::decryptMemoryData(PASSWORD, scheme, reinterpret_cast<unsigned char*>(copy.data())) != 0)
        return floor;
    Device reader(device.portInfo());
    if (reader.open() != 0 || reader.readWholeMemory(Device::MEMORY_ID_MAIN) != 0)
        return floor;
    const double recordsMs = clock.nsecsElapsed() / 1e6;
    if (reader.readWholeMemory(Device::MEMORY_ID_BACKUP) != 0)
        return floor;
    reader.close();
    floor.recordsMs = recordsMs;
    floor.backupReadDoneMs = clock.nsecsElapsed() / 1e6;
    return floor;
}
} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // Nothing here asks the real web site: the start menu checks for an update.
    qputenv("PAVISOR_WEBSITE_URL", "http://127.0.0.1:9");
#ifndef PAVISOR_SIMULATOR
    std::printf("open_benchmark_skipped: 1 (simulator not built)\n");
    return 0;
#else
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toLocal8Bit());
    QTemporaryDir descriptors;
    qputenv("PAVISOR_SIMULATOR_DIR", descriptors.path().toLocal8Bit());
    Configuration::initialize();
    FormContentEditor window;
    pointerFormContentEditor = &window;
    window.show();

    // Paced like the real link: packets, latency timer and 115200 baud.
    const QStringList lineRate = {QStringLiteral("--line-rate")};

    struct Run
    {
        QString name;
        int tabCount;
        int storeBytes;
        QStringList flags;
    };
    const QList<Run> runs = {{QStringLiteral("full_device"), 8, 130000, {}},
                             {QStringLiteral("tabs_1000"), 1000, 0, {}},
                             {QStringLiteral("tabs_5000"), 5000, 0, {}},
                             {QStringLiteral("full_device_line_rate"), 8, 130000, lineRate}};
    // An argument picks the runs whose name contains it.
    const QString only = application.arguments().value(1);
    for (const Run& run : runs)
    {
        if (!run.name.contains(only))
            continue;
        const QByteArray image =
            DemoContent::encryptedImage(DemoContent::generatedTabs(run.tabCount, run.storeBytes), PASSWORD,
                                        Security::ENCRYPTION_SCHEME_ID_2);
        QTemporaryDir state;
        SimulatorProcess device(state.path());
        if (image.isEmpty() || !writeMemories(state.path(), image) || !device.start(run.flags))
        {
            std::fprintf(stderr, "bench_open: cannot set up %s\n", qPrintable(run.name));
            return 1;
        }
        // Twice: the second open also replaces the tabs of the first.
        // The first open replaces what the previous run left in the window (thousands of tabs, say),
        // the second the same device's records.
        double recordsMs[2] = {};
        for (int open = 0; open < 2; open++)
        {
            const QString name =
                QStringLiteral("open_") + run.name + (open == 0 ? QString() : QStringLiteral("_again"));
            const OpenTimes times = openThroughWindow(window, run.tabCount);
            recordsMs[open] = times.recordsMs;
            report(name + QStringLiteral("_records_ms"), times.recordsMs, "ms");
            report(name + QStringLiteral("_backup_read_done_ms"), times.backupReadDoneMs, "ms");
        }
        report(QStringLiteral("switch_to_unshown_tab_right_after_open_%1_worst_ms").arg(run.name),
               worstFirstTabSwitch(window.findChild<QTabWidget*>(QStringLiteral("tabWidget"))), "ms");
        const OpenTimes floor = openFloor(device, image, Security::ENCRYPTION_SCHEME_ID_2);
        report(QStringLiteral("open_%1_records_floor_ms").arg(run.name), floor.recordsMs, "ms");
        report(QStringLiteral("open_%1_backup_read_done_floor_ms").arg(run.name), floor.backupReadDoneMs,
               "ms");
        if (run.flags.contains(QStringLiteral("--line-rate")))
        {
            // The records should take little more than the main memory's own time on the wire.
            report(QStringLiteral("open_%1_one_memory_wire_ms").arg(run.name), ONE_MEMORY_WIRE_MS, "ms");
            report(QStringLiteral("open_%1_records_over_one_memory_wire").arg(run.name),
                   recordsMs[0] / ONE_MEMORY_WIRE_MS, "ratio");
            report(QStringLiteral("open_%1_again_records_over_one_memory_wire").arg(run.name),
                   recordsMs[1] / ONE_MEMORY_WIRE_MS, "ratio");
        }
    }
    Device::releaseSelectedDevice();
    return 0;
#endif
}
