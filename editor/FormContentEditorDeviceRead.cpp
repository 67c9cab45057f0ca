// Device read workflows of the main window: acquiring a device, dispatching the answers of the
// shared pages by _pendingRequest, opening a device and showing its information.
#include "FormContentEditor.h"
#include "ui_FormContentEditor.h"

#include "Device.h"
#include "MemoryImage.h"
#include "PasswordTable.h"
#include "Security.h"
#include "ViewContentDeviceSelection.h"
#include "ViewContentInsertReadingMasterPassword.h"
#include "ViewContentReadDevice.h"
#include "ViewContentStartMenu.h"
#include "Wipe.h"

#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <cstring>
#include <memory>

void FormContentEditor::_initializeDeviceRead()
{
    connect(static_cast<ViewContentDeviceSelection*>(viewGetContent(VIEW_ID_DEVICE_SELECTION)),
            &ViewContentDeviceSelection::deviceSelected, this,
            &FormContentEditor::_slotViewContentDeviceSelectionDeviceSelected);
    connect(static_cast<ViewContentReadDevice*>(viewGetContent(VIEW_ID_READ_DEVICE)),
            &ViewContentReadDevice::readFinished, this,
            &FormContentEditor::_slotViewContentReadDeviceReadFinished);
    connect(static_cast<ViewContentMessageBoxDialog*>(viewGetContent(VIEW_ID_MESSAGE_BOX_DIALOG)),
            &ViewContentMessageBoxDialog::dialogExited, this,
            &FormContentEditor::_slotViewContentMessageBoxDialogDialogExited);

    connect(ui->actionOpenDevice, &QAction::triggered, this,
            &FormContentEditor::_slotActionOpenDeviceClicked);
    connect(static_cast<ViewContentStartMenu*>(viewGetContent(VIEW_ID_START_MENU)),
            &ViewContentStartMenu::openDeviceClicked, this,
            &FormContentEditor::_slotViewStartMenuOpenDeviceClicked);
    connect(static_cast<ViewContentInsertReadingMasterPassword*>(
                viewGetContent(VIEW_ID_INSERT_READING_MASTER_PASSWORD)),
            &ViewContentInsertReadingMasterPassword::insertionFinished, this,
            &FormContentEditor::_slotViewContentInsertReadingMasterPasswordInsertionFinished);
    connect(ui->actionDisplaySerialNumber, &QAction::triggered, this,
            &FormContentEditor::_slotActionShowDeviceInformation);

    // The backup memory's read shows in the status area, which is there only while it runs.
    _progressBarBackgroundRead = new QProgressBar(this);
    _progressBarBackgroundRead->setRange(0, Device::MEMORY_SIZE);
    _progressBarBackgroundRead->setMaximumWidth(240);
    statusBar()->addWidget(new QLabel(tr("Reading the device backup memory..."), this));
    statusBar()->addWidget(_progressBarBackgroundRead);
    statusBar()->hide();
    connect(&_backgroundRead, &DeviceBackgroundRead::progressed, this,
            &FormContentEditor::_slotBackgroundReadProgressed);
    connect(&_backgroundRead, &DeviceBackgroundRead::finished, this,
            &FormContentEditor::_slotBackgroundReadFinished);

    // Unplugging is noticed within two seconds, whatever page is shown.
    connect(&_timerDeviceWatch, &QTimer::timeout, this, &FormContentEditor::_slotTimerDeviceWatchTimeout);
    _timerDeviceWatch.start(2000);
}

namespace
{
// What a memory that did not open holds.
DeviceMemoryHealth::State unopenedState(const unsigned char* image)
{
    return DeviceMemoryHealth::isEmptyImage(image) ? DeviceMemoryHealth::STATE_EMPTY
                                                   : DeviceMemoryHealth::STATE_DAMAGED;
}

// Both memories open and differ: which content does the user want to see?
QMessageBox::StandardButton askMemoryChoice(QWidget* parent)
{
    return QMessageBox::warning(
        parent, FormContentEditor::tr("Warning"),
        FormContentEditor::tr(
            "Device main and backup memories do not have the same content. This is likely due to a "
            "power outage during previous device writing.\nDo you want to display the main memory "
            "content?\n\nSelect 'Yes' to try with main memory or 'No' to try with backup memory.\nIf "
            "the memory you selected does not contain the expected data, re-read the device then try "
            "the other memory."),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel);
}

} // namespace

