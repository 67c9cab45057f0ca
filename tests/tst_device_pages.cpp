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

#include <QDir>
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

QByteArray randomImage(quint32 seed)
{
    QByteArray image(MEMORY_SIZE, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    generator.fillRange(reinterpret_cast<quint32*>(image.data()), image.size() / 4);
    return image;
}

QByteArray deviceImage(Device* device, Device::MemoryId id)
{
    return QByteArray(reinterpret_cast<const char*>(device->getMemoryBuffer(id)), MEMORY_SIZE);
}

// A 64-byte name field as the device stores it.
QByteArray nameField(const QByteArray& name)
{
    QByteArray field = name;
    field.append(QByteArray(64 - name.size(), '\0'));
    return field;
}

// How many of this process's descriptors are open on `path` (the port of a simulator).
int openDescriptorsOn(const QString& path)
{
    int count = 0;
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QString& entry : descriptors.entryList(QDir::NoDotAndDotDot | QDir::System | QDir::Files))
    {
        if (QFileInfo(descriptors.filePath(entry)).symLinkTarget() == path)
            count++;
    }
    return count;
}

const QByteArray LED_IDENTIFY("\xA5\x01\x02", 3);
const QByteArray LED_IDLE("\xA5\x01\x01", 3);
} // namespace

class TestDevicePages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void readPage();
    void readPageFailures();
    void writePage();
    void writePageFailures();
    void selectionFollowsPluggingAndBlinking();
    void selectionHandsOverOneDevice();
    void selectionReportsLedFailures();

private:
    std::unique_ptr<FormContentEditor> _editor;
    std::unique_ptr<QTemporaryDir> _descriptors;

    // Opens a device on a running simulator and makes it the selected device.
    Device* _selectDevice(Simulator& simulator);
    template <typename Page> Page* _page(FormContentEditor::ViewId id) const
    {
        return static_cast<Page*>(_editor->viewGetContent(id));
    }
    QProgressBar* _progressBar(FormContentEditor::ViewId id) const
    {
        return _editor->viewGetContent(id)->findChild<QProgressBar*>(QStringLiteral("progressBar"));
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
        QObject::disconnect(_editor->viewGetContent(id), nullptr, _editor.get(), nullptr);
}

void TestDevicePages::cleanup()
{
    Device::releaseSelectedDevice();
    _editor.reset();
    pointerFormContentEditor = nullptr;
    qunsetenv("PAVISOR_SIMULATOR_DIR");
    _descriptors.reset();
}

Device* TestDevicePages::_selectDevice(Simulator& simulator)
{
    auto* device = new Device(simulator.portInfo());
    if (device->open() != 0)
    {
        delete device;
        return nullptr;
    }
    Device::setSelectedDevice(device);
    return device;
}

void TestDevicePages::readPage()
{
    Simulator simulator;
    const QByteArray main = randomImage(1);
    const QByteArray backup = randomImage(2);
    QVERIFY(simulator.writeStateFile(QStringLiteral("main.bin"), main));
    QVERIFY(simulator.writeStateFile(QStringLiteral("backup.bin"), backup));
    QVERIFY(simulator.writeStateFile(QStringLiteral("name.bin"), nameField("Office key")));
    QVERIFY2(simulator.start(), qPrintable(simulator.errorString()));
    Device* device = _selectDevice(simulator);
    QVERIFY(device != nullptr);

    auto* page = _page<ViewContentReadDevice>(FormContentEditor::VIEW_ID_READ_DEVICE);
    QProgressBar* bar = _progressBar(FormContentEditor::VIEW_ID_READ_DEVICE);
    QSignalSpy finished(page, &ViewContentReadDevice::readFinished);
    FormContentEditor::ViewId currentWhenFinished = FormContentEditor::VIEW_ID_PREVIOUS;
    connect(page, &ViewContentReadDevice::readFinished, this,
            [&]() { currentWhenFinished = _editor->viewGetCurrent(); });
    simulator.clearRecord();
    _editor->viewPush(FormContentEditor::VIEW_ID_READ_DEVICE);
    QCOMPARE(page->findChild<QLabel*>(QStringLiteral("labelDeviceName"))->text(),
             QStringLiteral("Device name: Office key"));

    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
    QCOMPARE(finished.at(0).at(0).toInt(), 0);
    QCOMPARE(bar->value(), bar->maximum());
    // Popped before reporting; blinking while reading, stopped at the end.
    QCOMPARE(currentWhenFinished, FormContentEditor::VIEW_ID_CONTENT_EDITOR);
    QCOMPARE(simulator.recordedBytes(), QByteArray::fromHex("a50103"
                                                            "a50200"
                                                            "a505"
                                                            "a50201"
                                                            "a505"
                                                            "a50101"));
    QCOMPARE(deviceImage(device, Device::MEMORY_ID_MAIN), main);
    QCOMPARE(deviceImage(device, Device::MEMORY_ID_BACKUP), backup);
    QTest::qWait(50);
    QCOMPARE(finished.count(), 1);
}

