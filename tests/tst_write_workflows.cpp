// Save, erase, copy and rename end to end against device simulators: driven through the real pages
// and message boxes, checked on what the simulator stores and on what that decrypts to.
// Every save, copy and opening costs key derivations of 262144 iterations.
#include "BackupFile.h"
#include "Configuration.h"
#include "Device.h"
#include "FormContentEditor.h"
#include "PasswordStoreCodec.h"
#include "PasswordTable.h"
#include "Security.h"
#include "Simulator.h"
#include "TestSupport.h"
#include "ViewBase.h"
#include "ViewContentInsertWritingMasterPassword.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;
using E = FormContentEditor;

namespace
{
using Tabs = QList<PasswordStoreCodec::Tab>;
const QString PASSWORD = u"Mot de passe \u00e9prouv\u00e9 \u2713"_s;
const QString WRITE_ERROR = u"Write error / Data could not be successfully written. Please retry.\n"
                            "Consider changing the device if this error is still occurring."_s;
const QByteArray MEMORY_SELECTION = QByteArray::fromHex("a502");

// Two tabs of records whose fields are padded to fieldSize characters.
Tabs content(const QString& label, int recordCount, int fieldSize = 0)
{
    Tabs tabs{{label + u'0', {}}, {label + u'1', {}}};
    for (PasswordStoreCodec::Tab& tab : tabs)
        for (int record = 0; record < recordCount; record++)
        {
            PasswordTable::Password password;
            for (QString& field : password.data)
                field = u"%1 %2 \u00e9"_s.arg(tab.name).arg(record).leftJustified(fieldSize, u'x');
            tab.passwords.append(password);
        }
    return tabs;
}

QStringList flatten(const Tabs& tabs)
{
    QStringList texts;
    for (const PasswordStoreCodec::Tab& tab : tabs)
    {
        texts << u"tab "_s + tab.name;
        for (const PasswordTable::Password& password : tab.passwords)
            texts << QStringList(std::begin(password.data), std::end(password.data)).join(u'|');
    }
    return texts;
}

QByteArray encrypted(const Tabs& tabs)
{
    QByteArray image(Device::MEMORY_SIZE, '\0');
    auto* bytes = reinterpret_cast<unsigned char*>(image.data());
    const bool isDone =
        PasswordStoreCodec::encode(tabs, bytes) >= 0 &&
        Security::encryptMemoryData(PASSWORD, Security::ENCRYPTION_SCHEME_ID_WRITTEN, bytes) == 0;
    return isDone ? image : QByteArray();
}

// The plaintext of a scheme 2 image, and its tabs (the encryption itself is checked against an
// independent implementation by tst_security).
Tabs decrypted(QByteArray image, QByteArray* plaintext)
{
    Tabs tabs;
    auto* bytes = reinterpret_cast<unsigned char*>(image.data());
    if (Security::decryptMemoryData(PASSWORD, Security::ENCRYPTION_SCHEME_ID_2, bytes) == 0)
        PasswordStoreCodec::parse(bytes, &tabs);
    *plaintext = image;
    return tabs;
}

// What the device opens to: its main memory, or its backup memory when the main one does not open
// (the open workflow's own choice is checked by tst_open_device).
Tabs opened(const Simulator& simulator)
{
    QByteArray plaintext;
    const Tabs tabs = decrypted(simulator.stateFile(u"main.bin"_s), &plaintext);
    return tabs.isEmpty() ? decrypted(simulator.stateFile(u"backup.bin"_s), &plaintext) : tabs;
}

// Everything a device stores that a workflow may write: a device that was not chosen must keep it.
QByteArray stored(const Simulator& simulator)
{
    return simulator.stateFile(u"main.bin"_s) + simulator.stateFile(u"backup.bin"_s) +
           simulator.stateFile(u"name.bin"_s);
}

// Starts a simulator whose memories both hold `image` (when given).
bool start(Simulator& simulator, const QStringList& flags, const QByteArray& image = {})
{
    if (!image.isEmpty() && !simulator.writeMemories(image))
        return false;
    return simulator.start(flags) || (qWarning("%s", qPrintable(simulator.errorString())), false);
}

// Turns the event loop until `condition` holds: QTest's waits sleep between turns, which would slow
// the write page (one page per turn) down a hundredfold.
bool runUntil(const std::function<bool()>& condition, int timeoutMs = 120000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return condition();
}

// Answers the next native question box with `button`, keeping its text in *text.
void answerQuestion(QMessageBox::StandardButton button, QString* text)
{
    TestSupport::answerNextModal(
        [text, button](QWidget* box)
        {
            *text = static_cast<QMessageBox*>(box)->text();
            static_cast<QMessageBox*>(box)->button(button)->click();
        });
}
} // namespace

class TestWriteWorkflows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Configuration::initialize(); }
    void init();
    void cleanup();
    void saveWorkflow();
    void eraseWizard();
    void copyWizardAndRename();
    void interruptedSavesLeaveADeviceThatOpens();
    void backupFileRestoreAndAutomaticBackups();
    // Last: it quits the application, after which no event loop (a dialog's included) runs again.
    void retriedSavesSwapsAndSelfCopiesKeepAGoodCopy();

