#ifndef VIEWCONTENTREADDEVICE_H
#define VIEWCONTENTREADDEVICE_H

#include "ViewContentBase.h"

#include <QTimer>

namespace Ui
{
class ViewContentReadDevice;
}

// Reads both memories of the selected device into its images, one device command per timer tick
// so the window keeps repainting, then pops itself and reports a result code.
class ViewContentReadDevice : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentReadDevice(QWidget* parent = nullptr);
    ~ViewContentReadDevice() override;

    void enterView() override;
    void exitView() override;

signals:
    // 0 on success; -1 LED blink failed, -2 main memory read failed, -3 backup memory read failed,
    // -4 LED stop failed.
    void readFinished(int result);

private:
    Ui::ViewContentReadDevice* ui;
    QTimer _timerDeviceAccess;
    int _step = 0;

    void _finish(int result);

private slots:
    void _slotDeviceAccessTimerTimeout();
};

#endif
