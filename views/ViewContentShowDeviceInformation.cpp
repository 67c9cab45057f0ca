#include "ViewContentShowDeviceInformation.h"
#include "ui_ViewContentShowDeviceInformation.h"

#include "Device.h"
#include "FormContentEditor.h"

ViewContentShowDeviceInformation::ViewContentShowDeviceInformation(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentShowDeviceInformation)
{
    ui->setupUi(this);
    connect(ui->pushButtonOk, &QPushButton::clicked, this,
            &ViewContentShowDeviceInformation::_slotPushButtonOkClicked);
}

ViewContentShowDeviceInformation::~ViewContentShowDeviceInformation()
{
    delete ui;
}

void ViewContentShowDeviceInformation::enterView()
{
    Device* device = Device::getSelectedDevice();
    ui->labelName->setText(device != nullptr ? device->getName() : QString());
    // What this session knows of each memory, from the reads and writes since the device was plugged in.
    const DeviceMemoryHealth::Memories health = pointerFormContentEditor->deviceMemoryHealth().get(
        device != nullptr ? device->getUsbSerialNumber() : QString());
    ui->labelMainMemory->setText(DeviceMemoryHealth::describe(health.main));
    ui->labelBackupMemory->setText(DeviceMemoryHealth::describe(health.backup));
    // Whatever is not read below keeps saying so.
    const QString error = tr("ERROR");
    ui->labelSerialNumber->setText(error);
    ui->labelHardwareVersion->setText(error);
    ui->labelFirmwareVersion->setText(error);

    QString serialNumber;
    if (device == nullptr || device->readSerialNumber(serialNumber) != 0)
    {
        _fail(tr("Could not retrieve the device serial number."));
        return;
    }
    ui->labelSerialNumber->setText(serialNumber);

    int hardwareVersion = 0;
    int firmwareVersion = 0;
    if (device->readVersionsInformation(hardwareVersion, firmwareVersion) != 0)
    {
        _fail(tr("Could not retrieve the device hardware and firmware versions."));
        return;
    }
    ui->labelHardwareVersion->setText(QString::number(hardwareVersion));
    ui->labelFirmwareVersion->setText(QString::number(firmwareVersion));
    Device::releaseSelectedDevice();
    ui->pushButtonOk->setFocus();
}

void ViewContentShowDeviceInformation::_fail(const QString& message)
{
    Device::releaseSelectedDevice();
    // Pushed on the next turn, so it comes over this page; closing it returns here.
    pointerFormContentEditor->viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_ERROR, tr("Error"),
                                                       message, ViewContentMessageBoxDialog::BUTTON_OK,
                                                       ViewContentMessageBoxDialog::BUTTON_OK);
}

void ViewContentShowDeviceInformation::_slotPushButtonOkClicked(bool)
{
    pointerFormContentEditor->viewPopPage(this);
}
