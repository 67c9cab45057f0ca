// Opening a device end to end: the real main window against device simulators, from "Open
// Pavisor" to the records on screen, and every way the workflow can end early.
#include "Configuration.h"
#include "DemoContent.h"
#include "Device.h"
#include "FormContentEditor.h"
#include "Simulator.h"
#include "TestSupport.h"

#include <QtTest>
#include <QtWidgets>
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
} // namespace

class TestOpenDevice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void opensOneDeviceOrTheChosenOne();
    void failuresKeepTheEditorAndReleaseTheDevice();
    void asksFirstWhenMemoriesDifferOrDataIsUnsaved();
    void aThousandTabsOpenAndWork();
    void damagedMemoriesAreNamedAndRepaired();
    void aWrongPasswordIsRetriedWithoutReadingAgain();

private:
    std::unique_ptr<FormContentEditor> _editor;
    std::unique_ptr<QTemporaryDir> _descriptors;
    std::list<Simulator> _simulators;
    template <typename T = QPushButton> T* _widget(View view, const char* name) const
    {
        return _editor->viewGetContent(view)->findChild<T*>(QLatin1String(name));
    }
    void _trigger(const char* action) { _editor->findChild<QAction*>(QLatin1String(action))->trigger(); }
    // A simulator whose backup memory holds `backup`, or the same bytes as the main one.
    Simulator& _plug(const QByteArray& main, const QByteArray& backup = {}, const QStringList& flags = {});
    // Types the password on its page and waits for the read to end (or for the page to ask again).
    void _typePassword(const QString& password = PASSWORD);
    // How many times the whole of a memory was asked for.
    static int _memoryReadCount(const Simulator& simulator)
    {
        return int(simulator.recordedBytes().count(QByteArray::fromHex("a505")));
    }
    // Waits for the in-window message box, answers it and gives its text.
    QString _answerMessage(const char* button = "pushButtonOk");
    QStringList _tabNames() const;
    // The device is released and no descriptor of this process is open on its port.
    bool _isReleased(const Simulator& simulator) const
    {
        return Device::getSelectedDevice() == nullptr && simulator.openDescriptorCount() == 0;
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
    if (!simulator.writeMemories(main, backup) || !simulator.start(flags))
        qFatal("simulator: %s", qPrintable(simulator.errorString()));
    return simulator;
}

void TestOpenDevice::_typePassword(const QString& password)
{
    QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_INSERT_READING_MASTER_PASSWORD);
    auto* field = _widget<QLineEdit>(View::VIEW_ID_INSERT_READING_MASTER_PASSWORD, "lineEditPasswordField");
    QTest::keyClicks(field, password);
    QTest::keyClick(field, Qt::Key_Return);
    // The read page runs on timer ticks and pops itself at the end; the backup memory follows in the
    // background.
    QTRY_VERIFY_WITH_TIMEOUT(_editor->viewGetCurrent() != View::VIEW_ID_READ_DEVICE, 60000);
    QTRY_VERIFY_WITH_TIMEOUT(!_editor->_isDeviceBusy() ||
                                 _editor->viewGetCurrent() == View::VIEW_ID_INSERT_READING_MASTER_PASSWORD,
                             60000);
}

