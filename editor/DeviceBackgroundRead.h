#ifndef DEVICEBACKGROUNDREAD_H
#define DEVICEBACKGROUNDREAD_H

#include "Device.h"

#include <QObject>
#include <QString>
#include <QTimer>

// Reads one memory of the selected device while the window goes on being used: a slice of the
// answer per tick of a zero-interval timer, each short enough that editing stays fluid. Like the
// progress pages, the read belongs to the device it started on.
class DeviceBackgroundRead : public QObject
{
    Q_OBJECT

public:
    explicit DeviceBackgroundRead(QObject* parent = nullptr);

    // Starts reading `memoryId` of the selected device into its image.
    void start(Device::MemoryId memoryId);
    bool isRunning() const { return _timer.isActive(); }

signals:
    void progressed(int receivedByteCount);
    // 0 when the image is complete; -1 LED blink failed, -2 the read failed, -3 LED stop failed,
    // -4 another device became the selected one.
    void finished(int result);

private:
    QTimer _timer;
    Device* _device = nullptr;
    QString _deviceUsbSerialNumber;
    Device::MemoryId _memoryId = Device::MEMORY_ID_BACKUP;
    int _step = 0;

    void _finish(int result);

private slots:
    void _slotTimerTimeout();
};

#endif
