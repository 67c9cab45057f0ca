// Power-cut stress run of the application's own write road. Each device is a simulator on a state
// folder of its own; each save is the main window's (the Save entry, Yes at the confirmation, and
// whatever reads, repair and writes the road decides), and the simulator loses power at one chosen
// page write of it (--power-cut-write: half the page programmed, the rest erased). The device is
// then plugged back in (the simulator restarted on the same state) and opened through the window
// as a user would: Open, Yes to leave the unsaved records, the master password, the main memory
// first, the backup memory in the background or in the foreground when the main one does not open.
// A question to repair a damaged memory is answered "Not now", so that what is counted is what the
// cut left; a question to choose between two memories that open is answered "main" and counted.
//
// Single cut: both memories hold the old content, a save of the new content is cut at every one of
// its 1024 page writes (main memory pages 0 to 511, then backup memory pages 0 to 511).
//
// Second cut: a save of the new content is first cut at backup memory page 0, 255 or 511, leaving the
// new content in the main memory and a damaged backup memory. The user, after a replug, saves again
// (a newer content, one record edited): the window reads both memories, finds the backup damaged,
// copies main to backup and reads it back, then writes main and backup. That retried save is cut at
// every one of its 1536 page writes (the repair's backup pages 0 to 511, then main, then backup).
// "Old" then means the content the device held before the retried save, "new" the retried save's.
//
// Every device is counted as opening with the old content, with the new one, or with neither (the
// goal is none); the exit code is 2 when any opens with neither.
//
//     build-bench/bench/stress_power_cut [--scenario single|second] [--second-cut-step N]
//                                        [FIRST_CUT [LAST_CUT]]
//
// FIRST_CUT and LAST_CUT bound the page writes cut in either scenario (0-1023 for a single cut,
// 0-1535 for the retried save); --second-cut-step N cuts only every Nth write of the retried save,
// plus the last page of each of its three runs of writes, for a quicker run.
//
// Not a benchmark and not run by CTest: each device costs several key derivations (the road's check
// of what the memories hold, the save's encryption, the open), so a full run takes hours.
#include "Configuration.h"
#include "Device.h"
#include "FormContentEditor.h"
#include "PasswordStoreCodec.h"
#include "PasswordTable.h"
#include "Security.h"
#include "SimulatorProcess.h"
#include "ViewBase.h"
#include "WindowBench.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

using E = FormContentEditor;

namespace
{
using Tabs = QList<PasswordStoreCodec::Tab>;
constexpr int PAGES = Device::MEMORY_PAGE_COUNT;
const QString PASSWORD = QStringLiteral(u"Coupure de courant \u26a1");
const QStringList STATE_FILES = {QStringLiteral("main.bin"), QStringLiteral("backup.bin"),
                                 QStringLiteral("name.bin"), QStringLiteral("serial.bin"),
                                 QStringLiteral("versions.bin")};

Tabs makeContent(const QString& label, int recordCount)
{
    Tabs tabs;
    for (int tabIndex = 0; tabIndex < 3; tabIndex++)
    {
        tabs.append({QStringLiteral("%1 tab %2").arg(label).arg(tabIndex), {}});
        for (int record = 0; record < recordCount; record++)
        {
            PasswordTable::Password password;
            for (QString& field : password.data)
                field = QStringLiteral("%1 record %2.%3").arg(label).arg(tabIndex).arg(record);
            tabs.last().passwords.append(password);
        }
    }
    return tabs;
}

QString flatten(const Tabs& tabs)
{
    QString text;
    for (const PasswordStoreCodec::Tab& tab : tabs)
    {
        text += tab.name + QLatin1Char('\n');
        for (const PasswordTable::Password& password : tab.passwords)
            text += QStringList(std::begin(password.data), std::end(password.data)).join(QLatin1Char('|')) +
                    QLatin1Char('\n');
    }
    return text;
}

// A device's stored items, from one state folder to another: the device as a cut left it, used
// again for every cut that follows it.
bool copyState(const QString& from, const QString& to)
{
    if (!QDir().mkpath(to))
        return false;
    for (const QString& name : STATE_FILES)
    {
        const QString source = QDir(from).filePath(name);
        const QString target = QDir(to).filePath(name);
        QFile::remove(target);
        if (QFile::exists(source) && !QFile::copy(source, target))
            return false;
    }
    return true;
}

// The contents a device may open with, by the name the counts give them.
struct Contents
{
    QStringList names;
    QStringList texts;

