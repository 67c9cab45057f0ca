// The read and write progress pages and the device selection page, against device simulators
// over real pseudo-terminals.
#include "Configuration.h"
#include "Device.h"
#include "FormContentEditor.h"
#include "Simulator.h"
#include "TestSupport.h"
#include "ViewContentDeviceSelection.h"
#include "ViewContentReadDevice.h"
#include "ViewContentWriteDevice.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

namespace
{
// The device's memory size, stated here rather than taken from the code under test.
constexpr int MEMORY_SIZE = 131072;
const QByteArray LED_IDENTIFY("\xA5\x01\x02", 3);
const QByteArray LED_IDLE("\xA5\x01\x01", 3);

QByteArray randomImage(quint32 seed)
{
    QByteArray image(MEMORY_SIZE, Qt::Uninitialized);
    QRandomGenerator(seed).fillRange(reinterpret_cast<quint32*>(image.data()), image.size() / 4);
    return image;
}

QByteArray deviceImage(Device* device, Device::MemoryId id)
{
    return QByteArray(reinterpret_cast<const char*>(device->getMemoryBuffer(id)), MEMORY_SIZE);
}
} // namespace

class TestDevicePages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void readPage();
    void writePage();
    void selectionFollowsPluggingAndBlinking();
    void selectionReportsLedFailuresAndHandsOverOneDevice();

private:
    std::unique_ptr<FormContentEditor> _editor;
    std::unique_ptr<QTemporaryDir> _descriptors;

    QWidget* _view(FormContentEditor::ViewId id) const { return _editor->viewGetContent(id); }
    template <typename Widget> Widget* _child(FormContentEditor::ViewId id, const char* name) const
    {
        return _view(id)->findChild<Widget*>(QLatin1String(name));
    }
    QListWidget* _list() const
    {
        return _child<QListWidget>(FormContentEditor::VIEW_ID_DEVICE_SELECTION, "listWidget");
    }
    // Clicks a row; gives what `watched` received meanwhile.
    QByteArray _clickRow(int row, Simulator* watched = nullptr) const
    {
        if (watched != nullptr)
            watched->clearRecord();
        QTest::mouseClick(_list()->viewport(), Qt::LeftButton, {},
                          _list()->visualItemRect(_list()->item(row)).center());
        return watched != nullptr ? watched->recordedBytes() : QByteArray();
    }
};

void TestDevicePages::initTestCase()
{
    QVERIFY2(!Simulator::executablePath().isEmpty(), "the device simulator was not built");
    Configuration::initialize();
}

void TestDevicePages::init()
{
    // Simulators started by a test announce themselves in a folder of its own.
    _descriptors = std::make_unique<QTemporaryDir>();
    QVERIFY(_descriptors->isValid());
    qputenv("PAVISOR_SIMULATOR_DIR", _descriptors->path().toLocal8Bit());
    _editor = std::make_unique<FormContentEditor>();
    pointerFormContentEditor = _editor.get();
    _editor->viewReplace(FormContentEditor::VIEW_ID_CONTENT_EDITOR);
    // The pages are tested on their own: the main window's workflows must not answer their results.
    for (FormContentEditor::ViewId id :
         {FormContentEditor::VIEW_ID_READ_DEVICE, FormContentEditor::VIEW_ID_WRITE_DEVICE,
          FormContentEditor::VIEW_ID_DEVICE_SELECTION})
        QObject::disconnect(_view(id), nullptr, _editor.get(), nullptr);
}

void TestDevicePages::cleanup()
{
    // The selection page first gives up the devices it still owns (after a failed check).
    _editor.reset();
    pointerFormContentEditor = nullptr;
    Device::releaseSelectedDevice();
    qunsetenv("PAVISOR_SIMULATOR_DIR");
    _descriptors.reset();
}

