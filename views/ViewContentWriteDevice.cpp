#include "ViewContentWriteDevice.h"
#include "ui_ViewContentWriteDevice.h"

#include "Device.h"
#include "FormContentEditor.h"

ViewContentWriteDevice::ViewContentWriteDevice(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentWriteDevice)
{
    ui->setupUi(this);
    ui->progressBar->setRange(0, 2 * Device::MEMORY_PAGE_COUNT);
    _timerDeviceAccess.setInterval(0);
    connect(&_timerDeviceAccess, &QTimer::timeout, this,
            &ViewContentWriteDevice::_slotDeviceAccessTimerTimeout);
}

ViewContentWriteDevice::~ViewContentWriteDevice()
{
    delete ui;
}

void ViewContentWriteDevice::enterView()
{
    ui->progressBar->setValue(0);
    Device* device = Device::getSelectedDevice();
    ui->labelDeviceName->setText(
        tr("Device name: %1").arg(device != nullptr ? device->getName() : QString()));
    _step = 0;
    _page = 0;
    _pointerPageData = nullptr;
    _timerDeviceAccess.start(0);
}

void ViewContentWriteDevice::exitView()
{
    _timerDeviceAccess.stop();
}

void ViewContentWriteDevice::_finish(int result)
{
    // The page is gone before the main window hears the result.
    _timerDeviceAccess.stop();
    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
    emit writeFinished(result);
}

bool ViewContentWriteDevice::_writeNextPage(Device* device)
{
    if (device->writeSelectedMemoryPage(_page, _pointerPageData) != 0)
        return false;
    _page++;
    _pointerPageData += Device::MEMORY_PAGE_SIZE;
    ui->progressBar->setValue(ui->progressBar->value() + 1);
    return true;
}

void ViewContentWriteDevice::_slotDeviceAccessTimerTimeout()
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
        else if (device->selectMemory(Device::MEMORY_ID_MAIN) != 0)
            _finish(-3);
        else
        {
            _page = 0;
            _pointerPageData = device->getMemoryBuffer(Device::MEMORY_ID_MAIN);
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
            _page = 0;
            _pointerPageData = device->getMemoryBuffer(Device::MEMORY_ID_BACKUP);
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