QString TestOpenDevice::_answerMessage(const char* button)
{
    if (!QTest::qWaitFor([this]() { return _editor->viewGetCurrent() == View::VIEW_ID_MESSAGE_BOX_DIALOG; },
                         20000))
        return QStringLiteral("(no message)");
    const QString text = _widget<QLabel>(View::VIEW_ID_MESSAGE_BOX_DIALOG, "labelText")->text();
    _widget(View::VIEW_ID_MESSAGE_BOX_DIALOG, button)->click();
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

void TestOpenDevice::opensOneDeviceOrTheChosenOne()
{
    // No device: the selection page, which waits for one.
    _widget(View::VIEW_ID_START_MENU, "pushButtonOpenDevice")->click();
    QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_DEVICE_SELECTION);
    _widget(View::VIEW_ID_DEVICE_SELECTION, "pushButtonCancel")->click();

    // One device: straight to the password page, whose OK needs a character and whose Show reveals it.
    const Tabs demo = DemoContent::demoTabs();
    Simulator& first = _plug(image(demo));
    auto* field = _widget<QLineEdit>(View::VIEW_ID_INSERT_READING_MASTER_PASSWORD, "lineEditPasswordField");
    auto* ok = _widget(View::VIEW_ID_INSERT_READING_MASTER_PASSWORD, "pushButtonOk");
    auto* show = _widget(View::VIEW_ID_INSERT_READING_MASTER_PASSWORD, "pushButtonShow");
    for (int round = 0; round < 2; round++)
    {
        _widget(View::VIEW_ID_START_MENU, "pushButtonOpenDevice")->click();
        QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_INSERT_READING_MASTER_PASSWORD);
        QVERIFY(field->text().isEmpty() && field->echoMode() == QLineEdit::Password &&
                show->text() == "Show");
        QVERIFY(!ok->isEnabled() && !_isReleased(first));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_INSERT_READING_MASTER_PASSWORD);
        QTest::keyClicks(field, QStringLiteral("p"));
        QVERIFY(ok->isEnabled());
        QTest::keyClick(field, Qt::Key_Backspace);
        show->click();
        QVERIFY(!ok->isEnabled() && field->echoMode() == QLineEdit::Normal && show->text() == "Hide");
        QTest::keyClicks(field, QStringLiteral("typed"));
        // Cancelling releases the device and goes back.
        _widget(View::VIEW_ID_INSERT_READING_MASTER_PASSWORD, "pushButtonCancel")->click();
        QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_START_MENU);
        QVERIFY(_isReleased(first) && !_editor->_isMasterPasswordKnown);
    }
    _widget(View::VIEW_ID_START_MENU, "pushButtonOpenDevice")->click();
    _typePassword();
    QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_CONTENT_EDITOR);
    QCOMPARE(_tabNames(), QStringList({"Personal", "Banking", "Shopping", "Social", "Work"}));
    auto* table = static_cast<PasswordTable*>(_editor->findChild<QTabWidget*>("tabWidget")->widget(4));
    QCOMPARE(table->passwords, demo[4].passwords);
    QCOMPARE(table->tableWidget()->item(table->tableWidget()->rowCount() - 1, 0)->text(),
             demo[4].passwords.last().data[0]);
    QVERIFY(_editor->_viewsStack.isEmpty() && !_editor->_isUnsavedDataPresent && _isReleased(first));
    QVERIFY(_editor->_pointerActionWriteDevice->isEnabled() && _editor->_masterPassword == PASSWORD);
    QVERIFY(_editor->findChild<QAction*>(QStringLiteral("actionImportCSV"))->isEnabled());

    // Its information page reads it (the labels are checked with the page itself) and releases it.
    _trigger("actionDisplaySerialNumber");
    QVERIFY(_editor->viewGetCurrent() == View::VIEW_ID_SHOW_DEVICE_INFORMATION && _isReleased(first));
    _widget(View::VIEW_ID_SHOW_DEVICE_INFORMATION, "pushButtonOk")->click();

    // Two devices: the user picks one. It holds an image written under scheme 1, which opens once
    // scheme 2 has said no.
    const Tabs other = DemoContent::generatedTabs(2, 2000);
    Simulator& second = _plug(image(other, Security::ENCRYPTION_SCHEME_ID_1), {},
                              {"--serial", "QRTAV-000002", "--name", "Second"});
    _trigger("actionOpenDevice");
    QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_DEVICE_SELECTION);
    auto* list = _widget<QListWidget>(View::VIEW_ID_DEVICE_SELECTION, "listWidget");
    QTRY_COMPARE(list->count(), 2);
    QListWidgetItem* item = list->findItems(QStringLiteral("Second"), Qt::MatchExactly).value(0);
    list->setCurrentItem(item);
    emit list->itemClicked(item);
    _widget(View::VIEW_ID_DEVICE_SELECTION, "pushButtonSelect")->click();
    _typePassword();
    QCOMPARE(_tabNames(), QStringList({"Tab 1", "Tab 2"}));
    QVERIFY(_isReleased(first) && _isReleased(second));
}