void TestDevicePages::readPage()
{
    const auto id = FormContentEditor::VIEW_ID_READ_DEVICE;
    auto* page = static_cast<ViewContentReadDevice*>(_view(id));
    QProgressBar* bar = _child<QProgressBar>(id, "progressBar");
    QSignalSpy finished(page, &ViewContentReadDevice::readFinished);
    FormContentEditor::ViewId currentWhenFinished = FormContentEditor::VIEW_ID_PREVIOUS;
    connect(page, &ViewContentReadDevice::readFinished, this,
            [&]() { currentWhenFinished = _editor->viewGetCurrent(); });
    // The bar follows the bytes as they arrive, so the window keeps turning through a long read.
    QElapsedTimer clock;
    qint64 lastChangeMs = -1;
    qint64 longestStillMs = 0;
    connect(bar, &QProgressBar::valueChanged, this,
            [&]()
            {
                if (lastChangeMs >= 0)
                    longestStillMs = qMax(longestStillMs, clock.elapsed() - lastChangeMs);
                lastChangeMs = clock.elapsed();
            });

    // Requests of a whole run: LED blink, main selection and read, backup selection and read, LED stop.
    const QByteArray requests = QByteArray::fromHex("a50103a50200a505a50201a505a50101");
    struct Run
    {
        QStringList flags;
        int result;
        int requestBytes; // sent before the run ended
        int bytesRead;
        int minimumMs;
        int stillMs; // longest time the bar may stand still
        bool enterAgain;
    };
    const Run runs[] = {
        {{}, 0, 16, 2 * MEMORY_SIZE, 0, 100, false},
        // The main memory at the real line rate (11.4 s), the backup memory refused.
        {{"--line-rate", "--wrong-ack-command", "2,1"}, -3, 11, MEMORY_SIZE, 11000, 100, false},
        // The device falls silent in the middle of the main memory: the 6000-poll budget.
        {{"--truncate-answer", "5,65536"}, -2, 8, 65536, 6000, 20000, false},
        // LED blink or LED stop refused; entering again starts over from the first step.
        {{"--wrong-ack-command", "1,3"}, -1, 3, 0, 0, 100, true},
        {{"--wrong-ack-command", "1,1"}, -4, 16, 2 * MEMORY_SIZE, 0, 100, true}};
    for (const Run& run : runs)
    {
        Simulator simulator;
        const QByteArray main = randomImage(1);
        const QByteArray backup = randomImage(2);
        QVERIFY(simulator.writeMemories(main, backup));
        START_SIMULATOR(simulator, QStringList{"--name", "Office key"} + run.flags);
        Device::setSelectedDevice(new Device(simulator.portInfo()));
        Device* device = Device::getSelectedDevice();
        QCOMPARE(device->open(), 0);
        simulator.clearRecord();
        currentWhenFinished = FormContentEditor::VIEW_ID_PREVIOUS;
        lastChangeMs = -1;
        longestStillMs = 0;
        clock.start();
        _editor->viewPush(id);
        QCOMPARE(_child<QLabel>(id, "labelDeviceName")->text(), QStringLiteral("Device name: Office key"));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
        QCOMPARE(finished.takeFirst().at(0).toInt(), run.result);
        const qint64 elapsedMs = clock.elapsed();
        QVERIFY2(elapsedMs >= run.minimumMs && elapsedMs < 2 * run.minimumMs + 3000,
                 qPrintable(QString::number(elapsedMs)));
        QVERIFY2(longestStillMs <= run.stillMs, qPrintable(QString::number(longestStillMs)));
        // Popped before reporting.
        QCOMPARE(currentWhenFinished, FormContentEditor::VIEW_ID_CONTENT_EDITOR);
        QCOMPARE(simulator.recordedBytes(), requests.left(run.requestBytes));
        QCOMPARE(qint64(bar->value()) * 2 * MEMORY_SIZE, qint64(run.bytesRead) * bar->maximum());
        if (run.bytesRead >= MEMORY_SIZE)
            QCOMPARE(deviceImage(device, Device::MEMORY_ID_MAIN), main);
        if (run.bytesRead == 2 * MEMORY_SIZE)
            QCOMPARE(deviceImage(device, Device::MEMORY_ID_BACKUP), backup);
        // Reported once; the port is still good for the next command.
        QTest::qWait(50);
        QCOMPARE(finished.count(), 0);
        QString serialNumber;
        QCOMPARE(device->readSerialNumber(serialNumber), 0);
        if (run.enterAgain)
        {
            simulator.clearRecord();
            _editor->viewPush(id);
            QCOMPARE(bar->value(), 0);
            QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
            QCOMPARE(finished.takeFirst().at(0).toInt(), run.result);
            QCOMPARE(simulator.recordedBytes(), requests.left(run.requestBytes));
        }
        Device::releaseSelectedDevice();
    }
}

