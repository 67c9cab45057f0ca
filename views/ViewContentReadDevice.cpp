#include "ViewContentReadDevice.h"
#include "ui_ViewContentReadDevice.h"

#include "Device.h"

namespace
{
// Longest time a tick spends taking in a memory before the window gets to repaint.
constexpr int RECEIVE_SLICE_MS = 20;
} // namespace

ViewContentReadDevice::ViewContentReadDevice(QWidget* parent)
    : ViewContentDeviceAccess(parent), ui(new Ui::ViewContentReadDevice)
{
    ui->setupUi(this);
    // One unit per byte: the bar moves with every USB packet that arrives.
    _setUpProgressWidgets(ui->labelDeviceName, ui->progressBar, Device::MEMORY_SIZE);
}

ViewContentReadDevice::~ViewContentReadDevice()
{
    delete ui;
}

void ViewContentReadDevice::_readMemoryStep(Device* device, int memoryIndex, bool isStarting)
{
    if (!_isMemoryIncluded(memoryIndex))
    {
        _step += 2;
        return;
    }
    const auto memoryId = static_cast<Device::MemoryId>(memoryIndex);
    const int failure = memoryId == Device::MEMORY_ID_MAIN ? -2 : -3;
    if (isStarting)
    {
        if (device->startReadWholeMemory(memoryId) != 0)
            _finish(failure);
        else
            _step++;
        return;
    }
    const int result = device->continueReadWholeMemory(RECEIVE_SLICE_MS);
    _setProgress(_progressOffset(memoryIndex) + device->getReceivedByteCount());
    if (result < 0)
        _finish(failure);
    else if (result == 0)
        _step++;
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
    case 2:
        _readMemoryStep(device, Device::MEMORY_ID_MAIN, _step == 1);
        break;
    case 3:
    case 4:
        _readMemoryStep(device, Device::MEMORY_ID_BACKUP, _step == 3);
        break;
    default:
        _finish(device->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_IDLE) != 0 ? -4 : 0);
        break;
    }
}
