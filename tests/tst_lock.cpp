// The inactivity lock and the locked page, settings, clipboard, close guard and About, the writing
// master password page, the two device pages (on the simulator) and the update check against a real
// HTTP server on 127.0.0.1.
#include "Configuration.h"
#include "Device.h"
#include "FormContentEditor.h"
#include "HelpViewer.h"
#include "PasswordTable.h"
#include "Simulator.h"
#include "TestSupport.h"
#include "ViewBase.h"
#include "ViewContentChangeDeviceName.h"
#include "ViewContentInsertWritingMasterPassword.h"
#include "ViewContentReadDevice.h"

#include <QtNetwork>
#include <QtTest>
#include <QtWidgets>
#include <memory>

using namespace Qt::StringLiterals;
using V = FormContentEditor;

namespace
{
QByteArray http(const char* status, const QByteArray& body)
{
    return "HTTP/1.1 "_ba + status + "\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

// Answers each request with `response`, or keeps the connection open without a word when it is empty.
struct UpdateServer : QTcpServer
{
    QByteArray response;
    int requestCount = 0;
    UpdateServer() { listen(QHostAddress::LocalHost); }
    void incomingConnection(qintptr descriptor) override
    {
        auto* socket = new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
        connect(socket, &QTcpSocket::readyRead, socket,
                [this, socket]()
                {
                    if (!socket->peek(65536).contains("\r\n\r\n"))
                        return;
                    requestCount++;
                    socket->readAll();
                    socket->write(response);
                    if (!response.isEmpty())
                        socket->disconnectFromHost();
                });
    }
};
} // namespace

class TestLock : public QObject
{
    Q_OBJECT

public slots:
    void openUrl(const QUrl& url) { _openedUrls << url; }

private:
    std::unique_ptr<FormContentEditor> _editor;
    std::unique_ptr<UpdateServer> _server;
    QString _message;
    QString _shownMessageBoxes;
    QList<QUrl> _openedUrls;

    V::ViewId _current() { return _editor->viewGetCurrent(); }
    template <typename T = QPushButton> T* _child(V::ViewId id, const char* name)
    {
        return _editor->viewGetContent(id)->findChild<T*>(QLatin1String(name));
    }
    QAction* _action(const char* name) { return _editor->findChild<QAction*>(QLatin1String(name)); }
    void _makeEditor()
    {
        _shownMessageBoxes.clear();
        _editor = std::make_unique<FormContentEditor>();
        pointerFormContentEditor = _editor.get();
        qApp->installEventFilter(_editor.get());
        // Every message box shown, by title and '|': a notice that flashes by is recorded too.
        connect(_editor->findChild<QStackedWidget*>(), &QStackedWidget::currentChanged, this,
                [this](int index)
                {
                    if (index == V::VIEW_ID_MESSAGE_BOX_DIALOG)
                        _shownMessageBoxes +=
                            _editor->viewGetFrame(V::VIEW_ID_MESSAGE_BOX_DIALOG)->title() + u'|';
                });
    }
    void _setAutoLock(const QVariant& enabled, const QVariant& delay)
    {
        Configuration::pointerSettings->setValue("IsApplicationAutoLockingEnabled", enabled);
        Configuration::pointerSettings->setValue("ApplicationAutoLockingDelayMinutes", delay);
        _editor->_slotViewContentSettingsConfigurationChanged();
    }
    void _knowMasterPassword(const QString& password)
    {
        _editor->_masterPassword = password;
        _editor->_isMasterPasswordKnown = true;
        _editor->_updateUserInterfaceControls();
    }
    void _unlock(const QString& password)
    {
        auto* field = _child<QLineEdit>(V::VIEW_ID_APPLICATION_LOCKED, "lineEditPassword");
        field->setText(password);
        QTest::keyClick(field, Qt::Key_Return);
    }
    // The next native box is answered with `button`; its title and text land in _message.
    void _answer(QMessageBox::StandardButton button)
    {
        TestSupport::answerNextModal(
            [this, button](QWidget* widget)
            {
                auto* box = qobject_cast<QMessageBox*>(widget);
                _message = box->windowTitle() + u'|' + box->text();
                box->button(button)->click();
            });
    }
    void _selectDevice(Simulator& simulator)
    {
        auto* device = new Device(simulator.portInfo());
        QCOMPARE(device->open(), 0);
        Device::setSelectedDevice(device);
    }
    // Until the update answer was handled and the message box it asks for is up.
    void _waitForUpdateAnswer()
    {
        QTRY_VERIFY_WITH_TIMEOUT(_server->requestCount > 0 && _editor->_pointerUpdateReply == nullptr, 10000);
        QTest::qWait(20);
    }

private slots:
    void initTestCase()
    {
        Configuration::initialize();
        // Closing the window in one test must not end the modal loops of the next.
        QApplication::setQuitOnLastWindowClosed(false);
        QDesktopServices::setUrlHandler(u"http"_s, this, "openUrl");
    }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(u"http"_s); }
    void init()
    {
        // No check at start unless a test asks for one.
        Configuration::pointerSettings->clear();
        Configuration::pointerSettings->setValue("IsNewApplicationVersionCheckEnabled", false);
        _server = std::make_unique<UpdateServer>();
        qputenv("PAVISOR_WEBSITE_URL", "http://127.0.0.1:" + QByteArray::number(_server->serverPort()));
        _message.clear();
        _openedUrls.clear();
        _makeEditor();
    }
    void cleanup()
    {
        Device::releaseSelectedDevice();
        HelpViewer::process().waitForFinished(5000);
        _editor.reset();
        pointerFormContentEditor = nullptr;
    }