void TestDevicePages::writePage()
{
    const auto id = FormContentEditor::VIEW_ID_WRITE_DEVICE;
    auto* page = static_cast<ViewContentWriteDevice*>(_view(id));
    QProgressBar* bar = _child<QProgressBar>(id, "progressBar");
    QSignalSpy finished(page, &ViewContentWriteDevice::writeFinished);
    const QByteArray erased(MEMORY_SIZE, '\xFF');
    const QByteArray main = randomImage(3);
    const QByteArray backup = randomImage(4);
    struct Run
    {
        QStringList flags;
        int result;
        int pagesWritten;
    };
    const Run runs[] = {
        {{}, 0, 1024},
        // Silent from backup page 0: the main memory written in full, the backup memory as it was.
        {{"--stop-after-pages", "512"}, -6, 512},
        // A wrong acknowledge to main page 7 fails at once.
        {{"--wrong-ack-page", "7"}, -5, 7},
        // Refused: LED blink, main selection, backup selection, LED stop.
        {{"--wrong-ack-command", "1,3"}, -1, 0},
        {{"--wrong-ack-command", "2,0"}, -3, 0},
        {{"--wrong-ack-command", "2,1"}, -4, 512},
        {{"--wrong-ack-command", "1,1"}, -2, 1024}};
    for (const Run& run : runs)
    {
        Simulator simulator;
        START_SIMULATOR(simulator, run.flags);
        Device::setSelectedDevice(new Device(simulator.portInfo()));
        Device* device = Device::getSelectedDevice();
        QCOMPARE(device->open(), 0);
        memcpy(device->getMemoryBuffer(Device::MEMORY_ID_MAIN), main.constData(), MEMORY_SIZE);
        memcpy(device->getMemoryBuffer(Device::MEMORY_ID_BACKUP), backup.constData(), MEMORY_SIZE);
        simulator.clearRecord();
        _editor->viewPush(id);
        QCOMPARE(_child<QLabel>(id, "labelDeviceName")->text(),
                 QStringLiteral("Device name: No name defined"));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
        QCOMPARE(finished.takeFirst().at(0).toInt(), run.result);
        QCOMPARE(bar->value(), run.pagesWritten);
        QCOMPARE(bar->maximum(), 1024);
        QCOMPARE(_editor->viewGetCurrent(), FormContentEditor::VIEW_ID_CONTENT_EDITOR);
        // The device stores exactly what was written, memory by memory, the main memory first; the
        // backup memory is selected only once the main memory is complete, and the LED is told to
        // stop only at the end (a failed run leaves it blinking for the release to stop).
        const int mainBytes = qMin(run.pagesWritten, 512) * 256;
        const int backupBytes = qMax(run.pagesWritten - 512, 0) * 256;
        QCOMPARE(simulator.stateFile(QStringLiteral("main.bin")),
                 main.left(mainBytes) + erased.mid(mainBytes));
        QCOMPARE(simulator.stateFile(QStringLiteral("backup.bin")),
                 backup.left(backupBytes) + erased.mid(backupBytes));
        const QByteArray sent = simulator.recordedBytes();
        QCOMPARE(sent.contains(QByteArray::fromHex("a50201")), run.pagesWritten >= 512);
        QCOMPARE(sent.endsWith(LED_IDLE), run.pagesWritten == 1024);
        if (run.result == -5)
        {
            // Entering again starts from step 0 with an empty bar.
            simulator.clearRecord();
            _editor->viewPush(id);
            QCOMPARE(bar->value(), 0);
            QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
            QCOMPARE(finished.takeFirst().at(0).toInt(), -5);
            QVERIFY(simulator.recordedBytes().startsWith(QByteArray::fromHex("a50103a50200a5040000")));
        }
        Device::releaseSelectedDevice();
    }
}

