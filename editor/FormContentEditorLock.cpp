// Inactivity lock, clipboard clearing, update check, close guard, settings, help and about.
#include "FormContentEditor.h"
#include "ui_FormContentEditor.h"

#include "Configuration.h"
#include "HelpViewer.h"
#include "PasswordTablePasswordItem.h"
#include "SecretClipboard.h"
#include "UpdateAnswer.h"
#include "ViewBase.h"
#include "ViewContentApplicationLocked.h"
#include "ViewContentDeviceAccess.h"
#include "ViewContentSettings.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QShortcut>

namespace
{
constexpr int UPDATE_CHECK_TIMEOUT_MS = 5000;
const char* const UPDATE_FILE_PATH = "/download/desktop-application/Desktop_Application_Version.txt";

// The product web site is asked over https only; a local test server may use http.
bool isUpdateUrlAllowed(const QUrl& url)
{
    return url.scheme() == QLatin1String("https") ||
           (url.scheme() == QLatin1String("http") && url.host() == QLatin1String("127.0.0.1"));
}
} // namespace

void FormContentEditor::_initializeLock()
{
    connect(ui->actionLockApplication, &QAction::triggered, this,
            &FormContentEditor::_slotActionLockApplicationClicked);
    connect(ui->actionSettings, &QAction::triggered, this, &FormContentEditor::_slotActionSettingsTriggered);
    connect(ui->actionQuit, &QAction::triggered, this, &FormContentEditor::_slotActionQuitTriggered);
    connect(ui->actionHelp, &QAction::triggered, this, &FormContentEditor::_slotActionHelpTriggered);
    connect(ui->actionWebsite, &QAction::triggered, this, &FormContentEditor::_slotActionWebsiteTriggered);
    connect(ui->actionSoftwareUpdateCheck, &QAction::triggered, this,
            &FormContentEditor::_slotActionSoftwareUpdateCheckTriggered);
    connect(ui->actionAbout, &QAction::triggered, this, &FormContentEditor::_slotActionAboutTriggered);
    connect(ui->pushButtonClearClipboard, &QPushButton::clicked, this,
            &FormContentEditor::_slotPushButtonClearClipboardClicked);
    connect(_pointerShortcutClearClipboard, &QShortcut::activated, this,
            &FormContentEditor::_slotPushButtonClearClipboardClicked);
    connect(ui->actionClearClipboard, &QAction::triggered, this,
            &FormContentEditor::_slotPushButtonClearClipboardClicked);
    // Queued: the reply never runs inside checkForApplicationUpdate(), always after its notice.
    connect(_pointerNetworkAccessManager, &QNetworkAccessManager::finished, this,
            &FormContentEditor::_slotNetworkAccessManagerFinished, Qt::QueuedConnection);
    connect(&_timerSecond, &QTimer::timeout, this, &FormContentEditor::_slotTimerSecondTimeout);
    _timerClearClipboard.setSingleShot(true);
    connect(&_timerClearClipboard, &QTimer::timeout, this, &FormContentEditor::_clearCopiedData);
    connect(qApp, &QApplication::focusChanged, this, &FormContentEditor::_slotApplicationFocusChanged);
    connect(static_cast<ViewContentSettings*>(viewGetContent(VIEW_ID_SETTINGS)),
            &ViewContentSettings::configurationChanged, this,
            &FormContentEditor::_slotViewContentSettingsConfigurationChanged);
    connect(static_cast<ViewContentApplicationLocked*>(viewGetContent(VIEW_ID_APPLICATION_LOCKED)),
            &ViewContentApplicationLocked::applicationUnlocked, this,
            &FormContentEditor::_slotViewContentApplicationLockedApplicationUnlocked);

    _slotViewContentSettingsConfigurationChanged();
}

// --- Inactivity lock ------------------------------------------------------------------------------

void FormContentEditor::_slotViewContentSettingsConfigurationChanged()
{
    QSettings* settings = Configuration::pointerSettings;
    _isApplicationAutoLockingEnabled =
        settings != nullptr &&
        settings->value(Configuration::SETTINGS_KEY_IS_APPLICATION_AUTO_LOCKING_ENABLED).toBool();
    _isApplicationUnlocked = true;
    _applicationAutoLockingDelaySeconds =
        Configuration::getNumber(Configuration::APPLICATION_AUTO_LOCKING_DELAY_MINUTES) * 60;
    if (_isApplicationAutoLockingEnabled)
        _timerSecond.start(1000);
    else
        _timerSecond.stop();
    // A new delay counts from the next copy.
    _clipboardClearingDelaySeconds =
        Configuration::isClipboardAutoClearingEnabled()
            ? Configuration::getNumber(Configuration::CLIPBOARD_AUTO_CLEARING_DELAY_SECONDS)
            : 0;
    if (_clipboardClearingDelaySeconds == 0)
        _timerClearClipboard.stop();
    _updateLockControls();
}

