#ifndef VIEWCONTENTREADDEVICE_H
#define VIEWCONTENTREADDEVICE_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentReadDevice;
}

class ViewContentReadDevice : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentReadDevice(QWidget* parent = nullptr);
    ~ViewContentReadDevice() override;

    void enterView() override;

private:
    Ui::ViewContentReadDevice* ui;
};

#endif