using MemoryImage::PlaintextBuffer;

bool FormContentEditor::_isDeviceBusy() const
{
    return Device::getSelectedDevice() != nullptr || _backgroundRead.isRunning();
}

void FormContentEditor::_updateDeviceActions()
{
    // While the backup memory of the opened device arrives, device actions wait for it (during other
    // runs a page covers the editor, and the slots refuse anyway).
    if (!_backgroundRead.isRunning())
        return;
    for (QAction* action :
         {ui->actionOpenDevice, ui->actionEraseDevice, ui->actionCopyDevice, ui->actionChangeDeviceName,
          ui->actionDisplaySerialNumber, ui->actionBackUpToFile, ui->actionOpenBackupFile,
          _pointerActionWriteDevice, _pointerActionChangePasswordThenWriteDevice})
        action->setEnabled(false);
}

bool FormContentEditor::_isDeviceActionAllowed(bool isStartMenuAllowed)
{
    return !_isDeviceBusy() && _isEditorActionAllowed(isStartMenuAllowed);
}

QString FormContentEditor::_selectedDeviceUsbSerialNumber() const
{
    const Device* device = Device::getSelectedDevice();
    return device != nullptr ? device->getUsbSerialNumber() : QString();
}

void FormContentEditor::_forgetUnpluggedDevices(const QList<DevicePortInfo>* ports)
{
    // An unplugged device may come back written elsewhere: what was known of it is forgotten.
    QStringList presentUsbSerialNumbers;
    if (ports != nullptr)
    {
        for (const DevicePortInfo& port : *ports)
            presentUsbSerialNumbers.append(port.serialNumber());
    }
    _deviceMemoryHealth.forgetAllBut(presentUsbSerialNumbers);
}

void FormContentEditor::_slotTimerDeviceWatchTimeout()
{
    if (_deviceMemoryHealth.isEmpty())
        return;
    const std::unique_ptr<QList<DevicePortInfo>> ports(Device::findAvailableDevices());
    _forgetUnpluggedDevices(ports.get());
}

int FormContentEditor::_selectDevice()
{
    // None or several devices: the user chooses (or plugs one in) on the selection page.
    std::unique_ptr<QList<DevicePortInfo>> ports(Device::findAvailableDevices());
    _forgetUnpluggedDevices(ports.get());
    if (ports == nullptr || ports->size() != 1)
    {
        viewPush(VIEW_ID_DEVICE_SELECTION);
        return 1;
    }

    Device::setSelectedDevice(new Device(ports->first()));
    ports.reset();
    if (Device::getSelectedDevice()->open() != 0)
    {
        viewPushMessageBoxDialog(
            ViewContentMessageBoxDialog::ICON_ERROR, tr("Error"), tr("Could not open the connected device."),
            ViewContentMessageBoxDialog::BUTTON_OK, ViewContentMessageBoxDialog::BUTTON_OK);
        Device::releaseSelectedDevice();
        return -1;
    }
    return 0;
}

int FormContentEditor::_openSelectedDeviceMemories(const QString& password, unsigned char* plaintext,
                                                   Device::MemoryId* openedMemory)
{
    Device* device = Device::getSelectedDevice();
    DeviceMemoryHealth::Memories health;
    const int result = _openMemoryImages(password, device->getMemoryBuffer(Device::MEMORY_ID_MAIN),
                                         device->getMemoryBuffer(Device::MEMORY_ID_BACKUP), plaintext,
                                         openedMemory, &health);
    // A cancelled choice still tells what each memory holds.
    if (result != -1)
        _deviceMemoryHealth.set(device->getUsbSerialNumber(), health);
    return result;
}