void TestOpenDevice::failuresKeepTheEditorAndReleaseTheDevice()
{
    const Tabs demo = DemoContent::demoTabs();
    Simulator& good = _plug(image(demo));
    _trigger("actionOpenDevice");
    _typePassword();
    QCOMPARE(_tabNames().size(), demo.size());
    good.stop();

    // Each ends with its message, the shown records, the master password and the flags intact, and
    // the device released (erased or random images are refused as a wrong password by the
    // decryption itself; a wrong password is asked again, below).
    struct Case
    {
        QStringList flags;
        QString password;
        QString message;
    };
    const QList<Case> cases = {
        {{"--silent-command", "8"}, QString(), QStringLiteral("Could not open the connected device.")},
        // Unplugged while its main memory arrives.
        {{"--byte-rate", "400000"},
         QStringLiteral("unplugged"),
         QStringLiteral("Could not read the device main memory, aborting.")},
    };
    _editor->_setUnsavedDataPresent(true);
    for (const Case& failure : cases)
    {
        Simulator& simulator = _plug(image(DemoContent::generatedTabs(2, 100)), {}, failure.flags);
        auto unplug = connect(_widget<QProgressBar>(View::VIEW_ID_READ_DEVICE, "progressBar"),
                              &QProgressBar::valueChanged, this,
                              [&](int value)
                              {
                                  if (value >= Device::MEMORY_SIZE / 2 && failure.password == "unplugged" &&
                                      simulator.isRunning())
                                      simulator.stop();
                              });
        _trigger("actionOpenDevice");
        _answerMessage("pushButtonYes");
        if (!failure.password.isEmpty())
            _typePassword(failure.password);
        disconnect(unplug);
        QCOMPARE(_answerMessage(), failure.message);
        QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_CONTENT_EDITOR);
        QCOMPARE(_tabNames().size(), demo.size());
        QVERIFY(_isReleased(simulator));
        QVERIFY(_editor->_pointerActionWriteDevice->isEnabled() && _editor->_isUnsavedDataPresent);
        QVERIFY(_editor->_masterPassword == PASSWORD && _editor->_isMasterPasswordKnown);
        simulator.stop();
    }

    // Unplugged while the backup memory arrives, the records of the main one shown.
    Simulator& simulator = _plug(image(demo), {}, {"--byte-rate", "400000"});
    bool isSaveOffered = true;
    int tabCountMeanwhile = 0;
    auto unplug = connect(&_editor->_backgroundRead, &DeviceBackgroundRead::progressed, this,
                          [&](int received)
                          {
                              if (received == 0 || !simulator.isRunning())
                                  return;
                              // Device actions wait for the backup memory; the records are already there.
                              isSaveOffered = _editor->_pointerActionWriteDevice->isEnabled() ||
                                              _editor->findChild<QAction*>("actionEraseDevice")->isEnabled();
                              tabCountMeanwhile = int(_tabNames().size());
                              simulator.stop();
                          });
    _trigger("actionOpenDevice");
    _answerMessage("pushButtonYes");
    _typePassword();
    disconnect(unplug);
    QCOMPARE(_answerMessage(),
             QStringLiteral(
                 "Could not read the device backup memory. The records shown come from its main memory."));
    QVERIFY(_isReleased(simulator) && !_editor->_isUnsavedDataPresent);
    QCOMPARE(_tabNames().size(), demo.size());
    QVERIFY(!isSaveOffered && tabCountMeanwhile == demo.size());
    QVERIFY(_editor->_pointerActionWriteDevice->isEnabled());

    // After a wrong password on another device, given up, "Save" writes the records under the
    // password that opened them, never under the mistyped one.
    Simulator& other = _plug(image(DemoContent::generatedTabs(1, 10)));
    _trigger("actionOpenDevice");
    _typePassword(QStringLiteral("mistyped"));
    _widget(View::VIEW_ID_INSERT_READING_MASTER_PASSWORD, "pushButtonCancel")->click();
    QVERIFY(_isReleased(other));
    _editor->_pointerActionWriteDevice->trigger();
    QVERIFY(_answerMessage("pushButtonYes").startsWith("Save changes to the device"));
    QTRY_VERIFY_WITH_TIMEOUT(_isReleased(other), 60000);
    QVERIFY(_editor->statusBar()->currentMessage().startsWith("All data were saved to the device"));
    QByteArray written = other.stateFile("main.bin");
    QCOMPARE(Security::decryptMemoryData(PASSWORD, Security::ENCRYPTION_SCHEME_ID_2,
                                         reinterpret_cast<unsigned char*>(written.data())),
             0);
}

