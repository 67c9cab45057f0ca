#include "ViewContentWriteDevice.h"
#include "ui_ViewContentWriteDevice.h"

#include "Device.h"

ViewContentWriteDevice::ViewContentWriteDevice(QWidget* parent)
    : ViewContentDeviceAccess(parent), ui(new Ui::ViewContentWriteDevice)
{
    ui->setupUi(this);
    // One unit per page.
    _setUpProgressWidgets(ui->labelDeviceName, ui->progressBar, Device::MEMORY_PAGE_COUNT);
}

ViewContentWriteDevice::~ViewContentWriteDevice()
{
    delete ui;
}

void ViewContentWriteDevice::enterView()
{
    _page = 0;
    _pointerPageData = nullptr;
    _touchedMemories = 0;
    ViewContentDeviceAccess::enterView();
}

bool ViewContentWriteDevice::_startMemory(Device* device, Device::MemoryId memoryId)
{
    // From its selection on, a memory may no longer hold what it held.
    _touchedMemories |= 1 << memoryId;
    _memoryId = memoryId;
    _page = 0;
    _pointerPageData = device->getMemoryBuffer(memoryId);
    if (device->selectMemory(memoryId) == 0)
        return true;
    _finish(memoryId == Device::MEMORY_ID_MAIN ? -3 : -4);
    return false;
}

void ViewContentWriteDevice::_runStep(Device* device)
{
    if (_step == 0)
    {
        if (device->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_ACCESS) != 0)
            _finish(-1);
        else if (_startMemory(device, _isMemoryIncluded(Device::MEMORY_ID_MAIN) ? Device::MEMORY_ID_MAIN
                                                                                : Device::MEMORY_ID_BACKUP))
            _step = 1;
        return;
    }

    if (_page < Device::MEMORY_PAGE_COUNT)
    {
        if (device->writeSelectedMemoryPage(_page, _pointerPageData) != 0)
        {
            _finish(_memoryId == Device::MEMORY_ID_MAIN ? -5 : -6);
            return;
        }
        _page++;
        _pointerPageData += Device::MEMORY_PAGE_SIZE;
        _advanceProgress();
        return;
    }

    // The main memory is complete before the backup memory is selected at all.
    if (_memoryId == Device::MEMORY_ID_MAIN && _isMemoryIncluded(Device::MEMORY_ID_BACKUP))
        _startMemory(device, Device::MEMORY_ID_BACKUP);
    else
        _finish(device->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_IDLE) != 0 ? -2 : 0);
}
