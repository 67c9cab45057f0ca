// Backup files in the main window: the opened device's two images saved to a file, a backup file
// opened like a device (its records then save to whichever device the user picks, which is how a
// backup is restored), and the automatic backup that every verified save leaves behind.
#include "FormContentEditor.h"
#include "ui_FormContentEditor.h"

#include "Configuration.h"
#include "MemoryImage.h"
#include "ViewContentInsertReadingMasterPassword.h"
#include "ViewContentStartMenu.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

void FormContentEditor::_initializeBackup()
{
    connect(ui->actionBackUpToFile, &QAction::triggered, this,
            &FormContentEditor::_slotActionBackUpToFileTriggered);
    connect(ui->actionOpenBackupFile, &QAction::triggered, this,
            &FormContentEditor::_slotActionOpenBackupFileTriggered);
    connect(static_cast<ViewContentStartMenu*>(viewGetContent(VIEW_ID_START_MENU)),
            &ViewContentStartMenu::openBackupFileClicked, this,
            &FormContentEditor::_slotViewStartMenuOpenBackupFileClicked);
}

namespace
{
// Hardware high, low, firmware high, low; zeros when the device does not say.
void readVersions(Device* device, int versions[4])
{
    int hardwareVersion = 0;
    int firmwareVersion = 0;
    if (device->readVersionsInformation(hardwareVersion, firmwareVersion) != 0)
        hardwareVersion = firmwareVersion = 0;
    versions[0] = hardwareVersion >> 8;
    versions[1] = hardwareVersion & 0xFF;
    versions[2] = firmwareVersion >> 8;
    versions[3] = firmwareVersion & 0xFF;
}

QByteArray imageBytes(const unsigned char* image)
{
    return QByteArray(reinterpret_cast<const char*>(image), BackupFile::IMAGE_SIZE);
}
} // namespace

void FormContentEditor::_rememberShownDeviceImages(const unsigned char* mainImage,
                                                   const unsigned char* backupImage)
{
    Device* device = Device::getSelectedDevice();
    _shownDeviceImages.name = device->getName();
    _shownDeviceImages.serial = device->getUsbSerialNumber();
    readVersions(device, _shownDeviceImages.versions);
    _shownDeviceImages.mainImage = imageBytes(mainImage);
    _shownDeviceImages.backupImage = imageBytes(backupImage);
    _updateLockControls();
}

void FormContentEditor::_forgetShownDeviceImages()
{
    _shownDeviceImages = BackupFile::Content();
}

bool FormContentEditor::_isShownDeviceImagesKnown() const
{
    return !_shownDeviceImages.mainImage.isEmpty();
}

void FormContentEditor::_updateWindowTitle()
{
    if (_shownBackupFileName.isEmpty())
        setWindowTitle(_isUnsavedDataPresent ? tr("Pavisor Key Manager [unsaved data]")
                                             : tr("Pavisor Key Manager"));
    else
        setWindowTitle((_isUnsavedDataPresent ? tr("Pavisor Key Manager - %1 [unsaved data]")
                                              : tr("Pavisor Key Manager - %1"))
                           .arg(QFileInfo(_shownBackupFileName).fileName()));
}

// -------------------------------------------------------------------------------------------------
// Backing the opened device up

void FormContentEditor::_slotActionBackUpToFileTriggered(bool)
{
    if (!_isDeviceActionAllowed(false) || !_isShownDeviceImagesKnown())
        return;
    const QString deviceName =
        _shownDeviceImages.name.isEmpty() ? _shownDeviceImages.serial : _shownDeviceImages.name;
    QString proposedName = deviceName + QLatin1Char(' ') +
                           QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd")) +
                           QLatin1Char('.') + QLatin1String(BackupFile::FILE_SUFFIX);
    proposedName.replace(QLatin1Char('/'), QLatin1Char('_'));
    QFileDialog dialog(this, tr("Back up to file"), QDir(_lastBackupDirectory).filePath(proposedName),
                       BackupFile::fileDialogFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QLatin1String(BackupFile::FILE_SUFFIX));
    // A lock that landed meanwhile has rejected the dialog.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty() ||
        !_isEditorActionAllowed(false))
        return;
    const QString fileName = dialog.selectedFiles().constFirst();
    _lastBackupDirectory = QFileInfo(fileName).absolutePath();

    BackupFile::Content content = _shownDeviceImages;
    content.created = QDateTime::currentDateTimeUtc();
    QString errorText;
    if (BackupFile::write(fileName, content, errorText) != 0)
    {
        viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_ERROR, tr("Error"),
                                 tr("Could not write the backup file '%1' (%2).").arg(fileName, errorText),
                                 ViewContentMessageBoxDialog::BUTTON_OK,
                                 ViewContentMessageBoxDialog::BUTTON_OK);
        return;
    }
    viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_SUCCESS, tr("Backup written"),
                             tr("The device '%1' was backed up to the file '%2'.\nThe file opens with the "
                                "device's master password.")
                                 .arg(deviceName, fileName),
                             ViewContentMessageBoxDialog::BUTTON_OK, ViewContentMessageBoxDialog::BUTTON_OK);
}

