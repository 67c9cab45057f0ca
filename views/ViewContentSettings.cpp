#include "ViewContentSettings.h"
#include "ui_ViewContentSettings.h"

#include "Configuration.h"
#include "FormContentEditor.h"

#include <QDir>

ViewContentSettings::ViewContentSettings(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentSettings)
{
    ui->setupUi(this);
    for (const auto& [spinBox, setting] : _getNumberSpinBoxes())
        spinBox->setRange(setting.minimum, setting.maximum);

    connect(ui->checkBoxApplicationAutoLocking, &QCheckBox::stateChanged, this,
            &ViewContentSettings::_slotCheckBoxApplicationAutoLockingStateChanged);
    connect(ui->checkBoxClipboardAutoClearing, &QCheckBox::stateChanged, this,
            &ViewContentSettings::_slotCheckBoxClipboardAutoClearingStateChanged);
    connect(ui->pushButtonSave, &QPushButton::clicked, this,
            &ViewContentSettings::_slotPushButtonSaveClicked);
    connect(ui->pushButtonCancel, &QPushButton::clicked, this,
            &ViewContentSettings::_slotPushButtonCancelClicked);
}

ViewContentSettings::~ViewContentSettings()
{
    delete ui;
}

void ViewContentSettings::enterView()
{
    QSettings* settings = Configuration::pointerSettings;
    ui->checkBoxNewApplicationVersionCheck->setChecked(
        settings == nullptr ||
        settings->value(Configuration::SETTINGS_KEY_IS_NEW_APPLICATION_VERSION_CHECK_ENABLED, true).toBool());
    ui->checkBoxApplicationAutoLocking->setChecked(
        settings != nullptr &&
        settings->value(Configuration::SETTINGS_KEY_IS_APPLICATION_AUTO_LOCKING_ENABLED, false).toBool());
    _slotCheckBoxApplicationAutoLockingStateChanged(ui->checkBoxApplicationAutoLocking->checkState());
    ui->checkBoxClipboardAutoClearing->setChecked(Configuration::isClipboardAutoClearingEnabled());
    _slotCheckBoxClipboardAutoClearingStateChanged(ui->checkBoxClipboardAutoClearing->checkState());
    for (const auto& [spinBox, setting] : _getNumberSpinBoxes())
        spinBox->setValue(Configuration::getNumber(setting));
    ui->checkBoxAutomaticBackup->setChecked(Configuration::isAutomaticBackupEnabled());
    ui->labelAutomaticBackupFolder->setText(
        tr("Folder: %1")
            .arg(QDir::toNativeSeparators(
                QDir(Configuration::getDataFolder()).filePath(QStringLiteral("backups")))));
    // The first setting, so that Return saves and Escape cancels as on every page.
    ui->checkBoxNewApplicationVersionCheck->setFocus();
}

QList<std::pair<QSpinBox*, Configuration::NumberSetting>> ViewContentSettings::_getNumberSpinBoxes()
{
    return {{ui->spinBoxApplicationAutoLocking, Configuration::APPLICATION_AUTO_LOCKING_DELAY_MINUTES},
            {ui->spinBoxClipboardAutoClearing, Configuration::CLIPBOARD_AUTO_CLEARING_DELAY_SECONDS}};
}

void ViewContentSettings::_slotCheckBoxApplicationAutoLockingStateChanged(int state)
{
    ui->widgetApplicationAutoLockingDelay->setEnabled(state == Qt::Checked);
}

void ViewContentSettings::_slotCheckBoxClipboardAutoClearingStateChanged(int state)
{
    ui->spinBoxClipboardAutoClearing->setEnabled(state == Qt::Checked);
}

void ViewContentSettings::_slotPushButtonSaveClicked(bool)
{
    // Every key every time, even unchanged: the store never holds a partial set of our own.
    if (QSettings* settings = Configuration::pointerSettings)
    {
        settings->setValue(Configuration::SETTINGS_KEY_IS_NEW_APPLICATION_VERSION_CHECK_ENABLED,
                           ui->checkBoxNewApplicationVersionCheck->isChecked());
        settings->setValue(Configuration::SETTINGS_KEY_IS_APPLICATION_AUTO_LOCKING_ENABLED,
                           ui->checkBoxApplicationAutoLocking->isChecked());
        settings->setValue(Configuration::SETTINGS_KEY_IS_CLIPBOARD_AUTO_CLEARING_ENABLED,
                           ui->checkBoxClipboardAutoClearing->isChecked());
        settings->setValue(Configuration::SETTINGS_KEY_IS_AUTOMATIC_BACKUP_ENABLED,
                           ui->checkBoxAutomaticBackup->isChecked());
        for (const auto& [spinBox, setting] : _getNumberSpinBoxes())
            settings->setValue(setting.key, spinBox->value());
        settings->sync();
    }
    pointerFormContentEditor->viewPopPage(this);
    emit configurationChanged();
}

void ViewContentSettings::_slotPushButtonCancelClicked(bool)
{
    pointerFormContentEditor->viewPopPage(this);
}