    QString nameOf(const QString& text) const
    {
        const qsizetype index = text.isEmpty() ? -1 : texts.indexOf(text);
        return index < 0 ? QStringLiteral("neither") : names.at(index);
    }
};

// What a memory's stored image holds, for the report of a device that opens with neither.
QString describeStoredMemory(const QString& path, const Contents& contents)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("missing");
    QByteArray image = file.readAll();
    if (image.size() != Device::MEMORY_SIZE)
        return QStringLiteral("%1 bytes").arg(image.size());
    if (image.count('\xff') == image.size() || image.count('\0') == image.size())
        return QStringLiteral("empty");
    for (Security::EncryptionSchemeId scheme :
         {Security::ENCRYPTION_SCHEME_ID_2, Security::ENCRYPTION_SCHEME_ID_1})
    {
        QByteArray work = image;
        auto* bytes = reinterpret_cast<unsigned char*>(work.data());
        if (Security::decryptMemoryData(PASSWORD, scheme, bytes) == 0)
        {
            Tabs tabs;
            PasswordStoreCodec::parse(bytes, &tabs);
            return QStringLiteral("opens with the %1 content").arg(contents.nameOf(flatten(tabs)));
        }
    }
    return QStringLiteral("damaged (does not open)");
}

struct Counts
{
    int devices = 0;
    QMap<QString, int> opened;
    int repairOffered = 0;
    int memoryChoiceAsked = 0;
    int unexpectedSaveEndings = 0;

    void add(const Counts& other)
    {
        devices += other.devices;
        for (auto it = other.opened.constBegin(); it != other.opened.constEnd(); ++it)
            opened[it.key()] += it.value();
        repairOffered += other.repairOffered;
        memoryChoiceAsked += other.memoryChoiceAsked;
        unexpectedSaveEndings += other.unexpectedSaveEndings;
    }
    QString summary(const QStringList& names) const
    {
        QStringList parts;
        for (const QString& name : names)
            parts << QStringLiteral("%1 %2").arg(name).arg(opened.value(name));
        return parts.join(QStringLiteral(", "));
    }
};

void report(const QString& name, double value, const char* unit)
{
    std::printf("%s: %g %s\n", qPrintable(name), value, unit);
    std::fflush(stdout);
}

// The count lines of one scenario, each name prefixed with `scenario`.
void reportCounts(const QString& scenario, const Counts& total, const QStringList& names, double seconds)
{
    report(scenario + QStringLiteral("_devices"), total.devices, "devices");
    for (const QString& name : names)
        report(scenario + QStringLiteral("_opens_") + name, total.opened.value(name), "devices");
    report(scenario + QStringLiteral("_repair_offered"), total.repairOffered, "devices");
    report(scenario + QStringLiteral("_memory_choice_asked"), total.memoryChoiceAsked, "devices");
    report(scenario + QStringLiteral("_unexpected_save_endings"), total.unexpectedSaveEndings, "devices");
    report(scenario + QStringLiteral("_run_time"), seconds, "s");
}
} // namespace

// One run of the application as a user of one device sees it: a main window holding unsaved
// records, its save, and its open of the device once plugged back in.
class StressPowerCut
{
public:
    StressPowerCut()
    {
        _editor = std::make_unique<FormContentEditor>();
        pointerFormContentEditor = _editor.get();
        _editor->viewReplace(E::VIEW_ID_CONTENT_EDITOR);
        // The native question boxes (repair, choice of memory) run their own event loop; this timer
        // answers them from inside it.
        _modalAnswerer.setInterval(10);
        QObject::connect(&_modalAnswerer, &QTimer::timeout, &_modalAnswerer, [this]() { _answerModal(); });
        _modalAnswerer.start();
    }
    ~StressPowerCut()
    {
        _modalAnswerer.stop();
        Device::releaseSelectedDevice();
        _editor.reset();
        pointerFormContentEditor = nullptr;
    }
    StressPowerCut(const StressPowerCut&) = delete;
    StressPowerCut& operator=(const StressPowerCut&) = delete;

