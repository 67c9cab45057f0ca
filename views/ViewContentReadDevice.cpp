#include "ViewContentReadDevice.h"
#include "ui_ViewContentReadDevice.h"

#include "Device.h"

ViewContentReadDevice::ViewContentReadDevice(QWidget* parent)
    : ViewContentDeviceAccess(parent), ui(new Ui::ViewContentReadDevice)
{
    ui->setupUi(this);
    // One unit per memory.
    _setUpProgressWidgets(ui->labelDeviceName, ui->progressBar, 2);
}

ViewContentReadDevice::~ViewContentReadDevice()
{
    delete ui;
}

void ViewContentReadDevice::_runStep(Device* device)
{
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
            _advanceProgress();
            _step = 2;
        }
        break;
    case 2:
        if (device->readWholeMemory(Device::MEMORY_ID_BACKUP) != 0)
            _finish(-3);
        else
        {
            _advanceProgress();
            _step = 3;
        }
        break;
    default:
        _finish(device->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_IDLE) != 0 ? -4 : 0);
        break;
    }
}