void TestDevicePages::readPageFailures()
{
    auto* page = _page<ViewContentReadDevice>(FormContentEditor::VIEW_ID_READ_DEVICE);
    QSignalSpy finished(page, &ViewContentReadDevice::readFinished);
    QProgressBar* bar = _progressBar(FormContentEditor::VIEW_ID_READ_DEVICE);

    // The main memory comes at the real line rate (11.4 s) and the backup memory cannot be
    // selected: -3. All along, the window keeps turning and the bar follows the bytes.
    {
        const QByteArray main = randomImage(6);
        Simulator simulator;
        QVERIFY(simulator.writeStateFile(QStringLiteral("main.bin"), main));
        QVERIFY2(simulator.start({"--line-rate", "--wrong-ack-command", "2,1"}),
                 qPrintable(simulator.errorString()));
        Device* device = _selectDevice(simulator);
        QVERIFY(device != nullptr);
        QElapsedTimer clock;
        qint64 lastChangeMs = -1;
        qint64 longestWaitMs = 0;
        auto watch = connect(bar, &QProgressBar::valueChanged, this,
                             [&]()
                             {
                                 if (lastChangeMs >= 0)
                                     longestWaitMs = qMax(longestWaitMs, clock.elapsed() - lastChangeMs);
                                 lastChangeMs = clock.elapsed();
                             });
        _editor->viewPush(FormContentEditor::VIEW_ID_READ_DEVICE);
        clock.start();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
        disconnect(watch);
        QCOMPARE(finished.takeFirst().at(0).toInt(), -3);
        QCOMPARE(bar->value() * 2, bar->maximum());
        QVERIFY2(clock.elapsed() > 11000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(longestWaitMs <= 100, qPrintable(QString::number(longestWaitMs)));
        QCOMPARE(deviceImage(device, Device::MEMORY_ID_MAIN), main);
        Device::releaseSelectedDevice();
    }

    // LED blink refused: -1; the device falls silent in the middle of the main memory: -2 after
    // the 6000-poll budget, the bar showing what came; LED stop refused: -4. Entering the page
    // again starts over from the first step with an empty bar.
    struct Fault
    {
        QStringList flags;
        int result;
        int minimumMs;
        int bytesRead;
        bool enterAgain;
    };
    const Fault faults[] = {{{"--wrong-ack-command", "1,3"}, -1, 0, 0, true},
                            {{"--truncate-answer", "5,65536"}, -2, 6000, 65536, false},
                            {{"--wrong-ack-command", "1,1"}, -4, 0, 2 * MEMORY_SIZE, true}};
    for (const Fault& fault : faults)
    {
        Simulator simulator;
        QVERIFY2(simulator.start(fault.flags), qPrintable(simulator.errorString()));
        QVERIFY(_selectDevice(simulator) != nullptr);
        QElapsedTimer clock;
        clock.start();
        _editor->viewPush(FormContentEditor::VIEW_ID_READ_DEVICE);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
        QCOMPARE(finished.takeFirst().at(0).toInt(), fault.result);
        QVERIFY2(clock.elapsed() >= fault.minimumMs && clock.elapsed() < 2 * fault.minimumMs + 3000,
                 qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(qint64(bar->value()) * 2 * MEMORY_SIZE, qint64(fault.bytesRead) * bar->maximum());
        QCOMPARE(_editor->viewGetCurrent(), FormContentEditor::VIEW_ID_CONTENT_EDITOR);
        // The port is still good for the next command.
        QString serialNumber;
        QCOMPARE(Device::getSelectedDevice()->readSerialNumber(serialNumber), 0);
        if (fault.enterAgain)
        {
            simulator.clearRecord();
            _editor->viewPush(FormContentEditor::VIEW_ID_READ_DEVICE);
            QCOMPARE(bar->value(), 0);
            QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
            QCOMPARE(finished.takeFirst().at(0).toInt(), fault.result);
            QVERIFY(simulator.recordedBytes().startsWith(QByteArray::fromHex("a50103")));
        }
        Device::releaseSelectedDevice();
    }
}

void TestDevicePages::writePage()
{
    Simulator simulator;
    QVERIFY2(simulator.start(), qPrintable(simulator.errorString()));
    Device* device = _selectDevice(simulator);
    QVERIFY(device != nullptr);
    const QByteArray main = randomImage(3);
    const QByteArray backup = randomImage(4);
    memcpy(device->getMemoryBuffer(Device::MEMORY_ID_MAIN), main.constData(), MEMORY_SIZE);
    memcpy(device->getMemoryBuffer(Device::MEMORY_ID_BACKUP), backup.constData(), MEMORY_SIZE);

    auto* page = _page<ViewContentWriteDevice>(FormContentEditor::VIEW_ID_WRITE_DEVICE);
    QSignalSpy finished(page, &ViewContentWriteDevice::writeFinished);
    _editor->viewPush(FormContentEditor::VIEW_ID_WRITE_DEVICE);
    QCOMPARE(page->findChild<QLabel*>(QStringLiteral("labelDeviceName"))->text(),
             QStringLiteral("Device name: No name defined"));
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
    QCOMPARE(finished.at(0).at(0).toInt(), 0);
    QCOMPARE(_progressBar(FormContentEditor::VIEW_ID_WRITE_DEVICE)->value(), 1024);
    QCOMPARE(_progressBar(FormContentEditor::VIEW_ID_WRITE_DEVICE)->maximum(), 1024);
    QCOMPARE(_editor->viewGetCurrent(), FormContentEditor::VIEW_ID_CONTENT_EDITOR);
    // What the device stores is exactly what was written, memory by memory.
    QCOMPARE(simulator.stateFile(QStringLiteral("main.bin")), main);
    QCOMPARE(simulator.stateFile(QStringLiteral("backup.bin")), backup);
    // The run ends with the LED back to idle.
    QVERIFY(simulator.recordedBytes().endsWith(LED_IDLE));
}

void TestDevicePages::writePageFailures()
{
    auto* page = _page<ViewContentWriteDevice>(FormContentEditor::VIEW_ID_WRITE_DEVICE);
    QSignalSpy finished(page, &ViewContentWriteDevice::writeFinished);
    QProgressBar* bar = _progressBar(FormContentEditor::VIEW_ID_WRITE_DEVICE);
    const QByteArray erased(MEMORY_SIZE, '\xFF');

    // The device stops answering at backup page 0: -6, the main memory written in full, the
    // backup memory as it was.
    {
        Simulator simulator;
        QVERIFY2(simulator.start({QStringLiteral("--stop-after-pages"), QStringLiteral("512")}),
                 qPrintable(simulator.errorString()));
        Device* device = _selectDevice(simulator);
        QVERIFY(device != nullptr);
        const QByteArray main = randomImage(5);
        memcpy(device->getMemoryBuffer(Device::MEMORY_ID_MAIN), main.constData(), MEMORY_SIZE);
        memcpy(device->getMemoryBuffer(Device::MEMORY_ID_BACKUP), main.constData(), MEMORY_SIZE);
        _editor->viewPush(FormContentEditor::VIEW_ID_WRITE_DEVICE);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
        QCOMPARE(finished.takeFirst().at(0).toInt(), -6);
        QCOMPARE(bar->value(), 512);
        QCOMPARE(simulator.stateFile(QStringLiteral("main.bin")), main);
        QCOMPARE(simulator.stateFile(QStringLiteral("backup.bin")), erased);
        Device::releaseSelectedDevice();
    }

    // A wrong acknowledge to main page 7: -5 at once, the backup memory never selected. Entering
    // again starts from step 0.
    {
        Simulator simulator;
        QVERIFY2(simulator.start({QStringLiteral("--wrong-ack-page"), QStringLiteral("7")}),
                 qPrintable(simulator.errorString()));
        QVERIFY(_selectDevice(simulator) != nullptr);
        _editor->viewPush(FormContentEditor::VIEW_ID_WRITE_DEVICE);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
        QCOMPARE(finished.takeFirst().at(0).toInt(), -5);
        QCOMPARE(bar->value(), 7);
        QVERIFY(!simulator.recordedBytes().contains(QByteArray::fromHex("a50201")));

        simulator.clearRecord();
        _editor->viewPush(FormContentEditor::VIEW_ID_WRITE_DEVICE);
        QCOMPARE(bar->value(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
        QCOMPARE(finished.takeFirst().at(0).toInt(), -5);
        QVERIFY(simulator.recordedBytes().startsWith(QByteArray::fromHex("a50103a50200a5040000")));
        Device::releaseSelectedDevice();
    }

    // Refused: LED blink -1, main selection -3 (nothing written), backup selection -4 (main
    // written in full), LED stop -2 (both written).
    struct Fault
    {
        const char* acknowledgeRefused;
        int result;
        int pagesWritten;
    };
    for (const Fault& fault :
         {Fault{"1,3", -1, 0}, Fault{"2,0", -3, 0}, Fault{"2,1", -4, 512}, Fault{"1,1", -2, 1024}})
    {
        Simulator simulator;
        QVERIFY2(simulator.start({QStringLiteral("--wrong-ack-command"), fault.acknowledgeRefused}),
                 qPrintable(simulator.errorString()));
        Device* device = _selectDevice(simulator);
        QVERIFY(device != nullptr);
        const QByteArray image = randomImage(7);
        memcpy(device->getMemoryBuffer(Device::MEMORY_ID_MAIN), image.constData(), MEMORY_SIZE);
        memcpy(device->getMemoryBuffer(Device::MEMORY_ID_BACKUP), image.constData(), MEMORY_SIZE);
        _editor->viewPush(FormContentEditor::VIEW_ID_WRITE_DEVICE);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
        QCOMPARE(finished.takeFirst().at(0).toInt(), fault.result);
        QCOMPARE(bar->value(), fault.pagesWritten);
        QCOMPARE(simulator.stateFile(QStringLiteral("main.bin")), fault.pagesWritten >= 512 ? image : erased);
        QCOMPARE(simulator.stateFile(QStringLiteral("backup.bin")),
                 fault.pagesWritten == 1024 ? image : erased);
        Device::releaseSelectedDevice();
    }
}

void TestDevicePages::selectionFollowsPluggingAndBlinking()
{
    auto* page = _page<ViewContentDeviceSelection>(FormContentEditor::VIEW_ID_DEVICE_SELECTION);
    auto* list = page->findChild<QListWidget*>(QStringLiteral("listWidget"));
    auto* select = page->findChild<QPushButton*>(QStringLiteral("pushButtonSelect"));
    auto* cancel = page->findChild<QPushButton*>(QStringLiteral("pushButtonCancel"));
    QSignalSpy selected(page, &ViewContentDeviceSelection::deviceSelected);
    auto clickRow = [list](int row)
    {
        QListWidgetItem* item = list->item(row);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    };

    // Nothing plugged in: an empty list that keeps polling.
    _editor->viewPush(FormContentEditor::VIEW_ID_DEVICE_SELECTION);
    QCOMPARE(list->count(), 0);
    QVERIFY(!select->isEnabled());

    Simulator first;
    first.writeStateFile(QStringLiteral("name.bin"), nameField("Pavisor"));
    QVERIFY2(first.start({QStringLiteral("--serial"), QStringLiteral("QRTAV-000001")}),
             qPrintable(first.errorString()));
    QTRY_COMPARE_WITH_TIMEOUT(list->count(), 1, 3000);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Pavisor"));

    // Clicking makes it blink and allows "Select".
    first.clearRecord();
    clickRow(0);
    QCOMPARE(first.recordedBytes(), LED_IDENTIFY);
    QVERIFY(select->isEnabled());
    QVERIFY(Device::getSelectedDevice() != nullptr);

    // A second device with the same name comes last; the first stays current and blinking.
    Simulator second;
    second.writeStateFile(QStringLiteral("name.bin"), nameField("Pavisor"));
    QVERIFY2(second.start({QStringLiteral("--serial"), QStringLiteral("QRTAV-000002")}),
             qPrintable(second.errorString()));
    QTRY_COMPARE_WITH_TIMEOUT(list->count(), 2, 3000);
    QCOMPARE(list->currentRow(), 0);
    QVERIFY(select->isEnabled());
    QCOMPARE(Device::getSelectedDevice()->getUsbSerialNumber(), QStringLiteral("QRTAV-000001"));

    // Clicking the blinking row again sends nothing.
    first.clearRecord();
    clickRow(0);
    QTest::qWait(100);
    QCOMPARE(first.recordedBytes(), QByteArray());

    // Clicking the other row stops the first one and makes the second one blink.
    second.clearRecord();
    clickRow(1);
    QCOMPARE(first.recordedBytes(), LED_IDLE);
    QCOMPARE(second.recordedBytes(), LED_IDENTIFY);
    QCOMPARE(Device::getSelectedDevice()->getUsbSerialNumber(), QStringLiteral("QRTAV-000002"));

    // Unplugging the blinking device removes its row, disables "Select" and forgets it.
    QVERIFY(second.stop());
    QTRY_COMPARE_WITH_TIMEOUT(list->count(), 1, 3000);
    QCOMPARE(list->currentRow(), -1);
    QVERIFY(!select->isEnabled());
    QVERIFY(Device::getSelectedDevice() == nullptr);
    first.clearRecord();
    clickRow(0);
    QCOMPARE(first.recordedBytes(), LED_IDENTIFY);

    // "Cancel": no device selected, no port left open, the blinking one stopped.
    first.clearRecord();
    QTest::mouseClick(cancel, Qt::LeftButton);
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.at(0).at(0).toBool(), false);
    QVERIFY(Device::getSelectedDevice() == nullptr);
    QCOMPARE(_editor->viewGetCurrent(), FormContentEditor::VIEW_ID_CONTENT_EDITOR);
    QCOMPARE(first.recordedBytes(), LED_IDLE);
    QCOMPARE(openDescriptorsOn(first.portPath()), 0);
    // The page polls no more once left.
    first.clearRecord();
    QTest::qWait(1500);
    QCOMPARE(first.recordedBytes(), QByteArray());
}

void TestDevicePages::selectionHandsOverOneDevice()
{
    Simulator first;
    Simulator second;
    QVERIFY2(first.start({QStringLiteral("--serial"), QStringLiteral("QRTAV-000001")}) &&
                 second.start({QStringLiteral("--serial"), QStringLiteral("QRTAV-000002")}),
             qPrintable(first.errorString() + second.errorString()));

    auto* page = _page<ViewContentDeviceSelection>(FormContentEditor::VIEW_ID_DEVICE_SELECTION);
    auto* list = page->findChild<QListWidget*>(QStringLiteral("listWidget"));
    auto* select = page->findChild<QPushButton*>(QStringLiteral("pushButtonSelect"));
    QSignalSpy selected(page, &ViewContentDeviceSelection::deviceSelected);
    _editor->viewPush(FormContentEditor::VIEW_ID_DEVICE_SELECTION);
    QCOMPARE(list->count(), 2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    second.clearRecord();
    QTest::mouseClick(select, Qt::LeftButton);

    // The chosen device survives, open and no longer blinking; the other one is closed.
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.at(0).at(0).toBool(), true);
    Device* device = Device::getSelectedDevice();
    QVERIFY(device != nullptr);
    QCOMPARE(device->getUsbSerialNumber(), QStringLiteral("QRTAV-000002"));
    QCOMPARE(second.recordedBytes(), LED_IDLE);
    QCOMPARE(openDescriptorsOn(first.portPath()), 0);
    QCOMPARE(openDescriptorsOn(second.portPath()), 1);
    int hardwareVersion = 0;
    int firmwareVersion = 0;
    QCOMPARE(device->readVersionsInformation(hardwareVersion, firmwareVersion), 0);
}

void TestDevicePages::selectionReportsLedFailures()
{
    // The first device refuses to stop blinking, the second one to start.
    Simulator first;
    Simulator second;
    QVERIFY2(first.start({"--serial", "QRTAV-000001", "--wrong-ack-command", "1,1"}) &&
                 second.start({"--serial", "QRTAV-000002", "--wrong-ack-command", "1,2"}),
             qPrintable(first.errorString() + second.errorString()));

    auto* page = _page<ViewContentDeviceSelection>(FormContentEditor::VIEW_ID_DEVICE_SELECTION);
    auto* list = page->findChild<QListWidget*>(QStringLiteral("listWidget"));
    auto* select = page->findChild<QPushButton*>(QStringLiteral("pushButtonSelect"));
    _editor->viewPush(FormContentEditor::VIEW_ID_DEVICE_SELECTION);
    QCOMPARE(list->count(), 2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    QVERIFY(select->isEnabled());

    // Clicking the second row: stopping the first device fails, the user is told, the second one
    // is asked to blink all the same, fails, and the user is told again.
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
    second.clearRecord();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    QCOMPARE(messages,
             QStringList({"Could not stop the device with USB serial number 'QRTAV-000001' LED from "
                          "blinking.",
                          "Could not make the device LED blink."}));
    QCOMPARE(second.recordedBytes(), LED_IDENTIFY);
    QVERIFY(!select->isEnabled());
    QVERIFY(Device::getSelectedDevice() == nullptr);
    QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("pushButtonCancel")), Qt::LeftButton);
    QCOMPARE(openDescriptorsOn(first.portPath()) + openDescriptorsOn(second.portPath()), 0);
}

QTEST_MAIN(TestDevicePages)
#include "tst_device_pages.moc"
