#ifndef VIEWCONTENTDEVICEACCESS_H
#define VIEWCONTENTDEVICEACCESS_H

#include "ViewContentBase.h"

#include <QString>
#include <QTimer>

class Device;
class QLabel;
class QProgressBar;

// What the read and write progress pages share: a run of device commands on the selected device,
// one per tick of a zero-interval timer so that the window repaints between commands, which ends
// by popping the page and then reporting a result code.
//
// A run belongs to the device that was selected when it started: should another device become the
// selected one meanwhile, the run stops before sending it anything and reports
// RESULT_DEVICE_CHANGED, so that no half of a write ever lands on a second device.
class ViewContentDeviceAccess : public ViewContentBase
{
    Q_OBJECT

public:
    // Which memories a run covers.
    enum Memories
    {
        MEMORIES_MAIN = 1,
        MEMORIES_BACKUP = 2,
        MEMORIES_BOTH = MEMORIES_MAIN | MEMORIES_BACKUP
    };

    // Result of a run whose device stopped being the selected one.
    static constexpr int RESULT_DEVICE_CHANGED = -10;

    void enterView() override;
    void exitView() override;

    // The next run covers only these memories (main before backup); later runs cover both again.
    void setNextRunMemories(Memories memories) { _nextRunMemories = memories; }
    // From entering the page until its result is reported.
    bool isRunning() const { return _timerDeviceAccess.isActive(); }

protected:
    explicit ViewContentDeviceAccess(QWidget* parent);

    // Called by the page once its form exists: the widgets the run updates and the bar's units per
    // memory.
    void _setUpProgressWidgets(QLabel* labelDeviceName, QProgressBar* progressBar, int unitsPerMemory);

    // Runs the current step on the device; calls _finish() when the run ends.
    virtual void _runStep(Device* device) = 0;
    // Sends the page's own result signal.
    virtual void _emitFinished(int result) = 0;

    // Stops the run, takes this page (and only it) off the view stack, then reports: the main window
    // hears the result with the page already gone.
    void _finish(int result);
    void _advanceProgress();
    void _setProgress(int value);
    bool _isMemoryIncluded(int memoryId) const { return (_runMemories & (1 << memoryId)) != 0; }
    // How many units of the bar the memories before `memoryId` in this run take.
    int _progressOffset(int memoryId) const;

    int _step = 0;
    Memories _runMemories = MEMORIES_BOTH;

private:
    QTimer _timerDeviceAccess;
    QLabel* _labelDeviceName = nullptr;
    QProgressBar* _progressBar = nullptr;
    int _unitsPerMemory = 0;
    Memories _nextRunMemories = MEMORIES_BOTH;
    // The device of this run, and its USB serial number (a new Device could reuse the address).
    Device* _device = nullptr;
    QString _deviceUsbSerialNumber;

private slots:
    void _slotDeviceAccessTimerTimeout();
};

#endif
