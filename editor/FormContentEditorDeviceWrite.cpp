// Device write workflows of the main window: save, erase, device-to-device copy and rename.
//
// Every memory write takes the same road: both images of the selected device are prepared, the
// write page writes the main memory in full and then the backup memory, and a full read of both
// follows, compared byte for byte with what was meant to be written. Whatever instant a write is
// interrupted at, one of the two memories still holds a complete image.
#include "FormContentEditor.h"
#include "ui_FormContentEditor.h"

#include "Device.h"
#include "Security.h"
#include "ViewContentChangeDeviceName.h"
#include "ViewContentDeviceCopyWizardPage2.h"
#include "ViewContentDeviceCopyWizardPage3.h"
#include "ViewContentDeviceErasingWizardPage2.h"
#include "ViewContentInsertWritingMasterPassword.h"
#include "ViewContentWriteDevice.h"
#include "Wipe.h"

#include <QDate>
#include <QMessageBox>
#include <QRandomGenerator>
#include <cstring>

namespace
{
bool isAllZero(const unsigned char* image)
{
    for (int offset = 0; offset < Device::MEMORY_SIZE; offset++)
    {
        if (image[offset] != 0)
            return false;
    }
    return true;
}

// What every verification that found a difference says (save, erase, copy).
QString verificationFailedMessage()
{
    return FormContentEditor::tr(
        "Data could not be successfully written. Please retry.\nConsider changing the "
        "device if this error is still occurring.");
}
} // namespace

FormContentEditor::DeviceWriteImages::~DeviceWriteImages()
{
    static_assert(SIZE == Device::MEMORY_SIZE, "the write workflows keep whole memory images");
    wipeMemory(this, sizeof(*this));
}

void FormContentEditor::_initializeDeviceWrite()
{
    connect(_pointerActionWriteDevice, &QAction::triggered, this,
            &FormContentEditor::_slotActionWriteDeviceTriggered);
    connect(_pointerActionChangePasswordThenWriteDevice, &QAction::triggered, this,
            &FormContentEditor::_slotActionChangePasswordThenWriteDeviceTriggered);
    connect(ui->actionEraseDevice, &QAction::triggered, this,
            &FormContentEditor::_slotActionEraseDeviceTriggered);
    connect(ui->actionCopyDevice, &QAction::triggered, this,
            &FormContentEditor::_slotActionCopyDeviceTriggered);
    connect(ui->actionChangeDeviceName, &QAction::triggered, this,
            &FormContentEditor::_slotActionChangeDeviceNameTriggered);

    connect(static_cast<ViewContentWriteDevice*>(viewGetContent(VIEW_ID_WRITE_DEVICE)),
            &ViewContentWriteDevice::writeFinished, this,
            &FormContentEditor::_slotViewContentWriteDeviceWriteFinished);
    connect(static_cast<ViewContentInsertWritingMasterPassword*>(
                viewGetContent(VIEW_ID_INSERT_WRITING_MASTER_PASSWORD)),
            &ViewContentInsertWritingMasterPassword::insertionFinished, this,
            &FormContentEditor::_slotViewContentInsertWritingMasterPasswordInsertionFinished);
    connect(static_cast<ViewContentDeviceErasingWizardPage2*>(
                viewGetContent(VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_2)),
            &ViewContentDeviceErasingWizardPage2::erasingConfirmed, this,
            &FormContentEditor::_slotViewContentDeviceErasingWizardErasingConfirmed);
    connect(static_cast<ViewContentDeviceCopyWizardPage2*>(viewGetContent(VIEW_ID_DEVICE_COPY_WIZARD_PAGE_2)),
            &ViewContentDeviceCopyWizardPage2::passwordInserted, this,
            &FormContentEditor::_slotViewContentDeviceCopyWizardSourceDevicePasswordInserted);
    connect(static_cast<ViewContentDeviceCopyWizardPage3*>(viewGetContent(VIEW_ID_DEVICE_COPY_WIZARD_PAGE_3)),
            &ViewContentDeviceCopyWizardPage3::passwordInserted, this,
            &FormContentEditor::_slotViewContentDeviceCopyWizardTargetDevicePasswordInserted);
    connect(static_cast<ViewContentChangeDeviceName*>(viewGetContent(VIEW_ID_CHANGE_DEVICE_NAME)),
            &ViewContentChangeDeviceName::nameChanged, this,
            &FormContentEditor::_slotViewContentChangeDeviceNameNameChanged);
}

void FormContentEditor::_showDeviceWriteErrorMessage(const QString& title, const QString& message)
{
    viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_ERROR, title, message,
                             ViewContentMessageBoxDialog::BUTTON_OK, ViewContentMessageBoxDialog::BUTTON_OK);
}

