// Opening a device end to end: the real main window against device simulators, from "Open
// Pavisor" to the records on screen, and every way the workflow can end early.
#include "Configuration.h"
#include "DemoContent.h"
#include "Device.h"
#include "FormContentEditor.h"
#include "PasswordTable.h"
#include "Simulator.h"
#include "TestSupport.h"
#include "ViewBase.h"
#include "ViewContentInsertReadingMasterPassword.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <list>
#include <memory>

namespace
{
using Tabs = QList<PasswordStoreCodec::Tab>;
using View = FormContentEditor::ViewId;
const QString PASSWORD = QStringLiteral("correct horse");

QByteArray image(const Tabs& tabs, Security::EncryptionSchemeId scheme = Security::ENCRYPTION_SCHEME_ID_2)
{
    return DemoContent::encryptedImage(tabs, PASSWORD, scheme);
}

// How many of this process's descriptors are open on `path` (the port of a simulator).
int openDescriptorsOn(const QString& path)
{
    int count = 0;
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QString& entry : descriptors.entryList(QDir::NoDotAndDotDot | QDir::System | QDir::Files))
        count += QFileInfo(descriptors.filePath(entry)).symLinkTarget() == path ? 1 : 0;
    return count;
}
} // namespace

class TestOpenDevice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void readingPasswordPage();
    void opensOneDeviceOrTheChosenOne();
    void failuresKeepTheEditorAndReleaseTheDevice();
    void asksWhichMemoryWhenTheyDiffer();
    void asksBeforeDroppingUnsavedChanges();
    void loadsAThousandTabsQuickly();

private:
    std::unique_ptr<FormContentEditor> _editor;
    std::unique_ptr<QTemporaryDir> _descriptors;
    std::list<Simulator> _simulators;

    template <typename T> T* _widget(View view, const char* name) const
    {
        return _editor->viewGetContent(view)->findChild<T*>(QLatin1String(name));
    }
    // A simulator whose backup memory holds `backup`, or the same bytes as the main one.
    Simulator& _plug(const QByteArray& main, const QByteArray& backup = {}, const QStringList& flags = {});
    // Starts opening from the File menu, types the password and waits for the workflow to end.
    void _open(const QString& password = PASSWORD);
    void _typePassword(const QString& password);
    // Waits for the in-window message box, closes it with OK and gives its text.
    QString _takeMessage();
    QStringList _tabNames() const;
    // The device is released and its port closed.
    bool _isReleased(const Simulator& simulator) const
    {
        return Device::getSelectedDevice() == nullptr && openDescriptorsOn(simulator.portPath()) == 0;
    }
};

void TestOpenDevice::initTestCase()
{
    QVERIFY2(!Simulator::executablePath().isEmpty(), "the device simulator was not built");
    Configuration::initialize();
}

void TestOpenDevice::init()
{
    _descriptors = std::make_unique<QTemporaryDir>();
    qputenv("PAVISOR_SIMULATOR_DIR", _descriptors->path().toLocal8Bit());
    _editor = std::make_unique<FormContentEditor>();
    pointerFormContentEditor = _editor.get();
}

void TestOpenDevice::cleanup()
{
    Device::releaseSelectedDevice();
    _simulators.clear();
    _editor.reset();
    pointerFormContentEditor = nullptr;
    qunsetenv("PAVISOR_SIMULATOR_DIR");
}

Simulator& TestOpenDevice::_plug(const QByteArray& main, const QByteArray& backup, const QStringList& flags)
{
    Simulator& simulator = _simulators.emplace_back();
    simulator.writeStateFile(QStringLiteral("main.bin"), main);
    simulator.writeStateFile(QStringLiteral("backup.bin"), backup.isEmpty() ? main : backup);
    if (!simulator.start(flags))
        qFatal("simulator: %s", qPrintable(simulator.errorString()));
    return simulator;
}

void TestOpenDevice::_typePassword(const QString& password)
{
    QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_INSERT_READING_MASTER_PASSWORD);
    auto* field = _widget<QLineEdit>(View::VIEW_ID_INSERT_READING_MASTER_PASSWORD, "lineEditPasswordField");
    QTest::keyClicks(field, password);
    QTest::keyClick(field, Qt::Key_Return);
}

