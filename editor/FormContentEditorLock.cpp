// Inactivity lock, clipboard clearing, update check, close guard, settings, help and about.
#include "FormContentEditor.h"
#include "ui_FormContentEditor.h"

#include "Configuration.h"
#include "HelpViewer.h"
#include "ViewBase.h"
#include "ViewContentApplicationLocked.h"
#include "ViewContentSettings.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QShortcut>

namespace
{
constexpr int UPDATE_CHECK_TIMEOUT_MS = 5000;
const char* const UPDATE_FILE_PATH = "/download/desktop-application/Desktop_Application_Version.txt";
const char* const UPDATE_FILE_PREFIX = "Latest_Version=";
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
    // Queued: the reply never runs inside checkForApplicationUpdate(), always after its notice.
    connect(_pointerNetworkAccessManager, &QNetworkAccessManager::finished, this,
            &FormContentEditor::_slotNetworkAccessManagerFinished, Qt::QueuedConnection);
    connect(&_timerSecond, &QTimer::timeout, this, &FormContentEditor::_slotTimerSecondTimeout);
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
    _applicationAutoLockingDelaySeconds = Configuration::getApplicationAutoLockingDelayMinutes() * 60;
    if (_isApplicationAutoLockingEnabled)
        _timerSecond.start(1000);
    else
        _timerSecond.stop();
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
    if (!_isMasterPasswordKnown || !_isApplicationUnlocked)
        return;
    static_cast<ViewContentApplicationLocked*>(viewGetContent(VIEW_ID_APPLICATION_LOCKED))
        ->tellMasterPassword(_masterPassword);
    viewPush(VIEW_ID_APPLICATION_LOCKED);
    _isApplicationUnlocked = false;
    _updateLockControls();
}

void FormContentEditor::_slotViewContentApplicationLockedApplicationUnlocked()
{
    _isApplicationUnlocked = true;
    _updateLockControls();
}

void FormContentEditor::_updateLockControls()
{
    ui->actionLockApplication->setEnabled(_isApplicationUnlocked && _isMasterPasswordKnown);
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
}

void FormContentEditor::_viewReplaceUnderLock(ViewId id)
{
    if (ViewContentBase* page = viewGetContent(_viewsStack.top()))
        page->exitView();
    if (ViewContentBase* page = viewGetContent(id))
        page->enterView();
    _viewsStack.top() = id;
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
}

void FormContentEditor::_slotPushButtonClearClipboardClicked()
{
    QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
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

    _pointerNetworkAccessManager->setTransferTimeout(UPDATE_CHECK_TIMEOUT_MS);
    QNetworkReply* reply = _pointerNetworkAccessManager->get(
        QNetworkRequest(Configuration::getWebsiteUrl(QString::fromLatin1(UPDATE_FILE_PATH))));
    _pointerUpdateReply = reply;
    // The transfer time-out restarts with every byte: a server that trickles must not keep the
    // notice up, so the whole exchange has the same limit.
    QTimer::singleShot(UPDATE_CHECK_TIMEOUT_MS, reply, [reply]() { reply->abort(); });
}

void FormContentEditor::_slotActionSoftwareUpdateCheckTriggered(bool)
{
    _isApplicationUpdateManuallyChecked = true;
    checkForApplicationUpdate();
}

void FormContentEditor::_slotNetworkAccessManagerFinished(QNetworkReply* reply)
{
    const bool isAnswered = reply->error() == QNetworkReply::NoError;
    const QString text = QString::fromUtf8(reply->readAll());
    reply->deleteLater();
    _pointerUpdateReply = nullptr;

    // The notice goes, and only it (a lock may have come over it meanwhile).
    if (_isUpdateCheckNoticeShown)
        viewPopPage(viewGetContent(VIEW_ID_MESSAGE_BOX_DIALOG));
    _isUpdateCheckNoticeShown = false;
    const bool isManual = _isApplicationUpdateManuallyChecked;

    const QString prefix = QString::fromLatin1(UPDATE_FILE_PREFIX);
    if (!isAnswered || !text.startsWith(prefix))
    {
        if (isManual)
            viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_ERROR, tr("Update check"),
                                     tr("Failed to retrieve the update information from the server.\nPlease "
                                        "check your network configuration and retry."),
                                     ViewContentMessageBoxDialog::BUTTON_OK,
                                     ViewContentMessageBoxDialog::BUTTON_OK);
        return;
    }

    // Only line feeds go: any other difference, older versions included, counts as an update.
    QString version = text.mid(prefix.size());
    version.remove(QLatin1Char('\n'));
    const QString currentVersion = QString::fromLatin1(Configuration::APPLICATION_VERSION);
    if (version != currentVersion)
    {
        // Plain text: whatever the server sent is shown, never interpreted as markup.
        QMessageBox question(
            QMessageBox::Question, tr("Update available"),
            tr("A program update is available (the new version is %1, you are currently using "
               "the version %2).\nDo you want to download it from the website?")
                .arg(version, currentVersion),
            QMessageBox::Ok | QMessageBox::Cancel, this);
        question.setTextFormat(Qt::PlainText);
        if (question.exec() == QMessageBox::Ok)
            QDesktopServices::openUrl(Configuration::getWebsiteUrl(QStringLiteral("/downloads-") +
                                                                   Configuration::getSystemLanguageString()));
    }
    else if (isManual)
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
    event->accept();
}

void FormContentEditor::_slotActionQuitTriggered(bool)
{
    close();
}

void FormContentEditor::_slotActionSettingsTriggered(bool)
{
    viewPush(VIEW_ID_SETTINGS);
}

void FormContentEditor::_slotActionHelpTriggered(bool)
{
    HelpViewer::display(QStringLiteral("index.html"));
}

void FormContentEditor::_slotActionWebsiteTriggered(bool)
{
    QDesktopServices::openUrl(Configuration::getWebsiteUrl(QStringLiteral("/")));
}

void FormContentEditor::_slotActionAboutTriggered(bool)
{
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
