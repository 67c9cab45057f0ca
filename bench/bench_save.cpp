// Wall time of a whole save through the main window against the device simulator: the "Save"
// entry, the confirmation answered at once, the preparation of the image (random fill, store
// encoding, scheme 2 encryption), the 1024 page writes and the verification read of both
// memories, up to the notice that the save worked. First unthrottled, then paced at the line rate of a
// real device's USB bridge, once with the bridge's default 16 ms latency timer and once with the
// 1 ms that the Linux udev rule sets, each set against the save's time on the wire (skipped with
// --unthrottled-only, or when the simulator cannot pace).
#include "Configuration.h"
#include "Device.h"
#include "FormContentEditor.h"
#include "LineRate.h"
#include "PasswordStoreCodec.h"
#include "PasswordTable.h"
#include "SimulatorProcess.h"
#include "ViewBase.h"
#include "ViewContentReadDevice.h"
#include "ViewContentWriteDevice.h"
#include "WindowBench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

namespace
{
void report(const QString& name, double value, const char* unit)
{
    std::printf("%s: %.3f %s\n", qPrintable(name), value, unit);
}
} // namespace

class SaveBenchmark
{
public:
    explicit SaveBenchmark(FormContentEditor* editor) : _editor(editor) {}

    // A store close to the capacity: tabCount tabs of recordsPerTab records of about 100 bytes.
    int fill(int tabCount, int recordsPerTab)
    {
        for (int tabIndex = 0; tabIndex < tabCount; tabIndex++)
        {
            PasswordTable* table = _editor->_createEmptyTab(QStringLiteral("Tab %1").arg(tabIndex));
            for (int record = 0; record < recordsPerTab; record++)
            {
                PasswordTable::Password password;
                for (int field = 0; field < PasswordTable::PASSWORD_DATA_IDS_COUNT; field++)
                    password.data[field] =
                        QStringLiteral("Record %1.%2 field %3").arg(tabIndex).arg(record).arg(field);
                table->passwords.append(password);
            }
            table->fillTableWithPasswords();
        }
        _editor->_masterPassword = QStringLiteral("Benchmark master password");
        _editor->_isMasterPasswordKnown = true;
        _editor->_setUnsavedDataPresent(true);
        std::unique_ptr<unsigned char[]> image(new unsigned char[Device::MEMORY_SIZE]);
        const int freeBytes = _editor->_encodePasswordsToMemoryFormat(image.get());
        return freeBytes < 0 ? -1 : PasswordStoreCodec::STORE_CAPACITY - freeBytes;
    }

    // The whole save's wall time in ms, or -1 when it did not complete.
    double run(const QString& prefix)
    {
        const auto isMessageBoxShown = [this]()
        { return _editor->viewGetCurrent() == FormContentEditor::VIEW_ID_MESSAGE_BOX_DIALOG; };
        QWidget* messageBox = _editor->viewGetContent(FormContentEditor::VIEW_ID_MESSAGE_BOX_DIALOG);
        QElapsedTimer clock;
        double writtenMs = -1.0;
        double readMs = -1.0;
        QObject context;
        QObject::connect(static_cast<ViewContentWriteDevice*>(
                             _editor->viewGetContent(FormContentEditor::VIEW_ID_WRITE_DEVICE)),
                         &ViewContentWriteDevice::writeFinished, &context,
                         [&]() { writtenMs = clock.nsecsElapsed() / 1e6; });
        QObject::connect(static_cast<ViewContentReadDevice*>(
                             _editor->viewGetContent(FormContentEditor::VIEW_ID_READ_DEVICE)),
                         &ViewContentReadDevice::readFinished, &context,
                         [&]() { readMs = clock.nsecsElapsed() / 1e6; });

        clock.start();
        _editor->_pointerActionWriteDevice->trigger();
        if (!waitFor(isMessageBoxShown, 20000))
            return -1.0;
        const double confirmedMs = clock.nsecsElapsed() / 1e6;
        // Yes runs the preparation in the answering slot, then the write page takes over.
        messageBox->findChild<QPushButton*>(QStringLiteral("pushButtonYes"))->click();
        const double preparedMs = clock.nsecsElapsed() / 1e6;
        const QString ending = waitForSaveEnding(_editor, 600000);
        const double totalMs = clock.nsecsElapsed() / 1e6;
        if (!ending.startsWith(QStringLiteral("Saved / ")))
        {
            std::fprintf(stderr, "bench_save: the save ended with \"%s\"\n", qPrintable(ending));
            return -1.0;
        }
        report(prefix + QStringLiteral("_select_and_confirm_ms"), confirmedMs, "ms");
        report(prefix + QStringLiteral("_prepare_image_ms"), preparedMs - confirmedMs, "ms");
        report(prefix + QStringLiteral("_write_1024_pages_ms"), writtenMs - preparedMs, "ms");
        report(prefix + QStringLiteral("_verification_read_ms"), readMs - writtenMs, "ms");
        report(prefix + QStringLiteral("_total_ms"), totalMs, "ms");
        return totalMs;
    }

private:
    FormContentEditor* _editor;
};

