#ifndef FORMCONTENTEDITOR_H
#define FORMCONTENTEDITOR_H

#include "BackupFile.h"
#include "CSV.h"
#include "Device.h"
#include "DeviceBackgroundRead.h"
#include "DeviceMemoryHealth.h"
#include "PasswordTable.h"
#include "ViewContentMessageBoxDialog.h"

#include <QMainWindow>
#include <QMenu>
#include <QStack>
#include <QString>
#include <QTimer>

class QNetworkAccessManager;
class QNetworkReply;
class QProgressBar;
class QShortcut;
class ViewBase;
class ViewContentBase;

namespace Ui
{
class FormContentEditor;
}

// The one main window: the editor page and every full-window view on a stacked widget.
class FormContentEditor : public QMainWindow
{
    Q_OBJECT

public:
    // A view's value is its index in the stacked widget: views are created in this order.
    enum ViewId
    {
        VIEW_ID_CONTENT_EDITOR,
        VIEW_ID_START_MENU,
        VIEW_ID_PASSWORD_INFORMATION,
        VIEW_ID_READ_DEVICE,
        VIEW_ID_WRITE_DEVICE,
        VIEW_ID_INSERT_READING_MASTER_PASSWORD,
        VIEW_ID_INSERT_WRITING_MASTER_PASSWORD,
        VIEW_ID_DEVICE_SELECTION,
        VIEW_ID_SHOW_DEVICE_INFORMATION,
        VIEW_ID_CHANGE_DEVICE_NAME,
        VIEW_ID_SETTINGS,
        VIEW_ID_LINE_INPUT_DIALOG,
        VIEW_ID_MESSAGE_BOX_DIALOG,
        VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_1,
        VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_2,
        VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_3,
        VIEW_ID_DEVICE_COPY_WIZARD_PAGE_1,
        VIEW_ID_DEVICE_COPY_WIZARD_PAGE_2,
        VIEW_ID_DEVICE_COPY_WIZARD_PAGE_3,
        VIEW_ID_DEVICE_COPY_WIZARD_PAGE_4,
        VIEW_ID_APPLICATION_LOCKED,
        VIEW_ID_IMPORT_CSV_FILE,
        // Argument of viewPop() meaning "the view just below the current one".
        VIEW_ID_PREVIOUS
    };

    // What an answer (device selected, read finished, message box or line input exited) belongs to:
    // one slot serves several workflows, so each workflow sets this before it asks.
    enum PendingRequest
    {
        // No workflow has asked anything yet: an answer then belongs to nobody.
        PENDING_REQUEST_NONE = -1,
        PENDING_REQUEST_OPEN_DEVICE_CONFIRM_UNSAVED_DATA = 0,
        PENDING_REQUEST_OPEN_DEVICE = 1,
        PENDING_REQUEST_SAVE_DEVICE_CONFIRMATION = 2,
        PENDING_REQUEST_SAVE_DEVICE_VERIFICATION = 3,
        PENDING_REQUEST_SHOW_DEVICE_INFORMATION = 4,
        PENDING_REQUEST_CHANGE_DEVICE_NAME = 5,
        PENDING_REQUEST_NEW_TAB = 6,
        PENDING_REQUEST_RENAME_TAB = 7,
        PENDING_REQUEST_DUPLICATE_TAB = 8,
        PENDING_REQUEST_ERASE_DEVICE = 9,
        PENDING_REQUEST_COPY_DEVICE_SOURCE = 10,
        PENDING_REQUEST_COPY_DEVICE_TARGET = 11,
        PENDING_REQUEST_REMOVE_PASSWORD = 12,
        PENDING_REQUEST_REMOVE_TAB = 13,
        PENDING_REQUEST_OPEN_BACKUP_FILE_CONFIRM_UNSAVED_DATA = 14,
        PENDING_REQUEST_OPEN_BACKUP_FILE = 15
    };

    explicit FormContentEditor(QWidget* parent = nullptr);
    ~FormContentEditor() override;

    void viewPush(ViewId id);
    void viewPop(ViewId target);
    // Takes `page` off the view stack, and only it: when shown, the view below comes back; when
    // covered (by the locked page, say), it leaves the history and the view on top stays.
    void viewPopPage(ViewContentBase* page);
    void viewReplace(ViewId id);
    void viewClear();
    ViewId viewGetCurrent();

