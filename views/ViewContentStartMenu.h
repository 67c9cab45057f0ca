#ifndef VIEWCONTENTSTARTMENU_H
#define VIEWCONTENTSTARTMENU_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentStartMenu;
}

// The first page: open a device or a backup file, start an empty editor for a new device, read the tutorial,
// quit.
class ViewContentStartMenu : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentStartMenu(QWidget* parent = nullptr);
    ~ViewContentStartMenu() override;

    void enterView() override;

signals:
    void openDeviceClicked();
    void openBackupFileClicked();
    void initializeDeviceClicked();

private:
    Ui::ViewContentStartMenu* ui;
    // The automatic update check has been scheduled: once per run.
    bool _isApplicationUpdateChecked = false;

private slots:
    void _slotPushButtonOpenDeviceClicked();
    void _slotLabelGettingStartedLinkActivated(const QString& link);
    void _slotLabelDeviceInitializationLinkActivated(const QString& link);
    void _slotTimerCheckForApplicationUpdateTimeout();
};

#endif