// -------------------------------------------------------------------------------------------------
// Opening a backup file

void FormContentEditor::_slotActionOpenBackupFileTriggered(bool)
{
    if (!_isDeviceActionAllowed(true) ||
        _askReplacingUnsavedData(
            PENDING_REQUEST_OPEN_BACKUP_FILE_CONFIRM_UNSAVED_DATA, tr("Opening a backup file"),
            tr("You have made some modifications to the currently displayed data without saving them.\nDo "
               "you confirm overwriting such unsaved data with the content of the backup file?")))
        return;
    _openBackupFileAskFile();
}

void FormContentEditor::_slotViewStartMenuOpenBackupFileClicked()
{
    if (_isDeviceBusy())
        return;
    _openBackupFileAskFile();
}

void FormContentEditor::_handleMessageBoxAnswerForOpenBackupFile(ViewContentMessageBoxDialog::Button button)
{
    if (button != ViewContentMessageBoxDialog::BUTTON_YES || _isDeviceBusy())
        return;
    _openBackupFileAskFile();
}

void FormContentEditor::_openBackupFileAskFile()
{
    const ViewId page = viewGetCurrent();
    QFileDialog dialog(this, tr("Open backup file"), _lastBackupDirectory, BackupFile::fileDialogFilter());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // A lock that landed meanwhile has rejected the dialog; the page must still be the one it came from.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty() || viewGetCurrent() != page)
        return;
    const QString fileName = dialog.selectedFiles().constFirst();
    _lastBackupDirectory = QFileInfo(fileName).absolutePath();

    QString errorText;
    if (BackupFile::read(fileName, &_openingBackupFile, errorText) != 0)
    {
        viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_ERROR, tr("Error"),
                                 tr("Could not open the backup file '%1'.\n%2").arg(fileName, errorText),
                                 ViewContentMessageBoxDialog::BUTTON_OK,
                                 ViewContentMessageBoxDialog::BUTTON_OK);
        return;
    }
    _openingBackupFileName = fileName;
    _pendingRequest = PENDING_REQUEST_OPEN_BACKUP_FILE;
    viewPush(VIEW_ID_INSERT_READING_MASTER_PASSWORD);
}

void FormContentEditor::_openBackupFileWithCandidatePassword()
{
    MemoryImage::PlaintextBuffer plaintext;
    Device::MemoryId openedMemory = Device::MEMORY_ID_MAIN;
    DeviceMemoryHealth::Memories health;
    const int result =
        _openMemoryImages(_candidateMasterPassword,
                          reinterpret_cast<const unsigned char*>(_openingBackupFile.mainImage.constData()),
                          reinterpret_cast<const unsigned char*>(_openingBackupFile.backupImage.constData()),
                          plaintext.get(), &openedMemory, &health);
    const QString fileName = _openingBackupFileName;
    _openingBackupFile = BackupFile::Content();
    _openingBackupFileName.clear();
    if (result != 0)
    {
        // A wrong password changes nothing: the previous password, records and flags stay.
        _forgetCandidateMasterPassword();
        if (result == 1)
            viewPushMessageBoxDialog(
                ViewContentMessageBoxDialog::ICON_ERROR, tr("Error"),
                tr("Failed to decrypt data. Make sure you provided the correct password."),
                ViewContentMessageBoxDialog::BUTTON_OK, ViewContentMessageBoxDialog::BUTTON_OK);
        return;
    }
    _adoptCandidateMasterPassword();
    _showDecryptedImage(plaintext.get());
    _shownBackupFileName = fileName;
    _updateWindowTitle();
}

// -------------------------------------------------------------------------------------------------
// After a verified save

QString FormContentEditor::_keepSavedImages(const unsigned char* mainImage, const unsigned char* backupImage)
{
    // The records shown are now those of the device: a file they came from is no longer their source.
    _shownBackupFileName.clear();
    _rememberShownDeviceImages(mainImage, backupImage);
    _updateWindowTitle();
    if (!Configuration::isAutomaticBackupEnabled())
        return QString();

    BackupFile::Content content = _shownDeviceImages;
    content.created = QDateTime::currentDateTimeUtc();
    QString errorText;
    if (BackupFile::writeAutomatic(Configuration::getDataFolder(), content, errorText) != 0)
        return errorText;
    return QString();
}