private:
    std::unique_ptr<FormContentEditor> _editor;
    std::unique_ptr<QTemporaryDir> _descriptors;

    // Puts tabs in the editor as unsaved data under PASSWORD.
    void _showInEditor(const Tabs& tabs);
    template <typename Widget = QPushButton> Widget* _widget(E::ViewId id, const char* name)
    {
        return _editor->viewGetContent(id)->findChild<Widget*>(QLatin1String(name));
    }
    void _click(E::ViewId id, const char* name) { _widget(id, name)->click(); }
    void _trigger(const QString& action) { _editor->findChild<QAction*>(action)->trigger(); }
    bool _waitForView(E::ViewId id, int timeoutMs = 120000)
    {
        return runUntil([this, id]() { return _editor->viewGetCurrent() == id; }, timeoutMs);
    }
    // Waits for the in-window message box: "title / text", or a note that none came; then clicks
    // `button` when given.
    QString _nextMessage(const char* button = nullptr, int timeoutMs = 120000);
    // Answers the selection page, which comes when two devices are plugged in: the row of the device
    // named `name`, then Select.
    bool _choose(const QString& name);
    // Save (with `device` chosen on the selection page when given), Save at the confirmation, then
    // what ends the workflow: see _saveEnding().
    QString _save(const QString& device = {});
    // After the confirmation: the message that ends the save (dismissed), or for a save that worked
    // "Saved / " and the notice of the status area.
    QString _saveEnding();
    // Types `password` on the reading master password page and waits until nothing runs any more.
    void _typeReadingPassword(const QString& password);
};

void TestWriteWorkflows::init()
{
    _descriptors = std::make_unique<QTemporaryDir>();
    qputenv("PAVISOR_SIMULATOR_DIR", _descriptors->path().toLocal8Bit());
    _editor = std::make_unique<FormContentEditor>();
    pointerFormContentEditor = _editor.get();
    _editor->viewReplace(E::VIEW_ID_CONTENT_EDITOR);
}

void TestWriteWorkflows::cleanup()
{
    Device::releaseSelectedDevice();
    _editor.reset();
    pointerFormContentEditor = nullptr;
    qunsetenv("PAVISOR_SIMULATOR_DIR");
}

void TestWriteWorkflows::_showInEditor(const Tabs& tabs)
{
    for (const PasswordStoreCodec::Tab& tab : tabs)
    {
        PasswordTable* table = _editor->_createEmptyTab(tab.name);
        table->passwords = tab.passwords;
        table->fillTableWithPasswords();
    }
    _editor->_masterPassword = PASSWORD;
    _editor->_isMasterPasswordKnown = true;
    _editor->_setUnsavedDataPresent(true);
}

QString TestWriteWorkflows::_nextMessage(const char* button, int timeoutMs)
{
    if (!_waitForView(E::VIEW_ID_MESSAGE_BOX_DIALOG, timeoutMs))
        return u"<no message box>"_s;
    const QString message = _editor->viewGetFrame(E::VIEW_ID_MESSAGE_BOX_DIALOG)->title() + u" / "_s +
                            _widget<QLabel>(E::VIEW_ID_MESSAGE_BOX_DIALOG, "labelText")->text();
    if (button != nullptr)
        _click(E::VIEW_ID_MESSAGE_BOX_DIALOG, button);
    return message;
}

bool TestWriteWorkflows::_choose(const QString& name)
{
    const E::ViewId id = E::VIEW_ID_DEVICE_SELECTION;
    auto* list = _widget<QListWidget>(id, "listWidget");
    if (!_waitForView(id, 10000) || !runUntil([list]() { return list->count() == 2; }, 5000))
        return false;
    const QList<QListWidgetItem*> rows = list->findItems(name, Qt::MatchExactly);
    if (rows.size() != 1)
        return false;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(rows.first()).center());
    if (!_widget(id, "pushButtonSelect")->isEnabled())
        return false;
    _click(id, "pushButtonSelect");
    return true;
}

QString TestWriteWorkflows::_save(const QString& device)
{
    _editor->_pointerActionWriteDevice->trigger();
    if (!device.isEmpty() && !_choose(device))
        return u"<no selection page listing "_s + device + u'>';
    const QString confirmation = _nextMessage("pushButtonYes", 10000);
    if (!confirmation.startsWith(u"Confirm saving device / "_s))
        return u"no confirmation, instead: "_s + confirmation;
    return _saveEnding();
}

QString TestWriteWorkflows::_saveEnding()
{
    QStatusBar* status = _editor->statusBar();
    const bool isEnded = runUntil(
        [this, status]()
        {
            return _editor->viewGetCurrent() == E::VIEW_ID_MESSAGE_BOX_DIALOG ||
                   (!status->currentMessage().isEmpty() && !_editor->_isDeviceBusy());
        });
    if (!isEnded)
        return u"<no ending>"_s;
    if (_editor->viewGetCurrent() == E::VIEW_ID_MESSAGE_BOX_DIALOG)
        return _nextMessage("pushButtonOk");
    // The notice leaves the editor on screen, and the status area shows it.
    if (_editor->viewGetCurrent() != E::VIEW_ID_CONTENT_EDITOR || status->isHidden())
        return u"<notice not shown>"_s;
    return u"Saved / "_s + status->currentMessage();
}

