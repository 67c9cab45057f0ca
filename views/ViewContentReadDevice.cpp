#include "ViewContentReadDevice.h"
#include "ui_ViewContentReadDevice.h"

#include "Device.h"
#include "FormContentEditor.h"

ViewContentReadDevice::ViewContentReadDevice(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentReadDevice)
{
    ui->setupUi(this);
    ui->progressBar->setRange(0, 2);
    _timerDeviceAccess.setInterval(0);
    connect(&_timerDeviceAccess, &QTimer::timeout, this,
            &ViewContentReadDevice::_slotDeviceAccessTimerTimeout);
}

ViewContentReadDevice::~ViewContentReadDevice()
{
    delete ui;
}

void ViewContentReadDevice::enterView()
{
    ui->progressBar->setValue(0);
    Device* device = Device::getSelectedDevice();
    ui->labelDeviceName->setText(
        tr("Device name: %1").arg(device != nullptr ? device->getName() : QString()));
    _step = 0;
    _timerDeviceAccess.start(0);
}

void ViewContentReadDevice::exitView()
{
    _timerDeviceAccess.stop();
}

void ViewContentReadDevice::_finish(int result)
{
    // The page is gone before the main window hears the result.
    _timerDeviceAccess.stop();
    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
    emit readFinished(result);
}

void ViewContentReadDevice::_slotDeviceAccessTimerTimeout()
{
    Device* device = Device::getSelectedDevice();
    if (device == nullptr)
    {
        _finish(-1);
        return;
    }

    switch (_step)
    {
    case 0:
        if (device->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_ACCESS) != 0)
            _finish(-1);
        else
            _step = 1;
        break;
    case 1:
        if (device->readWholeMemory(Device::MEMORY_ID_MAIN) != 0)
            _finish(-2);
        else
        {
            ui->progressBar->setValue(1);
            _step = 2;
        }
        break;
    case 2:
        if (device->readWholeMemory(Device::MEMORY_ID_BACKUP) != 0)
            _finish(-3);
        else
        {
            ui->progressBar->setValue(2);
            _step = 3;
        }
        break;
    default:
        _finish(device->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_IDLE) != 0 ? -4 : 0);
        break;
    }
}