// -------------------------------------------------------------------------------------------------
// Saving

void FormContentEditor::_slotActionWriteDeviceTriggered()
{
    if (!_isEditorActionAllowed(false))
        return;
    _pendingRequest = PENDING_REQUEST_SAVE_DEVICE_CONFIRMATION;
    if (_selectDevice() == 0)
        _handleDeviceWriteRequestAskConfirmation();
}

void FormContentEditor::_slotActionChangePasswordThenWriteDeviceTriggered()
{
    if (!_isEditorActionAllowed(false))
        return;
    viewPush(VIEW_ID_INSERT_WRITING_MASTER_PASSWORD);
}

void FormContentEditor::_slotViewContentInsertWritingMasterPasswordInsertionFinished(bool isConfirmed,
                                                                                     QString password)
{
    // The new password stays the master password even if the save is declined or fails.
    if (_acceptMasterPasswordAnswer(isConfirmed, password))
        _slotActionWriteDeviceTriggered();
}

void FormContentEditor::_handleDeviceWriteRequestAskConfirmation()
{
    viewPushMessageBoxDialog(
        ViewContentMessageBoxDialog::ICON_QUESTION, tr("Confirm saving device"),
        tr("Save changes to the device '%1'?\nAll device current data will be overwritten.")
            .arg(Device::getSelectedDevice()->getName()),
        ViewContentMessageBoxDialog::BUTTON_YES | ViewContentMessageBoxDialog::BUTTON_NO,
        ViewContentMessageBoxDialog::BUTTON_NO);
}

void FormContentEditor::_handleMessageBoxAnswerForSaveDevice(ViewContentMessageBoxDialog::Button button)
{
    if (button == ViewContentMessageBoxDialog::BUTTON_YES)
        _handleDeviceWriteRequestForSaveDevice();
    else
        Device::releaseSelectedDevice();
}

void FormContentEditor::_handleDeviceWriteRequestForSaveDevice()
{
    _pendingRequest = PENDING_REQUEST_SAVE_DEVICE_VERIFICATION;
    Device* device = Device::getSelectedDevice();
    unsigned char* mainImage = device->getMemoryBuffer(Device::MEMORY_ID_MAIN);
    unsigned char* backupImage = device->getMemoryBuffer(Device::MEMORY_ID_BACKUP);

    // Random bytes under and after the store: the space the store leaves free tells nothing, and
    // two saves of the same content never write the same plaintext.
    QRandomGenerator* generator = QRandomGenerator::global();
    for (int offset = 0; offset < Device::MEMORY_SIZE; offset += 4)
    {
        const quint32 value = generator->generate();
        std::memcpy(mainImage + offset, &value, sizeof(value));
    }

    // Releasing the device wipes its images, so a refused store leaves no plaintext behind.
    if (_encodePasswordsToMemoryFormat(mainImage) < 0)
    {
        _showDeviceWriteErrorMessage(
            tr("Error"), tr("There is not enough room in device memory. Please remove some passwords."));
        Device::releaseSelectedDevice();
        return;
    }
    if (Security::encryptMemoryData(_masterPassword, Security::ENCRYPTION_SCHEME_ID_WRITTEN, mainImage) != 0)
    {
        _showDeviceWriteErrorMessage(tr("Error"), tr("Failed to encrypt data, aborting."));
        Device::releaseSelectedDevice();
        return;
    }

    std::memcpy(backupImage, mainImage, Device::MEMORY_SIZE);
    std::memcpy(_deviceWriteImages.lastWrittenMain, mainImage, Device::MEMORY_SIZE);
    std::memcpy(_deviceWriteImages.lastWrittenBackup, backupImage, Device::MEMORY_SIZE);
    viewPush(VIEW_ID_WRITE_DEVICE);
}

void FormContentEditor::_slotViewContentWriteDeviceWriteFinished(int code)
{
    // The device stays selected: the verification read works on it.
    if (code == 0)
    {
        viewPush(VIEW_ID_READ_DEVICE);
        return;
    }

    QString message;
    switch (code)
    {
    case -1:
        message = tr("Could not make the device LED blink, aborting.");
        break;
    case -2:
        message = tr("Could not stop the device LED from blinking, aborting.");
        break;
    case -3:
        message = tr("Could not configure the access to the main memory, aborting.");
        break;
    case -4:
        message = tr("Could not configure the access to the backup memory, aborting.");
        break;
    case -5:
        message = tr("Could not write data to the main memory, aborting.");
        break;
    default:
        message = tr("Could not write data to the backup memory, aborting.");
        break;
    }
    _showDeviceWriteErrorMessage(tr("Error"), message);
    Device::releaseSelectedDevice();
}

