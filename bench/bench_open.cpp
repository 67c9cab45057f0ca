// Opening a device through the real main window, from the master password's OK to the editor
// showing the records, against the device simulator: a full device (about 130 KB of records) with
// the simulator unthrottled and paced like the real link, and images with thousands of tabs. Each
// figure is printed next to its floor: the key derivation and decryption of the scheme that opens
// the image, plus the transfer of both memories by the device layer alone.
#include "Configuration.h"
#include "DemoContent.h"
#include "Device.h"
#include "FormContentEditor.h"
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

namespace
{
const QString PASSWORD = QStringLiteral("benchmark password");

void report(const QString& name, double value, const char* unit)
{
    std::printf("%s: %.1f %s\n", qPrintable(name), value, unit);
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

// Milliseconds from OK on the password page to the editor showing the device's tabs; -1 on failure.
double openThroughWindow(FormContentEditor& window, int expectedTabCount)
{
    window.findChild<QAction*>(QStringLiteral("actionOpenDevice"))->trigger();
    if (window.viewGetCurrent() != FormContentEditor::VIEW_ID_INSERT_READING_MASTER_PASSWORD)
        return -1.0;
    window.findChild<QLineEdit*>(QStringLiteral("lineEditPasswordField"))->setText(PASSWORD);
    auto* ok = window.viewGetContent(FormContentEditor::VIEW_ID_INSERT_READING_MASTER_PASSWORD)
                   ->findChild<QPushButton*>(QStringLiteral("pushButtonOk"));
    ok->setEnabled(true);
    auto* tabWidget = window.findChild<QTabWidget*>(QStringLiteral("tabWidget"));
    QElapsedTimer clock;
    clock.start();
    ok->click();
    while (window.viewGetCurrent() != FormContentEditor::VIEW_ID_CONTENT_EDITOR ||
           Device::getSelectedDevice() != nullptr)
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (clock.elapsed() > 600000)
            return -1.0;
    }
    const double elapsed = clock.nsecsElapsed() / 1e6;
    return tabWidget->count() == expectedTabCount ? elapsed : -1.0;
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

// The floor of an open: decrypting the image (key derivation included) and reading both memories
// with the device layer alone.
double openFloor(const SimulatorProcess& device, const QByteArray& image, Security::EncryptionSchemeId scheme)
{
    QByteArray copy = image;
    QElapsedTimer clock;
    clock.start();
    if (Security::decryptMemoryData(PASSWORD, scheme, reinterpret_cast<unsigned char*>(copy.data())) != 0)
        return -1.0;
    Device reader(device.portInfo());
    if (reader.open() != 0 || reader.readWholeMemory(Device::MEMORY_ID_MAIN) != 0 ||
        reader.readWholeMemory(Device::MEMORY_ID_BACKUP) != 0)
        return -1.0;
    reader.close();
    return clock.nsecsElapsed() / 1e6;
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
        report(QStringLiteral("open_%1_ms").arg(run.name), openThroughWindow(window, run.tabCount), "ms");
        report(QStringLiteral("open_%1_again_ms").arg(run.name), openThroughWindow(window, run.tabCount),
               "ms");
        report(QStringLiteral("switch_to_unshown_tab_right_after_open_%1_worst_ms").arg(run.name),
               worstFirstTabSwitch(window.findChild<QTabWidget*>(QStringLiteral("tabWidget"))), "ms");
        report(QStringLiteral("open_%1_floor_ms").arg(run.name),
               openFloor(device, image, Security::ENCRYPTION_SCHEME_ID_2), "ms");
    }
    Device::releaseSelectedDevice();
    return 0;
#endif
}