void TestDevicePages::selectionFollowsPluggingAndBlinking()
{
    const auto id = FormContentEditor::VIEW_ID_DEVICE_SELECTION;
    QListWidget* list = _list();
    auto* select = _child<QPushButton>(id, "pushButtonSelect");
    QSignalSpy selected(static_cast<ViewContentDeviceSelection*>(_view(id)),
                        &ViewContentDeviceSelection::deviceSelected);

    // Nothing plugged in: an empty list that keeps polling.
    _editor->viewPush(id);
    QCOMPARE(list->count(), 0);
    QVERIFY(!select->isEnabled());
    Simulator first;
    START_SIMULATOR(first, {"--serial", "QRTAV-000001", "--name", "Pavisor"});
    QTRY_COMPARE_WITH_TIMEOUT(list->count(), 1, 3000);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Pavisor"));

    // Clicking makes it blink and allows "Select".
    QCOMPARE(_clickRow(0, &first), LED_IDENTIFY);
    QVERIFY(select->isEnabled());
    QVERIFY(Device::getSelectedDevice() != nullptr);

    // A second device with the same name comes last; the first stays current and blinking.
    Simulator second;
    START_SIMULATOR(second, {"--serial", "QRTAV-000002", "--name", "Pavisor"});
    QTRY_COMPARE_WITH_TIMEOUT(list->count(), 2, 3000);
    // Equal names: the USB serial numbers tell the rows apart.
    QCOMPARE(QStringList({list->item(0)->text(), list->item(1)->text()}),
             QStringList({"Pavisor (QRTAV-000001)", "Pavisor (QRTAV-000002)"}));
    QCOMPARE(list->currentRow(), 0);
    QVERIFY(select->isEnabled());
    QCOMPARE(Device::getSelectedDevice()->getUsbSerialNumber(), QStringLiteral("QRTAV-000001"));
    // Clicking the blinking row again sends nothing.
    _clickRow(0, &first);
    QTest::qWait(100);
    QCOMPARE(first.recordedBytes(), QByteArray());
    // Clicking the other row stops the first one and makes the second one blink.
    first.clearRecord();
    QCOMPARE(_clickRow(1, &second), LED_IDENTIFY);
    QCOMPARE(first.recordedBytes(), LED_IDLE);
    QCOMPARE(Device::getSelectedDevice()->getUsbSerialNumber(), QStringLiteral("QRTAV-000002"));

    // The arrow keys choose as clicks do: the device of the current row blinks, the one left stops.
    first.clearRecord();
    second.clearRecord();
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(first.recordedBytes() + '|' + second.recordedBytes(), LED_IDENTIFY + '|' + LED_IDLE);
    QVERIFY(select->isEnabled());
    first.clearRecord();
    second.clearRecord();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(first.recordedBytes() + '|' + second.recordedBytes(), LED_IDLE + '|' + LED_IDENTIFY);
    // Detection ticks update the rows in place: the same items, the same current row, nothing sent.
    const QListWidgetItem* secondRow = list->item(1);
    second.clearRecord();
    QTest::qWait(1500);
    QVERIFY(list->item(1) == secondRow && list->currentRow() == 1 && select->isEnabled());
    QCOMPARE(second.recordedBytes(), QByteArray());

    // Unplugging the blinking device removes its row, disables "Select" and forgets it.
    QVERIFY(second.stop());
    QTRY_COMPARE_WITH_TIMEOUT(list->count(), 1, 3000);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Pavisor"));
    QCOMPARE(list->currentRow(), -1);
    QVERIFY(!select->isEnabled());
    QVERIFY(Device::getSelectedDevice() == nullptr);
    // Plugged in again, it is a device like any other: clicked, it blinks and can be selected.
    START_SIMULATOR(second, {"--serial", "QRTAV-000002", "--name", "Pavisor"});
    QTRY_COMPARE_WITH_TIMEOUT(list->count(), 2, 3000);
    QCOMPARE(_clickRow(1, &second), LED_IDENTIFY);
    QVERIFY(select->isEnabled());
    QVERIFY(second.stop());
    QTRY_COMPARE_WITH_TIMEOUT(list->count(), 1, 3000);
    QCOMPARE(_clickRow(0, &first), LED_IDENTIFY);

    // "Cancel": no device selected, no port left open, the blinking one stopped, no more polling.
    first.clearRecord();
    QTest::mouseClick(_child<QPushButton>(id, "pushButtonCancel"), Qt::LeftButton);
    QCOMPARE(selected.takeFirst(), QVariantList({false}));
    QVERIFY(Device::getSelectedDevice() == nullptr);
    QCOMPARE(_editor->viewGetCurrent(), FormContentEditor::VIEW_ID_CONTENT_EDITOR);
    QCOMPARE(first.recordedBytes(), LED_IDLE);
    QCOMPARE(first.openDescriptorCount(), 0);
    first.clearRecord();
    QTest::qWait(1500);
    QCOMPARE(first.recordedBytes(), QByteArray());
}

