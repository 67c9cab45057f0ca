#ifndef VIEWCONTENTDEVICESELECTION_H
#define VIEWCONTENTDEVICESELECTION_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentDeviceSelection;
}

class ViewContentDeviceSelection : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentDeviceSelection(QWidget* parent = nullptr);
    ~ViewContentDeviceSelection() override;

    void enterView() override;

private:
    Ui::ViewContentDeviceSelection* ui;
};

#endif