// Saves at the line rate with the bridge's default latency timer and with 1 ms, each set against
// the floor; 0, or -1 when a save did not complete.
int saveAtLineRate(SaveBenchmark& benchmark, SimulatorProcess& simulator)
{
    // The floor: the bytes of the page writes and of the verification read on the wire, nothing
    // waited for. The bridge's latency timer adds its delay to each of the 1024 acknowledges.
    const double wireMs = LineRate::wireMs(LineRate::SAVE_WIRE_BYTES);
    report(QStringLiteral("save_line_rate_wire_floor_ms"), wireMs, "ms");
    for (const int latencyTimerMs : {16, 1})
    {
        const QString prefix = QStringLiteral("save_line_rate_latency_%1ms").arg(latencyTimerMs);
        if (!simulator.start({QStringLiteral("--line-rate"), QStringLiteral("--latency-timer"),
                              QString::number(latencyTimerMs)}))
        {
            std::printf("save_line_rate_skipped: 1 (the simulator cannot pace its link)\n");
            break;
        }
        const double totalMs = benchmark.run(prefix);
        if (totalMs < 0)
        {
            std::fprintf(stderr, "bench_save: the save at the line rate did not complete\n");
            return -1;
        }
        report(prefix + QStringLiteral("_over_wire_floor"), totalMs / wireMs, "x");
        simulator.stop();
    }
    return 0;
}

int main(int argc, char** argv)
{
    QTemporaryDir directory;
    if (!prepareWindowBenchEnvironment(directory))
    {
        std::fprintf(stderr, "bench_save: no temporary folder\n");
        return 1;
    }
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    Configuration::initialize();
    const bool isUnthrottledOnly = application.arguments().contains(QStringLiteral("--unthrottled-only"));

    auto editor = std::make_unique<FormContentEditor>();
    pointerFormContentEditor = editor.get();
    editor->viewReplace(FormContentEditor::VIEW_ID_CONTENT_EDITOR);
    SaveBenchmark benchmark(editor.get());
    const int storeBytes = benchmark.fill(10, 120);
    report(QStringLiteral("save_store_size"), storeBytes, "bytes");

    SimulatorProcess simulator(directory.filePath(QStringLiteral("state")));
    if (!simulator.start() || benchmark.run(QStringLiteral("save_unthrottled")) < 0)
    {
        std::fprintf(stderr, "bench_save: the unthrottled save did not complete\n");
        return 1;
    }
    simulator.stop();
    if (isUnthrottledOnly)
        std::printf("save_line_rate_skipped: 1 (--unthrottled-only)\n");
    else if (saveAtLineRate(benchmark, simulator) != 0)
        return 1;
    editor.reset();
    pointerFormContentEditor = nullptr;
    Configuration::uninitialize();
    return 0;
}
