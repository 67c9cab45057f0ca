// The save, erase, copy and rename workflows of the main window, end to end against device
// simulators: driven through the real pages and message boxes, checked on what the simulator
// stores, and opened again the way the user would (both memories read, main tried first).
//
// Cost: every save and copy encrypts under scheme 2 and every opening tries scheme 2 first, each
// two key derivations of 262144 iterations.
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
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QtTest>
#include <memory>

namespace
{
using Tabs = QList<PasswordStoreCodec::Tab>;
using ViewId = FormContentEditor::ViewId;
const QString PASSWORD = QStringLiteral(u"Mot de passe \u00e9prouv\u00e9 \u2713");
const QString WRITE_ERROR =
    QStringLiteral("Write error / Data could not be successfully written. Please retry.\n"
                   "Consider changing the device if this error is still occurring.");

// Two tabs of records whose fields are padded to fieldSize characters.
Tabs content(const QString& label, int recordCount, int fieldSize = 0)
{
    Tabs tabs;
    for (int tabIndex = 0; tabIndex < 2; tabIndex++)
    {
        PasswordStoreCodec::Tab tab{label + QString::number(tabIndex), {}};
        for (int record = 0; record < recordCount; record++)
        {
            PasswordTable::Password password;
            for (QString& field : password.data)
                field = QStringLiteral(u"%1 %2 \u00e9")
                            .arg(label)
                            .arg(record)
                            .leftJustified(fieldSize, QLatin1Char('x'));
            tab.passwords.append(password);
        }
        tabs.append(tab);
    }
    return tabs;
}

// A readable form of tabs for comparisons.
QStringList flatten(const Tabs& tabs)
{
    QStringList texts;
    for (const PasswordStoreCodec::Tab& tab : tabs)
    {
        texts << QStringLiteral("tab ") + tab.name;
        for (const PasswordTable::Password& password : tab.passwords)
            texts << QStringList(std::begin(password.data), std::end(password.data)).join(QLatin1Char('|'));
    }
    return texts;
}

Tabs parsed(const QByteArray& plaintext)
{
    Tabs tabs;
    if (plaintext.size() == Device::MEMORY_SIZE)
        PasswordStoreCodec::parse(reinterpret_cast<const unsigned char*>(plaintext.constData()), &tabs);
    return tabs;
}

QByteArray encrypted(const Tabs& tabs)
{
    QByteArray image(Device::MEMORY_SIZE, '\0');
    auto* bytes = reinterpret_cast<unsigned char*>(image.data());
    if (PasswordStoreCodec::encode(tabs, bytes) < 0 ||
        Security::encryptMemoryData(PASSWORD, Security::ENCRYPTION_SCHEME_ID_2, bytes) != 0)
        return QByteArray();
    return image;
}

// The plaintext of a scheme 2 image by the independent implementation of tests/data, which
// shares no code with the application; empty when it does not open.
QByteArray independentlyDecrypted(const QByteArray& image)
{
    QTemporaryDir directory;
    const QString input = directory.filePath(QStringLiteral("image.bin"));
    const QString output = directory.filePath(QStringLiteral("plaintext.bin"));
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size())
        return QByteArray();
    file.close();
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral(PAVISOR_SOURCE_DIR "/tests/data/make_known_answer_images.py"),
                  QStringLiteral("decrypt"), QStringLiteral("2"),
                  QString::fromLatin1(PASSWORD.toUtf8().toHex()), input, output});
    if (!python.waitForFinished(300000) || python.exitStatus() != QProcess::NormalExit ||
        python.exitCode() != 0)
    {
        qWarning("independent decryption failed: %s", python.readAllStandardError().constData());
        return QByteArray();
    }
    QFile result(output);
    return result.open(QIODevice::ReadOnly) ? result.readAll() : QByteArray();
}

QByteArray nameField(const QString& name)
{
    return name.toUtf8().leftJustified(Device::NAME_SIZE, '\0');
}

const QByteArray MEMORY_SELECTION = QByteArray::fromHex("a502");

// Runs the event loop until `condition` holds. QTest's waits sleep between turns, which would slow
// the write page (one page per turn) down a hundredfold.
bool runUntil(const std::function<bool()>& condition, int timeoutMs = 120000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition())
    {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}
} // namespace

