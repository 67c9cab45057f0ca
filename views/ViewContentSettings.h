#ifndef VIEWCONTENTSETTINGS_H
#define VIEWCONTENTSETTINGS_H

#include "Configuration.h"
#include "ViewContentBase.h"

#include <QList>
#include <utility>

class QSpinBox;

namespace Ui
{
class ViewContentSettings;
}

// Edits the user settings: the update check at start, the auto-locking and the clipboard clearing, each
// with its delay.
class ViewContentSettings : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentSettings(QWidget* parent = nullptr);
    ~ViewContentSettings() override;

    void enterView() override;

signals:
    // The settings were saved; the main window applies the lock settings again.
    void configurationChanged();

private:
    Ui::ViewContentSettings* ui;

    // Each delay's spin box with the setting it shows.
    QList<std::pair<QSpinBox*, Configuration::NumberSetting>> _getNumberSpinBoxes();

private slots:
    void _slotCheckBoxApplicationAutoLockingStateChanged(int state);
    void _slotCheckBoxClipboardAutoClearingStateChanged(int state);
    void _slotPushButtonSaveClicked(bool isChecked);
    void _slotPushButtonCancelClicked(bool isChecked);
};

#endif