void TestOpenDevice::asksFirstWhenMemoriesDifferOrDataIsUnsaved()
{
    // Differing memories that both open: the main one is shown at once; when the backup arrives, the
    // user chooses: Cancel and Yes keep the main one, No shows the backup.
    Simulator& differing =
        _plug(image(DemoContent::generatedTabs(1, 500)), image(DemoContent::generatedTabs(3, 500)));
    QString title;
    for (const auto& [answer, expected] :
         {std::pair{QMessageBox::Cancel, QStringList({"Tab 1"})},
          std::pair{QMessageBox::No, QStringList({"Tab 1", "Tab 2", "Tab 3"})},
          std::pair{QMessageBox::Yes, QStringList({"Tab 1"})}})
    {
        TestSupport::answerNextModal(
            [&title, answer = answer](QWidget* modal)
            {
                title = modal->windowTitle();
                static_cast<QMessageBox*>(modal)->button(answer)->click();
            },
            30000);
        _trigger("actionOpenDevice");
        _typePassword();
        QCOMPARE(title, QStringLiteral("Warning"));
        QCOMPARE(_tabNames(), expected);
        QVERIFY(_isReleased(differing));
    }
    differing.stop();

    // Unsaved changes: "No" leaves everything as it was, the device untouched; "Yes" goes on.
    const Tabs demo = DemoContent::demoTabs();
    Simulator& simulator = _plug(image(demo));
    _editor->_setUnsavedDataPresent(true);
    _trigger("actionOpenDevice");
    QVERIFY(_answerMessage("pushButtonNo").startsWith("You have made some modifications"));
    QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_CONTENT_EDITOR);
    QVERIFY(simulator.recordedBytes().isEmpty() && _editor->_isUnsavedDataPresent);
    _trigger("actionOpenDevice");
    _answerMessage("pushButtonYes");
    _typePassword();
    QCOMPARE(_tabNames().size(), demo.size());
    QVERIFY(!_editor->_isUnsavedDataPresent);
    // The records of the first tab have the keyboard.
    auto* firstTable =
        static_cast<PasswordTable*>(_editor->findChild<QTabWidget*>(QStringLiteral("tabWidget"))->widget(0));
    QVERIFY(!firstTable->passwords.isEmpty());
    QCOMPARE(_editor->focusWidget(), firstTable->tableWidget());
}

void TestOpenDevice::aThousandTabsOpenAndWork()
{
    // A damaged or hostile image may hold a thousand tabs (its speed is measured by bench_open).
    // Tables are built when first shown, so tabs never shown must still be searched, offered in the
    // menus, receive records and show them. Tab k holds "Site k" while there are records for it.
    _editor->show();
    _plug(image(DemoContent::generatedTabs(1000, 40000)));
    for (int round = 0; round < 2; round++)
    {
        _trigger("actionOpenDevice");
        _typePassword();
        QCOMPARE(int(_tabNames().size()), 1000);
        QCOMPARE(_tabNames().last(), QStringLiteral("Tab 1000"));
    }
    auto* tabWidget = _editor->findChild<QTabWidget*>(QStringLiteral("tabWidget"));
    QCOMPARE(tabWidget->currentIndex(), 0);
    // With no record in the first tab (as here), the keyboard goes to "New" record, not to the tab buttons.
    QVERIFY(static_cast<PasswordTable*>(tabWidget->widget(0))->passwords.isEmpty());
    QCOMPARE(_editor->focusWidget(),
             _editor->findChild<QPushButton*>(QStringLiteral("pushButtonNewPassword")));
    // Tabs are laid out with their real sizes, names readable.
    QVERIFY(tabWidget->tabBar()->tabRect(999).width() >
            tabWidget->fontMetrics().horizontalAdvance("Tab 1000"));

    // Searching all tabs from tab 1 lands on the name cell of "Site 100", in a tab never shown.
    tabWidget->setCurrentIndex(1);
    _editor->findChild<QCheckBox*>(QStringLiteral("checkBoxSearchInAllTabs"))->setChecked(true);
    auto* search = _editor->findChild<QLineEdit*>(QStringLiteral("lineEditSearch"));
    QTest::keyClicks(search, QStringLiteral("Site 100"));
    _editor->findChild<QPushButton*>(QStringLiteral("pushButtonNextSearchResult"))->click();
    QCOMPARE(tabWidget->currentIndex(), 100);
    auto* table = static_cast<PasswordTable*>(tabWidget->currentWidget());
    QTableWidget* cells = table->tableWidget();
    QCOMPARE(QVariantList({cells->currentRow(), cells->currentColumn(), cells->item(0, 0)->text()}),
             QVariantList({0, 0, "Site 100"}));

    // Moved into the last tab, never shown either: the menu offers every other tab.
    QMenu* moveMenu = cells->actions()[4]->menu();
    emit moveMenu->aboutToShow();
    QCOMPARE(moveMenu->actions().size(), 999);
    QCOMPARE(moveMenu->actions().last()->text(), QStringLiteral("Tab 1000"));
    moveMenu->actions().last()->trigger();
    QCOMPARE(cells->rowCount(), 0);
    tabWidget->setCurrentIndex(999);
    auto* lastTable = static_cast<PasswordTable*>(tabWidget->currentWidget());
    cells = lastTable->tableWidget();
    QVERIFY(lastTable->isVisible());
    QCOMPARE(cells->rowCount(), 1);
    QCOMPARE(cells->item(0, 3)->text(), QStringLiteral("https://site100.example.com"));
    // Its context menu's "Edit" opens the record.
    cells->setCurrentCell(0, 1);
    cells->actions()[2]->trigger();
    QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_PASSWORD_INFORMATION);
    QCOMPARE(_widget<QLineEdit>(View::VIEW_ID_PASSWORD_INFORMATION, "lineEditName")->text(),
             QStringLiteral("Site 100"));
}