    void viewPushLineInputDialog(const QString& title, const QString& labelText, const QString& text);
    void viewPushMessageBoxDialog(ViewContentMessageBoxDialog::Icon icon, const QString& title,
                                  const QString& message, int buttons,
                                  ViewContentMessageBoxDialog::Button defaultButton);

    // The frame and page of a view, for callers that fill a page before pushing it.
    ViewBase* viewGetFrame(ViewId id) const;
    ViewContentBase* viewGetContent(ViewId id) const;

    // What is known of the memories of each device read or written since it was plugged in.
    const DeviceMemoryHealth& deviceMemoryHealth() const { return _deviceMemoryHealth; }
    // A device is being written (a write progress page runs, shown or under the lock).
    bool isDeviceWriteRunning() const;
    // Quits at once, or once the device write that runs has ended (the locked page's Quit).
    void quitWhenDeviceIdle();

private:
    Ui::FormContentEditor* ui;
    ViewBase* _pointerViews[VIEW_ID_PREVIOUS] = {};
    QStack<ViewId> _viewsStack;
    QMenu _menuWriteDevice;
    QAction* _pointerActionWriteDevice = nullptr;
    QAction* _pointerActionChangePasswordThenWriteDevice = nullptr;
    QShortcut* _pointerShortcutFind = nullptr;
    QShortcut* _pointerShortcutClearClipboard = nullptr;

    // Window state shared with the device, editing and lock workflows.
    bool _isMasterPasswordKnown = false;
    bool _isUnsavedDataPresent = false;
    bool _isClipboardUsed = false;
    bool _isApplicationUpdateManuallyChecked = false;
    int _pendingRequest = PENDING_REQUEST_NONE;
    // The master password of the data shown in the editor (known once typed for reading or chosen
    // for writing).
    QString _masterPassword;
    QNetworkAccessManager* _pointerNetworkAccessManager = nullptr;
    QTimer _timerSecond;

    void _viewCreate(ViewContentBase* pointerViewContent, ViewId id, const QString& title);
    void _viewSet(ViewId id, bool isCurrentViewExited, bool isNewViewEntered);

private slots:
    void _slotPushMessageBoxDialogViewTimeout();
    void _slotViewStartMenuInitializeDeviceClicked();

