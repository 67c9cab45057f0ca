#include "ViewContentDeviceSelection.h"
#include "ui_ViewContentDeviceSelection.h"

#include "Device.h"
#include "FormContentEditor.h"

#include <QMessageBox>
#include <memory>

ViewContentDeviceSelection::ViewContentDeviceSelection(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentDeviceSelection)
{
    ui->setupUi(this);
    _timerDeviceDetection.setInterval(1000);
    connect(&_timerDeviceDetection, &QTimer::timeout, this,
            &ViewContentDeviceSelection::_slotTimerDeviceDetectionTimeout);
    connect(ui->listWidget, &QListWidget::itemClicked, this,
            &ViewContentDeviceSelection::_slotListWidgetItemClicked);
    connect(ui->pushButtonSelect, &QPushButton::clicked, this,
            &ViewContentDeviceSelection::_slotPushButtonSelectClicked);
    connect(ui->pushButtonCancel, &QPushButton::clicked, this,
            &ViewContentDeviceSelection::_slotPushButtonCancelClicked);
}

ViewContentDeviceSelection::~ViewContentDeviceSelection()
{
    // Left while still shown (the application quits): no listed device survives the page.
    _timerDeviceDetection.stop();
    if (_listedDevices.contains(Device::getSelectedDevice()))
        Device::setSelectedDevice(nullptr);
    _destroyListedDevices(nullptr);
    delete ui;
}

void ViewContentDeviceSelection::enterView()
{
    // The devices of the previous visit were handed over or destroyed when the page was left.
    _listedDevices.clear();
    _blinkingDeviceUsbSerialNumber.clear();
    ui->listWidget->clear();
    ui->pushButtonSelect->setEnabled(false);
    ui->pushButtonCancel->setFocus();
    _timerDeviceDetection.start();
    _slotTimerDeviceDetectionTimeout();
}

void ViewContentDeviceSelection::_destroyListedDevices(const Device* deviceToKeep)
{
    for (Device* device : qAsConst(_listedDevices))
    {
        if (device == deviceToKeep)
            continue;
        device->close();
        delete device;
    }
    _listedDevices.clear();
}

void ViewContentDeviceSelection::_slotTimerDeviceDetectionTimeout()
{
    const std::unique_ptr<QList<DevicePortInfo>> presentPorts(Device::findAvailableDevices());

    QString currentUsbSerialNumber;
    const int currentRow = ui->listWidget->currentRow();
    const bool isRowCurrent = currentRow >= 0 && currentRow < _listedDevices.size();
    if (isRowCurrent)
        currentUsbSerialNumber = _listedDevices.at(currentRow)->getUsbSerialNumber();

    // Removal pass: a listed device whose port is gone was unplugged.
    for (int index = 0; index < _listedDevices.size();)
    {
        Device* device = _listedDevices.at(index);
        bool isPresent = false;
        for (const DevicePortInfo& port : *presentPorts)
        {
            if (port.serialNumber() == device->getUsbSerialNumber())
            {
                isPresent = true;
                break;
            }
        }
        if (isPresent)
        {
            index++;
            continue;
        }
        // Never keep a pointer to a destroyed device as the selected one.
        if (Device::getSelectedDevice() == device)
            Device::setSelectedDevice(nullptr);
        device->close();
        delete device;
        _listedDevices.removeAt(index);
    }

    // Addition pass: new ports come last, in enumeration order. A device that fails to open is
    // not listed; the next tick tries it again.
    const int previouslyListedCount = _listedDevices.size();
    for (const DevicePortInfo& port : *presentPorts)
    {
        bool isListed = false;
        for (int index = 0; index < previouslyListedCount; index++)
        {
            if (_listedDevices.at(index)->getUsbSerialNumber() == port.serialNumber())
            {
                isListed = true;
                break;
            }
        }
        if (isListed)
            continue;
        auto* device = new Device(port);
        if (device->open() == 0)
            _listedDevices.append(device);
        else
            delete device;
    }

    ui->listWidget->clear();
    // Names are often equal ("No name defined"): the USB serial number then tells the devices apart.
    for (const Device* device : qAsConst(_listedDevices))
    {
        int sameNameCount = 0;
        for (const Device* other : qAsConst(_listedDevices))
            sameNameCount += other->getName() == device->getName() ? 1 : 0;
        ui->listWidget->addItem(
            sameNameCount > 1 ? QStringLiteral("%1 (%2)").arg(device->getName(), device->getUsbSerialNumber())
                              : device->getName());
    }

    bool isRowRestored = false;
    if (isRowCurrent)
    {
        for (int index = 0; index < _listedDevices.size(); index++)
        {
            if (_listedDevices.at(index)->getUsbSerialNumber() == currentUsbSerialNumber)
            {
                ui->listWidget->setCurrentRow(index);
                isRowRestored = true;
                break;
            }
        }
    }
    // "Select" only ever hands over the listed device that was clicked and blinks.
    if (_listedDevices.isEmpty() || !isRowRestored || !_listedDevices.contains(Device::getSelectedDevice()))
    {
        ui->pushButtonSelect->setEnabled(false);
        _blinkingDeviceUsbSerialNumber.clear();
    }
}

