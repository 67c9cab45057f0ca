// Device write workflows of the main window: save, erase, device-to-device copy and rename.
//
// Saving and copying prepare the image to write and hand it to the write road
// (FormContentEditorWriteRoad.cpp), which makes the device safe to write, then writes the main
// memory in full and the backup memory after it; a full read of both follows, compared byte for
// byte with what was meant to be written. Erasing writes zeros directly: it is meant to destroy.
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

#include <QCoreApplication>
#include <QDate>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QStatusBar>
#include <QTimer>
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

} // namespace

QString FormContentEditor::_verificationFailedMessage()
{
    return tr("Data could not be successfully written. Please retry.\nConsider changing the "
              "device if this error is still occurring.");
}

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
    connect(ui->pushButtonWriteDevice, &QToolButton::clicked, this,
            &FormContentEditor::_slotPushButtonWriteDeviceClicked);
    // The status area is there while it has something to say.
    connect(statusBar(), &QStatusBar::messageChanged, this,
            [this](const QString& message)
            {
                if (message.isEmpty() && !_isBackgroundReadShown)
                    statusBar()->hide();
            });
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
    // Leaving the wizard's password pages, by Cancel or Previous, leaves nothing of the source behind.
    connect(static_cast<ViewContentDeviceCopyWizardPage2*>(viewGetContent(VIEW_ID_DEVICE_COPY_WIZARD_PAGE_2)),
            &ViewContentDeviceCopyWizardPage2::wizardPageLeft, this, &FormContentEditor::_slotCopyWizardLeft);
    connect(static_cast<ViewContentDeviceCopyWizardPage3*>(viewGetContent(VIEW_ID_DEVICE_COPY_WIZARD_PAGE_3)),
            &ViewContentDeviceCopyWizardPage3::wizardPageLeft, this, &FormContentEditor::_slotCopyWizardLeft);
    connect(static_cast<ViewContentChangeDeviceName*>(viewGetContent(VIEW_ID_CHANGE_DEVICE_NAME)),
            &ViewContentChangeDeviceName::nameChanged, this,
            &FormContentEditor::_slotViewContentChangeDeviceNameNameChanged);
}

bool FormContentEditor::isDeviceWriteRunning() const
{
    return static_cast<ViewContentWriteDevice*>(viewGetContent(VIEW_ID_WRITE_DEVICE))->isRunning();
}

void FormContentEditor::quitWhenDeviceIdle()
{
    if (!isDeviceWriteRunning())
    {
        QCoreApplication::exit(0);
        return;
    }
    _isQuitRequested = true;
    QMessageBox::information(this, tr("Device being written"),
                             tr("A device is being written: the application will quit as soon as the write "
                                "has ended."),
                             QMessageBox::Ok);
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
    if (!_isDeviceActionAllowed(false))
        return;
    // A plain save writes under the master password of the records.
    _forgetCandidateMasterPassword();
    _startSaveDevice();
}

void FormContentEditor::_slotPushButtonWriteDeviceClicked()
{
    // Records that have no master password yet can only be saved under a new one.
    QAction* action = _pointerActionWriteDevice->isEnabled() ? _pointerActionWriteDevice
                                                             : _pointerActionChangePasswordThenWriteDevice;
    if (action->isEnabled())
        action->trigger();
}

void FormContentEditor::_showStatusNotice(const QString& text)
{
    statusBar()->showMessage(text, STATUS_NOTICE_DURATION_MS);
    statusBar()->show();
}

void FormContentEditor::_startSaveDevice()
{
    // The notice of a previous save does not stand for this one.
    statusBar()->clearMessage();
    _pendingRequest = PENDING_REQUEST_SAVE_DEVICE_CONFIRMATION;
    if (_selectDevice() == 0)
        _handleDeviceWriteRequestAskConfirmation();
}