void TestOpenDevice::damagedMemoriesAreNamedAndRepaired()
{
    // An image cut short by a power cut: its first pages, then erased flash.
    const auto halfWritten = [](QByteArray bytes)
    {
        bytes.replace(Device::MEMORY_SIZE / 2, Device::MEMORY_SIZE / 2,
                      QByteArray(Device::MEMORY_SIZE / 2, '\xff'));
        return bytes;
    };
    const QByteArray newImage = image(DemoContent::generatedTabs(2, 300));
    const QByteArray oldImage = image(DemoContent::generatedTabs(4, 300));
    QString question;
    const auto answer = [&question](const char* buttonText)
    {
        TestSupport::answerNextModal(
            [&question, buttonText](QWidget* modal)
            {
                auto* box = static_cast<QMessageBox*>(modal);
                question = box->windowTitle() + " / " + box->text();
                for (QAbstractButton* button : box->buttons())
                {
                    if (button->text() == QLatin1String(buttonText))
                        button->click();
                }
            },
            60000);
    };

    // A damaged backup: the main memory's records, the damage named, and "Not now" changes nothing;
    // the information page says what each memory holds. "Repair" makes both memories equal.
    Simulator& device = _plug(newImage, halfWritten(newImage));
    for (const char* choice : {"Not now", "Repair"})
    {
        answer(choice);
        _trigger("actionOpenDevice");
        _typePassword();
        QVERIFY2(question.startsWith("Damaged memory / The backup memory of the device"),
                 qPrintable(question));
        QCOMPARE(_tabNames(), QStringList({"Tab 1", "Tab 2"}));
        if (QLatin1String(choice) == QLatin1String("Not now"))
        {
            QCOMPARE(device.stateFile("backup.bin"), halfWritten(newImage));
            _trigger("actionDisplaySerialNumber");
            QCOMPARE(_widget<QLabel>(View::VIEW_ID_SHOW_DEVICE_INFORMATION, "labelMainMemory")->text(),
                     "opens");
            QCOMPARE(_widget<QLabel>(View::VIEW_ID_SHOW_DEVICE_INFORMATION, "labelBackupMemory")->text(),
                     "damaged");
            _widget(View::VIEW_ID_SHOW_DEVICE_INFORMATION, "pushButtonOk")->click();
        }
    }
    QCOMPARE(_answerMessage(), QStringLiteral("Both device memories hold the same complete content again."));
    QVERIFY(_isReleased(device));
    QCOMPARE(device.stateFile("backup.bin"), newImage);
    device.stop();

    // A damaged main memory: the backup memory's records, then the main memory repaired from it.
    Simulator& cut = _plug(halfWritten(newImage), oldImage, {"--serial", "QRTAV-000003"});
    answer("Repair");
    _trigger("actionOpenDevice");
    _typePassword();
    QVERIFY2(question.startsWith("Damaged memory / The main memory of the device"), qPrintable(question));
    QCOMPARE(_tabNames().size(), 4);
    QCOMPARE(_answerMessage(), QStringLiteral("Both device memories hold the same complete content again."));
    QTRY_VERIFY(_isReleased(cut));
    QCOMPARE(cut.stateFile("main.bin"), oldImage);
}

