#ifndef VIEWCONTENTWRITEDEVICE_H
#define VIEWCONTENTWRITEDEVICE_H

#include "Device.h"
#include "ViewContentDeviceAccess.h"

namespace Ui
{
class ViewContentWriteDevice;
}

// Writes the memory images of the selected device (both unless told otherwise), main then backup,
// one 256-byte page per tick. The main memory is always written in full before the backup memory is
// selected, so an interrupted write never damages both copies.
class ViewContentWriteDevice : public ViewContentDeviceAccess
{
    Q_OBJECT

public:
    explicit ViewContentWriteDevice(QWidget* parent = nullptr);
    ~ViewContentWriteDevice() override;

    void enterView() override;

    // The memories (bits 1 << MemoryId) that the last run selected for writing: after a failure,
    // those may hold part of an image.
    int touchedMemories() const { return _touchedMemories; }

signals:
    // 0 on success; -1 LED blink failed, -2 LED stop failed, -3 main memory selection failed,
    // -4 backup memory selection failed, -5 main page write failed, -6 backup page write failed,
    // RESULT_DEVICE_CHANGED another device became the selected one.
    void writeFinished(int result);

private:
    Ui::ViewContentWriteDevice* ui;
    // The memory being written, its next page, and where that page's 256 bytes are in the image.
    Device::MemoryId _memoryId = Device::MEMORY_ID_MAIN;
    int _page = 0;
    unsigned char* _pointerPageData = nullptr;
    int _touchedMemories = 0;

    void _runStep(Device* device) override;
    void _emitFinished(int result) override { emit writeFinished(result); }
    // Selects the memory and starts at its first page; false (and the run finished) on failure.
    bool _startMemory(Device* device, Device::MemoryId memoryId);
};

#endif