void FormContentEditor::_slotActionChangePasswordThenWriteDeviceTriggered()
{
    if (!_isDeviceActionAllowed(false))
        return;
    viewPush(VIEW_ID_INSERT_WRITING_MASTER_PASSWORD);
}

void FormContentEditor::_slotViewContentInsertWritingMasterPasswordInsertionFinished(bool isConfirmed,
                                                                                     QString password)
{
    // The new password becomes the master password once a save under it has been verified.
    if (!_acceptMasterPasswordAnswer(isConfirmed, password))
        return;
    if (_isDeviceBusy())
    {
        _forgetCandidateMasterPassword();
        return;
    }
    _isSaveUnderCandidatePassword = true;
    _startSaveDevice();
}

void FormContentEditor::_handleDeviceWriteRequestAskConfirmation()
{
    // The buttons say what they do, and Return saves: the question is there to name the device.
    viewPushMessageBoxDialog(
        ViewContentMessageBoxDialog::ICON_QUESTION, tr("Confirm saving device"),
        tr("Save changes to the device '%1'?\nAll device current data will be overwritten.")
            .arg(Device::getSelectedDevice()->getName()),
        ViewContentMessageBoxDialog::BUTTON_YES | ViewContentMessageBoxDialog::BUTTON_NO,
        ViewContentMessageBoxDialog::BUTTON_YES);
    auto* dialog = static_cast<ViewContentMessageBoxDialog*>(viewGetContent(VIEW_ID_MESSAGE_BOX_DIALOG));
    dialog->setButtonText(ViewContentMessageBoxDialog::BUTTON_YES, tr("Save"));
    dialog->setButtonText(ViewContentMessageBoxDialog::BUTTON_NO, tr("Cancel"));
}

void FormContentEditor::_handleMessageBoxAnswerForSaveDevice(ViewContentMessageBoxDialog::Button button)
{
    if (button == ViewContentMessageBoxDialog::BUTTON_YES)
        return _handleDeviceWriteRequestForSaveDevice();
    _forgetCandidateMasterPassword();
    Device::releaseSelectedDevice();
}

void FormContentEditor::_handleDeviceWriteRequestForSaveDevice()
{
    _pendingRequest = PENDING_REQUEST_SAVE_DEVICE_VERIFICATION;
    unsigned char* image = _deviceWriteImages.lastWrittenMain;
    const QString& password = _isSaveUnderCandidatePassword ? _candidateMasterPassword : _masterPassword;

    // Random bytes under and after the store: the space the store leaves free tells nothing, and
    // two saves of the same content never write the same plaintext.
    QRandomGenerator* generator = QRandomGenerator::global();
    for (int offset = 0; offset < Device::MEMORY_SIZE; offset += 4)
    {
        const quint32 value = generator->generate();
        std::memcpy(image + offset, &value, sizeof(value));
    }

    const auto fail = [this, image](const QString& message)
    {
        wipeMemory(image, Device::MEMORY_SIZE);
        _showDeviceWriteErrorMessage(tr("Error"), message);
        _forgetCandidateMasterPassword();
        Device::releaseSelectedDevice();
    };
    if (_encodePasswordsToMemoryFormat(image) < 0)
        return fail(tr("There is not enough room in device memory. Please remove some passwords."));
    if (Security::encryptMemoryData(password, Security::ENCRYPTION_SCHEME_ID_WRITTEN, image) != 0)
        return fail(tr("Failed to encrypt data, aborting."));

    std::memcpy(_deviceWriteImages.lastWrittenBackup, image, Device::MEMORY_SIZE);
    _startWriteRoad(image, {password});
}

