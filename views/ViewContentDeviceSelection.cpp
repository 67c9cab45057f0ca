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
    // The current row is the chosen device, whether it was clicked or reached with the arrow keys;
    // a double click selects it, as Return does through the default "Select".
    connect(ui->listWidget, &QListWidget::currentRowChanged, this,
            &ViewContentDeviceSelection::_slotListWidgetCurrentRowChanged);
    connect(ui->listWidget, &QListWidget::itemDoubleClicked, this,
            [this]()
            {
                if (ui->pushButtonSelect->isEnabled())
                    ui->pushButtonSelect->click();
            });
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
    _isListUpdating = true;
    ui->listWidget->clear();
    _isListUpdating = false;
    ui->pushButtonSelect->setEnabled(false);
    ui->listWidget->setFocus();
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

    // The rows are updated in place, so that the current row and the focus stay where the user put
    // them; only the user's own moves choose a device.
    _isListUpdating = true;
    bool isCurrentRowRemoved = false;

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
        isCurrentRowRemoved |= ui->listWidget->currentRow() == index;
        delete ui->listWidget->takeItem(index);
    }
    if (isCurrentRowRemoved)
        ui->listWidget->setCurrentRow(-1);

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
        {
            _listedDevices.append(device);
            ui->listWidget->addItem(QString());
        }
        else
            delete device;
    }

    // Names are often equal ("No name defined"): the USB serial number then tells the devices apart.
    for (int index = 0; index < _listedDevices.size(); index++)
    {
        const Device* device = _listedDevices.at(index);
        int sameNameCount = 0;
        for (const Device* other : qAsConst(_listedDevices))
            sameNameCount += other->getName() == device->getName() ? 1 : 0;
        const QString text =
            sameNameCount > 1 ? QStringLiteral("%1 (%2)").arg(device->getName(), device->getUsbSerialNumber())
                              : device->getName();
        if (ui->listWidget->item(index)->text() != text)
            ui->listWidget->item(index)->setText(text);
    }
    _isListUpdating = false;

    // "Select" only ever hands over the listed device that was clicked and blinks.
    const int currentRow = ui->listWidget->currentRow();
    if (currentRow < 0 || Device::getSelectedDevice() != _listedDevices.value(currentRow))
    {
        ui->pushButtonSelect->setEnabled(false);
        _blinkingDeviceUsbSerialNumber.clear();
    }
}

void ViewContentDeviceSelection::_slotListWidgetCurrentRowChanged(int row)
{
    if (_isListUpdating || row < 0 || row >= _listedDevices.size())
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
