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
                                                    int progressMaximum)
{
    _labelDeviceName = labelDeviceName;
    _progressBar = progressBar;
    _progressBar->setRange(0, progressMaximum);
}

void ViewContentDeviceAccess::enterView()
{
    _progressBar->setValue(0);
    Device* device = Device::getSelectedDevice();
    _labelDeviceName->setText(tr("Device name: %1").arg(device != nullptr ? device->getName() : QString()));
    _step = 0;
    _timerDeviceAccess.start(0);
}

void ViewContentDeviceAccess::exitView()
{
    _timerDeviceAccess.stop();
}

void ViewContentDeviceAccess::_finish(int result)
{
    _timerDeviceAccess.stop();
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
    if (device == nullptr)
        _finish(-1);
    else
        _runStep(device);
}
