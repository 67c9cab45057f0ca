#include "DeviceBackgroundRead.h"

namespace
{
// Longest time a tick spends taking in bytes: well under a frame, so typing never stutters.
constexpr int RECEIVE_SLICE_MS = 8;
} // namespace

DeviceBackgroundRead::DeviceBackgroundRead(QObject* parent) : QObject(parent)
{
    _timer.setInterval(0);
    connect(&_timer, &QTimer::timeout, this, &DeviceBackgroundRead::_slotTimerTimeout);
}

void DeviceBackgroundRead::start(Device::MemoryId memoryId)
{
    _device = Device::getSelectedDevice();
    _deviceUsbSerialNumber = _device != nullptr ? _device->getUsbSerialNumber() : QString();
    _memoryId = memoryId;
    _step = 0;
    _timer.start();
}

void DeviceBackgroundRead::_finish(int result)
{
    _timer.stop();
    _device = nullptr;
    emit finished(result);
}

void DeviceBackgroundRead::_slotTimerTimeout()
{
    Device* device = Device::getSelectedDevice();
    if (_device == nullptr || device != _device || device->getUsbSerialNumber() != _deviceUsbSerialNumber)
    {
        _finish(-4);
        return;
    }

    switch (_step)
    {
    case 0:
        if (device->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_ACCESS) != 0)
            _finish(-1);
        else if (device->startReadWholeMemory(_memoryId) != 0)
            _finish(-2);
        else
            _step = 1;
        break;
    case 1:
    {
        const int result = device->continueReadWholeMemory(RECEIVE_SLICE_MS);
        emit progressed(device->getReceivedByteCount());
        if (result < 0)
            _finish(-2);
        else if (result == 0)
            _step = 2;
        break;
    }
    default:
        _finish(device->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_IDLE) != 0 ? -3 : 0);
        break;
    }
}
