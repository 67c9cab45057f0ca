#ifndef VIEWCONTENTREADDEVICE_H
#define VIEWCONTENTREADDEVICE_H

#include "ViewContentDeviceAccess.h"

namespace Ui
{
class ViewContentReadDevice;
}

// Reads the memories of the selected device (both unless told otherwise) into its images. A memory
// takes 11 s on a real link, so it is taken in over many ticks and the bar moves with the bytes as
// they arrive.
class ViewContentReadDevice : public ViewContentDeviceAccess
{
    Q_OBJECT

public:
    explicit ViewContentReadDevice(QWidget* parent = nullptr);
    ~ViewContentReadDevice() override;

signals:
    // 0 on success; -1 LED blink failed, -2 main memory read failed, -3 backup memory read failed,
    // -4 LED stop failed, RESULT_DEVICE_CHANGED another device became the selected one.
    void readFinished(int result);

private:
    Ui::ViewContentReadDevice* ui;

    void _runStep(Device* device) override;
    // Steps 1 to 4: start, then go on receiving, the main then the backup memory (each skipped when
    // the run does not cover it).
    void _readMemoryStep(Device* device, int memoryIndex, bool isStarting);
    void _emitFinished(int result) override { emit readFinished(result); }
};

#endif