void FormContentEditor::_handleDeviceReadRequestForVerifyAfterWrite()
{
    Device* device = Device::getSelectedDevice();
    if (std::memcmp(device->getMemoryBuffer(Device::MEMORY_ID_MAIN), _deviceWriteImages.lastWrittenMain,
                    Device::MEMORY_SIZE) != 0 ||
        std::memcmp(device->getMemoryBuffer(Device::MEMORY_ID_BACKUP), _deviceWriteImages.lastWrittenBackup,
                    Device::MEMORY_SIZE) != 0)
    {
        // The unsaved-data flag stays: what the editor shows is not known to be on the device.
        _showDeviceWriteErrorMessage(tr("Write error"), verificationFailedMessage());
    }
    else
    {
        _setUnsavedDataPresent(false);
        viewPushMessageBoxDialog(
            ViewContentMessageBoxDialog::ICON_SUCCESS, tr("Write success"),
            tr("All data were successfully written.\nYou can safely remove the device if you want."),
            ViewContentMessageBoxDialog::BUTTON_OK, ViewContentMessageBoxDialog::BUTTON_OK);
    }
    Device::releaseSelectedDevice();
}

// -------------------------------------------------------------------------------------------------
// Erasing

void FormContentEditor::_slotActionEraseDeviceTriggered(bool)
{
    if (!_isEditorActionAllowed(true))
        return;
    _pendingRequest = PENDING_REQUEST_ERASE_DEVICE;
    viewPush(VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_1);
}

void FormContentEditor::_slotViewContentDeviceErasingWizardErasingConfirmed(bool isDeviceNameResetRequested)
{
    _isDeviceNameResetRequested = isDeviceNameResetRequested;
    // Set again: the request is what routes the selection and the verification read back here.
    _pendingRequest = PENDING_REQUEST_ERASE_DEVICE;
    if (_selectDevice() == 0)
        _handleDeviceWriteRequestForEraseDevice();
}

void FormContentEditor::_handleDeviceWriteRequestForEraseDevice()
{
    Device* device = Device::getSelectedDevice();
    std::memset(device->getMemoryBuffer(Device::MEMORY_ID_MAIN), 0, Device::MEMORY_SIZE);
    std::memset(device->getMemoryBuffer(Device::MEMORY_ID_BACKUP), 0, Device::MEMORY_SIZE);
    viewPush(VIEW_ID_WRITE_DEVICE);
}

void FormContentEditor::_handleDeviceReadRequestForVerifyAfterErase()
{
    Device* device = Device::getSelectedDevice();
    if (!isAllZero(device->getMemoryBuffer(Device::MEMORY_ID_MAIN)) ||
        !isAllZero(device->getMemoryBuffer(Device::MEMORY_ID_BACKUP)))
    {
        viewPop(VIEW_ID_PREVIOUS);
        _showDeviceWriteErrorMessage(tr("Write error"), verificationFailedMessage());
        Device::releaseSelectedDevice();
        return;
    }

    if (_isDeviceNameResetRequested)
    {
        const QDate today = QDate::currentDate();
        QString name = QString::asprintf("Pavisor %d-%02d-%02d", today.year(), today.month(), today.day());
        if (device->writeName(name) != 0)
        {
            viewPop(VIEW_ID_PREVIOUS);
            _showDeviceWriteErrorMessage(tr("Error"), tr("Could not write the device name."));
            Device::releaseSelectedDevice();
            return;
        }
    }
    viewReplace(VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_3);
    Device::releaseSelectedDevice();
}

// -------------------------------------------------------------------------------------------------
// Copying one device to another

void FormContentEditor::_slotActionCopyDeviceTriggered(bool)
{
    if (!_isEditorActionAllowed(true))
        return;
    viewPush(VIEW_ID_DEVICE_COPY_WIZARD_PAGE_1);
}

void FormContentEditor::_slotViewContentDeviceCopyWizardSourceDevicePasswordInserted(QString password)
{
    _copySourceMasterPassword = password;
    _pendingRequest = PENDING_REQUEST_COPY_DEVICE_SOURCE;
    if (_selectDevice() == 0)
        viewPush(VIEW_ID_READ_DEVICE);
}

void FormContentEditor::_handleDeviceReadRequestForCopyWizardSourceDevice()
{
    // Same memory choice and schemes as opening; its errors leave the wizard on the password page.
    unsigned char* image = nullptr;
    if (_decryptSelectedDeviceMemory(_copySourceMasterPassword, &image) == 0)
    {
        std::memcpy(_deviceWriteImages.decryptedSource, image, Device::MEMORY_SIZE);
        _copySourceDeviceName = Device::getSelectedDevice()->getName();
        viewPush(VIEW_ID_DEVICE_COPY_WIZARD_PAGE_3);
    }
    Device::releaseSelectedDevice();
}