int FormContentEditor::_openMemoryImages(const QString& password, const unsigned char* mainImage,
                                         const unsigned char* backupImage, unsigned char* plaintext,
                                         Device::MemoryId* openedMemory, DeviceMemoryHealth::Memories* health)
{
    health->areEqual = std::memcmp(mainImage, backupImage, Device::MEMORY_SIZE) == 0;

    int result = MemoryImage::decrypt(password, mainImage, plaintext);
    int backupResult = result;
    PlaintextBuffer backupPlaintext;
    // Equal memories open alike; differing ones are each tried, the main one first.
    if (result >= 0 && !health->areEqual)
        backupResult = MemoryImage::decrypt(password, backupImage, backupPlaintext.get());
    if (result < 0 || backupResult < 0)
    {
        wipeMemory(plaintext, Device::MEMORY_SIZE);
        viewPushMessageBoxDialog(
            ViewContentMessageBoxDialog::ICON_ERROR, tr("Error"), tr("Failed to decrypt data, aborting."),
            ViewContentMessageBoxDialog::BUTTON_OK, ViewContentMessageBoxDialog::BUTTON_OK);
        return -1;
    }

    health->main = result == 0 ? DeviceMemoryHealth::STATE_OPENS : unopenedState(mainImage);
    if (health->areEqual)
        health->backup = health->main;
    else if (backupResult != 0)
        health->backup = unopenedState(backupImage);
    else
        health->backup =
            result == 0 ? DeviceMemoryHealth::STATE_OLDER_CONTENT : DeviceMemoryHealth::STATE_OPENS;

    *openedMemory = Device::MEMORY_ID_MAIN;
    if (result == 0 && backupResult == 0 && !health->areEqual)
    {
        // Both open and differ: only the user can tell which content is the one wanted.
        const QMessageBox::StandardButton answer = askMemoryChoice(this);
        if (answer == QMessageBox::No)
        {
            std::memcpy(plaintext, backupPlaintext.get(), Device::MEMORY_SIZE);
            *openedMemory = Device::MEMORY_ID_BACKUP;
        }
        else if (answer != QMessageBox::Yes)
        {
            wipeMemory(plaintext, Device::MEMORY_SIZE);
            return -2;
        }
        return 0;
    }
    if (result == 0)
        return 0;
    if (backupResult == 0 && !health->areEqual)
    {
        std::memcpy(plaintext, backupPlaintext.get(), Device::MEMORY_SIZE);
        *openedMemory = Device::MEMORY_ID_BACKUP;
        return 0;
    }
    return 1;
}

void FormContentEditor::_slotActionOpenDeviceClicked()
{
    if (!_isDeviceActionAllowed(true) ||
        _askReplacingUnsavedData(
            PENDING_REQUEST_OPEN_DEVICE_CONFIRM_UNSAVED_DATA, tr("Opening a device"),
            tr("You have made some modifications to the currently displayed data without saving them.\nDo "
               "you confirm overwriting such unsaved data with the content of the newly opened device?")))
        return;
    _openDeviceAskMasterPassword();
}

bool FormContentEditor::_askReplacingUnsavedData(PendingRequest pendingRequest, const QString& title,
                                                 const QString& question)
{
    // Opening replaces the editor's content: unsaved changes go only if the user says so.
    if (!_isUnsavedDataPresent)
        return false;
    _pendingRequest = pendingRequest;
    viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_QUESTION, title, question,
                             ViewContentMessageBoxDialog::BUTTON_YES | ViewContentMessageBoxDialog::BUTTON_NO,
                             ViewContentMessageBoxDialog::BUTTON_NO);
    return true;
}

void FormContentEditor::_slotViewStartMenuOpenDeviceClicked()
{
    if (_isDeviceBusy())
        return;
    // The start menu shows no data, so there is nothing unsaved to ask about.
    _openDeviceAskMasterPassword();
}

void FormContentEditor::_handleMessageBoxAnswerForOpenDevice(ViewContentMessageBoxDialog::Button button)
{
    if (button != ViewContentMessageBoxDialog::BUTTON_YES || _isDeviceBusy())
        return;
    _openDeviceAskMasterPassword();
}

void FormContentEditor::_openDeviceAskMasterPassword()
{
    _pendingRequest = PENDING_REQUEST_OPEN_DEVICE;
    // With the selection page (1) the password page comes once a device is selected; -1 has said why.
    if (_selectDevice() == 0)
        viewPush(VIEW_ID_INSERT_READING_MASTER_PASSWORD);
}

bool FormContentEditor::_acceptMasterPasswordAnswer(bool isConfirmed, const QString& password)
{
    if (!isConfirmed)
    {
        _forgetCandidateMasterPassword();
        Device::releaseSelectedDevice();
        return false;
    }
    _candidateMasterPassword = password;
    return true;
}