void TestDevicePages::selectionReportsLedFailuresAndHandsOverOneDevice()
{
    // The first device refuses to stop blinking, the second one to start.
    Simulator first;
    Simulator second;
    START_SIMULATOR(first, {"--serial", "QRTAV-000001", "--wrong-ack-command", "1,1"});
    START_SIMULATOR(second, {"--serial", "QRTAV-000002", "--wrong-ack-command", "1,2"});
    const auto id = FormContentEditor::VIEW_ID_DEVICE_SELECTION;
    auto* select = _child<QPushButton>(id, "pushButtonSelect");
    QSignalSpy selected(static_cast<ViewContentDeviceSelection*>(_view(id)),
                        &ViewContentDeviceSelection::deviceSelected);
    _editor->viewPush(id);
    QCOMPARE(_list()->count(), 2);
    _clickRow(0);
    QVERIFY(select->isEnabled());

    // Clicking the second row: stopping the first device fails, the user is told, the second one is
    // asked to blink all the same, fails, and the user is told again.
    QStringList messages;
    std::function<void(QWidget*)> answer = [&](QWidget* modal)
    {
        if (auto* box = qobject_cast<QMessageBox*>(modal))
        {
            messages << box->text();
            box->button(QMessageBox::Ok)->click();
        }
        if (messages.size() < 2)
            TestSupport::answerNextModal(answer, 10000);
    };
    TestSupport::answerNextModal(answer, 10000);
    QCOMPARE(_clickRow(1, &second), LED_IDENTIFY);
    QCOMPARE(
        messages,
        QStringList({"Could not stop the device with USB serial number 'QRTAV-000001' LED from blinking.",
                     "Could not make the device LED blink."}));
    QVERIFY(!select->isEnabled());
    QVERIFY(Device::getSelectedDevice() == nullptr);

    // "Select" hands over the chosen device, open and told to stop blinking; the other one closes. The
    // keyboard alone: Up chooses the first row, Return selects it.
    QTest::keyClick(_list(), Qt::Key_Up);
    QVERIFY(select->isEnabled());
    first.clearRecord();
    QTest::keyClick(_list(), Qt::Key_Return);
    QCOMPARE(selected.takeFirst(), QVariantList({true}));
    QCOMPARE(_editor->viewGetCurrent(), FormContentEditor::VIEW_ID_CONTENT_EDITOR);
    QVERIFY(Device::getSelectedDevice() != nullptr);
    QCOMPARE(Device::getSelectedDevice()->getUsbSerialNumber(), QStringLiteral("QRTAV-000001"));
    QCOMPARE(first.recordedBytes(), LED_IDLE);
    QCOMPARE(first.openDescriptorCount(), 1);
    QCOMPARE(second.openDescriptorCount(), 0);
}

QTEST_MAIN(TestDevicePages)
#include "tst_device_pages.moc"
