#ifndef VIEWCONTENTSHOWDEVICEINFORMATION_H
#define VIEWCONTENTSHOWDEVICEINFORMATION_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentShowDeviceInformation;
}

class ViewContentShowDeviceInformation : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentShowDeviceInformation(QWidget* parent = nullptr);
    ~ViewContentShowDeviceInformation() override;

    void enterView() override;

private:
    Ui::ViewContentShowDeviceInformation* ui;
};

#endif
