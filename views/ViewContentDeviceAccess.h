#ifndef VIEWCONTENTDEVICEACCESS_H
#define VIEWCONTENTDEVICEACCESS_H

#include "ViewContentBase.h"

#include <QTimer>

class Device;
class QLabel;
class QProgressBar;

// What the read and write progress pages share: a run of device commands on the selected device,
// one per tick of a zero-interval timer so that the window repaints between commands, which ends
// by popping the page and then reporting a result code.
class ViewContentDeviceAccess : public ViewContentBase
{
    Q_OBJECT

public:
    void enterView() override;
    void exitView() override;

protected:
    explicit ViewContentDeviceAccess(QWidget* parent);

    // Called by the page once its form exists: the widgets the run updates and the bar's range.
    void _setUpProgressWidgets(QLabel* labelDeviceName, QProgressBar* progressBar, int progressMaximum);

    // Runs the current step on the device; calls _finish() when the run ends.
    virtual void _runStep(Device* device) = 0;
    // Sends the page's own result signal.
    virtual void _emitFinished(int result) = 0;

    // Stops the run, takes this page (and only it) off the view stack, then reports: the main window
    // hears the result with the page already gone.
    void _finish(int result);
    void _advanceProgress();
    void _setProgress(int value);

    int _step = 0;

private:
    QTimer _timerDeviceAccess;
    QLabel* _labelDeviceName = nullptr;
    QProgressBar* _progressBar = nullptr;

private slots:
    void _slotDeviceAccessTimerTimeout();
};

#endif