void TestOpenDevice::_open(const QString& password)
{
    _editor->findChild<QAction*>(QStringLiteral("actionOpenDevice"))->trigger();
    _typePassword(password);
    // The read page runs on timer ticks and pops itself at the end.
    QTRY_VERIFY_WITH_TIMEOUT(_editor->viewGetCurrent() != View::VIEW_ID_READ_DEVICE, 60000);
}

QString TestOpenDevice::_takeMessage()
{
    if (!QTest::qWaitFor([this]() { return _editor->viewGetCurrent() == View::VIEW_ID_MESSAGE_BOX_DIALOG; },
                         20000))
        return QStringLiteral("(no message)");
    const QString text = _widget<QLabel>(View::VIEW_ID_MESSAGE_BOX_DIALOG, "labelText")->text();
    _widget<QPushButton>(View::VIEW_ID_MESSAGE_BOX_DIALOG, "pushButtonOk")->click();
    return text;
}

QStringList TestOpenDevice::_tabNames() const
{
    auto* tabWidget = _editor->findChild<QTabWidget*>(QStringLiteral("tabWidget"));
    QStringList names;
    for (int index = 0; index < tabWidget->count(); index++)
        names << tabWidget->tabText(index);
    return names;
}

void TestOpenDevice::readingPasswordPage()
{
    auto* page = static_cast<ViewContentInsertReadingMasterPassword*>(
        _editor->viewGetContent(View::VIEW_ID_INSERT_READING_MASTER_PASSWORD));
    QObject::disconnect(page, nullptr, _editor.get(), nullptr);
    QSignalSpy finished(page, &ViewContentInsertReadingMasterPassword::insertionFinished);
    auto* field = _widget<QLineEdit>(View::VIEW_ID_INSERT_READING_MASTER_PASSWORD, "lineEditPasswordField");
    auto* ok = _widget<QPushButton>(View::VIEW_ID_INSERT_READING_MASTER_PASSWORD, "pushButtonOk");
    auto* show = _widget<QPushButton>(View::VIEW_ID_INSERT_READING_MASTER_PASSWORD, "pushButtonShow");

    // Each entry starts empty and hidden, even after a password was shown and confirmed.
    for (int round = 0; round < 2; round++)
    {
        _editor->viewPush(View::VIEW_ID_INSERT_READING_MASTER_PASSWORD);
        QVERIFY(field->text().isEmpty() && !ok->isEnabled());
        QCOMPARE(field->echoMode(), QLineEdit::Password);
        QCOMPARE(show->text(), QStringLiteral("Show"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(finished.count(), 0);
        QTest::keyClicks(field, QStringLiteral("p"));
        QVERIFY(ok->isEnabled());
        QTest::keyClick(field, Qt::Key_Backspace);
        QVERIFY(!ok->isEnabled());
        show->click();
        QCOMPARE(field->echoMode(), QLineEdit::Normal);
        QCOMPARE(show->text(), QStringLiteral("Hide"));
        QTest::keyClicks(field, QStringLiteral("pw %1").arg(round));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(finished.takeFirst(), QVariantList({true, QStringLiteral("pw %1").arg(round)}));
        QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_START_MENU);
    }
    show->click();
    QCOMPARE(field->echoMode(), QLineEdit::Password);

    _editor->viewPush(View::VIEW_ID_INSERT_READING_MASTER_PASSWORD);
    QTest::keyClicks(field, QStringLiteral("typed"));
    _widget<QPushButton>(View::VIEW_ID_INSERT_READING_MASTER_PASSWORD, "pushButtonCancel")->click();
    QCOMPARE(finished.takeFirst(), QVariantList({false, QString()}));
    QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_START_MENU);
}