    // The records the user has typed and not saved yet, under the master password.
    void showUnsaved(const Tabs& tabs)
    {
        std::unique_ptr<unsigned char[]> plaintext(new unsigned char[Device::MEMORY_SIZE]());
        PasswordStoreCodec::encode(tabs, plaintext.get());
        _editor->_showDecryptedImage(plaintext.get());
        _editor->_masterPassword = PASSWORD;
        _editor->_isMasterPasswordKnown = true;
        _editor->_setUnsavedDataPresent(true);
    }

    // Save, Yes at the confirmation, then the message that ends the workflow ("title / text").
    QString save()
    {
        _editor->_pointerActionWriteDevice->trigger();
        const QString confirmation = _nextMessage("pushButtonYes", 10000);
        if (!confirmation.startsWith(QStringLiteral("Confirm saving device / ")))
            return QStringLiteral("no confirmation, instead: ") + confirmation;
        const QString ending = waitForSaveEnding(_editor.get(), 600000);
        waitFor([]() { return Device::getSelectedDevice() == nullptr; }, 10000);
        return ending;
    }

    // Opens the device as a user does; the content shown, or an empty text when nothing opened.
    // `message` gets the in-window message the open ended with, if any.
    QString open(QString* message)
    {
        _editor->findChild<QAction*>(QStringLiteral("actionOpenDevice"))->trigger();
        // The question about the unsaved records comes on the next turn of the event loop.
        const QString question = _nextMessage("pushButtonYes", 10000);
        if (!question.startsWith(QStringLiteral("Opening a device / ")))
        {
            *message = QStringLiteral("no question about the unsaved records, instead: ") + question;
            return QString();
        }
        if (_editor->viewGetCurrent() != E::VIEW_ID_INSERT_READING_MASTER_PASSWORD)
        {
            *message = QStringLiteral("no password page");
            return QString();
        }
        QWidget* passwordPage = _editor->viewGetContent(E::VIEW_ID_INSERT_READING_MASTER_PASSWORD);
        passwordPage->findChild<QLineEdit*>(QStringLiteral("lineEditPasswordField"))->setText(PASSWORD);
        auto* ok = passwordPage->findChild<QPushButton*>(QStringLiteral("pushButtonOk"));
        ok->setEnabled(true);
        ok->click();
        // The device is let go once both memories are in and every question has been answered; a
        // password that opens neither memory is asked again, and given up here.
        if (!waitFor(
                [this]()
                {
                    return (Device::getSelectedDevice() == nullptr && !_editor->_backgroundRead.isRunning() &&
                            QApplication::activeModalWidget() == nullptr) ||
                           _editor->viewGetCurrent() == E::VIEW_ID_INSERT_READING_MASTER_PASSWORD;
                },
                600000))
        {
            *message = QStringLiteral("the open did not end");
            return QString();
        }
        if (_editor->viewGetCurrent() == E::VIEW_ID_INSERT_READING_MASTER_PASSWORD)
        {
            *message = passwordPage->findChild<QLabel*>(QStringLiteral("labelError"))->text();
            passwordPage->findChild<QPushButton*>(QStringLiteral("pushButtonCancel"))->click();
            return QString();
        }
        // A message the open ended with is pushed on the next turns of the event loop.
        for (int turn = 0; turn < 3; turn++)
            QCoreApplication::processEvents();
        if (_editor->viewGetCurrent() == E::VIEW_ID_MESSAGE_BOX_DIALOG)
            *message = _nextMessage("pushButtonOk", 1000);
        // A failed open leaves the unsaved records as they were; a successful one shows the device's.
        if (_editor->_isUnsavedDataPresent)
            return QString();
        std::unique_ptr<unsigned char[]> plaintext(new unsigned char[Device::MEMORY_SIZE]());
        Tabs tabs;
        if (_editor->_encodePasswordsToMemoryFormat(plaintext.get()) < 0)
            return QString();
        PasswordStoreCodec::parse(plaintext.get(), &tabs);
        return flatten(tabs);
    }