void ViewContentDeviceSelection::_slotListWidgetItemClicked(QListWidgetItem*)
{
    const int row = ui->listWidget->currentRow();
    if (row < 0 || row >= _listedDevices.size())
        return;
    Device* clickedDevice = _listedDevices.at(row);
    Device::setSelectedDevice(clickedDevice);

    // Already blinking: nothing to send.
    if (clickedDevice->getUsbSerialNumber() == _blinkingDeviceUsbSerialNumber)
        return;

    for (Device* device : qAsConst(_listedDevices))
    {
        if (!_blinkingDeviceUsbSerialNumber.isEmpty() &&
            device->getUsbSerialNumber() == _blinkingDeviceUsbSerialNumber)
        {
            if (device->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_IDLE) != 0)
                _showError(tr("Could not stop the device with USB serial number '%1' LED from blinking.")
                               .arg(_blinkingDeviceUsbSerialNumber));
            break;
        }
    }

    if (clickedDevice->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_IDENTIFY) == 0)
    {
        ui->pushButtonSelect->setEnabled(true);
        ui->pushButtonSelect->setDefault(true);
        ui->pushButtonSelect->setFocus();
        _blinkingDeviceUsbSerialNumber = clickedDevice->getUsbSerialNumber();
        return;
    }

    // The device stays listed and open; it is simply not the one to use.
    Device::setSelectedDevice(nullptr);
    ui->pushButtonSelect->setEnabled(false);
    _blinkingDeviceUsbSerialNumber.clear();
    _showError(tr("Could not make the device LED blink."));
}

void ViewContentDeviceSelection::_showError(const QString& message)
{
    // No detection tick may run inside the box's event loop: it could destroy the device that the
    // click is working on.
    _timerDeviceDetection.stop();
    QMessageBox::critical(this, tr("Error"), message, QMessageBox::Ok);
    _timerDeviceDetection.start();
}

void ViewContentDeviceSelection::_slotPushButtonSelectClicked()
{
    Device* selectedDevice = Device::getSelectedDevice();
    if (!_listedDevices.contains(selectedDevice))
        return;
    _timerDeviceDetection.stop();
    selectedDevice->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_IDLE);
    _destroyListedDevices(selectedDevice);
    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
    emit deviceSelected(true);
}

void ViewContentDeviceSelection::_slotPushButtonCancelClicked()
{
    _timerDeviceDetection.stop();
    // Closing sends LED state 1, which also stops the blinking device.
    _destroyListedDevices(nullptr);
    Device::setSelectedDevice(nullptr);
    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
    emit deviceSelected(false);
}
