#ifndef VIEWCONTENTWRITEDEVICE_H
#define VIEWCONTENTWRITEDEVICE_H

#include "ViewContentBase.h"

#include <QTimer>

class Device;

namespace Ui
{
class ViewContentWriteDevice;
}

// Writes both memory images of the selected device, main then backup, one 256-byte page per timer
// tick, then pops itself and reports a result code. The main memory is always written in full
// before the backup memory is selected, so an interrupted write never damages both copies.
class ViewContentWriteDevice : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentWriteDevice(QWidget* parent = nullptr);
    ~ViewContentWriteDevice() override;

    void enterView() override;
    void exitView() override;

signals:
    // 0 on success; -1 LED blink failed, -2 LED stop failed, -3 main memory selection failed,
    // -4 backup memory selection failed, -5 main page write failed, -6 backup page write failed.
    void writeFinished(int result);

private:
    Ui::ViewContentWriteDevice* ui;
    QTimer _timerDeviceAccess;
    int _step = 0;
    int _page = 0;
    unsigned char* _pointerPageData = nullptr;

    void _finish(int result);
    // Writes the next page of the memory being written; false when the device refused it.
    bool _writeNextPage(Device* device);

private slots:
    void _slotDeviceAccessTimerTimeout();
};

#endif