void TestWriteWorkflows::saveWorkflow()
{
    // Another device is plugged in all along, listed first: every save goes to the device chosen on
    // the selection page, and the other one keeps every byte.
    Simulator simulator, other;
    const QString desk = u"Desk key"_s;
    QVERIFY(start(simulator, {u"--name"_s, desk}));
    QVERIFY(start(other, {u"--serial"_s, u"QRTAV-000000"_s, u"--name"_s, u"Other key"_s},
                  QByteArray(Device::MEMORY_SIZE, '\x5A')));
    const QByteArray otherStored = stored(other);
    const Tabs tabs = content(u"Saved"_s, 3);
    _showInEditor(tabs);

    // The confirmation's buttons say what they do, Save the default; Cancel releases the device
    // untouched.
    _editor->_pointerActionWriteDevice->trigger();
    QVERIFY(_choose(desk));
    QVERIFY(_waitForView(E::VIEW_ID_MESSAGE_BOX_DIALOG, 10000));
    QPushButton* saveButton = _widget(E::VIEW_ID_MESSAGE_BOX_DIALOG, "pushButtonYes");
    QPushButton* cancelButton = _widget(E::VIEW_ID_MESSAGE_BOX_DIALOG, "pushButtonNo");
    QVERIFY(saveButton->text() == u"Save"_s && cancelButton->text() == u"Cancel"_s);
    QVERIFY(saveButton->isDefault() && !cancelButton->isDefault());
    QCOMPARE(_nextMessage("pushButtonNo"), u"Confirm saving device / Save changes to the device 'Desk key'?\n"
                                           "All device current data will be overwritten."_s);
    QVERIFY(Device::getSelectedDevice() == nullptr);
    QVERIFY(!simulator.recordedBytes().contains(MEMORY_SELECTION));

    // Two saves of the same content: both verified, both memories identical, each opening to it,
    // with fresh random bytes after the same store.
    // The first from the button's main part, confirmed by Return.
    const QString saved =
        u"Saved / All data were saved to the device 'Desk key' and checked. You can safely remove the device."_s;
    QByteArray images[2], plaintexts[2];
    for (int save = 0; save < 2; save++)
    {
        if (save == 0)
        {
            _editor->findChild<QToolButton*>(u"pushButtonWriteDevice"_s)->click();
            QVERIFY(_choose(desk));
            QVERIFY(_waitForView(E::VIEW_ID_MESSAGE_BOX_DIALOG, 10000));
            QCOMPARE(_editor->focusWidget(), saveButton);
            QTest::keyClick(saveButton, Qt::Key_Return);
            QCOMPARE(_saveEnding(), saved);
        }
        else
            QCOMPARE(_save(desk), saved);
        QVERIFY(!_editor->_isUnsavedDataPresent && Device::getSelectedDevice() == nullptr);
        images[save] = simulator.stateFile(u"main.bin"_s);
        QCOMPARE(simulator.stateFile(u"backup.bin"_s), images[save]);
        QCOMPARE(flatten(decrypted(images[save], &plaintexts[save])), flatten(tabs));
        _editor->_setUnsavedDataPresent(true);
    }
    QVERIFY(images[0] != images[1]);
    const int storeSize = static_cast<int>(plaintexts[0].indexOf('\x04')) + 1;
    QCOMPARE(plaintexts[1].left(storeSize), plaintexts[0].left(storeSize));
    QVERIFY(plaintexts[1].mid(storeSize, 4096) != plaintexts[0].mid(storeSize, 4096));

    // A master password chosen for writing becomes the master password only once the device holds
    // what it encrypted: declined, the previous one stays; saved and verified, the new one opens it.
    for (const char* answer : {"pushButtonNo", "pushButtonYes"})
    {
        _editor->_pointerActionChangePasswordThenWriteDevice->trigger();
        QCOMPARE(_editor->viewGetCurrent(), FormContentEditor::VIEW_ID_INSERT_WRITING_MASTER_PASSWORD);
        _editor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
        emit static_cast<ViewContentInsertWritingMasterPassword*>(
            _editor->viewGetContent(FormContentEditor::VIEW_ID_INSERT_WRITING_MASTER_PASSWORD))
            ->insertionFinished(true, u"Nouveau"_s);
        QVERIFY(_choose(desk));
        QVERIFY(_nextMessage(answer).startsWith(u"Confirm saving device / "_s));
        QCOMPARE(_editor->_masterPassword, PASSWORD);
    }
    QVERIFY(_saveEnding().startsWith(u"Saved / "_s));
    QVERIFY(_editor->_masterPassword == u"Nouveau"_s && _editor->_isMasterPasswordKnown);
    QByteArray newImage = simulator.stateFile(u"main.bin"_s);
    QCOMPARE(Security::decryptMemoryData(u"Nouveau"_s, Security::ENCRYPTION_SCHEME_ID_2,
                                         reinterpret_cast<unsigned char*>(newImage.data())),
             0);
    images[1] = simulator.stateFile(u"main.bin"_s);

    // A store that does not fit: refused after the confirmation, no memory even selected, the device
    // let go (its port closed).
    _showInEditor(content(u"Big"_s, 60, 500));
    simulator.clearRecord();
    QCOMPARE(_save(desk),
             u"Error / There is not enough room in device memory. Please remove some passwords."_s);
    QVERIFY(_editor->_isUnsavedDataPresent);
    QVERIFY(!simulator.recordedBytes().contains(MEMORY_SELECTION));
    QCOMPARE(simulator.stateFile(u"main.bin"_s), images[1]);
    QVERIFY(Device::getSelectedDevice() == nullptr && simulator.openDescriptorCount() == 0);
    QCOMPARE(stored(other), otherStored);
}