void FormContentEditor::_adoptCandidateMasterPassword()
{
    _masterPassword = _candidateMasterPassword;
    _isMasterPasswordKnown = true;
    _forgetCandidateMasterPassword();
    _updateUserInterfaceControls();
}

void FormContentEditor::_forgetCandidateMasterPassword()
{
    _candidateMasterPassword.fill(QChar(0));
    _candidateMasterPassword.clear();
    _isSaveUnderCandidatePassword = false;
}

void FormContentEditor::_slotViewContentInsertReadingMasterPasswordInsertionFinished(bool isConfirmed,
                                                                                     QString password)
{
    // Records appear as soon as the main memory has opened; the backup memory follows in the
    // background, or in the foreground when the main memory does not open.
    const bool isRetry = _isOpenRetryWaiting;
    _isOpenRetryWaiting = false;
    if (!_acceptMasterPasswordAnswer(isConfirmed, password))
        return;
    if (_pendingRequest == PENDING_REQUEST_OPEN_BACKUP_FILE)
        return _openBackupFileWithCandidatePassword();
    if (isRetry && Device::getSelectedDevice() != nullptr)
    {
        // Both memories were read for the previous try: they are tried at once.
        _isOpenReadingBackup = true;
        _handleDeviceReadRequestForOpenDevice();
        return;
    }
    _isOpenReadingBackup = false;
    static_cast<ViewContentReadDevice*>(viewGetContent(VIEW_ID_READ_DEVICE))
        ->setNextRunMemories(ViewContentDeviceAccess::MEMORIES_MAIN);
    viewPush(VIEW_ID_READ_DEVICE);
}

void FormContentEditor::_showDecryptedImage(const unsigned char* plaintext)
{
    // New records: whatever the previous ones came from is not theirs.
    _shownBackupFileName.clear();
    _forgetShownDeviceImages();
    viewReplace(VIEW_ID_CONTENT_EDITOR);
    viewClear();
    // Builds the tabs; each table builds its table widget when first shown.
    _loadPasswordsFromDeviceMemoryBuffer(const_cast<unsigned char*>(plaintext));
    const int tabCount = ui->tabWidget->count();
    for (int tabIndex = 0; tabIndex < tabCount; tabIndex++)
        static_cast<PasswordTable*>(ui->tabWidget->widget(tabIndex))->fillTableWithPasswords();
    _setUnsavedDataPresent(false);
    viewReplace(VIEW_ID_CONTENT_EDITOR);
    viewClear();
    // The records take the keyboard (arrows, Return, Ctrl+C); a tab without any offers a new record,
    // and a store without tabs a new tab.
    PasswordTable* table = _getCurrentPasswordTable();
    if (table != nullptr && !table->passwords.isEmpty())
        table->tableWidget()->setFocus();
    else
        (table != nullptr ? ui->pushButtonNewPassword : ui->pushButtonNewTab)->setFocus();
}

