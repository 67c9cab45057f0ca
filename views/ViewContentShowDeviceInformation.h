#ifndef VIEWCONTENTSHOWDEVICEINFORMATION_H
#define VIEWCONTENTSHOWDEVICEINFORMATION_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentShowDeviceInformation;
}

// Shows the selected device's name, serial number and versions, read when the page is entered, the
// state of its two memories as far as this session knows it, and its USB adapter's latency timer.
// The device is released before the page can be left, whatever the reads gave.
class ViewContentShowDeviceInformation : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentShowDeviceInformation(QWidget* parent = nullptr);
    ~ViewContentShowDeviceInformation() override;

    void enterView() override;

private:
    Ui::ViewContentShowDeviceInformation* ui;

    // The USB bridge's latency timer where the system reports it, and why a high one slows saves.
    void _showLatencyTimer(int latencyTimerMs);
    void _fail(const QString& message);

private slots:
    void _slotPushButtonOkClicked(bool isChecked);
};

#endif
