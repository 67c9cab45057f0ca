#include "ViewContentWriteDevice.h"
#include "ui_ViewContentWriteDevice.h"

#include "Device.h"

ViewContentWriteDevice::ViewContentWriteDevice(QWidget* parent)
    : ViewContentDeviceAccess(parent), ui(new Ui::ViewContentWriteDevice)
{
    ui->setupUi(this);
    // One unit per page, two memories.
    _setUpProgressWidgets(ui->labelDeviceName, ui->progressBar, 2 * Device::MEMORY_PAGE_COUNT);
}

ViewContentWriteDevice::~ViewContentWriteDevice()
{
    delete ui;
}

void ViewContentWriteDevice::enterView()
{
    _page = 0;
    _pointerPageData = nullptr;
    ViewContentDeviceAccess::enterView();
}

void ViewContentWriteDevice::_startMemory(Device* device, Device::MemoryId memoryId)
{
    _page = 0;
    _pointerPageData = device->getMemoryBuffer(memoryId);
}

bool ViewContentWriteDevice::_writeNextPage(Device* device)
{
    if (device->writeSelectedMemoryPage(_page, _pointerPageData) != 0)
        return false;
    _page++;
    _pointerPageData += Device::MEMORY_PAGE_SIZE;
    _advanceProgress();
    return true;
}

void ViewContentWriteDevice::_runStep(Device* device)
{
    switch (_step)
    {
    case 0:
        if (device->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_ACCESS) != 0)
            _finish(-1);
        else if (device->selectMemory(Device::MEMORY_ID_MAIN) != 0)
            _finish(-3);
        else
        {
            _startMemory(device, Device::MEMORY_ID_MAIN);
            _step = 1;
        }
        break;
    case 1:
        if (_page < Device::MEMORY_PAGE_COUNT)
        {
            if (!_writeNextPage(device))
                _finish(-5);
        }
        else if (device->selectMemory(Device::MEMORY_ID_BACKUP) != 0)
            _finish(-4);
        else
        {
            _startMemory(device, Device::MEMORY_ID_BACKUP);
            _step = 2;
        }
        break;
    default:
        if (_page < Device::MEMORY_PAGE_COUNT)
        {
            if (!_writeNextPage(device))
                _finish(-6);
        }
        else
            _finish(device->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_IDLE) != 0 ? -2 : 0);
        break;
    }
}