void FormContentEditor::_slotViewContentWriteDeviceWriteFinished(int code)
{
    if (_isQuitRequested)
    {
        // The locked page's Quit waited for this write: nothing more is started.
        _writeRoadStep = WRITE_ROAD_IDLE;
        Device::releaseSelectedDevice();
        QTimer::singleShot(0, qApp, []() { QCoreApplication::exit(0); });
        return;
    }
    if (_handleWriteRoadWriteFinished(code))
        return;
    // The device stays selected: the verification read works on it.
    if (code == 0)
    {
        viewPush(VIEW_ID_READ_DEVICE);
        return;
    }

    // Whatever the failed run selected may now hold part of an image.
    _deviceMemoryHealth.forgetWrittenMemories(
        _selectedDeviceUsbSerialNumber(),
        static_cast<ViewContentWriteDevice*>(viewGetContent(VIEW_ID_WRITE_DEVICE))->touchedMemories());

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
    _showDeviceRunError(code, message);
    _forgetCandidateMasterPassword();
    if (_pendingRequest == PENDING_REQUEST_COPY_DEVICE_TARGET)
        _leaveCopyWizardAfterFailure();
    Device::releaseSelectedDevice();
}

bool FormContentEditor::_verifyWrittenMemories(const unsigned char* mainImage,
                                               const unsigned char* backupImage)
{
    Device* device = Device::getSelectedDevice();
    const bool isMainWritten =
        std::memcmp(device->getMemoryBuffer(Device::MEMORY_ID_MAIN), mainImage, Device::MEMORY_SIZE) == 0;
    const bool isBackupWritten =
        std::memcmp(device->getMemoryBuffer(Device::MEMORY_ID_BACKUP), backupImage, Device::MEMORY_SIZE) == 0;
    DeviceMemoryHealth::Memories health;
    health.main = isMainWritten ? DeviceMemoryHealth::STATE_OPENS : DeviceMemoryHealth::STATE_NOT_READ;
    health.backup = isBackupWritten ? DeviceMemoryHealth::STATE_OPENS : DeviceMemoryHealth::STATE_NOT_READ;
    health.areEqual =
        isMainWritten && isBackupWritten && std::memcmp(mainImage, backupImage, Device::MEMORY_SIZE) == 0;
    _deviceMemoryHealth.set(device->getUsbSerialNumber(), health);
    if (!isMainWritten || !isBackupWritten)
        _showDeviceWriteErrorMessage(tr("Write error"), _verificationFailedMessage());
    return isMainWritten && isBackupWritten;
}

void FormContentEditor::_handleDeviceReadRequestForVerifyAfterWrite()
{
    // The unsaved-data flag stays after a difference: what the editor shows is not known to be on
    // the device, and a new password is adopted only once the device holds what it encrypted.
    if (!_verifyWrittenMemories(_deviceWriteImages.lastWrittenMain, _deviceWriteImages.lastWrittenBackup))
        _forgetCandidateMasterPassword();
    else
    {
        if (_isSaveUnderCandidatePassword)
            _adoptCandidateMasterPassword();
        _setUnsavedDataPresent(false);
        // A backup that cannot be written does not undo a save that has been verified.
        const QString backupErrorText =
            _keepSavedImages(_deviceWriteImages.lastWrittenMain, _deviceWriteImages.lastWrittenBackup);
        const QString text =
            tr("All data were successfully written.\nYou can safely remove the device if you want.");
        // Success needs no answer; a missing backup file keeps its page, to be read.
        if (backupErrorText.isEmpty())
            _showStatusNotice(tr("All data were saved to the device '%1' and checked. You can safely "
                                 "remove the device.")
                                  .arg(Device::getSelectedDevice()->getName()));
        else
            viewPushMessageBoxDialog(
                ViewContentMessageBoxDialog::ICON_INFORMATION, tr("Write success"),
                text + QStringLiteral("\n\n") +
                    tr("The automatic backup file of this save could not be written (%1).")
                        .arg(backupErrorText),
                ViewContentMessageBoxDialog::BUTTON_OK, ViewContentMessageBoxDialog::BUTTON_OK);
    }
    Device::releaseSelectedDevice();
}

// -------------------------------------------------------------------------------------------------
// Erasing