class TestWriteWorkflows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void saveWorkflow();
    void eraseWizard();
    void copyWizard();
    void rename();
    void interruptedSavesLeaveADeviceThatOpens();

private:
    std::unique_ptr<FormContentEditor> _editor;
    std::unique_ptr<QTemporaryDir> _descriptors;

    // Puts tabs in the editor as unsaved data under PASSWORD.
    void _showInEditor(const Tabs& tabs);
    // Waits for the in-window message box: "title / text", or a note that none came.
    QString _nextMessage(int timeoutMs = 120000);
    template <typename Widget = QPushButton> Widget* _widget(ViewId id, const char* name)
    {
        return _editor->viewGetContent(id)->findChild<Widget*>(QLatin1String(name));
    }
    void _click(ViewId id, const char* name) { _widget(id, name)->click(); }
    // Save, Yes at the confirmation, then the message that ends the workflow (dismissed).
    QString _save();
    // Reads both memories and decrypts them with the application's own memory choice: main first,
    // then backup when they differ and main does not open.
    Tabs _open(Simulator& simulator);
};

void TestWriteWorkflows::initTestCase()
{
    QVERIFY2(!Simulator::executablePath().isEmpty(), "the device simulator was not built");
    Configuration::initialize();
}

void TestWriteWorkflows::init()
{
    _descriptors = std::make_unique<QTemporaryDir>();
    QVERIFY(_descriptors->isValid());
    qputenv("PAVISOR_SIMULATOR_DIR", _descriptors->path().toLocal8Bit());
    _editor = std::make_unique<FormContentEditor>();
    pointerFormContentEditor = _editor.get();
    _editor->viewReplace(FormContentEditor::VIEW_ID_CONTENT_EDITOR);
}