void TestWriteWorkflows::eraseWizard()
{
    const E::ViewId page2 = E::VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_2;
    // Another device plugged in all along, listed first, keeps every byte.
    Simulator simulator, other;
    QVERIFY(start(simulator, {u"--name"_s, u"Old name"_s}, QByteArray(Device::MEMORY_SIZE, '\x33')));
    QVERIFY(start(other, {u"--serial"_s, u"QRTAV-000000"_s, u"--name"_s, u"Other key"_s},
                  QByteArray(Device::MEMORY_SIZE, '\x5A')));
    const QByteArray otherStored = stored(other);
    _showInEditor(content(u"Kept"_s, 1));
    auto* next = _widget(page2, "pushButtonNext");
    auto* resetName = _widget<QCheckBox>(page2, "checkBoxResetDeviceName");
    auto* confirmation = _widget<QCheckBox>(page2, "checkBoxConfirmation");
    auto startWizard = [this]()
    {
        _trigger(u"actionEraseDevice"_s);
        _click(E::VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_1, "pushButtonNext");
    };

    // Next follows the confirmation box only; both memories end all zero, the name gets the date.
    startWizard();
    QCOMPARE(_editor->viewGetCurrent(), page2);
    resetName->click();
    QVERIFY(!next->isEnabled());
    for (bool isEnabled : {true, false, true})
    {
        confirmation->click();
        QCOMPARE(next->isEnabled(), isEnabled);
    }
    next->click();
    QVERIFY(_choose(u"Old name"_s));
    QVERIFY(_waitForView(E::VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_3));
    QCOMPARE(simulator.stateFile(u"main.bin"_s), QByteArray(Device::MEMORY_SIZE, '\0'));
    QCOMPARE(simulator.stateFile(u"backup.bin"_s), QByteArray(Device::MEMORY_SIZE, '\0'));
    QCOMPARE(
        simulator.stateFile(u"name.bin"_s),
        (u"Pavisor "_s + QDate::currentDate().toString(u"yyyy-MM-dd"_s)).toUtf8().leftJustified(64, '\0'));
    QVERIFY(Device::getSelectedDevice() == nullptr);
    _click(E::VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_3, "pushButtonExit");
    QCOMPARE(_editor->viewGetCurrent(), E::VIEW_ID_CONTENT_EDITOR);
    QVERIFY(_editor->_isUnsavedDataPresent);

    // Again, boxes start unticked; without the reset the name stays, and a read-back that differs
    // is a write error that leaves the wizard.
    QVERIFY(simulator.stop());
    const QByteArray keptName = QByteArray("Kept name").leftJustified(64, '\0');
    QVERIFY(simulator.writeStateFile(u"name.bin"_s, keptName));
    QVERIFY(start(simulator, {u"--read-back-differs"_s, u"backup,70000"_s}));
    startWizard();
    QVERIFY(!resetName->isChecked() && !confirmation->isChecked() && !next->isEnabled());
    confirmation->click();
    next->click();
    QVERIFY(_choose(u"Kept name"_s));
    QCOMPARE(_nextMessage("pushButtonOk"), WRITE_ERROR);
    QCOMPARE(_editor->viewGetCurrent(), E::VIEW_ID_CONTENT_EDITOR);
    QCOMPARE(simulator.stateFile(u"name.bin"_s), keptName);

    // The device erases but refuses the new name: the user is told, and the wizard does not end as
    // if all went well.
    QVERIFY(simulator.stop());
    QVERIFY(start(simulator, {u"--wrong-ack-command"_s, u"9"_s}));
    startWizard();
    resetName->click();
    confirmation->click();
    next->click();
    QVERIFY(_choose(u"Kept name"_s));
    QCOMPARE(_nextMessage("pushButtonOk", 20000), u"Error / Could not write the device name."_s);
    QCOMPARE(_editor->viewGetCurrent(), E::VIEW_ID_CONTENT_EDITOR);
    QCOMPARE(simulator.stateFile(u"main.bin"_s), QByteArray(Device::MEMORY_SIZE, '\0'));
    QCOMPARE(simulator.stateFile(u"name.bin"_s), keptName);
    QVERIFY(Device::getSelectedDevice() == nullptr);
    QCOMPARE(stored(other), otherStored);
}

