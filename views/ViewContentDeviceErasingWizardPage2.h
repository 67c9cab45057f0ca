#ifndef VIEWCONTENTDEVICEERASINGWIZARDPAGE2_H
#define VIEWCONTENTDEVICEERASINGWIZARDPAGE2_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentDeviceErasingWizardPage2;
}

class ViewContentDeviceErasingWizardPage2 : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentDeviceErasingWizardPage2(QWidget* parent = nullptr);
    ~ViewContentDeviceErasingWizardPage2() override;

    void enterView() override;

private:
    Ui::ViewContentDeviceErasingWizardPage2* ui;
};

#endif