    // ---------------------------------------------------------------------------------------------
    // Device read workflows (FormContentEditorDeviceRead.cpp): acquiring a device, the dispatch of
    // answers by _pendingRequest, opening a device, showing its information.
private:
    void _initializeDeviceRead();
    int _selectDevice();
    // A workflow owns a device (from its acquisition to its release), or the backup memory of the
    // opened device is still arriving: device actions then do nothing.
    bool _isDeviceBusy() const;
    // A device action starts only from its page, and only while no device is in use.
    bool _isDeviceActionAllowed(bool isStartMenuAllowed);
    void _updateDeviceActions();
    // The answer of either master password page: a confirmed password is kept as the candidate, which
    // becomes the master password only once the device opens with it (or a save under it is verified);
    // a cancelled page lets the selected device go (false).
    bool _acceptMasterPasswordAnswer(bool isConfirmed, const QString& password);
    // The candidate has opened the device (or been written and verified): it is the master password.
    void _adoptCandidateMasterPassword();
    void _forgetCandidateMasterPassword();
    // Opens whichever memory of the selected device opens with `password` (both read; main first; the
    // user chooses only when both open and differ), its plaintext going to `plaintext`, and records
    // what each memory holds. 0: opened, *openedMemory says which; 1: neither opens (not shown: the
    // caller says it); -1: decryption failed; -2: the user cancelled the choice. Other errors have
    // been shown; the device stays selected.
    int _openSelectedDeviceMemories(const QString& password, unsigned char* plaintext,
                                    Device::MemoryId* openedMemory);
    // The same with two images from anywhere (a device, a backup file); *health says what each holds.
    int _openMemoryImages(const QString& password, const unsigned char* mainImage,
                          const unsigned char* backupImage, unsigned char* plaintext,
                          Device::MemoryId* openedMemory, DeviceMemoryHealth::Memories* health);
    // Replaces the editor's content by the store of a decrypted image and shows the editor.
    void _showDecryptedImage(const unsigned char* plaintext);
    void _handleDeviceReadRequestForOpenDevice();
    // The main memory did not open: the backup memory is read and both are tried.
    bool _isOpenReadingBackup = false;
    // Neither memory opened: the password page is asked again over the images already read (a
    // blank device is named instead, and released).
    void _askOpenRetry();
    bool _isOpenRetryWaiting = false;
    // The backup memory of the device just opened, read while the records are already shown.
    DeviceBackgroundRead _backgroundRead;
    QProgressBar* _progressBarBackgroundRead = nullptr;
    void _setBackgroundReadShown(bool isShown);
    // What is known of the memories of a device goes when the device is unplugged.
    QTimer _timerDeviceWatch;
    void _forgetUnpluggedDevices(const QList<DevicePortInfo>* ports);
    void _slotTimerDeviceWatchTimeout();
    // Offers to copy the memory that opens over the damaged one of the selected device.
    bool _askRepair(Device::MemoryId damagedMemory);
    void _showDeviceRunError(int code, const QString& message);
    // Acquires a device for opening and asks its master password (the open workflow once any unsaved
    // data may be replaced).
    void _openDeviceAskMasterPassword();
    void _handleMessageBoxAnswerForOpenDevice(ViewContentMessageBoxDialog::Button button);
    // With unsaved data shown, asks whether opening may replace them (true: asked, the answer comes
    // back under `pendingRequest`); without, asks nothing (false).
    bool _askReplacingUnsavedData(PendingRequest pendingRequest, const QString& title,
                                  const QString& question);
    // Set while a memory image is loaded into the tabs: tab creation then leaves the tab names of the
    // tables' menus to the loader, which gives them once at the end.
    bool _isPasswordStoreLoading = false;
    friend class TestOpenDevice;
private slots:
    void _slotViewContentDeviceSelectionDeviceSelected(bool isDeviceSelected);
    void _slotViewContentReadDeviceReadFinished(int code);
    void _slotViewContentMessageBoxDialogDialogExited(ViewContentMessageBoxDialog::Button button);
    void _slotActionOpenDeviceClicked();
    void _slotViewStartMenuOpenDeviceClicked();
    void _slotViewContentInsertReadingMasterPasswordInsertionFinished(bool isConfirmed, QString password);
    void _slotActionShowDeviceInformation(bool);
    void _slotBackgroundReadProgressed(int receivedByteCount);
    void _slotBackgroundReadFinished(int result);

    // ---------------------------------------------------------------------------------------------
    // Device write workflows (FormContentEditorDeviceWrite.cpp): save, erase, copy, rename.
private:
    void _initializeDeviceWrite();
    void _handleDeviceWriteRequestAskConfirmation();
    void _handleDeviceWriteRequestForSaveDevice();
    void _handleDeviceWriteRequestForEraseDevice();
    void _handleDeviceWriteRequestForCopyDevice();
    void _handleDeviceReadRequestForVerifyAfterWrite();
    void _handleDeviceReadRequestForVerifyAfterErase();
    void _handleDeviceReadRequestForCopyWizardSourceDevice();
    void _handleDeviceReadRequestForCopyWizardTargetDevice();
    void _handleMessageBoxAnswerForSaveDevice(ViewContentMessageBoxDialog::Button button);
    // The save once a device is acquired, under the candidate password when one was chosen for it.
    void _startSaveDevice();
    friend class TestWriteWorkflows;
    friend class SaveBenchmark;
    friend class StressPowerCut;
    void _showDeviceWriteErrorMessage(const QString& title, const QString& message);
    static QString _verificationFailedMessage();
    // Compares the read-back memories with what was written and records what each now holds;
    // false (and the "Write error" box shown) at any difference.
    bool _verifyWrittenMemories(const unsigned char* mainImage, const unsigned char* backupImage);
    // The images this concern writes or compares, kept for the window's whole life so that no save
    // or copy allocates one; wiped when the window goes (the source image is plaintext).
    struct DeviceWriteImages
    {
        static constexpr int SIZE = 131072;
        unsigned char lastWrittenMain[SIZE];
        unsigned char lastWrittenBackup[SIZE];
        unsigned char decryptedSource[SIZE];
        unsigned char encryptedTarget[SIZE];
        // What a repair writes to the damaged memory, and compares it with afterwards.
        unsigned char repair[SIZE];
        ~DeviceWriteImages();
    };
    DeviceWriteImages _deviceWriteImages;
    bool _isDeviceNameResetRequested = false;
    QString _copySourceMasterPassword;
    QString _copySourceDeviceName;
    QString _copySourceUsbSerialNumber;
    QString _copyTargetMasterPassword;
    // Everything the copy wizard keeps of the source: gone on every way out of the wizard.
    void _wipeCopySecrets();
    void _slotCopyWizardLeft();
    void _leaveCopyWizardAfterFailure();