void TestOpenDevice::opensOneDeviceOrTheChosenOne()
{
    auto* openButton = _widget<QPushButton>(View::VIEW_ID_START_MENU, "pushButtonOpenDevice");

    // No device: the selection page, which waits for one.
    openButton->click();
    QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_DEVICE_SELECTION);
    _widget<QPushButton>(View::VIEW_ID_DEVICE_SELECTION, "pushButtonCancel")->click();

    // One device: straight to the password page. Cancelling there releases it.
    const Tabs demo = DemoContent::demoTabs();
    Simulator& first = _plug(image(demo));
    openButton->click();
    QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_INSERT_READING_MASTER_PASSWORD);
    QVERIFY(!_isReleased(first));
    _widget<QPushButton>(View::VIEW_ID_INSERT_READING_MASTER_PASSWORD, "pushButtonCancel")->click();
    QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_START_MENU);
    QVERIFY(_isReleased(first));

    openButton->click();
    _typePassword(PASSWORD);
    QTRY_COMPARE_WITH_TIMEOUT(_editor->viewGetCurrent(), View::VIEW_ID_CONTENT_EDITOR, 20000);
    QCOMPARE(_tabNames(), QStringList({"Personal", "Banking", "Shopping", "Social", "Work"}));
    auto* table = static_cast<PasswordTable*>(_editor->findChild<QTabWidget*>("tabWidget")->widget(4));
    QCOMPARE(table->passwords, demo[4].passwords);
    QCOMPARE(table->tableWidget->rowCount(), int(demo[4].passwords.size()));
    QCOMPARE(table->tableWidget->item(0, 0)->text(), demo[4].passwords[0].data[0]);
    QVERIFY(_editor->_viewsStack.isEmpty() && !_editor->_isUnsavedDataPresent);
    QVERIFY(_editor->_isMasterPasswordKnown && _editor->_masterPassword == PASSWORD);
    QVERIFY(_editor->findChild<QAction*>(QStringLiteral("actionImportCSV"))->isEnabled());
    QVERIFY(_isReleased(first));

    // Two devices: the user picks one. The second holds an image written under scheme 1, which
    // opens once scheme 2 has said no.
    const Tabs other = DemoContent::generatedTabs(2, 2000);
    Simulator& second = _plug(image(other, Security::ENCRYPTION_SCHEME_ID_1), {},
                              {"--serial", "QRTAV-000002", "--name", "Second"});
    _editor->findChild<QAction*>(QStringLiteral("actionOpenDevice"))->trigger();
    QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_DEVICE_SELECTION);
    auto* list = _widget<QListWidget>(View::VIEW_ID_DEVICE_SELECTION, "listWidget");
    QTRY_COMPARE(list->count(), 2);
    QListWidgetItem* item = list->findItems(QStringLiteral("Second"), Qt::MatchExactly).value(0);
    QVERIFY(item != nullptr);
    list->setCurrentItem(item);
    emit list->itemClicked(item);
    _widget<QPushButton>(View::VIEW_ID_DEVICE_SELECTION, "pushButtonSelect")->click();
    _typePassword(PASSWORD);
    QTRY_COMPARE_WITH_TIMEOUT(_tabNames(), QStringList({"Tab 1", "Tab 2"}), 20000);
    QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_CONTENT_EDITOR);
    QVERIFY(_isReleased(first) && _isReleased(second));
}

void TestOpenDevice::failuresKeepTheEditorAndReleaseTheDevice()
{
    const Tabs demo = DemoContent::demoTabs();
    Simulator& good = _plug(image(demo));
    _open();
    QCOMPARE(_tabNames().size(), demo.size());

    // Each ends with its message, the shown records intact and the device released.
    const QString wrongPassword =
        QStringLiteral("Failed to decrypt data. Make sure you provided the correct password.");
    const QByteArray erased(Device::MEMORY_SIZE, '\xFF');
    const QByteArray zeros(Device::MEMORY_SIZE, '\0');
    const QByteArray unknownScheme =
        DemoContent::encryptedImage(demo, PASSWORD, Security::ENCRYPTION_SCHEME_ID_0);
    QVERIFY(unknownScheme.isEmpty());
    struct Case
    {
        QByteArray image;
        QStringList flags;
        QString password;
        QString message;
        bool isUnpluggedDuringRead;
    };
    const QList<Case> cases = {
        {image(demo), {}, QStringLiteral("correct horsE"), wrongPassword, false},
        {erased, {}, PASSWORD, wrongPassword, false},
        {zeros, {}, PASSWORD, wrongPassword, false},
        {image(demo),
         {"--silent-command", "8"},
         QString(),
         QStringLiteral("Could not open the connected device."),
         false},
        {image(demo),
         {},
         PASSWORD,
         QStringLiteral("Could not read the device backup memory, aborting."),
         true},
    };
    good.stop();
    for (const Case& failure : cases)
    {
        _editor->_isMasterPasswordKnown = true;
        Simulator& simulator = _plug(failure.image, {}, failure.flags);
        // Unplugged once the main memory is in.
        auto unplug = connect(_widget<QProgressBar>(View::VIEW_ID_READ_DEVICE, "progressBar"),
                              &QProgressBar::valueChanged, this,
                              [&](int value)
                              {
                                  if (value >= Device::MEMORY_SIZE && failure.isUnpluggedDuringRead &&
                                      simulator.isRunning())
                                      simulator.stop();
                              });
        if (failure.password.isEmpty())
            _editor->findChild<QAction*>(QStringLiteral("actionOpenDevice"))->trigger();
        else
            _open(failure.password);
        disconnect(unplug);
        QCOMPARE(_takeMessage(), failure.message);
        QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_CONTENT_EDITOR);
        QCOMPARE(_tabNames().size(), demo.size());
        QVERIFY(_isReleased(simulator));
        // Only a password that opens nothing makes the shown data unsavable.
        QCOMPARE(_editor->_isMasterPasswordKnown, failure.message != wrongPassword);
        simulator.stop();
    }
}