bool FormContentEditor::eventFilter(QObject* watched, QEvent* event)
{
    // Also while locked: typing the password on the locked page is activity too.
    if (_isApplicationAutoLockingEnabled)
    {
        switch (event->type())
        {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
            _inactivitySecondsCounter = 0;
            break;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void FormContentEditor::_slotTimerSecondTimeout()
{
    if (!_isApplicationAutoLockingEnabled || !_isApplicationUnlocked)
        return;
    _inactivitySecondsCounter++;
    // Without a master password nothing locks, and this repeats harmlessly until input resets the count.
    if (_inactivitySecondsCounter >= static_cast<quint32>(_applicationAutoLockingDelaySeconds))
        _slotActionLockApplicationClicked();
}

void FormContentEditor::_slotActionLockApplicationClicked()
{
    // No password to unlock with, or already locked.
    const QString password = _getLockPassword();
    if (password.isEmpty() || !_isApplicationUnlocked)
        return;
    _closeWindowsAboveLock();
    _clearCopiedData();
    // Nothing revealed is still revealed after unlocking.
    PasswordTablePasswordItem::maskAll();
    for (int id = VIEW_ID_CONTENT_EDITOR; id < VIEW_ID_PREVIOUS; id++)
    {
        if (ViewContentBase* page = viewGetContent(static_cast<ViewId>(id)))
            page->maskSecrets();
    }
    // A copy waiting on one of its pages forgets its source (read again after unlocking); one that
    // is writing or reading back keeps the image it needs.
    if (!isDeviceWriteRunning() && _writeRoadStep == WRITE_ROAD_IDLE &&
        !static_cast<ViewContentDeviceAccess*>(viewGetContent(VIEW_ID_READ_DEVICE))->isRunning())
        _wipeCopySecrets();
    auto* lockedPage = static_cast<ViewContentApplicationLocked*>(viewGetContent(VIEW_ID_APPLICATION_LOCKED));
    lockedPage->tellMasterPassword(password);
    _isApplicationUnlocked = false;
    viewPush(VIEW_ID_APPLICATION_LOCKED);
    // The password can be typed at once, also when the lock lands during a device run, whose page
    // never had the focus, or closed a dialog that had it. The window takes the activation back from
    // such a dialog, never from another application. The page hands its focus to its field.
    if (QGuiApplication::applicationState() == Qt::ApplicationActive)
        activateWindow();
    lockedPage->setFocus();
}

void FormContentEditor::_slotViewContentApplicationLockedApplicationUnlocked()
{
    _isApplicationUnlocked = true;
    _updateLockControls();
}

bool FormContentEditor::_isEditorActionAllowed(bool isStartMenuAllowed)
{
    const ViewId current = viewGetCurrent();
    return current == VIEW_ID_CONTENT_EDITOR || (isStartMenuAllowed && current == VIEW_ID_START_MENU);
}

bool FormContentEditor::_isRecordsShown()
{
    return viewGetCurrent() == VIEW_ID_CONTENT_EDITOR ||
           (!_viewsStack.isEmpty() && _viewsStack.first() == VIEW_ID_CONTENT_EDITOR);
}

QString FormContentEditor::_getLockPassword()
{
    if (_isMasterPasswordKnown)
        return _masterPassword;
    return _isRecordsShown() ? _openedRecordsMasterPassword : QString();
}

void FormContentEditor::_updateLockControls()
{
    // The menu bar's actions work where the menu bar shows, the editor page's own ones on that page
    // only: a native menu bar (macOS) stays usable whatever page is shown, the locked page included.
    const bool isMenuBarShown = _isEditorActionAllowed(true);
    const bool isEditorShown = _isEditorActionAllowed(false);
    for (QAction* menuAction : ui->menubar->actions())
    {
        if (menuAction->menu() != nullptr)
        {
            for (QAction* action : menuAction->menu()->actions())
                action->setEnabled(isMenuBarShown);
        }
    }
    PasswordTable* table = isEditorShown ? _getCurrentPasswordTable() : nullptr;
    ui->actionImportCSV->setEnabled(isEditorShown);
    ui->actionExportCSV->setEnabled(table != nullptr && !table->passwords.isEmpty());
    _pointerActionWriteDevice->setEnabled(isEditorShown && _isMasterPasswordKnown);
    _pointerActionChangePasswordThenWriteDevice->setEnabled(isEditorShown);
    ui->actionBackUpToFile->setEnabled(isEditorShown && _isShownDeviceImagesKnown());
    // Locking works from every other page, so that a native menu bar offers it during a device run.
    ui->actionLockApplication->setEnabled(_isApplicationUnlocked &&
                                          viewGetCurrent() != VIEW_ID_APPLICATION_LOCKED &&
                                          !_getLockPassword().isEmpty());
    _updateDeviceActions();
}

void FormContentEditor::_closeWindowsAboveLock()
{
    // The innermost first: context menus and their submenus, then modal dialogs. Closing a message box
    // answers it with its escape button (Cancel, No, or its only button); closing any other dialog
    // rejects it. Their callers see a cancellation once the lock is up. One that refuses to go ends
    // the loop instead of spinning on it.
    QWidget* previous = nullptr;
    for (;;)
    {
        QWidget* window = QApplication::activePopupWidget();
        if (window == nullptr)
            window = QApplication::activeModalWidget();
        if (window == nullptr || window == previous)
            return;
        window->close();
        // A message box without an escape button refuses to close: rejected, it answers no button.
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog != nullptr && dialog->isVisible())
            dialog->reject();
        previous = window;
    }
}

void FormContentEditor::_slotApplicationFocusChanged(QWidget*, QWidget* now)
{
    // A page entered under the lock may give the focus to a field of its own: the password being
    // typed must never land there.
    QWidget* lockedPage = viewGetContent(VIEW_ID_APPLICATION_LOCKED);
    if (viewGetCurrent() == VIEW_ID_APPLICATION_LOCKED && now != nullptr && now->window() == this &&
        !lockedPage->isAncestorOf(now))
        lockedPage->setFocus();
}

// --- The view stack under the lock ----------------------------------------------------------------
// The top of the history is the view the locked page covers: it plays the current view's part.

bool FormContentEditor::_isViewStackLocked()
{
    return viewGetCurrent() == VIEW_ID_APPLICATION_LOCKED && !_viewsStack.isEmpty();
}

void FormContentEditor::_viewPushUnderLock(ViewId id)
{
    if (ViewContentBase* page = viewGetContent(id))
        page->enterView();
    _viewsStack.push(id);
    _updateLockControls();
}

void FormContentEditor::_viewPopUnderLock(ViewId target)
{
    // The covered view stays; only what lies under it can come back.
    if (_viewsStack.size() < 2)
        return;
    if (target == VIEW_ID_PREVIOUS)
        target = _viewsStack.at(_viewsStack.size() - 2);
    do
    {
        if (ViewContentBase* page = viewGetContent(_viewsStack.pop()))
            page->exitView();
    } while (_viewsStack.top() != target && _viewsStack.size() > 1);
    _updateLockControls();
}

void FormContentEditor::_viewReplaceUnderLock(ViewId id)
{
    if (ViewContentBase* page = viewGetContent(_viewsStack.top()))
        page->exitView();
    if (ViewContentBase* page = viewGetContent(id))
        page->enterView();
    _viewsStack.top() = id;
    _updateLockControls();
}

void FormContentEditor::_viewClearUnderLock()
{
    const ViewId covered = _viewsStack.top();
    _viewsStack.clear();
    _viewsStack.push(covered);
}

// --- Clipboard ------------------------------------------------------------------------------------

void FormContentEditor::_setClearClipboardButtonEnabled()
{
    _isClipboardUsed = true;
    ui->pushButtonClearClipboard->setEnabled(true);
    // Counted from the last copy.
    if (_clipboardClearingDelaySeconds > 0)
        _timerClearClipboard.start(_clipboardClearingDelaySeconds * 1000);
}

void FormContentEditor::_slotPushButtonClearClipboardClicked()
{
    // Asked for: whatever the clipboard holds goes, ours or not.
    QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
    _clearCopiedData();
}

void FormContentEditor::_clearCopiedData()
{
    SecretClipboard::clearCopiedText();
    _timerClearClipboard.stop();
    _isClipboardUsed = false;
    ui->pushButtonClearClipboard->setEnabled(false);
}

// --- Update check ---------------------------------------------------------------------------------

void FormContentEditor::checkForApplicationUpdate()
{
    QSettings* settings = Configuration::pointerSettings;
    const bool isCheckEnabled =
        settings == nullptr ||
        settings->value(Configuration::SETTINGS_KEY_IS_NEW_APPLICATION_VERSION_CHECK_ENABLED, true).toBool();
    if (!isCheckEnabled && !_isApplicationUpdateManuallyChecked)
        return;

    if (_isApplicationUpdateManuallyChecked && !_isUpdateCheckNoticeShown)
    {
        // Pushed at once rather than on the next turn: a local server can answer before a deferred
        // push, and the answer must find the notice up to take it down.
        _pointerViews[VIEW_ID_MESSAGE_BOX_DIALOG]->setTitle(tr("Searching for an update"));
        static_cast<ViewContentMessageBoxDialog*>(viewGetContent(VIEW_ID_MESSAGE_BOX_DIALOG))
            ->setDialogContent(ViewContentMessageBoxDialog::ICON_INFORMATION,
                               tr("Searching for an update on the server...\nThis operation will take less "
                                  "than 5 seconds."),
                               0, ViewContentMessageBoxDialog::BUTTON_OK);
        viewPush(VIEW_ID_MESSAGE_BOX_DIALOG);
        _isUpdateCheckNoticeShown = true;
    }
    // One request at a time: the one running answers, as a manual check from now on.
    if (_pointerUpdateReply != nullptr)
        return;

    const QUrl url = Configuration::getWebsiteUrl(QString::fromLatin1(UPDATE_FILE_PATH));
    if (!isUpdateUrlAllowed(url))
        return _handleUpdateAnswer(QByteArray());
    _pointerNetworkAccessManager->setTransferTimeout(UPDATE_CHECK_TIMEOUT_MS);
    QNetworkRequest request(url);
    // A redirection may not go from https to http.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = _pointerNetworkAccessManager->get(request);
    _pointerUpdateReply = reply;
    // The transfer time-out restarts with every byte: a server that trickles must not keep the
    // notice up, so the whole exchange has the same limit. An answer too large is not downloaded.
    QTimer::singleShot(UPDATE_CHECK_TIMEOUT_MS, reply, [reply]() { reply->abort(); });
    connect(reply, &QNetworkReply::readyRead, reply,
            [reply]()
            {
                if (reply->bytesAvailable() > UpdateAnswer::MAXIMUM_SIZE)
                    reply->abort();
            });
}

void FormContentEditor::_slotActionSoftwareUpdateCheckTriggered(bool)
{
    if (!_isEditorActionAllowed(true))
        return;
    _isApplicationUpdateManuallyChecked = true;
    checkForApplicationUpdate();
}

void FormContentEditor::_slotNetworkAccessManagerFinished(QNetworkReply* reply)
{
    // At most a version file's size, from an address checked again: a redirection may lead elsewhere.
    const bool isAnswered = reply->error() == QNetworkReply::NoError && isUpdateUrlAllowed(reply->url());
    const QByteArray body = isAnswered ? reply->read(UpdateAnswer::MAXIMUM_SIZE + 1) : QByteArray();
    reply->deleteLater();
    _pointerUpdateReply = nullptr;
    _handleUpdateAnswer(body);
}

void FormContentEditor::_handleUpdateAnswer(const QByteArray& body)
{
    // The notice goes, and only it (a lock may have come over it meanwhile).
    if (_isUpdateCheckNoticeShown)
        viewPopPage(viewGetContent(VIEW_ID_MESSAGE_BOX_DIALOG));
    _isUpdateCheckNoticeShown = false;
    const bool isManual = _isApplicationUpdateManuallyChecked;

    // Any difference from this version, older versions included, counts as an update.
    QString version;
    if (UpdateAnswer::readVersion(body, &version) != 0)
    {
        if (isManual)
            viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_ERROR, tr("Update check"),
                                     tr("Failed to retrieve the update information from the server.\nPlease "
                                        "check your network configuration and retry."),
                                     ViewContentMessageBoxDialog::BUTTON_OK,
                                     ViewContentMessageBoxDialog::BUTTON_OK);
        return;
    }

    const QString currentVersion = QString::fromLatin1(Configuration::APPLICATION_VERSION);
    // Nothing comes over the locked page: under the lock the offer is left for a later check.
    if (version != currentVersion && _isApplicationUnlocked)
    {
        // Plain text: whatever the server sent is shown, never interpreted as markup.
        QMessageBox question(
            QMessageBox::Question, tr("Update available"),
            tr("A program update is available (the new version is %1, you are currently using "
               "the version %2).\nDo you want to download it from the website?")
                .arg(version, currentVersion),
            QMessageBox::Ok | QMessageBox::Cancel, this);
        question.setTextFormat(Qt::PlainText);
        // A lock that came meanwhile has answered Cancel.
        if (question.exec() == QMessageBox::Ok && _isApplicationUnlocked)
            QDesktopServices::openUrl(Configuration::getWebsiteUrl(QStringLiteral("/downloads-") +
                                                                   Configuration::getSystemLanguageString()));
    }
    else if (isManual && version == currentVersion)
        viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_INFORMATION, tr("No update found"),
                                 tr("No update is available, you are using the latest version."),
                                 ViewContentMessageBoxDialog::BUTTON_OK,
                                 ViewContentMessageBoxDialog::BUTTON_OK);
}