    // The road of every memory write but erasing (FormContentEditorWriteRoad.cpp): what each memory
    // holds decides whether both are read first and whether the backup memory is repaired from the
    // main one, so that one memory holds a complete image that opens at every instant; then main,
    // then backup, then the read-back that the workflow's request verifies.
    enum WriteRoadStep
    {
        WRITE_ROAD_IDLE,
        WRITE_ROAD_CHECK_READ,
        WRITE_ROAD_REPAIR_WRITE,
        WRITE_ROAD_REPAIR_VERIFY
    };
    WriteRoadStep _writeRoadStep = WRITE_ROAD_IDLE;
    // The image to write to both memories once the device is safe (nullptr for a repair alone).
    const unsigned char* _writeRoadImage = nullptr;
    // The passwords the user knows here: a memory that opens with one of them is worth keeping.
    QStringList _writeRoadPasswords;
    Device::MemoryId _repairTarget = Device::MEMORY_ID_BACKUP;
    DeviceMemoryHealth _deviceMemoryHealth;
    // The candidate master password (typed for reading, or chosen for the next save), and whether
    // the save in progress writes under it.
    QString _candidateMasterPassword;
    bool _isSaveUnderCandidatePassword = false;
    bool _isQuitRequested = false;
    // `passwords`: the one `image` is encrypted with first, then any other the user typed for it.
    void _startWriteRoad(const unsigned char* image, const QStringList& passwords);
    void _continueWriteRoad(DeviceMemoryHealth::WritePlan plan);
    void _startRepair(Device::MemoryId sourceMemory);
    // The road's own reads and writes; false when the answer belongs to the workflow's request.
    bool _handleWriteRoadReadFinished(int code);
    bool _handleWriteRoadWriteFinished(int code);
    void _classifyCheckedMemories();
    QString _selectedDeviceUsbSerialNumber() const;
    // A notice in the status area that goes by itself (a save that worked).
    static constexpr int STATUS_NOTICE_DURATION_MS = 15000;
    void _showStatusNotice(const QString& text);
    bool _isBackgroundReadShown = false;
private slots:
    void _slotActionWriteDeviceTriggered();
    void _slotPushButtonWriteDeviceClicked();
    void _slotActionChangePasswordThenWriteDeviceTriggered();
    void _slotViewContentInsertWritingMasterPasswordInsertionFinished(bool isConfirmed, QString password);
    void _slotViewContentWriteDeviceWriteFinished(int code);
    void _slotActionEraseDeviceTriggered(bool);
    void _slotViewContentDeviceErasingWizardErasingConfirmed(bool isDeviceNameResetRequested);
    void _slotActionCopyDeviceTriggered(bool);
    void _slotViewContentDeviceCopyWizardSourceDevicePasswordInserted(QString password);
    void _slotViewContentDeviceCopyWizardTargetDevicePasswordInserted(QString password);
    void _slotActionChangeDeviceNameTriggered(bool);
    void _slotViewContentChangeDeviceNameNameChanged(int result);