    int repairOffered() const { return _repairOffered; }
    int memoryChoiceAsked() const { return _memoryChoiceAsked; }

private:
    std::unique_ptr<FormContentEditor> _editor;
    QTimer _modalAnswerer;
    int _repairOffered = 0;
    int _memoryChoiceAsked = 0;

    void _answerModal()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        if (QAbstractButton* yes = box->button(QMessageBox::Yes))
        {
            _memoryChoiceAsked++;
            yes->click();
        }
        else if (QAbstractButton* later = box->escapeButton())
        {
            _repairOffered++;
            later->click();
        }
    }

    // Waits for the in-window message box: "title / text", or a note that none came; then clicks
    // `button`.
    QString _nextMessage(const char* button, int timeoutMs)
    {
        if (!waitFor([this]() { return _editor->viewGetCurrent() == E::VIEW_ID_MESSAGE_BOX_DIALOG; },
                     timeoutMs))
            return QStringLiteral("<no message box>");
        QWidget* page = _editor->viewGetContent(E::VIEW_ID_MESSAGE_BOX_DIALOG);
        const QString message = _editor->viewGetFrame(E::VIEW_ID_MESSAGE_BOX_DIALOG)->title() +
                                QStringLiteral(" / ") +
                                page->findChild<QLabel*>(QStringLiteral("labelText"))->text();
        page->findChild<QPushButton*>(QLatin1String(button))->click();
        return message;
    }
};

namespace
{
const QString MAIN_FAILED = QStringLiteral("Error / Could not write data to the main memory, aborting.");
const QString BACKUP_FAILED = QStringLiteral("Error / Could not write data to the backup memory, aborting.");

struct Stress
{
    QString workState;
    Contents contents;
    Tabs savedTabs;
    // Progress of the scenario under way, on the error channel.
    QString scenario;
    QElapsedTimer clock;
    int done = 0;

    void startScenario(const QString& name)
    {
        scenario = name;
        done = 0;
        clock.start();
    }

    // One device: `startState` copied, `savedTabs` saved with the power cut at page write `cut`,
    // replugged, opened. Adds to `counts`; false when the run itself could not be carried out.
    bool runDevice(const QString& startState, int cut, const QString& expectedEnding, const QString& label,
                   Counts& counts)
    {
        if (!copyState(startState, workState))
            return fail(label, "the state folder cannot be written");
        SimulatorProcess simulator(workState);
        if (!simulator.start({QStringLiteral("--power-cut-write"), QString::number(cut)}))
            return fail(label, "the simulator did not start");
        StressPowerCut application;
        application.showUnsaved(savedTabs);
        const QString ending = application.save();
        if (ending != expectedEnding)
        {
            counts.unexpectedSaveEndings++;
            std::fprintf(stderr, "stress_power_cut: %s: the save ended with \"%s\"\n", qPrintable(label),
                         qPrintable(ending));
        }
        if (!simulator.waitForExit(5000))
        {
            std::fprintf(stderr, "stress_power_cut: %s: the power did not fail\n", qPrintable(label));
            simulator.stop();
        }

        // Plugged back in and opened.
        if (!simulator.start())
            return fail(label, "the simulator did not start again");
        QString message;
        const QString name = contents.nameOf(application.open(&message));
        simulator.stop();
        counts.devices++;
        if (++done % 32 == 0)
            std::fprintf(stderr, "stress_power_cut: %s: %d devices done, %.0f s\n", qPrintable(scenario),
                         done, clock.elapsed() / 1000.0);
        counts.opened[name]++;
        counts.repairOffered += application.repairOffered();
        counts.memoryChoiceAsked += application.memoryChoiceAsked();
        if (name == QStringLiteral("neither"))
            std::fprintf(stderr,
                         "stress_power_cut: %s: opens with neither (%s); main memory %s, backup memory %s\n",
                         qPrintable(label), qPrintable(message),
                         qPrintable(describeStoredMemory(QDir(workState).filePath(QStringLiteral("main.bin")),
                                                         contents)),
                         qPrintable(describeStoredMemory(
                             QDir(workState).filePath(QStringLiteral("backup.bin")), contents)));
        return true;
    }