// --- Close guard and the small actions ------------------------------------------------------------

void FormContentEditor::closeEvent(QCloseEvent* event)
{
    // Also from the locked page: a write cut short could leave the device without a good copy.
    if (isDeviceWriteRunning())
    {
        QMessageBox::warning(
            this, tr("Warning"),
            tr("A device is being written.\nWait until the write has ended before quitting."),
            QMessageBox::Ok);
        event->ignore();
        return;
    }
    const ViewId current = viewGetCurrent();
    if (current != VIEW_ID_CONTENT_EDITOR && current != VIEW_ID_START_MENU &&
        current != VIEW_ID_APPLICATION_LOCKED)
    {
        QMessageBox::warning(this, tr("Warning"),
                             tr("You are currently in a subview of the application.\nUse the buttons at the "
                                "bottom of the view to exit."),
                             QMessageBox::Ok);
        event->ignore();
        return;
    }
    if (_isUnsavedDataPresent &&
        QMessageBox::warning(this, tr("Warning"),
                             tr("You did not write your modifications to the device.\nDo you really want to "
                                "quit?"),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
    {
        event->ignore();
        return;
    }
    _clearCopiedData();
    event->accept();
}

void FormContentEditor::_slotActionQuitTriggered(bool)
{
    if (!_isEditorActionAllowed(true))
        return;
    close();
}

void FormContentEditor::_slotActionSettingsTriggered(bool)
{
    if (!_isEditorActionAllowed(true))
        return;
    viewPush(VIEW_ID_SETTINGS);
}

void FormContentEditor::_slotActionHelpTriggered(bool)
{
    if (!_isEditorActionAllowed(true))
        return;
    HelpViewer::display(QStringLiteral("index.html"));
}

void FormContentEditor::_slotActionWebsiteTriggered(bool)
{
    if (!_isEditorActionAllowed(true))
        return;
    QDesktopServices::openUrl(Configuration::getWebsiteUrl(QStringLiteral("/")));
}

void FormContentEditor::_slotActionAboutTriggered(bool)
{
    if (!_isEditorActionAllowed(true))
        return;
    const QString buildDate = QStringLiteral(__DATE__);
    const QString text =
        tr("Copyright © 2018-%1 the Pavisor Key Manager developers.").arg(buildDate.right(4)) +
        QStringLiteral("<br /><br />") +
        tr("Build date: %2 %3<br />Application version: %4<br />Qt version: %5<br /><br />")
            .arg(buildDate, QStringLiteral(__TIME__), QString::fromLatin1(Configuration::APPLICATION_VERSION),
                 QStringLiteral(QT_VERSION_STR)) +
        tr("This application uses the Qt framework under the terms of the <a "
           "href=\"https://www.gnu.org/licenses/lgpl-3.0.html\">LGPLv3 license</a>.");
    QMessageBox box(QMessageBox::Information, tr("About"), text, QMessageBox::Ok, this);
    box.setTextFormat(Qt::RichText);
    box.exec();
}