void FormContentEditor::_handleDeviceReadRequestForOpenDevice()
{
    Device* device = Device::getSelectedDevice();
    const QString usbSerialNumber = device->getUsbSerialNumber();
    PlaintextBuffer plaintext;

    if (_isOpenReadingBackup)
    {
        // Both memories are in: whichever opens is shown.
        _isOpenReadingBackup = false;
        Device::MemoryId openedMemory = Device::MEMORY_ID_MAIN;
        const int result =
            _openSelectedDeviceMemories(_candidateMasterPassword, plaintext.get(), &openedMemory);
        if (result != 0)
        {
            // A wrong password changes nothing: the previous password, records and flags stay.
            _forgetCandidateMasterPassword();
            if (result == 1)
                _askOpenRetry();
            else
                Device::releaseSelectedDevice();
            return;
        }
        _adoptCandidateMasterPassword();
        _showDecryptedImage(plaintext.get());
        wipeMemory(plaintext.get(), Device::MEMORY_SIZE);
        _rememberShownDeviceImages(device->getMemoryBuffer(Device::MEMORY_ID_MAIN),
                                   device->getMemoryBuffer(Device::MEMORY_ID_BACKUP));
        const DeviceMemoryHealth::Memories health = _deviceMemoryHealth.get(usbSerialNumber);
        if (openedMemory == Device::MEMORY_ID_BACKUP && health.main != DeviceMemoryHealth::STATE_OPENS &&
            _askRepair(Device::MEMORY_ID_MAIN))
            return;
        Device::releaseSelectedDevice();
        return;
    }

    const int result = MemoryImage::decrypt(_candidateMasterPassword,
                                            device->getMemoryBuffer(Device::MEMORY_ID_MAIN), plaintext.get());
    if (result < 0)
    {
        _forgetCandidateMasterPassword();
        viewPushMessageBoxDialog(
            ViewContentMessageBoxDialog::ICON_ERROR, tr("Error"), tr("Failed to decrypt data, aborting."),
            ViewContentMessageBoxDialog::BUTTON_OK, ViewContentMessageBoxDialog::BUTTON_OK);
        Device::releaseSelectedDevice();
        return;
    }
    if (result > 0)
    {
        // A wrong password or a damaged main memory: only the backup memory can tell which.
        _isOpenReadingBackup = true;
        auto* readPage = static_cast<ViewContentReadDevice*>(viewGetContent(VIEW_ID_READ_DEVICE));
        readPage->setNextRunMemories(ViewContentDeviceAccess::MEMORIES_BACKUP);
        viewPush(VIEW_ID_READ_DEVICE);
        return;
    }

    _adoptCandidateMasterPassword();
    _showDecryptedImage(plaintext.get());
    DeviceMemoryHealth::Memories health;
    health.main = DeviceMemoryHealth::STATE_OPENS;
    _deviceMemoryHealth.set(usbSerialNumber, health);
    // The device stays selected until its backup memory has arrived.
    _setBackgroundReadShown(true);
    _backgroundRead.start(Device::MEMORY_ID_BACKUP);
    _updateUserInterfaceControls();
}

void FormContentEditor::_askOpenRetry()
{
    const DeviceMemoryHealth::Memories health =
        _deviceMemoryHealth.get(Device::getSelectedDevice()->getUsbSerialNumber());
    if (health.main == DeviceMemoryHealth::STATE_EMPTY && health.backup == DeviceMemoryHealth::STATE_EMPTY)
    {
        // No password opens a device that was never written: asking again would only mislead.
        Device::releaseSelectedDevice();
        viewPushMessageBoxDialog(
            ViewContentMessageBoxDialog::ICON_ERROR, tr("Blank device"),
            tr("This Pavisor is blank: it holds no records (it is new, or it was erased), so no master "
               "password opens it.\nTo set it up, click \"start initializing your Pavisor\" on the start "
               "menu, add your records, then save them to the device with \"Set/change the master "
               "password then save\"."),
            ViewContentMessageBoxDialog::BUTTON_OK, ViewContentMessageBoxDialog::BUTTON_OK);
        return;
    }
    // The device stays selected with the images read: the next password is tried on them, and
    // Cancel on the page releases the device, which wipes them. A device unplugged meanwhile still
    // opens from what was read; the actions after that find it gone.
    _isOpenRetryWaiting = true;
    viewPush(VIEW_ID_INSERT_READING_MASTER_PASSWORD);
    static_cast<ViewContentInsertReadingMasterPassword*>(
        viewGetContent(VIEW_ID_INSERT_READING_MASTER_PASSWORD))
        ->showError(tr("Wrong password: the device did not open with it. Type it again; it is tried at "
                       "once on the memories already read."));
}

void FormContentEditor::_setBackgroundReadShown(bool isShown)
{
    _isBackgroundReadShown = isShown;
    _progressBarBackgroundRead->setValue(0);
    // A notice would hide the progress.
    if (isShown)
        statusBar()->clearMessage();
    statusBar()->setVisible(isShown || !statusBar()->currentMessage().isEmpty());
}

void FormContentEditor::_slotBackgroundReadProgressed(int receivedByteCount)
{
    _progressBarBackgroundRead->setValue(receivedByteCount);
}

