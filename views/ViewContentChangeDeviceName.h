#ifndef VIEWCONTENTCHANGEDEVICENAME_H
#define VIEWCONTENTCHANGEDEVICENAME_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentChangeDeviceName;
}

// Edits and writes the selected device's name; the device is released whichever way the page is left.
class ViewContentChangeDeviceName : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentChangeDeviceName(QWidget* parent = nullptr);
    ~ViewContentChangeDeviceName() override;

    void enterView() override;

signals:
    // The result code of the name write (0 success, negative failure); the main window reports it.
    void nameChanged(int result);

private:
    Ui::ViewContentChangeDeviceName* ui;

private slots:
    void _slotLineEditNameTextChanged(const QString& text);
    void _slotPushButtonOkClicked(bool isChecked);
    void _slotPushButtonCancelClicked(bool isChecked);
};

#endif