    // ---------------------------------------------------------------------------------------------
    // Tabs, record editing, search and the unsaved-data state (FormContentEditorEditing.cpp).
private:
    void _initializeEditing();
    void _setUnsavedDataPresent(bool isUnsavedDataPresent);
    void _updateUserInterfaceControls();
    void _handleMessageBoxAnswerForEditing(ViewContentMessageBoxDialog::Button button);
    friend class TestEditing;
    friend class BenchEditing;
    // Scratch image of the memory gauge, reused on every update and wiped after each (it holds plaintext).
    QByteArray _memoryGaugeBuffer;
    PasswordTable* _getCurrentPasswordTable();
    void _searchText(bool isSearchForward);
    // One step of the walk from (*pointerRow, *pointerColumn), the start cell being examined last; the
    // found cell is written back. Passwords are never examined.
    bool _searchTextInTab(const QString& text, PasswordTable* pointerTable, int* pointerRow,
                          int* pointerColumn, bool isSearchForward, bool isWrapAllowed);
private slots:
    void _slotPushButtonNewPasswordClicked();
    void _slotPushButtonEditPasswordClicked();
    void _slotPushButtonRemovePasswordClicked();
    void _slotPushButtonNewTabClicked();
    void _slotPushButtonRenameTabClicked();
    void _slotPushButtonDuplicateTabClicked();
    void _slotPushButtonRemoveTabClicked();
    void _slotViewContentLineInputDialogInsertionFinished(bool isAccepted, const QString& text);
    void _slotViewContentPasswordInformationPasswordModified(PasswordTable::Password* pointerPassword,
                                                             int passwordToReplaceIndex);
    void _slotTabWidgetCurrentChanged(int newTabIndex);
    void _slotTabWidgetTabMoved(int, int newTabIndex);
    void _slotLineEditSearchTextEdited(const QString& referenceText);
    void _slotLineEditSearchTextReturnPressed();
    void _slotPushButtonPreviousSearchResultClicked();
    void _slotPushButtonNextSearchResultClicked();
    void _slotShortcutFindActivated();

    // ---------------------------------------------------------------------------------------------
    // Inactivity lock, clipboard, update check, close guard, settings, help and about
    // (FormContentEditorLock.cpp).
public:
    // Asks the product web site for the latest version: once at start (unless disabled in the
    // settings) and whenever the user asks from the Help menu.
    void checkForApplicationUpdate();

protected:
    // Installed on the application: any input event anywhere restarts the inactivity count.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend class TestLock;
    void _initializeLock();
    bool _isApplicationAutoLockingEnabled = false;
    int _applicationAutoLockingDelaySeconds = 0;
    quint32 _inactivitySecondsCounter = 0;
    bool _isApplicationUnlocked = true;
    // The update request running, if any, and whether its "Searching" notice is up.
    QNetworkReply* _pointerUpdateReply = nullptr;
    bool _isUpdateCheckNoticeShown = false;
    // The master password under which the records on screen were opened or saved last, kept for the
    // lock: an open that fails must not leave them on screen without one.
    QString _openedRecordsMasterPassword;
    // Seconds from a copy to the clearing of the clipboard; 0 when the setting is off.
    int _clipboardClearingDelaySeconds = 0;
    QTimer _timerClearClipboard;
    // Whether an action may act now: on the editor page, or also on the start menu for the menu bar's
    // actions that it offers. Menus outside the window (the macOS menu bar) stay usable on any page.
    bool _isEditorActionAllowed(bool isStartMenuAllowed);
    // Records are on screen: the editor page is shown or lies under the pages shown.
    bool _isRecordsShown();
    // What unlocks the lock; empty while there is nothing to lock with.
    QString _getLockPassword();
    // Enables each action of the menus on the pages it belongs to, and by the window's state.
    void _updateLockControls();
    // Context menus, file dialogs and message boxes open when the lock lands close as cancelled.
    void _closeWindowsAboveLock();
    // Takes what the application copied off the clipboard, unless the user has copied since, and
    // disables "Clear".
    void _clearCopiedData();
    // Shows what the update server's answer `text` says (empty: no answer).
    void _handleUpdateAnswer(const QByteArray& body);
    // While the locked page is shown, every stack operation but its own pop happens underneath it,
    // so that nothing a workflow does lifts the lock.
    bool _isViewStackLocked();
    void _viewPushUnderLock(ViewId id);
    void _viewPopUnderLock(ViewId target);
    void _viewReplaceUnderLock(ViewId id);
    void _viewClearUnderLock();
private slots:
    void _slotTimerSecondTimeout();
    void _slotActionLockApplicationClicked();
    void _slotViewContentApplicationLockedApplicationUnlocked();
    void _slotViewContentSettingsConfigurationChanged();
    void _slotPushButtonClearClipboardClicked();
    void _setClearClipboardButtonEnabled();
    void _slotActionSoftwareUpdateCheckTriggered(bool isChecked);
    void _slotNetworkAccessManagerFinished(QNetworkReply* reply);
    void _slotActionSettingsTriggered(bool isChecked);
    void _slotActionQuitTriggered(bool isChecked);
    void _slotActionHelpTriggered(bool isChecked);
    void _slotActionWebsiteTriggered(bool isChecked);
    void _slotActionAboutTriggered(bool isChecked);
    // Keeps the keyboard focus on the locked page's field while it is shown.
    void _slotApplicationFocusChanged(QWidget* old, QWidget* now);

