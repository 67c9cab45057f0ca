#include "ViewContentDeviceAccess.h"

#include "Device.h"
#include "FormContentEditor.h"

#include <QLabel>
#include <QProgressBar>

ViewContentDeviceAccess::ViewContentDeviceAccess(QWidget* parent) : ViewContentBase(parent)
{
    _timerDeviceAccess.setInterval(0);
    connect(&_timerDeviceAccess, &QTimer::timeout, this,
            &ViewContentDeviceAccess::_slotDeviceAccessTimerTimeout);
}

void ViewContentDeviceAccess::_setUpProgressWidgets(QLabel* labelDeviceName, QProgressBar* progressBar,
                                                    int unitsPerMemory)
{
    _labelDeviceName = labelDeviceName;
    _progressBar = progressBar;
    _unitsPerMemory = unitsPerMemory;
}

void ViewContentDeviceAccess::enterView()
{
    _runMemories = _nextRunMemories;
    _nextRunMemories = MEMORIES_BOTH;
    const int memoryCount = _runMemories == MEMORIES_BOTH ? 2 : 1;
    _progressBar->setRange(0, memoryCount * _unitsPerMemory);
    _progressBar->setValue(0);
    _device = Device::getSelectedDevice();
    _deviceUsbSerialNumber = _device != nullptr ? _device->getUsbSerialNumber() : QString();
    _labelDeviceName->setText(tr("Device name: %1").arg(_device != nullptr ? _device->getName() : QString()));
    _step = 0;
    _timerDeviceAccess.start(0);
}

void ViewContentDeviceAccess::exitView()
{
    _timerDeviceAccess.stop();
}

int ViewContentDeviceAccess::_progressOffset(int memoryId) const
{
    return memoryId == Device::MEMORY_ID_BACKUP && _isMemoryIncluded(Device::MEMORY_ID_MAIN) ? _unitsPerMemory
                                                                                             : 0;
}

void ViewContentDeviceAccess::_finish(int result)
{
    _timerDeviceAccess.stop();
    _device = nullptr;
    // Only this page leaves: a locked page that came over it during the run stays on top.
    pointerFormContentEditor->viewPopPage(this);
    _emitFinished(result);
}

void ViewContentDeviceAccess::_advanceProgress()
{
    _progressBar->setValue(_progressBar->value() + 1);
}

void ViewContentDeviceAccess::_setProgress(int value)
{
    _progressBar->setValue(value);
}

void ViewContentDeviceAccess::_slotDeviceAccessTimerTimeout()
{
    // The workflows select a device before pushing the page; without one, the first command fails.
    Device* device = Device::getSelectedDevice();
    if (_device == nullptr)
        _finish(-1);
    else if (device != _device || device->getUsbSerialNumber() != _deviceUsbSerialNumber)
        _finish(RESULT_DEVICE_CHANGED);
    else
        _runStep(device);
}
