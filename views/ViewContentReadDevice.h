#ifndef VIEWCONTENTREADDEVICE_H
#define VIEWCONTENTREADDEVICE_H

#include "ViewContentDeviceAccess.h"

namespace Ui
{
class ViewContentReadDevice;
}

// Reads both memories of the selected device into its images.
class ViewContentReadDevice : public ViewContentDeviceAccess
{
    Q_OBJECT

public:
    explicit ViewContentReadDevice(QWidget* parent = nullptr);
    ~ViewContentReadDevice() override;

signals:
    // 0 on success; -1 LED blink failed, -2 main memory read failed, -3 backup memory read failed,
    // -4 LED stop failed.
    void readFinished(int result);

private:
    Ui::ViewContentReadDevice* ui;

    void _runStep(Device* device) override;
    void _emitFinished(int result) override { emit readFinished(result); }
};

#endif