void TestOpenDevice::asksWhichMemoryWhenTheyDiffer()
{
    const Tabs mainTabs = DemoContent::generatedTabs(1, 500);
    const Tabs backupTabs = DemoContent::generatedTabs(3, 500);
    Simulator& simulator = _plug(image(mainTabs), image(backupTabs));
    QString title;
    for (const auto& [answer, expected] :
         {std::pair{QMessageBox::Cancel, QStringList()},
          std::pair{QMessageBox::No, QStringList({"Tab 1", "Tab 2", "Tab 3"})},
          std::pair{QMessageBox::Yes, QStringList({"Tab 1"})}})
    {
        TestSupport::answerNextModal(
            [&title, answer = answer](QWidget* modal)
            {
                auto* box = qobject_cast<QMessageBox*>(modal);
                title = box->windowTitle();
                box->button(answer)->click();
            },
            30000);
        _open();
        QCOMPARE(title, QStringLiteral("Warning"));
        QCOMPARE(_tabNames(), expected);
        QVERIFY(_isReleased(simulator));
    }
}

void TestOpenDevice::asksBeforeDroppingUnsavedChanges()
{
    const Tabs demo = DemoContent::demoTabs();
    Simulator& simulator = _plug(image(demo));
    _editor->viewReplace(View::VIEW_ID_CONTENT_EDITOR);
    _editor->_isUnsavedDataPresent = true;

    // "No": nothing happens and the device is not even touched.
    auto* openAction = _editor->findChild<QAction*>(QStringLiteral("actionOpenDevice"));
    openAction->trigger();
    QTRY_COMPARE(_editor->viewGetCurrent(), View::VIEW_ID_MESSAGE_BOX_DIALOG);
    QVERIFY(
        _widget<QLabel>(View::VIEW_ID_MESSAGE_BOX_DIALOG, "labelText")->text().startsWith("You have made"));
    _widget<QPushButton>(View::VIEW_ID_MESSAGE_BOX_DIALOG, "pushButtonNo")->click();
    QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_CONTENT_EDITOR);
    QVERIFY(simulator.recordedBytes().isEmpty());

    // "Yes": the open goes on and ends with no unsaved data.
    openAction->trigger();
    QTRY_COMPARE(_editor->viewGetCurrent(), View::VIEW_ID_MESSAGE_BOX_DIALOG);
    _widget<QPushButton>(View::VIEW_ID_MESSAGE_BOX_DIALOG, "pushButtonYes")->click();
    _typePassword(PASSWORD);
    QTRY_COMPARE_WITH_TIMEOUT(_tabNames().size(), demo.size(), 20000);
    QVERIFY(!_editor->_isUnsavedDataPresent);
}

void TestOpenDevice::loadsAThousandTabsQuickly()
{
    // A damaged or hostile image may hold thousands of tabs; loading it, and replacing it, stays fast.
    const QByteArray thousandTabs = image(DemoContent::generatedTabs(1000, 0));
    _plug(thousandTabs);
    for (int round = 0; round < 2; round++)
    {
        QElapsedTimer clock;
        clock.start();
        _open();
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(int(_tabNames().size()), 1000);
        QCOMPARE(_tabNames().last(), QStringLiteral("Tab 1000"));
    }
}

QTEST_MAIN(TestOpenDevice)
#include "tst_open_device.moc"