    // ---------------------------------------------------------------------------------------------
    // CSV import and export (FormContentEditorCSV.cpp).
private:
    void _initializeCSV();
    friend class TestCsv;
    // Folder of the CSV file last imported or exported: both file dialogs start there. Empty at
    // start, and never stored in the settings.
    QString _lastCSVDirectory;
    // The table of the first tab named `name`, or a new last tab of that name.
    PasswordTable* _getOrCreateTab(const QString& name);
private slots:
    void _slotActionImportCSVTriggered(bool);
    void _slotActionExportCSVTriggered(bool);
    void _slotViewContentImportCSVFileFileSelected(QString completeFileName, const CSV::FileContent& content,
                                                   QString newTabName, int selectedExistingTabIndex,
                                                   bool areExistingPasswordsReplaced, bool isOneTabPerFolder);

    // ---------------------------------------------------------------------------------------------
    // Backup files (FormContentEditorBackup.cpp): backing the opened device up to a file, opening a
    // backup file (its records then save to a device like any others), automatic backups of saves.
private:
    void _initializeBackup();
    friend class TestBackup;
    // The two images of the device whose records are shown, as it holds them (read when opened, or
    // written and verified since), with its description: what "Back up to file..." writes.
    BackupFile::Content _shownDeviceImages;
    bool _isShownDeviceImagesKnown() const;
    // The backup file being opened, until its password is typed; the file the records shown came
    // from (the window title names it) until they are saved to a device.
    BackupFile::Content _openingBackupFile;
    QString _openingBackupFileName;
    QString _shownBackupFileName;
    // Folder of the backup file last opened or written: both file dialogs start there.
    QString _lastBackupDirectory;
    // Both memories of the opened (selected) device are in: they become what a backup holds.
    void _rememberShownDeviceImages(const unsigned char* mainImage, const unsigned char* backupImage);
    void _forgetShownDeviceImages();
    void _openBackupFileAskFile();
    void _openBackupFileWithCandidatePassword();
    void _handleMessageBoxAnswerForOpenBackupFile(ViewContentMessageBoxDialog::Button button);
    // After a verified save: keeps what the device now holds, and writes the automatic backup of it
    // unless turned off; a text saying why it could not be written, or empty.
    QString _keepSavedImages(const unsigned char* mainImage, const unsigned char* backupImage);
    void _updateWindowTitle();
private slots:
    void _slotActionBackUpToFileTriggered(bool);
    void _slotActionOpenBackupFileTriggered(bool);
    void _slotViewStartMenuOpenBackupFileClicked();

    // ---------------------------------------------------------------------------------------------

private:
    // Password store: the tabs, and their encoding into and parsing from the device memory image.
    friend class TestPasswordStore;
    void _initializePasswordStore();
    int _encodePasswordsToMemoryFormat(unsigned char* pointerBuffer);
    void _loadPasswordsFromDeviceMemoryBuffer(unsigned char* pointerBuffer);
    PasswordTable* _createEmptyTab(const QString& name);
    void _refreshPasswordTablesTabNamesContextMenu(int currentTabIndex);
    // After a load, the tables of tabs holding records are built one per event-loop turn, so that a
    // tab shown later only has to be shown. Empty tables are left for their first showing: a
    // damaged image may hold thousands of tabs.
    QTimer _timerBuildPasswordTables;
    int _nextPasswordTableToBuildIndex = 0;
private slots:
    void _slotPasswordTableDataModified();
    void _slotTimerBuildPasswordTablesTimeout();
};

// The one main window of the process, set by main() before the event loop starts.
extern FormContentEditor* pointerFormContentEditor;

#endif