    static bool fail(const QString& label, const char* what)
    {
        std::fprintf(stderr, "stress_power_cut: %s: %s\n", qPrintable(label), what);
        return false;
    }
};

// Saves `tabs` through the window on the device of `state`, cut at page write `cut` (or never when
// negative); the message the save ended with.
QString saveOnce(const QString& state, const Tabs& tabs, int cut)
{
    SimulatorProcess simulator(state);
    if (!simulator.start(cut < 0 ? QStringList()
                                 : QStringList{QStringLiteral("--power-cut-write"), QString::number(cut)}))
        return QStringLiteral("the simulator did not start");
    StressPowerCut application;
    application.showUnsaved(tabs);
    const QString ending = application.save();
    if (cut >= 0 && !simulator.waitForExit(5000))
        return QStringLiteral("the power did not fail");
    return ending;
}

QString phaseName(int phase)
{
    static const char* const names[] = {"repair write", "main write", "backup write"};
    return QLatin1String(names[phase]);
}
} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir directory;
    if (!prepareWindowBenchEnvironment(directory))
    {
        std::fprintf(stderr, "stress_power_cut: no temporary folder\n");
        return 1;
    }
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    Configuration::initialize();

    QStringList arguments = application.arguments().mid(1);
    QString scenario;
    int secondCutStep = 1;
    for (int index = 0; index < arguments.size();)
    {
        if (arguments.at(index) == QStringLiteral("--scenario") && index + 1 < arguments.size())
            scenario = arguments.at(index + 1);
        else if (arguments.at(index) == QStringLiteral("--second-cut-step") && index + 1 < arguments.size())
            secondCutStep = std::max(1, arguments.at(index + 1).toInt());
        else
        {
            index++;
            continue;
        }
        arguments.remove(index, 2);
    }
    const int firstCut = arguments.size() > 0 ? arguments.at(0).toInt() : 0;
    const int lastCut = arguments.size() > 1 ? arguments.at(1).toInt() : 3 * PAGES - 1;
    const bool isSingleRun = scenario.isEmpty() || scenario == QStringLiteral("single");
    const bool isSecondRun = scenario.isEmpty() || scenario == QStringLiteral("second");
    if (!isSingleRun && !isSecondRun)
    {
        std::fprintf(stderr, "stress_power_cut: --scenario is single or second\n");
        return 1;
    }

    const Tabs earlierTabs = makeContent(QStringLiteral("Old"), 40);
    const Tabs savedTabs = makeContent(QStringLiteral("New"), 50);
    // The retried save: the user has edited one record meanwhile.
    Tabs retriedTabs = savedTabs;
    retriedTabs[1].passwords[7].data[PasswordTable::PASSWORD_DATA_ID_NOTE] =
        QStringLiteral("Edited after the cut");

    // The device before any save: the old content in both memories, written by the window itself.
    const QString initialState = directory.filePath(QStringLiteral("initial"));
    const QString initialEnding = saveOnce(initialState, earlierTabs, -1);
    if (!initialEnding.startsWith(QStringLiteral("Saved / ")))
    {
        std::fprintf(stderr, "stress_power_cut: the old content could not be saved: %s\n",
                     qPrintable(initialEnding));
        return 1;
    }

    Stress stress;
    stress.workState = directory.filePath(QStringLiteral("device"));
    int openedNeither = 0;

    if (isSingleRun)
    {
        stress.startScenario(QStringLiteral("single cut"));
        stress.contents = {{QStringLiteral("old"), QStringLiteral("new")},
                           {flatten(earlierTabs), flatten(savedTabs)}};
        stress.savedTabs = savedTabs;
        const QStringList names = {QStringLiteral("old"), QStringLiteral("new"), QStringLiteral("neither")};
        Counts phases[2];
        for (int cut = std::max(0, firstCut); cut <= lastCut && cut < 2 * PAGES; cut++)
        {
            const int phase = cut / PAGES;
            const QString label = QStringLiteral("single cut at %1 page %2")
                                      .arg(phase == 0 ? QStringLiteral("main") : QStringLiteral("backup"))
                                      .arg(cut % PAGES);
            if (!stress.runDevice(initialState, cut, phase == 0 ? MAIN_FAILED : BACKUP_FAILED, label,
                                  phases[phase]))
                return 1;
        }
        Counts total;
        for (const Counts& phase : phases)
            total.add(phase);
        std::printf("single cut: main write %d cuts (%s); backup write %d cuts (%s)\n", phases[0].devices,
                    qPrintable(phases[0].summary(names)), phases[1].devices,
                    qPrintable(phases[1].summary(names)));
        reportCounts(QStringLiteral("single_cut"), total, names, stress.clock.elapsed() / 1000.0);
        openedNeither += total.opened.value(QStringLiteral("neither"));
    }

    if (isSecondRun)
    {
        stress.startScenario(QStringLiteral("second cut"));
        // "Earlier" is the content before the first, cut save: it should be gone from both memories.
        stress.contents = {{QStringLiteral("earlier"), QStringLiteral("old"), QStringLiteral("new")},
                           {flatten(earlierTabs), flatten(savedTabs), flatten(retriedTabs)}};
        stress.savedTabs = retriedTabs;
        const QStringList names = {QStringLiteral("old"), QStringLiteral("new"), QStringLiteral("neither"),
                                   QStringLiteral("earlier")};
        // Which writes of the retried save are cut: every Nth, plus the last page of each run of writes.
        QList<int> cuts;
        for (int cut = std::max(0, firstCut); cut <= lastCut && cut < 3 * PAGES; cut++)
        {
            if ((cut - firstCut) % secondCutStep == 0 || cut % PAGES == PAGES - 1)
                cuts.append(cut);
        }
        Counts total;
        for (int firstCutPage : {0, 255, 511})
        {
            const QString firstCutState =
                directory.filePath(QStringLiteral("first-cut-%1").arg(firstCutPage));
            const QString firstEnding = copyState(initialState, firstCutState)
                                            ? saveOnce(firstCutState, savedTabs, PAGES + firstCutPage)
                                            : QStringLiteral("the state folder cannot be written");
            if (firstEnding != BACKUP_FAILED)
            {
                std::fprintf(
                    stderr, "stress_power_cut: the first cut at backup page %d: the save ended with \"%s\"\n",
                    firstCutPage, qPrintable(firstEnding));
                return 1;
            }
            Counts phases[3];
            for (int cut : cuts)
            {
                const int phase = cut / PAGES;
                const QString label = QStringLiteral("first cut at backup page %1, second cut at %2 page %3")
                                          .arg(firstCutPage)
                                          .arg(phaseName(phase))
                                          .arg(cut % PAGES);
                if (!stress.runDevice(firstCutState, cut, phase == 1 ? MAIN_FAILED : BACKUP_FAILED, label,
                                      phases[phase]))
                    return 1;
            }
            QStringList parts;
            for (int phase = 0; phase < 3; phase++)
            {
                parts << QStringLiteral("%1 %2 cuts (%3)")
                             .arg(phaseName(phase))
                             .arg(phases[phase].devices)
                             .arg(phases[phase].summary(names));
                total.add(phases[phase]);
            }
            std::printf("first cut at backup page %d × second cut: %s\n", firstCutPage,
                        qPrintable(parts.join(QStringLiteral("; "))));
            std::fflush(stdout);
        }
        report(QStringLiteral("second_cut_step"), secondCutStep, "writes");
        reportCounts(QStringLiteral("second_cut"), total, names, stress.clock.elapsed() / 1000.0);
        openedNeither += total.opened.value(QStringLiteral("neither"));
    }

    Configuration::uninitialize();
    return openedNeither == 0 ? 0 : 2;
}