void TestWriteWorkflows::copyWizardAndRename()
{
    const E::ViewId page2 = E::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_2,
                    page3 = E::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_3;
    const Tabs tabs = content(u"Copied"_s, 2);
    const QByteArray sourceImage = encrypted(tabs), targetImage(Device::MEMORY_SIZE, '\x77');
    const QString sourceName = u"Source <i>"_s, targetName = u"Target"_s;
    // Both devices are plugged in all along: the selection page tells which one is read and which one
    // written, and the source keeps every byte.
    Simulator source, target;
    QVERIFY(start(source, {u"--name"_s, sourceName}, sourceImage));
    QVERIFY(start(target, {u"--serial"_s, u"QRTAV-000002"_s, u"--name"_s, targetName}, targetImage));
    const QByteArray sourceStored = stored(source);
    const auto isSourceWiped = [this]()
    {
        return QByteArray(reinterpret_cast<const char*>(_editor->_deviceWriteImages.decryptedSource),
                          Device::MEMORY_SIZE) == QByteArray(Device::MEMORY_SIZE, '\0');
    };

    // The source's password page: Return does nothing while the field is empty.
    _trigger(u"actionCopyDevice"_s);
    _click(E::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_1, "pushButtonNext");
    auto* password = _widget<QLineEdit>(page2, "lineEditPassword");
    QTest::keyClick(password, Qt::Key_Return);
    QCOMPARE(_editor->viewGetCurrent(), page2);
    QVERIFY(!source.recordedBytes().contains(MEMORY_SELECTION));
    const auto readSource = [&]()
    {
        password->setText(PASSWORD);
        QTest::keyClick(password, Qt::Key_Return);
        return _choose(sourceName) && _waitForView(page3) && Device::getSelectedDevice() == nullptr;
    };
    QVERIFY(readSource());
    QVERIFY(!target.recordedBytes().contains(MEMORY_SELECTION));

    // A blank target password keeps the source's. No at the confirmation leaves the target as it was.
    QString question;
    answerQuestion(QMessageBox::No, &question);
    _click(page3, "pushButtonNext");
    QVERIFY(_choose(targetName));
    QVERIFY2(question.contains(
                 u"Source device name: <b>Source &lt;i&gt;</b><br />Target device name: <b>Target</b>"
                 "<br />Source and target devices master password are <b>identical</b>"_s),
             qPrintable(question));
    QCOMPARE(_editor->viewGetCurrent(), page3);
    QVERIFY(Device::getSelectedDevice() == nullptr);
    QVERIFY(!target.recordedBytes().contains(MEMORY_SELECTION));
    QCOMPARE(target.stateFile(u"main.bin"_s), targetImage);

    // Yes: the target opens to the source's records, in a fresh encryption; the source's plaintext is
    // gone from memory once done.
    answerQuestion(QMessageBox::Yes, &question);
    _click(page3, "pushButtonNext");
    QVERIFY(_choose(targetName));
    QVERIFY(_waitForView(E::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_4));
    QCOMPARE(target.stateFile(u"backup.bin"_s), target.stateFile(u"main.bin"_s));
    QVERIFY(target.stateFile(u"main.bin"_s) != sourceImage);
    QCOMPARE(flatten(opened(target)), flatten(tabs));
    QVERIFY(isSourceWiped());
    _click(E::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_4, "pushButtonExit");
    QCOMPARE(_editor->viewGetCurrent(), E::VIEW_ID_CONTENT_EDITOR);
    QCOMPARE(stored(source), sourceStored);

    // A target whose backup memory reads back otherwise than written: a write error, and the wizard
    // goes back to reading the source, holding nothing of it.
    QVERIFY(target.stop());
    QVERIFY(start(target, {u"--serial"_s, u"QRTAV-000002"_s, u"--read-back-differs"_s, u"backup,70000"_s}));
    _trigger(u"actionCopyDevice"_s);
    _click(E::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_1, "pushButtonNext");
    QVERIFY(readSource());
    answerQuestion(QMessageBox::Yes, &question);
    _click(page3, "pushButtonNext");
    QVERIFY(_choose(targetName));
    QCOMPARE(_nextMessage("pushButtonOk", 30000), WRITE_ERROR);
    QVERIFY(_editor->viewGetCurrent() == page2 && isSourceWiped() && Device::getSelectedDevice() == nullptr);
    _click(page2, "pushButtonCancel");

    // Rename: 65 UTF-8 bytes are refused before anything is sent; 64 fit.
    auto rename = [this, &targetName](const QString& name)
    {
        _trigger(u"actionChangeDeviceName"_s);
        auto* field = _widget<QLineEdit>(E::VIEW_ID_CHANGE_DEVICE_NAME, "lineEditName");
        if (!_choose(targetName) || _editor->viewGetCurrent() != E::VIEW_ID_CHANGE_DEVICE_NAME)
            return u"<no device name page>"_s;
        field->setText(name);
        _click(E::VIEW_ID_CHANGE_DEVICE_NAME, "pushButtonOk");
        return _nextMessage("pushButtonOk", 20000);
    };
    const QString name64(32, QChar(0xE9));
    target.clearRecord();
    QCOMPARE(rename(name64 + u'x'),
             u"Name too long / Device name is limited to 64 ASCII characters (some UTF-8 "
             "characters can use several ASCII characters).\nPlease retry with a shorter name."_s);
    QVERIFY(!target.recordedBytes().contains(QByteArray::fromHex("a509")));
    QCOMPARE(rename(name64), u"Success / Device name was successfully changed."_s);
    QCOMPARE(target.stateFile(u"name.bin"_s), name64.toUtf8());
    QVERIFY(Device::getSelectedDevice() == nullptr);
    QCOMPARE(stored(source), sourceStored);
}

void TestWriteWorkflows::interruptedSavesLeaveADeviceThatOpens()
{
    const Tabs oldTabs = content(u"Old"_s, 2), newTabs = content(u"New"_s, 3);
    const QByteArray oldImage = encrypted(oldTabs);
    const QString mainFailed = u"Error / Could not write data to the main memory, aborting."_s;
    const QString backupFailed = u"Error / Could not write data to the backup memory, aborting."_s;
    // Flags, message, whether the new content opens: the main memory is always finished before the
    // backup memory is touched. (A wrong acknowledge or silence instead of a power cut fails the
    // same page write, as the write page's own test shows.)
    const std::tuple<QString, QString, bool> cases[] = {
        {u"--power-cut-page 0"_s, mainFailed, false},
        {u"--power-cut-page 511"_s, mainFailed, false},
        {u"--power-cut-backup-page 0"_s, backupFailed, true},
        {u"--power-cut-backup-page 511"_s, backupFailed, true},
        {u"--read-back-differs main,77777"_s, WRITE_ERROR, true},
        {u"--read-back-differs backup,77777"_s, WRITE_ERROR, true}};
    _showInEditor(newTabs);
    for (const auto& [flags, expected, isNewContentKept] : cases)
    {
        Simulator simulator;
        QVERIFY(start(simulator, flags.split(u' '), oldImage));
        const QString message = _save();
        QVERIFY2(message == expected && _editor->_isUnsavedDataPresent,
                 qPrintable(flags + u": "_s + message));
        QVERIFY(Device::getSelectedDevice() == nullptr);

        // What it stores opens to the content that the interruption left in one piece.
        QVERIFY2(flatten(opened(simulator)) == flatten(isNewContentKept ? newTabs : oldTabs),
                 qPrintable(flags));
    }
}