void TestOpenDevice::aWrongPasswordIsRetriedWithoutReadingAgain()
{
    const Tabs demo = DemoContent::demoTabs();
    Simulator& good = _plug(image(demo));
    _trigger("actionOpenDevice");
    _typePassword();
    good.stop();
    _editor->_setUnsavedDataPresent(true);
    const auto isEditorAsBefore = [&]()
    {
        return _tabNames().size() == demo.size() && _editor->_isUnsavedDataPresent &&
               _editor->_masterPassword == PASSWORD && _editor->_isMasterPasswordKnown;
    };

    // A wrong password reads both memories once and asks again on the page, saying why; the device
    // stays selected with what was read, and the editor keeps everything. Another wrong one, then
    // the right one, are tried on those images: nothing more is read.
    const Tabs other = DemoContent::generatedTabs(3, 100);
    const QString otherPassword = QStringLiteral("other horse");
    Simulator& device =
        _plug(DemoContent::encryptedImage(other, otherPassword, Security::ENCRYPTION_SCHEME_ID_2), {},
              {"--serial", "QRTAV-000004"});
    auto* error = _widget<QLabel>(View::VIEW_ID_INSERT_READING_MASTER_PASSWORD, "labelError");
    auto* field = _widget<QLineEdit>(View::VIEW_ID_INSERT_READING_MASTER_PASSWORD, "lineEditPasswordField");
    for (const QString& wrong : {PASSWORD, QStringLiteral("other horsE")})
    {
        _trigger("actionOpenDevice");
        _answerMessage("pushButtonYes");
        QVERIFY(error->isHidden());
        _typePassword(wrong);
        QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_INSERT_READING_MASTER_PASSWORD);
        QVERIFY2(!error->isHidden() && error->text().startsWith("Wrong password"), qPrintable(error->text()));
        QVERIFY(field->text().isEmpty());
        QVERIFY(Device::getSelectedDevice() != nullptr && isEditorAsBefore());
        QCOMPARE(_memoryReadCount(device), 2);
        _typePassword(wrong + "!");
        QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_INSERT_READING_MASTER_PASSWORD);
        QCOMPARE(_memoryReadCount(device), 2);
        QVERIFY(isEditorAsBefore());
        // Given up: the device goes, the editor as it was.
        if (wrong == PASSWORD)
        {
            _widget(View::VIEW_ID_INSERT_READING_MASTER_PASSWORD, "pushButtonCancel")->click();
            QVERIFY(_isReleased(device) && isEditorAsBefore());
            QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_CONTENT_EDITOR);
            device.clearRecord();
        }
    }
    _typePassword(otherPassword);
    QCOMPARE(_editor->viewGetCurrent(), View::VIEW_ID_CONTENT_EDITOR);
    QCOMPARE(_tabNames(), QStringList({"Tab 1", "Tab 2", "Tab 3"}));
    QVERIFY(_isReleased(device) && !_editor->_isUnsavedDataPresent);
    QVERIFY(_editor->_masterPassword == otherPassword);
    QCOMPARE(_memoryReadCount(device), 2);
    device.stop();

    // A device that was never written is named as blank, with how to set it up; nothing changes.
    _editor->_setUnsavedDataPresent(true);
    Simulator& blank = _plug(QByteArray(Device::MEMORY_SIZE, '\xff'), {}, {"--serial", "QRTAV-000005"});
    _trigger("actionOpenDevice");
    _answerMessage("pushButtonYes");
    _typePassword();
    const QString text = _answerMessage();
    QVERIFY2(text.startsWith("This Pavisor is blank") && text.contains("start initializing your Pavisor"),
             qPrintable(text));
    QVERIFY(_isReleased(blank) && _editor->_isUnsavedDataPresent &&
            _editor->_masterPassword == otherPassword);
    QCOMPARE(_tabNames().size(), other.size());
}

QTEST_MAIN(TestOpenDevice)
#include "tst_open_device.moc"
