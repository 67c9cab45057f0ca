#ifndef VIEWCONTENTWRITEDEVICE_H
#define VIEWCONTENTWRITEDEVICE_H

#include "Device.h"
#include "ViewContentDeviceAccess.h"

namespace Ui
{
class ViewContentWriteDevice;
}

// Writes both memory images of the selected device, main then backup, one 256-byte page per tick.
// The main memory is always written in full before the backup memory is selected, so an
// interrupted write never damages both copies.
class ViewContentWriteDevice : public ViewContentDeviceAccess
{
    Q_OBJECT

public:
    explicit ViewContentWriteDevice(QWidget* parent = nullptr);
    ~ViewContentWriteDevice() override;

    void enterView() override;

signals:
    // 0 on success; -1 LED blink failed, -2 LED stop failed, -3 main memory selection failed,
    // -4 backup memory selection failed, -5 main page write failed, -6 backup page write failed.
    void writeFinished(int result);

private:
    Ui::ViewContentWriteDevice* ui;
    // Next page of the memory being written, and where its 256 bytes are in the device's image.
    int _page = 0;
    unsigned char* _pointerPageData = nullptr;

    void _runStep(Device* device) override;
    void _emitFinished(int result) override { emit writeFinished(result); }
    void _startMemory(Device* device, Device::MemoryId memoryId);
    // Writes the next page of the memory being written; false when the device refused it.
    bool _writeNextPage(Device* device);
};

#endif