void TestWriteWorkflows::cleanup()
{
    Device::releaseSelectedDevice();
    _editor.reset();
    pointerFormContentEditor = nullptr;
    qunsetenv("PAVISOR_SIMULATOR_DIR");
    _descriptors.reset();
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

QString TestWriteWorkflows::_nextMessage(int timeoutMs)
{
    if (!runUntil([this]()
                  { return _editor->viewGetCurrent() == FormContentEditor::VIEW_ID_MESSAGE_BOX_DIALOG; },
                  timeoutMs))
        return QStringLiteral("<no message box>");
    return _editor->viewGetFrame(FormContentEditor::VIEW_ID_MESSAGE_BOX_DIALOG)->title() +
           QStringLiteral(" / ") +
           _widget<QLabel>(FormContentEditor::VIEW_ID_MESSAGE_BOX_DIALOG, "labelText")->text();
}

QString TestWriteWorkflows::_save()
{
    _editor->_pointerActionWriteDevice->trigger();
    const QString confirmation = _nextMessage(10000);
    if (!confirmation.startsWith(QStringLiteral("Confirm saving device / ")))
        return QStringLiteral("no confirmation, instead: ") + confirmation;
    _click(FormContentEditor::VIEW_ID_MESSAGE_BOX_DIALOG, "pushButtonYes");
    const QString message = _nextMessage();
    _click(FormContentEditor::VIEW_ID_MESSAGE_BOX_DIALOG, "pushButtonOk");
    return message;
}

Tabs TestWriteWorkflows::_open(Simulator& simulator)
{
    Tabs tabs;
    auto* device = new Device(simulator.portInfo());
    Device::setSelectedDevice(device);
    if (device->open() != 0 || device->readWholeMemory(Device::MEMORY_ID_MAIN) != 0 ||
        device->readWholeMemory(Device::MEMORY_ID_BACKUP) != 0)
    {
        Device::releaseSelectedDevice();
        return tabs;
    }
    const bool isChoiceAsked =
        memcmp(device->getMemoryBuffer(Device::MEMORY_ID_MAIN),
               device->getMemoryBuffer(Device::MEMORY_ID_BACKUP), Device::MEMORY_SIZE) != 0;
    for (QMessageBox::StandardButton choice : {QMessageBox::Yes, QMessageBox::No})
    {
        if (isChoiceAsked)
            TestSupport::answerNextModal([choice](QWidget* box)
                                         { static_cast<QMessageBox*>(box)->button(choice)->click(); });
        unsigned char* image = nullptr;
        if (_editor->_decryptSelectedDeviceMemory(PASSWORD, &image) == 0)
        {
            PasswordStoreCodec::parse(image, &tabs);
            break;
        }
        if (!isChoiceAsked)
            break;
    }
    Device::releaseSelectedDevice();
    // Dismiss the notices left by a memory that did not open.
    QCoreApplication::processEvents();
    while (_editor->viewGetCurrent() == FormContentEditor::VIEW_ID_MESSAGE_BOX_DIALOG)
        _editor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
    return tabs;
}

void TestWriteWorkflows::saveWorkflow()
{
    Simulator simulator;
    QVERIFY2(simulator.start({QStringLiteral("--name"), QStringLiteral("Desk key")}),
             qPrintable(simulator.errorString()));
    const Tabs tabs = content(QStringLiteral("Saved"), 3);
    _showInEditor(tabs);

    // No at the confirmation: the device is released untouched.
    _editor->_pointerActionWriteDevice->trigger();
    QCOMPARE(_nextMessage(),
             QStringLiteral(
                 "Confirm saving device / Save changes to the device 'Desk key'?\nAll device current data "
                 "will be overwritten."));
    _click(FormContentEditor::VIEW_ID_MESSAGE_BOX_DIALOG, "pushButtonNo");
    QVERIFY(Device::getSelectedDevice() == nullptr);
    QVERIFY(!simulator.recordedBytes().contains(MEMORY_SELECTION));

    // Two saves of the same content: both verified, both memories identical, fresh random bytes.
    QByteArray images[2];
    for (QByteArray& image : images)
    {
        QCOMPARE(_save(),
                 QStringLiteral("Write success / All data were successfully written.\nYou can safely "
                                "remove the device if you want."));
        QVERIFY(!_editor->_isUnsavedDataPresent);
        QVERIFY(Device::getSelectedDevice() == nullptr);
        image = simulator.stateFile(QStringLiteral("main.bin"));
        QCOMPARE(simulator.stateFile(QStringLiteral("backup.bin")), image);
        _editor->_setUnsavedDataPresent(true);
    }
    QVERIFY(images[0] != images[1]);
    const QByteArray plaintexts[2] = {independentlyDecrypted(images[0]), independentlyDecrypted(images[1])};
    for (const QByteArray& plaintext : plaintexts)
        QCOMPARE(flatten(parsed(plaintext)), flatten(tabs));
    const int storeSize = static_cast<int>(plaintexts[0].indexOf('\x04')) + 1;
    QCOMPARE(plaintexts[1].left(storeSize), plaintexts[0].left(storeSize));
    QVERIFY(plaintexts[1].mid(storeSize, 4096) != plaintexts[0].mid(storeSize, 4096));

    // A master password chosen for writing stays the master password even when the save is declined.
    _editor->_pointerActionChangePasswordThenWriteDevice->trigger();
    QCOMPARE(_editor->viewGetCurrent(), FormContentEditor::VIEW_ID_INSERT_WRITING_MASTER_PASSWORD);
    _editor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
    emit static_cast<ViewContentInsertWritingMasterPassword*>(
        _editor->viewGetContent(FormContentEditor::VIEW_ID_INSERT_WRITING_MASTER_PASSWORD))
        ->insertionFinished(true, QStringLiteral("Nouveau"));
    QVERIFY(_nextMessage().startsWith(QStringLiteral("Confirm saving device / ")));
    _click(FormContentEditor::VIEW_ID_MESSAGE_BOX_DIALOG, "pushButtonNo");
    QCOMPARE(_editor->_masterPassword, QStringLiteral("Nouveau"));
    QVERIFY(_editor->_isMasterPasswordKnown);

    // A store that does not fit: refused after the confirmation, no memory even selected.
    _showInEditor(content(QStringLiteral("Big"), 60, 500));
    simulator.clearRecord();
    QCOMPARE(
        _save(),
        QStringLiteral("Error / There is not enough room in device memory. Please remove some passwords."));
    QVERIFY(_editor->_isUnsavedDataPresent);
    QVERIFY(!simulator.recordedBytes().contains(MEMORY_SELECTION));
    QCOMPARE(simulator.stateFile(QStringLiteral("main.bin")), images[1]);
}

void TestWriteWorkflows::eraseWizard()
{
    const QByteArray old(Device::MEMORY_SIZE, '\x33');
    Simulator simulator;
    QVERIFY(simulator.writeStateFile(QStringLiteral("main.bin"), old));
    QVERIFY(simulator.writeStateFile(QStringLiteral("backup.bin"), old));
    QVERIFY2(simulator.start({QStringLiteral("--name"), QStringLiteral("Old name")}),
             qPrintable(simulator.errorString()));
    _showInEditor(content(QStringLiteral("Kept"), 1));
    auto* erase = _editor->findChild<QAction*>(QStringLiteral("actionEraseDevice"));
    auto* next = _widget(FormContentEditor::VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_2, "pushButtonNext");
    auto* resetName = _widget<QCheckBox>(FormContentEditor::VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_2,
                                         "checkBoxResetDeviceName");
    auto* confirmation =
        _widget<QCheckBox>(FormContentEditor::VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_2, "checkBoxConfirmation");

    // Next follows the confirmation box only; both memories end all zero, the name gets the date.
    erase->trigger();
    _click(FormContentEditor::VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_1, "pushButtonNext");
    QCOMPARE(_editor->viewGetCurrent(), FormContentEditor::VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_2);
    resetName->click();
    QVERIFY(!next->isEnabled());
    confirmation->click();
    QVERIFY(next->isEnabled());
    confirmation->click();
    QVERIFY(!next->isEnabled());
    confirmation->click();
    next->click();
    QVERIFY(runUntil(
        [this]()
        { return _editor->viewGetCurrent() == FormContentEditor::VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_3; }));
    QCOMPARE(simulator.stateFile(QStringLiteral("main.bin")), QByteArray(Device::MEMORY_SIZE, '\0'));
    QCOMPARE(simulator.stateFile(QStringLiteral("backup.bin")), QByteArray(Device::MEMORY_SIZE, '\0'));
    QCOMPARE(
        simulator.stateFile(QStringLiteral("name.bin")),
        nameField(QStringLiteral("Pavisor ") + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
    QVERIFY(Device::getSelectedDevice() == nullptr);
    _click(FormContentEditor::VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_3, "pushButtonExit");
    QCOMPARE(_editor->viewGetCurrent(), FormContentEditor::VIEW_ID_CONTENT_EDITOR);
    QVERIFY(_editor->_isUnsavedDataPresent);

    // Again, boxes start unticked; without the reset the name stays, and a read-back that differs
    // is a write error that leaves the wizard.
    QVERIFY(simulator.stop());
    QVERIFY(simulator.writeStateFile(QStringLiteral("name.bin"), nameField(QStringLiteral("Kept name"))));
    QVERIFY2(simulator.start({QStringLiteral("--read-back-differs"), QStringLiteral("backup,70000")}),
             qPrintable(simulator.errorString()));
    erase->trigger();
    _click(FormContentEditor::VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_1, "pushButtonNext");
    QVERIFY(!resetName->isChecked() && !confirmation->isChecked() && !next->isEnabled());
    confirmation->click();
    next->click();
    QCOMPARE(_nextMessage(), WRITE_ERROR);
    _click(FormContentEditor::VIEW_ID_MESSAGE_BOX_DIALOG, "pushButtonOk");
    QCOMPARE(_editor->viewGetCurrent(), FormContentEditor::VIEW_ID_CONTENT_EDITOR);
    QCOMPARE(simulator.stateFile(QStringLiteral("name.bin")), nameField(QStringLiteral("Kept name")));
}

void TestWriteWorkflows::copyWizard()
{
    const Tabs tabs = content(QStringLiteral("Copied"), 2);
    const QByteArray sourceImage = encrypted(tabs);
    Simulator source;
    QVERIFY(source.writeStateFile(QStringLiteral("main.bin"), sourceImage));
    QVERIFY(source.writeStateFile(QStringLiteral("backup.bin"), sourceImage));
    QVERIFY2(source.start({QStringLiteral("--name"), QStringLiteral("Source <i>")}),
             qPrintable(source.errorString()));
    Simulator target;
    const QByteArray targetImage(Device::MEMORY_SIZE, '\x77');
    QVERIFY(target.writeStateFile(QStringLiteral("main.bin"), targetImage));
    QVERIFY(target.writeStateFile(QStringLiteral("backup.bin"), targetImage));

    // The source's password page: Return does nothing while the field is empty.
    _editor->findChild<QAction*>(QStringLiteral("actionCopyDevice"))->trigger();
    _click(FormContentEditor::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_1, "pushButtonNext");
    auto* password =
        _widget<QLineEdit>(FormContentEditor::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_2, "lineEditPassword");
    QTest::keyClick(password, Qt::Key_Return);
    QCOMPARE(_editor->viewGetCurrent(), FormContentEditor::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_2);
    QVERIFY(!source.recordedBytes().contains(MEMORY_SELECTION));
    password->setText(PASSWORD);
    QTest::keyClick(password, Qt::Key_Return);
    QVERIFY(runUntil(
        [this]()
        { return _editor->viewGetCurrent() == FormContentEditor::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_3; }));
    QVERIFY(Device::getSelectedDevice() == nullptr);
    QVERIFY(source.stop());
    QVERIFY2(target.start({QStringLiteral("--serial"), QStringLiteral("QRTAV-000002"),
                           QStringLiteral("--name"), QStringLiteral("Target")}),
             qPrintable(target.errorString()));

    // The target's password page rates every keystroke and shows the text on request.
    const ViewId page3 = FormContentEditor::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_3;
    auto* strength = _widget<QLabel>(page3, "labelPasswordStrength");
    const QString emptyRating = strength->text();
    QTest::keyClicks(_widget<QLineEdit>(page3, "lineEditPassword"), QStringLiteral("k#9Lq!2vXz"));
    QVERIFY2(strength->text().startsWith(QStringLiteral("Password strength: <b>")) &&
                 strength->text() != emptyRating,
             qPrintable(strength->text()));
    _click(page3, "pushButtonShowPassword");
    QCOMPARE(_widget<QLineEdit>(page3, "lineEditPassword")->echoMode(), QLineEdit::Normal);
    QCOMPARE(_widget(page3, "pushButtonShowPassword")->text(), QStringLiteral("Hide"));
    _widget<QLineEdit>(page3, "lineEditPassword")->clear();

    // A blank target password keeps the source's. No at the confirmation leaves the target as it was.
    QString question;
    auto answer = [&question](QMessageBox::StandardButton button)
    {
        TestSupport::answerNextModal(
            [&question, button](QWidget* widget)
            {
                auto* box = static_cast<QMessageBox*>(widget);
                question = box->text();
                box->button(button)->click();
            });
    };
    answer(QMessageBox::No);
    _click(FormContentEditor::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_3, "pushButtonNext");
    QVERIFY2(question.contains(
                 QStringLiteral("Source device name: <b>Source &lt;i&gt;</b><br />Target device name: "
                                "<b>Target</b><br />Source and target devices master password are "
                                "<b>identical</b>")),
             qPrintable(question));
    QCOMPARE(_editor->viewGetCurrent(), FormContentEditor::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_3);
    QVERIFY(Device::getSelectedDevice() == nullptr);
    QVERIFY(!target.recordedBytes().contains(MEMORY_SELECTION));
    QCOMPARE(target.stateFile(QStringLiteral("main.bin")), targetImage);

    answer(QMessageBox::Yes);
    _click(FormContentEditor::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_3, "pushButtonNext");
    QVERIFY(runUntil(
        [this]()
        { return _editor->viewGetCurrent() == FormContentEditor::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_4; }));
    QCOMPARE(target.stateFile(QStringLiteral("backup.bin")), target.stateFile(QStringLiteral("main.bin")));
    QVERIFY(target.stateFile(QStringLiteral("main.bin")) != sourceImage);
    QCOMPARE(flatten(_open(target)), flatten(tabs));
    _click(FormContentEditor::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_4, "pushButtonExit");
    QCOMPARE(_editor->viewGetCurrent(), FormContentEditor::VIEW_ID_CONTENT_EDITOR);
}

void TestWriteWorkflows::rename()
{
    Simulator simulator;
    QVERIFY2(simulator.start({QStringLiteral("--name"), QStringLiteral("Before")}),
             qPrintable(simulator.errorString()));
    auto rename = [this](const QString& name)
    {
        _editor->findChild<QAction*>(QStringLiteral("actionChangeDeviceName"))->trigger();
        auto* field = _widget<QLineEdit>(FormContentEditor::VIEW_ID_CHANGE_DEVICE_NAME, "lineEditName");
        if (_editor->viewGetCurrent() != FormContentEditor::VIEW_ID_CHANGE_DEVICE_NAME || field == nullptr)
            return QStringLiteral("<no device name page>");
        field->setText(name);
        _click(FormContentEditor::VIEW_ID_CHANGE_DEVICE_NAME, "pushButtonOk");
        const QString message = _nextMessage(20000);
        _click(FormContentEditor::VIEW_ID_MESSAGE_BOX_DIALOG, "pushButtonOk");
        return message;
    };

    // 65 UTF-8 bytes: refused before anything is sent; 64 fit.
    QCOMPARE(
        rename(QString(32, QChar(0xE9)) + QLatin1Char('x')),
        QStringLiteral("Name too long / Device name is limited to 64 ASCII characters (some UTF-8 characters "
                       "can use several ASCII characters).\nPlease retry with a shorter name."));
    QVERIFY(!simulator.recordedBytes().contains(QByteArray::fromHex("a509")));
    QCOMPARE(rename(QString(32, QChar(0xE9))),
             QStringLiteral("Success / Device name was successfully changed."));
    QCOMPARE(simulator.stateFile(QStringLiteral("name.bin")), QString(32, QChar(0xE9)).toUtf8());

    QVERIFY(simulator.stop());
    QVERIFY2(simulator.start({QStringLiteral("--silent-command"), QStringLiteral("9")}),
             qPrintable(simulator.errorString()));
    QCOMPARE(rename(QStringLiteral("Unheard")), QStringLiteral("Error / Could not write the device name."));
    QVERIFY(Device::getSelectedDevice() == nullptr);
}

void TestWriteWorkflows::interruptedSavesLeaveADeviceThatOpens()
{
    const Tabs oldTabs = content(QStringLiteral("Old"), 2);
    const Tabs newTabs = content(QStringLiteral("New"), 3);
    const QByteArray oldImage = encrypted(oldTabs);
    const QString mainFailed = QStringLiteral("Error / Could not write data to the main memory, aborting.");
    const QString backupFailed =
        QStringLiteral("Error / Could not write data to the backup memory, aborting.");
    const struct
    {
        QStringList flags;
        QString message;
        bool isNewContentKept;
    } cases[] = {
        // The main memory is always finished before the backup memory is touched.
        {{QStringLiteral("--power-cut-page"), QStringLiteral("0")}, mainFailed, false},
        {{QStringLiteral("--power-cut-page"), QStringLiteral("255")}, mainFailed, false},
        {{QStringLiteral("--power-cut-page"), QStringLiteral("511")}, mainFailed, false},
        {{QStringLiteral("--power-cut-backup-page"), QStringLiteral("0")}, backupFailed, true},
        {{QStringLiteral("--power-cut-backup-page"), QStringLiteral("255")}, backupFailed, true},
        {{QStringLiteral("--power-cut-backup-page"), QStringLiteral("511")}, backupFailed, true},
        {{QStringLiteral("--wrong-ack-page"), QStringLiteral("300")}, mainFailed, false},
        {{QStringLiteral("--stop-after-pages"), QStringLiteral("600")}, backupFailed, true},
        {{QStringLiteral("--read-back-differs"), QStringLiteral("main,77777")}, WRITE_ERROR, true},
    };
    _showInEditor(newTabs);
    for (const auto& testCase : cases)
    {
        const QString name = testCase.flags.join(QLatin1Char(' '));
        Simulator simulator;
        QVERIFY(simulator.writeStateFile(QStringLiteral("main.bin"), oldImage));
        QVERIFY(simulator.writeStateFile(QStringLiteral("backup.bin"), oldImage));
        QVERIFY2(simulator.start(testCase.flags), qPrintable(simulator.errorString()));
        const QString message = _save();
        QVERIFY2(message == testCase.message, qPrintable(name + QStringLiteral(": ") + message));
        QVERIFY2(_editor->_isUnsavedDataPresent, qPrintable(name));
        QVERIFY(Device::getSelectedDevice() == nullptr);

        // Plugged in again, it opens with the content the interruption left in one piece.
        if (simulator.isRunning())
            QVERIFY(simulator.stop());
        QVERIFY2(simulator.start(), qPrintable(simulator.errorString()));
        QVERIFY2(flatten(_open(simulator)) == flatten(testCase.isNewContentKept ? newTabs : oldTabs),
                 qPrintable(name));
        QVERIFY(simulator.stop());
    }
}

QTEST_MAIN(TestWriteWorkflows)
#include "tst_write_workflows.moc"
