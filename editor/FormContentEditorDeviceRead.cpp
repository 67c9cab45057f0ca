// Device read workflows of the main window: acquiring a device, dispatching the answers of the
// shared pages by _pendingRequest, opening a device and showing its information.
#include "FormContentEditor.h"
#include "ui_FormContentEditor.h"

#include "Device.h"
#include "PasswordTable.h"
#include "Security.h"
#include "ViewContentDeviceSelection.h"
#include "ViewContentInsertReadingMasterPassword.h"
#include "ViewContentReadDevice.h"
#include "ViewContentStartMenu.h"
#include "Wipe.h"

#include <QMessageBox>
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
}

int FormContentEditor::_selectDevice()
{
    // None or several devices: the user chooses (or plugs one in) on the selection page.
    std::unique_ptr<QList<DevicePortInfo>> ports(Device::findAvailableDevices());
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

int FormContentEditor::_decryptSelectedDeviceMemory(const QString& password, unsigned char** pointerImage)
{
    Device* device = Device::getSelectedDevice();
    unsigned char* image = device->getMemoryBuffer(Device::MEMORY_ID_MAIN);
    unsigned char* backupImage = device->getMemoryBuffer(Device::MEMORY_ID_BACKUP);

    // Differing memories mean a write was interrupted: only the user can tell which one is good.
    if (std::memcmp(image, backupImage, Device::MEMORY_SIZE) != 0)
    {
        const QMessageBox::StandardButton answer = QMessageBox::warning(
            this, tr("Warning"),
            tr("Device main and backup memories do not have the same content. This is likely due to a "
               "power outage during previous device writing.\nDo you want to display the main memory "
               "content?\n\nSelect 'Yes' to try with main memory or 'No' to try with backup memory.\nIf "
               "the memory you selected does not contain the expected data, re-read the device then try "
               "the other memory."),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel);
        if (answer == QMessageBox::No)
            image = backupImage;
        else if (answer != QMessageBox::Yes)
            return -2;
    }

    // Each scheme works on a fresh copy: a scheme that says no may have scrambled its buffer.
    std::unique_ptr<unsigned char[]> work(new unsigned char[Device::MEMORY_SIZE]);
    int result = 1;
    for (Security::EncryptionSchemeId scheme :
         {Security::ENCRYPTION_SCHEME_ID_2, Security::ENCRYPTION_SCHEME_ID_1,
          Security::ENCRYPTION_SCHEME_ID_0})
    {
        std::memcpy(work.get(), image, Device::MEMORY_SIZE);
        result = Security::decryptMemoryData(password, scheme, work.get());
        if (result <= 0)
            break;
    }
    if (result == 0)
        std::memcpy(image, work.get(), Device::MEMORY_SIZE);
    wipeMemory(work.get(), Device::MEMORY_SIZE);

    if (result < 0)
        viewPushMessageBoxDialog(
            ViewContentMessageBoxDialog::ICON_ERROR, tr("Error"), tr("Failed to decrypt data, aborting."),
            ViewContentMessageBoxDialog::BUTTON_OK, ViewContentMessageBoxDialog::BUTTON_OK);
    else if (result > 0)
        viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_ERROR, tr("Error"),
                                 tr("Failed to decrypt data. Make sure you provided the correct password."),
                                 ViewContentMessageBoxDialog::BUTTON_OK,
                                 ViewContentMessageBoxDialog::BUTTON_OK);
    else
        *pointerImage = image;
    return result < 0 ? -1 : result;
}

void FormContentEditor::_slotActionOpenDeviceClicked()
{
    if (!_isEditorActionAllowed(true))
        return;
    // Opening replaces the editor's content: unsaved changes go only if the user says so.
    if (_isUnsavedDataPresent)
    {
        _pendingRequest = PENDING_REQUEST_OPEN_DEVICE_CONFIRM_UNSAVED_DATA;
        viewPushMessageBoxDialog(
            ViewContentMessageBoxDialog::ICON_QUESTION, tr("Opening a device"),
            tr("You have made some modifications to the currently displayed data without saving them.\nDo "
               "you confirm overwriting such unsaved data with the content of the newly opened device?"),
            ViewContentMessageBoxDialog::BUTTON_YES | ViewContentMessageBoxDialog::BUTTON_NO,
            ViewContentMessageBoxDialog::BUTTON_NO);
        return;
    }
    _openDeviceAskMasterPassword();
}

void FormContentEditor::_slotViewStartMenuOpenDeviceClicked()
{
    // The start menu shows no data, so there is nothing unsaved to ask about.
    _openDeviceAskMasterPassword();
}

void FormContentEditor::_handleMessageBoxAnswerForOpenDevice(ViewContentMessageBoxDialog::Button button)
{
    if (button != ViewContentMessageBoxDialog::BUTTON_YES)
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
        Device::releaseSelectedDevice();
        return false;
    }
    _masterPassword = password;
    _isMasterPasswordKnown = true;
    _updateUserInterfaceControls();
    return true;
}

void FormContentEditor::_slotViewContentInsertReadingMasterPasswordInsertionFinished(bool isConfirmed,
                                                                                     QString password)
{
    // From here on the typed password is the one of the shown data, even if the read then fails.
    if (_acceptMasterPasswordAnswer(isConfirmed, password))
        viewPush(VIEW_ID_READ_DEVICE);
}

void FormContentEditor::_handleDeviceReadRequestForOpenDevice()
{
    unsigned char* image = nullptr;
    const int result = _decryptSelectedDeviceMemory(_masterPassword, &image);
    if (result == 0)
    {
        ui->actionImportCSV->setEnabled(true);
        viewReplace(VIEW_ID_CONTENT_EDITOR);
        viewClear();
        // Builds the tabs; each table builds its table widget when first shown.
        _loadPasswordsFromDeviceMemoryBuffer(image);
        const int tabCount = ui->tabWidget->count();
        for (int tabIndex = 0; tabIndex < tabCount; tabIndex++)
            static_cast<PasswordTable*>(ui->tabWidget->widget(tabIndex))->fillTableWithPasswords();
        _setUnsavedDataPresent(false);
        viewReplace(VIEW_ID_CONTENT_EDITOR);
        viewClear();
    }
    else if (result == 1)
    {
        // The editor keeps what it showed, but it can no longer be saved under the typed password.
        _isMasterPasswordKnown = false;
        _updateUserInterfaceControls();
    }
    // The plaintext image goes with the device: releasing it wipes both memory images.
    Device::releaseSelectedDevice();
}

void FormContentEditor::_slotActionShowDeviceInformation(bool)
{
    if (!_isEditorActionAllowed(true))
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

void FormContentEditor::_slotViewContentReadDeviceReadFinished(int code)
{
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
        viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_ERROR, tr("Error"), message,
                                 ViewContentMessageBoxDialog::BUTTON_OK,
                                 ViewContentMessageBoxDialog::BUTTON_OK);
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