    void lockAfterInactivityAndSettings()
    {
        _setAutoLock(true, 1);
        QAction* lockAction = _action("actionLockApplication");
        const auto tick = [this](int count)
        {
            while (count-- > 0)
                _editor->_slotTimerSecondTimeout();
        };
        QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), QPointF(1, 1), Qt::NoButton, {}, {});

        // No master password yet: the delay passes again and again and nothing locks.
        tick(150);
        _editor->_slotActionLockApplicationClicked();
        QVERIFY(_current() == V::VIEW_ID_START_MENU && !lockAction->isEnabled());
        _knowMasterPassword(u"pass word"_s);
        QVERIFY(lockAction->isEnabled());
        // A mouse move or a key press at second 59 starts the count again.
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
        QApplication::sendEvent(_editor.get(), &move);
        tick(59);
        QApplication::sendEvent(_editor.get(), &key);
        tick(59);
        QCOMPARE(_current(), V::VIEW_ID_START_MENU);
        tick(1);
        QVERIFY(_current() == V::VIEW_ID_APPLICATION_LOCKED && !lockAction->isEnabled());
        _editor->_slotActionLockApplicationClicked();
        QCOMPARE(_editor->_viewsStack.size(), 1);

        // A trailing space makes another password: refused, the typed text stays.
        auto* field = _child<QLineEdit>(V::VIEW_ID_APPLICATION_LOCKED, "lineEditPassword");
        QVERIFY(!_child(V::VIEW_ID_APPLICATION_LOCKED, "pushButtonUnlock")->isEnabled());
        _answer(QMessageBox::Ok);
        _unlock(u"pass word "_s);
        QCOMPARE(_message,
                 u"Wrong master password|Wrong master password, please retry.\nYou can also quit the "
                 "application."_s);
        QCOMPARE(field->text(), u"pass word "_s);
        _unlock(u"pass word"_s);
        QVERIFY(_current() == V::VIEW_ID_START_MENU && field->text().isEmpty() && lockAction->isEnabled());
        // Left in any way, the page forgets its copy: shown again without being told, the same password
        // opens nothing.
        ViewContentBase* lockedPage = _editor->viewGetContent(V::VIEW_ID_APPLICATION_LOCKED);
        for (const bool isLeftLocked : {false, true})
        {
            if (isLeftLocked)
            {
                _editor->_slotActionLockApplicationClicked();
                _editor->viewPopPage(lockedPage);
            }
            _editor->viewPush(V::VIEW_ID_APPLICATION_LOCKED);
            _answer(QMessageBox::Ok);
            _unlock(u"pass word"_s);
            QCOMPARE(_current(), V::VIEW_ID_APPLICATION_LOCKED);
            _editor->viewPopPage(lockedPage);
        }

        // A store edited by hand never locks within seconds: stored delay, seconds it takes (as the page
        // shows).
        const QList<QPair<QVariant, int>> cases = {
            {QVariant(), 300}, {0, 60}, {u"ten"_s, 300}, {99999, 86400}};
        for (const auto& [delay, seconds] : cases)
        {
            _setAutoLock(u"true"_s, delay);
            QApplication::sendEvent(_editor.get(), &move);
            int count = 0;
            for (; _current() != V::VIEW_ID_APPLICATION_LOCKED && count < 100000; count++)
                tick(1);
            QCOMPARE(count, seconds);
            _unlock(u"pass word"_s);
            _editor->viewPush(V::VIEW_ID_SETTINGS);
            QCOMPARE(_child<QSpinBox>(V::VIEW_ID_SETTINGS, "spinBoxApplicationAutoLocking")->value() * 60,
                     seconds);
            _editor->viewPop(V::VIEW_ID_PREVIOUS);
        }

        // The settings page writes all three keys.
        auto* update = _child<QCheckBox>(V::VIEW_ID_SETTINGS, "checkBoxNewApplicationVersionCheck");
        auto* autoLock = _child<QCheckBox>(V::VIEW_ID_SETTINGS, "checkBoxApplicationAutoLocking");
        auto* delay = _child<QWidget>(V::VIEW_ID_SETTINGS, "widgetApplicationAutoLockingDelay");
        auto* spinBox = _child<QSpinBox>(V::VIEW_ID_SETTINGS, "spinBoxApplicationAutoLocking");
        QSettings* settings = Configuration::pointerSettings;
        settings->clear();
        const auto stored = [settings]()
        {
            QStringList values;
            for (const char* key : {"IsNewApplicationVersionCheckEnabled", "IsApplicationAutoLockingEnabled",
                                    "ApplicationAutoLockingDelayMinutes"})
                values << settings->value(key).toString();
            return values;
        };

        // Defaults shown; saving unchanged still writes all three keys.
        _action("actionSettings")->trigger();
        QVERIFY(update->isChecked() && !autoLock->isChecked() && !delay->isEnabled() &&
                spinBox->value() == 5);
        _child(V::VIEW_ID_SETTINGS, "pushButtonSave")->click();
        QCOMPARE(_current(), V::VIEW_ID_START_MENU);
        QCOMPARE(stored(), QStringList({"true", "false", "5"}));
        QVERIFY(!_editor->_timerSecond.isActive());
        // The lock timer starts at once; the delay widget follows the box; Cancel writes nothing.
        _action("actionSettings")->trigger();
        autoLock->click();
        update->click();
        spinBox->setValue(2);
        QVERIFY(delay->isEnabled());
        _child(V::VIEW_ID_SETTINGS, "pushButtonSave")->click();
        QCOMPARE(stored(), QStringList({"false", "true", "2"}));
        QVERIFY(_editor->_timerSecond.isActive());
        _action("actionSettings")->trigger();
        spinBox->setValue(9);
        autoLock->click();
        QVERIFY(!delay->isEnabled());
        _child(V::VIEW_ID_SETTINGS, "pushButtonCancel")->click();
        QCOMPARE(stored(), QStringList({"false", "true", "2"}));
    }

    void lockHoldsOverADeviceRead()
    {
        Simulator simulator;
        QVERIFY2(simulator.start(), qPrintable(simulator.errorString()));
        _selectDevice(simulator);
        _knowMasterPassword(u"pw"_s);
        _editor->viewReplace(V::VIEW_ID_CONTENT_EDITOR);
        auto* readPage = static_cast<ViewContentReadDevice*>(_editor->viewGetContent(V::VIEW_ID_READ_DEVICE));
        QObject::disconnect(readPage, nullptr, _editor.get(), nullptr);
        QSignalSpy finished(readPage, &ViewContentReadDevice::readFinished);
        // The lock lands between the two memories; what the workflow does at the end happens under it.
        connect(readPage->findChild<QProgressBar*>(), &QProgressBar::valueChanged, this,
                [this](int value)
                {
                    if (value > 0)
                        _editor->_slotActionLockApplicationClicked();
                });
        connect(readPage, &ViewContentReadDevice::readFinished, this,
                [this]()
                {
                    _editor->viewReplace(V::VIEW_ID_CONTENT_EDITOR);
                    _editor->viewClear();
                    _editor->viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_SUCCESS, u"Read"_s,
                                                      u"Done"_s, ViewContentMessageBoxDialog::BUTTON_OK,
                                                      ViewContentMessageBoxDialog::BUTTON_OK);
                });
        _editor->viewPush(V::VIEW_ID_READ_DEVICE);
        QTRY_COMPARE_WITH_TIMEOUT(finished, QList<QVariantList>({{0}}), 30000);
        QTest::qWait(20);
        QCOMPARE(_current(), V::VIEW_ID_APPLICATION_LOCKED);
        _unlock(u"pw"_s);
        QCOMPARE(_current(), V::VIEW_ID_MESSAGE_BOX_DIALOG);
        _child(V::VIEW_ID_MESSAGE_BOX_DIALOG, "pushButtonOk")->click();
        QVERIFY(_current() == V::VIEW_ID_CONTENT_EDITOR && _editor->_viewsStack.isEmpty());
    }

    void clipboardCloseGuardAndAbout()
    {
        _editor->viewReplace(V::VIEW_ID_CONTENT_EDITOR);
        _editor->show();
        QVERIFY(QTest::qWaitForWindowActive(_editor.get()));
        // A copy from a table enables Clear; Ctrl+K clears the clipboard and disables it.
        PasswordTable* table = _editor->_createEmptyTab(u"Mail"_s);
        table->insertPassword({{u"mail"_s, u"me"_s, u"s3cret"_s, QString(), QString()}});
        auto* clear = _editor->findChild<QPushButton*>(u"pushButtonClearClipboard"_s);
        QClipboard* clipboard = QGuiApplication::clipboard();
        QVERIFY(!clear->isEnabled());
        table->tableWidget()->setCurrentCell(0, PasswordTable::PASSWORD_DATA_ID_PASSWORD);
        QTest::keyClick(table->tableWidget(), Qt::Key_C, Qt::ControlModifier);
        QVERIFY(clipboard->text() == u"s3cret"_s && clear->isEnabled());
        QTest::keyClick(_editor.get(), Qt::Key_K, Qt::ControlModifier);
        QVERIFY(clipboard->text().isEmpty() && !clear->isEnabled());
        // A login copied: it goes with the window, at the end.
        table->tableWidget()->setCurrentCell(0, PasswordTable::PASSWORD_DATA_ID_LOGIN);
        QTest::keyClick(table->tableWidget(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), u"me"_s);

        // A sub-view refuses, even without unsaved data.
        _editor->viewPush(V::VIEW_ID_SETTINGS);
        _answer(QMessageBox::Ok);
        QVERIFY(!_editor->close());
        QVERIFY(_message.startsWith(u"Warning|You are currently in a subview"_s));
        _editor->viewPop(V::VIEW_ID_PREVIOUS);
        // Unsaved data, on the locked page too, and through "Quit": only Yes closes.
        _editor->_isUnsavedDataPresent = true;
        _knowMasterPassword(u"pw"_s);
        _editor->_slotActionLockApplicationClicked();
        _answer(QMessageBox::No);
        QVERIFY(!_editor->close());
        QVERIFY(_message.startsWith(u"Warning|You did not write your modifications"_s));
        _answer(QMessageBox::No);
        _action("actionQuit")->trigger();
        QVERIFY(_editor->isVisible());
        _answer(QMessageBox::Yes);
        QVERIFY(_editor->close());

        _answer(QMessageBox::Ok);
        _action("actionAbout")->trigger();
        QVERIFY(_message.contains(u"Application version: 2.1<br />Qt version: " QT_VERSION_STR));
        _action("actionHelp")->trigger();
        QCOMPARE(HelpViewer::process().arguments().value(2), u"index.html"_s);
        _action("actionWebsite")->trigger();
        QCOMPARE(_openedUrls.value(0).path(), u"/"_s);
        _editor.reset();
        QVERIFY(clipboard->text().isEmpty());
    }

    void writingMasterPasswordPage()
    {
        const V::ViewId id = V::VIEW_ID_INSERT_WRITING_MASTER_PASSWORD;
        auto* first = _child<QLineEdit>(id, "lineEditFirstPasswordField");
        auto* second = _child<QLineEdit>(id, "lineEditSecondPasswordField");
        QPushButton* ok = _child(id, "pushButtonOk");
        QPushButton* show = _child(id, "pushButtonShow");
        auto* strength = _child<QLabel>(id, "labelPasswordStrength");
        auto* matching = _child<QLabel>(id, "labelPasswordsMatchingState");
        auto* help = _child<QLabel>(id, "labelHelp");
        const auto both = [&](QLineEdit::EchoMode mode)
        { return first->echoMode() == mode && second->echoMode() == mode; };
        // The page on its own: the save workflow must not take its answer.
        QObject::disconnect(_editor->viewGetContent(id), nullptr, _editor.get(), nullptr);
        QList<QVariantList> results;
        connect(static_cast<ViewContentInsertWritingMasterPassword*>(_editor->viewGetContent(id)),
                &ViewContentInsertWritingMasterPassword::insertionFinished, this,
                [&](bool isAccepted, const QString& password) {
                    results << QVariantList{isAccepted, password, _current()};
                });

        for (QPushButton* leave : {_child(id, "pushButtonCancel"), ok})
        {
            // Every entry starts afresh: empty, hidden, no match.
            _editor->viewPush(id);
            QVERIFY((first->text() + second->text()).isEmpty() && !ok->isEnabled() &&
                    both(QLineEdit::Password));
            QCOMPARE(matching->text() + strength->text(),
                     u"Passwords do not match.Password strength: <b>very weak</b>"_s);
            QTest::keyClicks(first, u"abcdefghi"_s);
            QTest::keyClicks(second, u"abcdefghI"_s);
            QVERIFY(!ok->isEnabled());
            QTest::keyClick(second, Qt::Key_Backspace);
            QTest::keyClicks(second, u"i"_s);
            QVERIFY(ok->isEnabled() && matching->text() == u"Passwords are matching."_s);
            emit help->linkActivated(help->text().section(u'"', 1, 1));
            QCOMPARE(HelpViewer::process().arguments().value(2), u"master_password_selection_guide.html"_s);
            // Only the first field is rated; Return does nothing here.
            second->setText(u"Zz9!Zz9!Zz9!"_s);
            QCOMPARE(strength->text(), u"Password strength: <b>weak</b>"_s);
            QTest::keyClick(first, Qt::Key_Return);
            QCOMPARE(results.size(), leave == ok ? 1 : 0);
            second->setText(first->text());
            show->click();
            QVERIFY(both(QLineEdit::Normal) && show->text() == u"Hide"_s);
            show->click();
            QVERIFY(both(QLineEdit::Password));
            leave->click();
            QVERIFY(first->text().isEmpty());
        }
        QCOMPARE(results, QList<QVariantList>({{false, QString(), V::VIEW_ID_START_MENU},
                                               {true, u"abcdefghi"_s, V::VIEW_ID_START_MENU}}));
    }

    void deviceInformationAndNamePages()
    {
        const V::ViewId info = V::VIEW_ID_SHOW_DEVICE_INFORMATION, rename = V::VIEW_ID_CHANGE_DEVICE_NAME;
        Simulator simulator;
        QVERIFY2(simulator.start({u"--name"_s, u"Office"_s, u"--versions"_s, u"2,7"_s}),
                 qPrintable(simulator.errorString()));
        // The four values shown, then whether the device was released.
        const auto shown = [&]()
        {
            QStringList texts;
            for (const char* name :
                 {"labelName", "labelSerialNumber", "labelHardwareVersion", "labelFirmwareVersion"})
                texts << _child<QLabel>(info, name)->text();
            return texts << (Device::getSelectedDevice() == nullptr ? u"released"_s : u"held"_s);
        };
        _selectDevice(simulator);
        _editor->viewPush(info);
        QCOMPARE(shown(), QStringList({"Office", "QRTAV-000001", "2", "7", "released"}));
        _child(info, "pushButtonOk")->click();
        QCOMPARE(_current(), V::VIEW_ID_START_MENU);

        // The name page: an empty name cannot be sent, Cancel sends nothing, and the device is always
        // released.
        auto* nameField = _child<QLineEdit>(rename, "lineEditName");
        QObject::disconnect(_editor->viewGetContent(rename), nullptr, _editor.get(), nullptr);
        QSignalSpy nameChanged(static_cast<ViewContentChangeDeviceName*>(_editor->viewGetContent(rename)),
                               &ViewContentChangeDeviceName::nameChanged);
        for (const QString& name : {QString(), u"Home key"_s})
        {
            _selectDevice(simulator);
            _editor->viewPush(rename);
            QCOMPARE(nameField->text(), u"Office"_s);
            nameField->setText(name);
            QTest::keyClick(nameField, Qt::Key_Return);
            if (name.isEmpty())
                _child(rename, "pushButtonCancel")->click();
            QVERIFY(_current() == V::VIEW_ID_START_MENU && Device::getSelectedDevice() == nullptr);
        }
        QCOMPARE(nameChanged, QList<QVariantList>({{0}}));
        QVERIFY(simulator.stateFile(u"name.bin"_s).startsWith("Home key"));
        simulator.stop();

        // An unreadable serial number leaves every value at "ERROR"; the versions are never asked.
        QVERIFY(simulator.start({u"--silent-command"_s, u"6"_s}));
        _selectDevice(simulator);
        simulator.clearRecord();
        _editor->viewPush(info);
        QCOMPARE(shown(), QStringList({"Home key", "ERROR", "ERROR", "ERROR", "released"}));
        QVERIFY(!simulator.recordedBytes().contains("\xA5\x00"_ba));
        QTRY_COMPARE(_shownMessageBoxes, u"Error|"_s);
        QCOMPARE(_child<QLabel>(V::VIEW_ID_MESSAGE_BOX_DIALOG, "labelText")->text(),
                 u"Could not retrieve the device serial number."_s);
        _child(V::VIEW_ID_MESSAGE_BOX_DIALOG, "pushButtonOk")->click();
        QCOMPARE(_current(), info);
    }

    void updateCheckAtStartAndFromTheMenu()
    {
        // Server answer, the message box that follows the notice of a check from the menu (none: the
        // question) and the answer to it. At start the check runs once, and only the question is said.
        const QString failure = u"Update check|"_s, none = u"No update found|"_s;
        const QList<std::tuple<QByteArray, QString, QMessageBox::StandardButton>> cases = {
            {http("200 OK", "Latest_Version=2.1\n"), none, {}},
            {http("200 OK", "Latest_Version=2.1"), none, {}},
            {http("200 OK", "Latest_Version=2.1\r\n"), QString(), QMessageBox::Cancel},
            {http("200 OK", "Latest_Version=2.0\n"), QString(), QMessageBox::Ok},
            {http("404 Not Found", "<html><body>Latest_Version=2.0</body></html>"), failure, {}},
            {http("200 OK", "<html><body>Down for maintenance</body></html>"), failure, {}},
            {http("200 OK", ""), failure, {}},
            {QByteArray(), failure, {}},
            {"closed"_ba, failure, {}}};
        const QString offer =
            u"Update available|A program update is available (the new version is %1, you are "
            "currently using the version 2.1).\nDo you want to download it from the website?"_s;
        Configuration::pointerSettings->remove("IsNewApplicationVersionCheckEnabled");
        for (const auto& [response, messageBox, answer] : cases)
        {
            const QString question = messageBox.isEmpty()
                                         ? offer.arg(response.endsWith("\r\n") ? u"2.1\r"_s : u"2.0"_s)
                                         : QString();
            _message.clear();
            // "closed" stands for nobody listening.
            _server->response = response;
            _server->requestCount = response == "closed";
            if (response == "closed")
                _server->close();
            if (messageBox.isEmpty())
                _answer(QMessageBox::Cancel);
            _makeEditor();
            _waitForUpdateAnswer();
            _editor->viewReplace(V::VIEW_ID_CONTENT_EDITOR);
            _editor->viewReplace(V::VIEW_ID_START_MENU);
            QTest::qWait(100);
            QVERIFY(_server->requestCount == 1 && _shownMessageBoxes.isEmpty());
            QCOMPARE(_message, question);

            _server->requestCount = response == "closed";
            if (messageBox.isEmpty())
                _answer(answer);
            _action("actionSoftwareUpdateCheck")->trigger();
            _waitForUpdateAnswer();
            QCOMPARE(_shownMessageBoxes, u"Searching for an update|"_s + messageBox);
            QCOMPARE(_message, question);
            if (!messageBox.isEmpty())
                _child(V::VIEW_ID_MESSAGE_BOX_DIALOG, "pushButtonOk")->click();
            // Nothing stays behind.
            QCOMPARE(_current(), V::VIEW_ID_START_MENU);
        }
        QCOMPARE(_openedUrls.size(), 1);
        QCOMPARE(_openedUrls.first().path(), u"/downloads-en"_s);

        // Off in the settings: no request at start, but the menu still checks.
        init();
        QTest::qWait(200);
        QCOMPARE(_server->requestCount, 0);
        _server->response = http("200 OK", "Latest_Version=2.1\n");
        _action("actionSoftwareUpdateCheck")->trigger();
        _waitForUpdateAnswer();
        QCOMPARE(_shownMessageBoxes, u"Searching for an update|"_s + none);
    }
};

QTEST_MAIN(TestLock)
#include "tst_lock.moc"