void TestWriteWorkflows::retriedSavesSwapsAndSelfCopiesKeepAGoodCopy()
{
    const Tabs oldTabs = content(u"Old"_s, 2), newTabs = content(u"New"_s, 3);
    const QByteArray oldImage = encrypted(oldTabs);
    const QString mainFailed = u"Error / Could not write data to the main memory, aborting."_s;
    const QString backupFailed = u"Error / Could not write data to the backup memory, aborting."_s;
    _showInEditor(newTabs);

    // A save cut in its backup memory, then a retried save cut again: in the repair of the backup
    // (which comes first), or in the main memory once the backup is whole again. Either way the
    // new content still opens: the last good copy is never the one overwritten first.
    for (const QString& secondCut : {u"--power-cut-backup-page 3"_s, u"--power-cut-page 3"_s})
    {
        Simulator simulator;
        QVERIFY(start(simulator, {u"--power-cut-backup-page"_s, u"255"_s}, oldImage));
        QCOMPARE(_save(), backupFailed);
        QVERIFY(simulator.waitForExit());
        QVERIFY(start(simulator, secondCut.split(u' ')));
        QCOMPARE(_save(), secondCut.contains(u"backup"_s) ? backupFailed : mainFailed);
        QVERIFY(simulator.waitForExit());
        QVERIFY2(flatten(opened(simulator)) == flatten(newTabs), qPrintable(secondCut));
        // Plugged in again, the third save repairs what is needed and verifies.
        QVERIFY(start(simulator, {}));
        QVERIFY(_save().startsWith(u"Saved / "_s));
        QCOMPARE(simulator.stateFile(u"backup.bin"_s), simulator.stateFile(u"main.bin"_s));
        QVERIFY(simulator.stop());
        _editor->_setUnsavedDataPresent(true);
    }

    // Another device selected in the middle of a save: the run stops before sending it anything,
    // device actions meanwhile do nothing, and the first device keeps its untouched backup memory.
    Simulator first, second;
    QVERIFY(start(first, {}, oldImage));
    // Not announced for discovery, so that the save finds one device.
    const QByteArray descriptors = qgetenv("PAVISOR_SIMULATOR_DIR");
    qunsetenv("PAVISOR_SIMULATOR_DIR");
    QVERIFY(start(second, {u"--serial"_s, u"QRTAV-000002"_s}, oldImage));
    qputenv("PAVISOR_SIMULATOR_DIR", descriptors);
    Device* firstDevice = nullptr;
    auto swap = connect(
        _widget<QProgressBar>(E::VIEW_ID_WRITE_DEVICE, "progressBar"), &QProgressBar::valueChanged, this,
        [&](int value)
        {
            if (value != 100 || firstDevice != nullptr)
                return;
            const int request = _editor->_pendingRequest;
            for (const char* action : {"actionOpenDevice", "actionEraseDevice", "actionCopyDevice",
                                       "actionChangeDeviceName", "actionDisplaySerialNumber"})
                _trigger(QLatin1String(action));
            _editor->_pointerActionWriteDevice->trigger();
            QVERIFY(_editor->viewGetCurrent() == E::VIEW_ID_WRITE_DEVICE &&
                    _editor->_pendingRequest == request);
            firstDevice = Device::getSelectedDevice();
            Device::setSelectedDevice(new Device(second.portInfo()));
            QCOMPARE(Device::getSelectedDevice()->open(), 0);
            second.clearRecord();
        });
    QCOMPARE(_save(), u"Error / Another device was selected while this one was being accessed: the operation "
                      "was stopped and nothing more was sent to either device.\nCheck which device you want "
                      "to use, then retry."_s);
    disconnect(swap);
    QVERIFY(firstDevice != nullptr && Device::getSelectedDevice() == nullptr);
    delete firstDevice;
    QVERIFY(!second.recordedBytes().contains(MEMORY_SELECTION));
    QCOMPARE(second.stateFile(u"main.bin"_s), oldImage);
    QCOMPARE(first.stateFile(u"backup.bin"_s), oldImage);
    QVERIFY(_editor->_isUnsavedDataPresent);
    QVERIFY(second.stop());

    // Copying the only plugged-in device onto itself is refused before anything is written.
    _trigger(u"actionCopyDevice"_s);
    _click(E::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_1, "pushButtonNext");
    _widget<QLineEdit>(E::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_2, "lineEditPassword")->setText(PASSWORD);
    _click(E::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_2, "pushButtonNext");
    QVERIFY(_waitForView(E::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_3));
    const QByteArray firstMain = first.stateFile(u"main.bin"_s);
    _click(E::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_3, "pushButtonNext");
    QVERIFY(_nextMessage("pushButtonOk")
                .startsWith(u"Error / The selected device is the source device (USB "
                            "serial number QRTAV-000001)"_s));
    QCOMPARE(_editor->viewGetCurrent(), E::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_3);
    QVERIFY(first.stateFile(u"main.bin"_s) == firstMain && Device::getSelectedDevice() == nullptr);
    // Locked on the target page, the wizard forgets its source: after unlocking, Next asks for the
    // source again instead of writing anything. Cancel leaves nothing behind either.
    const auto isSourceForgotten = [this]()
    {
        return _editor->_copySourceMasterPassword.isEmpty() &&
               QByteArray(reinterpret_cast<const char*>(_editor->_deviceWriteImages.decryptedSource),
                          Device::MEMORY_SIZE) == QByteArray(Device::MEMORY_SIZE, '\0');
    };
    QVERIFY(!isSourceForgotten());
    _editor->_slotActionLockApplicationClicked();
    QVERIFY(isSourceForgotten());
    _widget<QLineEdit>(E::VIEW_ID_APPLICATION_LOCKED, "lineEditPassword")->setText(PASSWORD);
    _click(E::VIEW_ID_APPLICATION_LOCKED, "pushButtonUnlock");
    QCOMPARE(_editor->viewGetCurrent(), E::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_3);
    _click(E::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_3, "pushButtonNext");
    QVERIFY(
        _nextMessage("pushButtonOk").startsWith(u"Error / The source device content is no longer held."_s));
    QCOMPARE(_editor->viewGetCurrent(), E::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_2);
    QCOMPARE(first.stateFile(u"main.bin"_s), firstMain);
    _widget<QLineEdit>(E::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_2, "lineEditPassword")->setText(PASSWORD);
    _click(E::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_2, "pushButtonNext");
    QVERIFY(_waitForView(E::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_3) && !isSourceForgotten());
    _click(E::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_3, "pushButtonCancel");
    QVERIFY(isSourceForgotten());

    // The window does not close while a device is being written, not even from the locked page,
    // whose Quit waits for the end of the write.
    int refusedCloseCount = 0;
    QString quitNotice;
    auto closeDuringErase = connect(
        _widget<QProgressBar>(E::VIEW_ID_WRITE_DEVICE, "progressBar"), &QProgressBar::valueChanged, this,
        [&](int value)
        {
            if (value != 50 && value != 600)
                return;
            if (value == 600)
                _editor->_slotActionLockApplicationClicked();
            QString warning;
            answerQuestion(QMessageBox::Ok, &warning);
            if (!_editor->close() && warning.startsWith(u"A device is being written."_s))
                refusedCloseCount++;
            if (value == 600)
            {
                answerQuestion(QMessageBox::Ok, &quitNotice);
                _click(E::VIEW_ID_APPLICATION_LOCKED, "pushButtonQuit");
            }
        });
    _trigger(u"actionEraseDevice"_s);
    _click(E::VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_1, "pushButtonNext");
    _widget<QCheckBox>(E::VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_2, "checkBoxConfirmation")->click();
    _click(E::VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_2, "pushButtonNext");
    // The application's exit ends every event loop running, this one included (1: it never came).
    QEventLoop loop;
    QTimer::singleShot(120000, &loop, [&loop]() { loop.exit(1); });
    QCOMPARE(loop.exec(), 0);
    disconnect(closeDuringErase);
    QCOMPARE(refusedCloseCount, 2);
    QCOMPARE(quitNotice,
             u"A device is being written: the application will quit as soon as the write has ended."_s);
    QVERIFY(!_editor->isDeviceWriteRunning() && Device::getSelectedDevice() == nullptr);
    QCOMPARE(first.stateFile(u"backup.bin"_s), QByteArray(Device::MEMORY_SIZE, '\0'));
}

