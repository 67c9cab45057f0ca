#ifndef VIEWCONTENTWRITEDEVICE_H
#define VIEWCONTENTWRITEDEVICE_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentWriteDevice;
}

class ViewContentWriteDevice : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentWriteDevice(QWidget* parent = nullptr);
    ~ViewContentWriteDevice() override;

    void enterView() override;

private:
    Ui::ViewContentWriteDevice* ui;
};

#endif