void FormContentEditor::_slotBackgroundReadFinished(int result)
{
    _setBackgroundReadShown(false);
    Device* device = Device::getSelectedDevice();
    if (result != 0 || device == nullptr)
    {
        viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_ERROR, tr("Error"),
                                 tr("Could not read the device backup memory. The records shown come from "
                                    "its main memory."),
                                 ViewContentMessageBoxDialog::BUTTON_OK,
                                 ViewContentMessageBoxDialog::BUTTON_OK);
        Device::releaseSelectedDevice();
        _updateUserInterfaceControls();
        return;
    }

    const QString usbSerialNumber = device->getUsbSerialNumber();
    const unsigned char* mainImage = device->getMemoryBuffer(Device::MEMORY_ID_MAIN);
    const unsigned char* backupImage = device->getMemoryBuffer(Device::MEMORY_ID_BACKUP);
    DeviceMemoryHealth::Memories health;
    health.main = DeviceMemoryHealth::STATE_OPENS;
    health.areEqual = std::memcmp(mainImage, backupImage, Device::MEMORY_SIZE) == 0;
    health.backup = DeviceMemoryHealth::STATE_OPENS;
    bool isRepairOffered = false;
    bool isBackupShown = false;
    if (!health.areEqual)
    {
        PlaintextBuffer plaintext;
        const int backupResult = MemoryImage::decrypt(_masterPassword, backupImage, plaintext.get());
        health.backup =
            backupResult == 0 ? DeviceMemoryHealth::STATE_OLDER_CONTENT : unopenedState(backupImage);
        _deviceMemoryHealth.set(usbSerialNumber, health);
        // Both open and differ: the question is asked while nothing shown has changed yet.
        if (backupResult == 0 && !_isUnsavedDataPresent && viewGetCurrent() == VIEW_ID_CONTENT_EDITOR &&
            askMemoryChoice(this) == QMessageBox::No)
            isBackupShown = true;
        if (isBackupShown)
            _showDecryptedImage(plaintext.get());
        isRepairOffered = backupResult != 0;
    }
    else
        _deviceMemoryHealth.set(usbSerialNumber, health);
    _rememberShownDeviceImages(mainImage, backupImage);

    if (!isRepairOffered || !_askRepair(Device::MEMORY_ID_BACKUP))
        Device::releaseSelectedDevice();
    _updateUserInterfaceControls();
}

bool FormContentEditor::_askRepair(Device::MemoryId damagedMemory)
{
    Device* device = Device::getSelectedDevice();
    const QString text =
        damagedMemory == Device::MEMORY_ID_MAIN
            ? tr("The main memory of the device '%1' does not open: the records shown come from its backup "
                 "memory.\nDo you want to repair the main memory now? The backup memory is copied to it, "
                 "then checked.")
            : tr("The backup memory of the device '%1' is damaged: the device holds only one good copy of "
                 "your records.\nDo you want to repair the backup memory now? The main memory is copied to "
                 "it, then checked.");
    QMessageBox question(QMessageBox::Warning, tr("Damaged memory"), text.arg(device->getName()),
                         QMessageBox::NoButton, this);
    QPushButton* repairButton = question.addButton(tr("Repair"), QMessageBox::AcceptRole);
    QPushButton* laterButton = question.addButton(tr("Not now"), QMessageBox::RejectRole);
    question.setDefaultButton(repairButton);
    question.setEscapeButton(laterButton);
    question.exec();
    // The lock may have answered for the user, or the device may have gone meanwhile.
    if (question.clickedButton() != repairButton || Device::getSelectedDevice() != device)
        return false;
    _startRepair(damagedMemory == Device::MEMORY_ID_MAIN ? Device::MEMORY_ID_BACKUP : Device::MEMORY_ID_MAIN);
    return true;
}

void FormContentEditor::_slotActionShowDeviceInformation(bool)
{
    if (!_isDeviceActionAllowed(true))
        return;
    _pendingRequest = PENDING_REQUEST_SHOW_DEVICE_INFORMATION;
    // The information page reads the device and releases it itself.
    if (_selectDevice() == 0)
        viewPush(VIEW_ID_SHOW_DEVICE_INFORMATION);
}

