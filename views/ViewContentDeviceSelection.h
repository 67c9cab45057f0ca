#ifndef VIEWCONTENTDEVICESELECTION_H
#define VIEWCONTENTDEVICESELECTION_H

#include "ViewContentBase.h"

#include <QList>
#include <QTimer>

class Device;

namespace Ui
{
class ViewContentDeviceSelection;
}

// Lets the user pick one of the connected devices. The list follows plugging and unplugging once
// a second; the device of the current row blinks so the user can tell which physical device a row is.
class ViewContentDeviceSelection : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentDeviceSelection(QWidget* parent = nullptr);
    ~ViewContentDeviceSelection() override;

    void enterView() override;

signals:
    // True after "Select" (the chosen device is the selected device, open), false after "Cancel"
    // (no device selected, no port left open). Emitted once the page has popped itself.
    void deviceSelected(bool isDeviceSelected);

private:
    Ui::ViewContentDeviceSelection* ui;
    // Opened devices, in the order of the rows; owned until "Select" or "Cancel".
    QList<Device*> _listedDevices;
    // USB serial number of the device this page made blink last; empty when none.
    QString _blinkingDeviceUsbSerialNumber;
    QTimer _timerDeviceDetection;
    // Set while the page itself changes the rows: the current row moving then chooses nothing.
    bool _isListUpdating = false;

    void _destroyListedDevices(const Device* deviceToKeep);
    // A native error box over the page; detection pauses while it is open.
    void _showError(const QString& message);

private slots:
    void _slotTimerDeviceDetectionTimeout();
    void _slotListWidgetCurrentRowChanged(int row);
    void _slotPushButtonSelectClicked();
    void _slotPushButtonCancelClicked();
};

#endif