void FormContentEditor::_slotActionEraseDeviceTriggered(bool)
{
    if (!_isDeviceActionAllowed(true))
        return;
    _pendingRequest = PENDING_REQUEST_ERASE_DEVICE;
    viewPush(VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_1);
}

void FormContentEditor::_slotViewContentDeviceErasingWizardErasingConfirmed(bool isDeviceNameResetRequested)
{
    if (_isDeviceBusy())
        return;
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
    DeviceMemoryHealth::Memories health;
    health.main = health.backup = DeviceMemoryHealth::STATE_EMPTY;
    health.areEqual = true;
    _deviceMemoryHealth.set(device->getUsbSerialNumber(), health);
    // Whatever the erase left, the device no longer holds the images a backup would take.
    if (_shownDeviceImages.serial == device->getUsbSerialNumber())
        _forgetShownDeviceImages();
    if (!isAllZero(device->getMemoryBuffer(Device::MEMORY_ID_MAIN)) ||
        !isAllZero(device->getMemoryBuffer(Device::MEMORY_ID_BACKUP)))
    {
        _deviceMemoryHealth.set(device->getUsbSerialNumber(), DeviceMemoryHealth::Memories());
        viewPop(VIEW_ID_PREVIOUS);
        _showDeviceWriteErrorMessage(tr("Write error"), _verificationFailedMessage());
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
    if (!_isDeviceActionAllowed(true))
        return;
    _wipeCopySecrets();
    viewPush(VIEW_ID_DEVICE_COPY_WIZARD_PAGE_1);
}

void FormContentEditor::_wipeCopySecrets()
{
    wipeMemory(_deviceWriteImages.decryptedSource, Device::MEMORY_SIZE);
    wipeMemory(_deviceWriteImages.encryptedTarget, Device::MEMORY_SIZE);
    for (QString* password : {&_copySourceMasterPassword, &_copyTargetMasterPassword})
    {
        password->fill(QChar(0));
        password->clear();
    }
    _copySourceDeviceName.clear();
    _copySourceUsbSerialNumber.clear();
}

void FormContentEditor::_slotCopyWizardLeft()
{
    _wipeCopySecrets();
}

void FormContentEditor::_leaveCopyWizardAfterFailure()
{
    // Nothing of the source is kept after a failure: a new try reads it again.
    _wipeCopySecrets();
    viewPop(VIEW_ID_DEVICE_COPY_WIZARD_PAGE_2);
}

void FormContentEditor::_slotViewContentDeviceCopyWizardSourceDevicePasswordInserted(QString password)
{
    if (_isDeviceBusy())
        return;
    _wipeCopySecrets();
    _copySourceMasterPassword = password;
    _pendingRequest = PENDING_REQUEST_COPY_DEVICE_SOURCE;
    if (_selectDevice() == 0)
        viewPush(VIEW_ID_READ_DEVICE);
}

void FormContentEditor::_handleDeviceReadRequestForCopyWizardSourceDevice()
{
    // Same memory choice and schemes as opening; its errors leave the wizard on the password page.
    Device::MemoryId openedMemory = Device::MEMORY_ID_MAIN;
    if (_openSelectedDeviceMemories(_copySourceMasterPassword, _deviceWriteImages.decryptedSource,
                                    &openedMemory) == 0)
    {
        Device* device = Device::getSelectedDevice();
        _copySourceDeviceName = device->getName();
        _copySourceUsbSerialNumber = device->getUsbSerialNumber();
        viewPush(VIEW_ID_DEVICE_COPY_WIZARD_PAGE_3);
    }
    Device::releaseSelectedDevice();
}

void FormContentEditor::_slotViewContentDeviceCopyWizardTargetDevicePasswordInserted(QString password)
{
    if (_isDeviceBusy())
        return;
    _copyTargetMasterPassword = password.isEmpty() ? _copySourceMasterPassword : password;
    _pendingRequest = PENDING_REQUEST_COPY_DEVICE_TARGET;
    if (_selectDevice() == 0)
        _handleDeviceWriteRequestForCopyDevice();
}

void FormContentEditor::_handleDeviceWriteRequestForCopyDevice()
{
    Device* device = Device::getSelectedDevice();
    // The source is known by its USB serial number: names are often equal ("No name defined").
    if (_copySourceUsbSerialNumber.isEmpty())
    {
        _showDeviceWriteErrorMessage(tr("Error"),
                                     tr("The source device content is no longer held. Please read the source "
                                        "device again."));
        Device::releaseSelectedDevice();
        _leaveCopyWizardAfterFailure();
        return;
    }
    if (device->getUsbSerialNumber() == _copySourceUsbSerialNumber)
    {
        _showDeviceWriteErrorMessage(tr("Error"),
                                     tr("The selected device is the source device (USB serial number %1): a "
                                        "device cannot be copied onto itself.\nPlug in the target device, "
                                        "select it, then retry.")
                                         .arg(_copySourceUsbSerialNumber));
        Device::releaseSelectedDevice();
        return;
    }

    const QString passwordComparison = _copyTargetMasterPassword == _copySourceMasterPassword
                                           ? tr("identical", "master password for device copy wizard")
                                           : tr("different", "master password for device copy wizard");
    QString sourceName = _copySourceDeviceName.toHtmlEscaped();
    QString targetName = device->getName().toHtmlEscaped();
    if (_copySourceDeviceName == device->getName())
    {
        sourceName += QStringLiteral(" (%1)").arg(_copySourceUsbSerialNumber.toHtmlEscaped());
        targetName += QStringLiteral(" (%1)").arg(device->getUsbSerialNumber().toHtmlEscaped());
    }
    // The last chance to notice that the target is the wrong device: it is named here.
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, tr("Confirmation"),
                              tr("Please confirm the device duplication settings.<br /><br />Source device "
                                 "name: <b>%1</b><br />Target "
                                 "device name: <b>%2</b><br />Source and target devices master password are "
                                 "<b>%3</b>.<br /><br />Do "
                                 "you want to continue?")
                                  .arg(sourceName, targetName, passwordComparison),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    // The lock may have answered, and a device may have changed hands meanwhile.
    if (answer != QMessageBox::Yes || Device::getSelectedDevice() != device)
    {
        Device::releaseSelectedDevice();
        return;
    }

    // The source's plaintext image is re-encrypted as it is: not parsed, not re-encoded.
    std::memcpy(_deviceWriteImages.encryptedTarget, _deviceWriteImages.decryptedSource, Device::MEMORY_SIZE);
    if (Security::encryptMemoryData(_copyTargetMasterPassword, Security::ENCRYPTION_SCHEME_ID_WRITTEN,
                                    _deviceWriteImages.encryptedTarget) != 0)
    {
        _showDeviceWriteErrorMessage(tr("Error"), tr("Failed to encrypt data, aborting."));
        Device::releaseSelectedDevice();
        _leaveCopyWizardAfterFailure();
        return;
    }
    _startWriteRoad(_deviceWriteImages.encryptedTarget,
                    {_copyTargetMasterPassword, _copySourceMasterPassword});
}

void FormContentEditor::_handleDeviceReadRequestForCopyWizardTargetDevice()
{
    if (_verifyWrittenMemories(_deviceWriteImages.encryptedTarget, _deviceWriteImages.encryptedTarget))
        viewPush(VIEW_ID_DEVICE_COPY_WIZARD_PAGE_4);
    else
        _leaveCopyWizardAfterFailure();
    // Done either way: nothing is kept of the source.
    _wipeCopySecrets();
    Device::releaseSelectedDevice();
}

// -------------------------------------------------------------------------------------------------
// Renaming

void FormContentEditor::_slotActionChangeDeviceNameTriggered(bool)
{
    if (!_isDeviceActionAllowed(true))
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
