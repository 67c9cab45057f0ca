#ifndef VIEWCONTENTCHANGEDEVICENAME_H
#define VIEWCONTENTCHANGEDEVICENAME_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentChangeDeviceName;
}

class ViewContentChangeDeviceName : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentChangeDeviceName(QWidget* parent = nullptr);
    ~ViewContentChangeDeviceName() override;

    void enterView() override;

signals:
    // The result of writing the name to the device (Device::writeName).
    void nameChanged(int result);

private:
    Ui::ViewContentChangeDeviceName* ui;
};

#endif