void FormContentEditor::_slotViewContentDeviceCopyWizardTargetDevicePasswordInserted(QString password)
{
    _copyTargetMasterPassword = password.isEmpty() ? _copySourceMasterPassword : password;
    _pendingRequest = PENDING_REQUEST_COPY_DEVICE_TARGET;
    if (_selectDevice() == 0)
        _handleDeviceWriteRequestForCopyDevice();
}

void FormContentEditor::_handleDeviceWriteRequestForCopyDevice()
{
    Device* device = Device::getSelectedDevice();
    const QString passwordComparison = _copyTargetMasterPassword == _copySourceMasterPassword
                                           ? tr("identical", "master password for device copy wizard")
                                           : tr("different", "master password for device copy wizard");
    // The last chance to notice that the target is the wrong device: it is named here.
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, tr("Confirmation"),
                              tr("Please confirm the device duplication settings.<br /><br />Source device "
                                 "name: <b>%1</b><br />Target "
                                 "device name: <b>%2</b><br />Source and target devices master password are "
                                 "<b>%3</b>.<br /><br />Do "
                                 "you want to continue?")
                                  .arg(_copySourceDeviceName.toHtmlEscaped(),
                                       device->getName().toHtmlEscaped(), passwordComparison),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
    {
        Device::releaseSelectedDevice();
        return;
    }

    // The source's plaintext image is re-encrypted as it is: not parsed, not re-encoded.
    std::memcpy(_deviceWriteImages.encryptedTarget, _deviceWriteImages.decryptedSource, Device::MEMORY_SIZE);
    if (Security::encryptMemoryData(_copyTargetMasterPassword, Security::ENCRYPTION_SCHEME_ID_WRITTEN,
                                    _deviceWriteImages.encryptedTarget) != 0)
    {
        wipeMemory(_deviceWriteImages.encryptedTarget, Device::MEMORY_SIZE);
        _showDeviceWriteErrorMessage(tr("Error"), tr("Failed to encrypt data, aborting."));
        Device::releaseSelectedDevice();
        return;
    }
    std::memcpy(device->getMemoryBuffer(Device::MEMORY_ID_MAIN), _deviceWriteImages.encryptedTarget,
                Device::MEMORY_SIZE);
    std::memcpy(device->getMemoryBuffer(Device::MEMORY_ID_BACKUP), _deviceWriteImages.encryptedTarget,
                Device::MEMORY_SIZE);
    viewPush(VIEW_ID_WRITE_DEVICE);
}

void FormContentEditor::_handleDeviceReadRequestForCopyWizardTargetDevice()
{
    Device* device = Device::getSelectedDevice();
    if (std::memcmp(device->getMemoryBuffer(Device::MEMORY_ID_MAIN), _deviceWriteImages.encryptedTarget,
                    Device::MEMORY_SIZE) != 0 ||
        std::memcmp(device->getMemoryBuffer(Device::MEMORY_ID_BACKUP), _deviceWriteImages.encryptedTarget,
                    Device::MEMORY_SIZE) != 0)
    {
        _showDeviceWriteErrorMessage(tr("Write error"), verificationFailedMessage());
    }
    else
    {
        // Done: nothing is kept of the source. After a failure it stays, for the next try.
        wipeMemory(_deviceWriteImages.decryptedSource, Device::MEMORY_SIZE);
        _copySourceMasterPassword.clear();
        _copyTargetMasterPassword.clear();
        viewPush(VIEW_ID_DEVICE_COPY_WIZARD_PAGE_4);
    }
    Device::releaseSelectedDevice();
}

// -------------------------------------------------------------------------------------------------
// Renaming

void FormContentEditor::_slotActionChangeDeviceNameTriggered(bool)
{
    if (!_isEditorActionAllowed(true))
        return;
    _pendingRequest = PENDING_REQUEST_CHANGE_DEVICE_NAME;
    if (_selectDevice() == 0)
        viewPush(VIEW_ID_CHANGE_DEVICE_NAME);
}

void FormContentEditor::_slotViewContentChangeDeviceNameNameChanged(int result)
{
    if (result == 0)
        viewPushMessageBoxDialog(
            ViewContentMessageBoxDialog::ICON_SUCCESS, tr("Success", "Device name change"),
            tr("Device name was successfully changed."), ViewContentMessageBoxDialog::BUTTON_OK,
            ViewContentMessageBoxDialog::BUTTON_OK);
    else if (result == -2)
        _showDeviceWriteErrorMessage(
            tr("Name too long"),
            tr("Device name is limited to %1 ASCII characters (some UTF-8 characters can use several ASCII "
               "characters).\nPlease retry with a shorter name.")
                .arg(Device::NAME_SIZE));
    else
        _showDeviceWriteErrorMessage(tr("Error"), tr("Could not write the device name."));
}