void FormContentEditor::_slotViewContentDeviceSelectionDeviceSelected(bool isDeviceSelected)
{
    if (!isDeviceSelected)
        return;

    // The same next steps that the starting slots take when _selectDevice() found one device.
    switch (_pendingRequest)
    {
    case PENDING_REQUEST_OPEN_DEVICE:
        viewPush(VIEW_ID_INSERT_READING_MASTER_PASSWORD);
        break;
    case PENDING_REQUEST_SAVE_DEVICE_CONFIRMATION:
        _handleDeviceWriteRequestAskConfirmation();
        break;
    case PENDING_REQUEST_SHOW_DEVICE_INFORMATION:
        viewPush(VIEW_ID_SHOW_DEVICE_INFORMATION);
        break;
    case PENDING_REQUEST_CHANGE_DEVICE_NAME:
        viewPush(VIEW_ID_CHANGE_DEVICE_NAME);
        break;
    case PENDING_REQUEST_ERASE_DEVICE:
        _handleDeviceWriteRequestForEraseDevice();
        break;
    case PENDING_REQUEST_COPY_DEVICE_SOURCE:
        viewPush(VIEW_ID_READ_DEVICE);
        break;
    case PENDING_REQUEST_COPY_DEVICE_TARGET:
        _handleDeviceWriteRequestForCopyDevice();
        break;
    default:
        break;
    }
}

void FormContentEditor::_showDeviceRunError(int code, const QString& message)
{
    const QString text =
        code == ViewContentDeviceAccess::RESULT_DEVICE_CHANGED
            ? tr("Another device was selected while this one was being accessed: the operation was stopped "
                 "and nothing more was sent to either device.\nCheck which device you want to use, then "
                 "retry.")
            : message;
    viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_ERROR, tr("Error"), text,
                             ViewContentMessageBoxDialog::BUTTON_OK, ViewContentMessageBoxDialog::BUTTON_OK);
}

void FormContentEditor::_slotViewContentReadDeviceReadFinished(int code)
{
    if (_handleWriteRoadReadFinished(code))
        return;
    if (code != 0)
    {
        QString message;
        switch (code)
        {
        case -1:
            message = tr("Could not make the device LED blink, aborting.");
            break;
        case -2:
            message = tr("Could not read the device main memory, aborting.");
            break;
        case -3:
            message = tr("Could not read the device backup memory, aborting.");
            break;
        default:
            message = tr("Could not stop device led from blinking, aborting.");
            break;
        }
        _showDeviceRunError(code, message);
        // A read that did not finish opens nothing: the typed password is not adopted.
        if (_pendingRequest == PENDING_REQUEST_OPEN_DEVICE)
            _forgetCandidateMasterPassword();
        _isOpenReadingBackup = false;
        Device::releaseSelectedDevice();
        return;
    }

    switch (_pendingRequest)
    {
    case PENDING_REQUEST_OPEN_DEVICE:
        _handleDeviceReadRequestForOpenDevice();
        break;
    case PENDING_REQUEST_SAVE_DEVICE_VERIFICATION:
        _handleDeviceReadRequestForVerifyAfterWrite();
        break;
    case PENDING_REQUEST_ERASE_DEVICE:
        _handleDeviceReadRequestForVerifyAfterErase();
        break;
    case PENDING_REQUEST_COPY_DEVICE_SOURCE:
        _handleDeviceReadRequestForCopyWizardSourceDevice();
        break;
    case PENDING_REQUEST_COPY_DEVICE_TARGET:
        _handleDeviceReadRequestForCopyWizardTargetDevice();
        break;
    default:
        break;
    }
}

void FormContentEditor::_slotViewContentMessageBoxDialogDialogExited(
    ViewContentMessageBoxDialog::Button button)
{
    switch (_pendingRequest)
    {
    case PENDING_REQUEST_OPEN_DEVICE_CONFIRM_UNSAVED_DATA:
        _handleMessageBoxAnswerForOpenDevice(button);
        break;
    case PENDING_REQUEST_OPEN_BACKUP_FILE_CONFIRM_UNSAVED_DATA:
        _handleMessageBoxAnswerForOpenBackupFile(button);
        break;
    case PENDING_REQUEST_SAVE_DEVICE_CONFIRMATION:
        _handleMessageBoxAnswerForSaveDevice(button);
        break;
    case PENDING_REQUEST_REMOVE_PASSWORD:
    case PENDING_REQUEST_REMOVE_TAB:
        _handleMessageBoxAnswerForEditing(button);
        break;
    default:
        // Notices (errors, successes) need no answer.
        break;
    }
}
