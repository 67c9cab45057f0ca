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
    _showLatencyTimer(device != nullptr ? device->getPortInfo().latencyTimerMs() : -1);
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

void ViewContentShowDeviceInformation::_showLatencyTimer(int latencyTimerMs)
{
    // Only where the system tells it (Linux sysfs); elsewhere the row is not shown at all.
    const bool isKnown = latencyTimerMs >= 0;
    ui->labelLatencyTimerCaption->setVisible(isKnown);
    ui->labelLatencyTimer->setVisible(isKnown);
    ui->labelLatencyTimer->setText(tr("%1 ms").arg(latencyTimerMs));
    // Every page write of a save waits for its acknowledge, which the bridge holds for this long: at the
    // default 16 ms that is about a third of a save.
    const bool isSlow = latencyTimerMs > 1;
    ui->labelLatencyTimerAdvice->setVisible(isSlow);
    if (!isSlow)
        return;
    const int waitSeconds = qRound(latencyTimerMs * Device::MEMORY_PAGE_COUNT * 2 / 1000.0);
    ui->labelLatencyTimerAdvice->setText(
        tr("Saving is slow on this computer: each of the %1 page writes of a save waits %2 ms for the USB "
           "adapter, about %3 s in all. The device access rule %4, installed with the application, sets the "
           "latency timer to 1 ms; once it is installed, unplug the device and plug it in again.")
            .arg(Device::MEMORY_PAGE_COUNT * 2)
            .arg(latencyTimerMs)
            .arg(waitSeconds)
            .arg(QStringLiteral(PAVISOR_UDEV_RULE_NAME)));
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