void TestWriteWorkflows::_typeReadingPassword(const QString& password)
{
    QVERIFY(_waitForView(E::VIEW_ID_INSERT_READING_MASTER_PASSWORD, 10000));
    auto* field = _widget<QLineEdit>(E::VIEW_ID_INSERT_READING_MASTER_PASSWORD, "lineEditPasswordField");
    // Typed as a whole: key clicks carry Latin-1 characters only.
    field->setText(password);
    emit field->textEdited(password);
    _click(E::VIEW_ID_INSERT_READING_MASTER_PASSWORD, "pushButtonOk");
    QVERIFY(runUntil([this]() { return Device::getSelectedDevice() == nullptr; }));
}

void TestWriteWorkflows::backupFileRestoreAndAutomaticBackups()
{
    QTemporaryDir files;
    const QString backupsFolder = QDir(Configuration::getDataFolder()).filePath(u"backups"_s);
    QVERIFY(QDir(backupsFolder).removeRecursively());
    Configuration::pointerSettings->setValue(Configuration::SETTINGS_KEY_IS_AUTOMATIC_BACKUP_ENABLED, true);
    const Tabs tabs = content(u"Kept"_s, 4);

    // The opened device's two images go to a file as the device holds them, readable by its owner only.
    const QString file = files.filePath(u"desk.pavisorbackup"_s);
    {
        Simulator source;
        QVERIFY(start(source, {u"--name"_s, u"Desk key"_s, u"--versions"_s, u"258,772"_s}, encrypted(tabs)));
        QVERIFY(!_editor->findChild<QAction*>(u"actionBackUpToFile"_s)->isEnabled());
        _trigger(u"actionOpenDevice"_s);
        _typeReadingPassword(PASSWORD);
        QCOMPARE(_editor->viewGetCurrent(), E::VIEW_ID_CONTENT_EDITOR);
        QVERIFY(_editor->findChild<QAction*>(u"actionBackUpToFile"_s)->isEnabled());
        TestSupport::answerFileDialog(file);
        _trigger(u"actionBackUpToFile"_s);
        const QString written = _nextMessage("pushButtonOk");
        QVERIFY2(written.startsWith(u"Backup written / "_s), qPrintable(written));
        BackupFile::Content backup;
        QString errorText;
        QCOMPARE(BackupFile::read(file, &backup, errorText), 0);
        QCOMPARE(backup.mainImage, source.stateFile(u"main.bin"_s));
        QCOMPARE(backup.backupImage, source.stateFile(u"backup.bin"_s));
        QCOMPARE(backup.name, u"Desk key"_s);
        QCOMPARE(backup.serial, u"QRTAV-000001"_s);
        QCOMPARE(QList<int>(std::begin(backup.versions), std::end(backup.versions)),
                 QList<int>({1, 2, 3, 4}));
        QCOMPARE(QFile::permissions(file) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
        QVERIFY(source.stop());
    }

    // Any byte altered, missing or added: refused with a reason, in the window too, which keeps its
    // records and password.
    QFile original(file);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    const qsizetype imagesStart = bytes.size() - 2 * BackupFile::IMAGE_SIZE;
    for (qsizetype position : {qsizetype(0), qsizetype(15), qsizetype(17), qsizetype(30), imagesStart - 3,
                               bytes.indexOf("Desk key"), imagesStart + 5,
                               imagesStart + BackupFile::IMAGE_SIZE + 77, bytes.size() - 1})
    {
        QByteArray altered = bytes;
        altered[position] = char(altered[position] ^ 0x20);
        BackupFile::Content decoded;
        QString errorText;
        QVERIFY2(BackupFile::decode(altered, &decoded, errorText) == -1 && !errorText.isEmpty(),
                 qPrintable(u"byte %1"_s.arg(position)));
    }
    BackupFile::Content decoded;
    QString errorText;
    QCOMPARE(BackupFile::decode(bytes.chopped(1), &decoded, errorText), -1);
    QCOMPARE(BackupFile::decode(bytes + '\0', &decoded, errorText), -1);
    QByteArray altered = bytes;
    altered[imagesStart + 1000] = char(altered[imagesStart + 1000] + 1);
    const QString alteredFile = files.filePath(u"altered.pavisorbackup"_s);
    QFile alteredOutput(alteredFile);
    QVERIFY(alteredOutput.open(QIODevice::WriteOnly) && alteredOutput.write(altered) == altered.size());
    alteredOutput.close();
    TestSupport::answerFileDialog(alteredFile);
    _trigger(u"actionOpenBackupFile"_s);
    QCOMPARE(
        _nextMessage("pushButtonOk"),
        u"Error / Could not open the backup file '%1'.\nThe backup file has been altered or damaged: its "
        "check digest does not match its content."_s.arg(alteredFile));
    QCOMPARE(_editor->findChild<QTabWidget*>(u"tabWidget"_s)->count(), tabs.size());

    // Restoring onto an erased device: the file opens with its password (a wrong one first changes
    // nothing), the title names it, and the save writes the records through the usual road.
    Simulator erased;
    QVERIFY(start(erased, {u"--serial"_s, u"QRTAV-000002"_s}));
    const QString deviceBackups =
        BackupFile::automaticFolder(Configuration::getDataFolder(), u"QRTAV-000002"_s);
    // Twenty older automatic backups: the save's own must push out the oldest.
    QVERIFY(QDir().mkpath(deviceBackups));
    for (int index = 0; index < BackupFile::AUTOMATIC_BACKUPS_KEPT; index++)
        QVERIFY(QFile::copy(
            file, QDir(deviceBackups)
                      .filePath(u"2001-01-01_00-00-00-%1.pavisorbackup"_s.arg(index, 3, 10, QChar(u'0')))));
    _showInEditor(content(u"Unsaved"_s, 1));
    const int shownTabCount = _editor->findChild<QTabWidget*>(u"tabWidget"_s)->count();
    _trigger(u"actionOpenBackupFile"_s);
    TestSupport::answerFileDialog(file);
    QCOMPARE(_nextMessage("pushButtonYes"),
             u"Opening a backup file / You have made some modifications to the "
             "currently displayed data without saving them.\nDo you confirm "
             "overwriting such unsaved data with the content of the backup file?"_s);
    QVERIFY(_waitForView(E::VIEW_ID_INSERT_READING_MASTER_PASSWORD, 10000));
    _typeReadingPassword(u"not the password"_s);
    QCOMPARE(_nextMessage("pushButtonOk"),
             u"Error / Failed to decrypt data. Make sure you provided the correct password."_s);
    QCOMPARE(_editor->findChild<QTabWidget*>(u"tabWidget"_s)->count(), shownTabCount);
    QVERIFY(_editor->_isUnsavedDataPresent);
    _editor->_setUnsavedDataPresent(false);
    TestSupport::answerFileDialog(file);
    _trigger(u"actionOpenBackupFile"_s);
    _typeReadingPassword(PASSWORD);
    QCOMPARE(_editor->viewGetCurrent(), E::VIEW_ID_CONTENT_EDITOR);
    QCOMPARE(_editor->windowTitle(), u"Pavisor Key Manager - desk.pavisorbackup"_s);
    QCOMPARE(_editor->findChild<QTabWidget*>(u"tabWidget"_s)->count(), tabs.size());
    QVERIFY(_save().startsWith(u"Saved / All data were saved to the device"_s));
    QCOMPARE(_editor->windowTitle(), u"Pavisor Key Manager"_s);
    QByteArray plaintext;
    QCOMPARE(flatten(decrypted(erased.stateFile(u"main.bin"_s), &plaintext)), flatten(tabs));
    QCOMPARE(flatten(decrypted(erased.stateFile(u"backup.bin"_s), &plaintext)), flatten(tabs));

    // The save's automatic backup holds what the device now holds, and opens to the records; the
    // oldest of the twenty before it is gone.
    QStringList kept = QDir(deviceBackups).entryList(QDir::Files, QDir::Name);
    QCOMPARE(kept.size(), BackupFile::AUTOMATIC_BACKUPS_KEPT);
    QVERIFY(!kept.contains(u"2001-01-01_00-00-00-000.pavisorbackup"_s));
    QVERIFY(kept.contains(u"2001-01-01_00-00-00-001.pavisorbackup"_s));
    BackupFile::Content automatic;
    QCOMPARE(BackupFile::read(QDir(deviceBackups).filePath(kept.constLast()), &automatic, errorText), 0);
    QCOMPARE(automatic.serial, u"QRTAV-000002"_s);
    QCOMPARE(automatic.mainImage, erased.stateFile(u"main.bin"_s));
    QCOMPARE(automatic.backupImage, erased.stateFile(u"backup.bin"_s));
    QCOMPARE(flatten(decrypted(automatic.mainImage, &plaintext)), flatten(tabs));

    // A backup that cannot be written warns, and the save stands; turned off, none is written.
    QVERIFY(QDir(deviceBackups).removeRecursively());
    QFile blocker(deviceBackups);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    _editor->_setUnsavedDataPresent(true);
    const QString warned = _save();
    QVERIFY2(warned.startsWith(u"Write success / All data were successfully written."_s) &&
                 warned.contains(u"The automatic backup file of this save could not be written"_s),
             qPrintable(warned));
    QVERIFY(!_editor->_isUnsavedDataPresent);
    QVERIFY(QFile::remove(deviceBackups));
    Configuration::pointerSettings->setValue(Configuration::SETTINGS_KEY_IS_AUTOMATIC_BACKUP_ENABLED, false);
    _editor->_setUnsavedDataPresent(true);
    QVERIFY(_save().startsWith(u"Saved / "_s));
    QVERIFY(!QFileInfo::exists(deviceBackups));
    Configuration::pointerSettings->setValue(Configuration::SETTINGS_KEY_IS_AUTOMATIC_BACKUP_ENABLED, true);
}

QTEST_MAIN(TestWriteWorkflows)
#include "tst_write_workflows.moc"
