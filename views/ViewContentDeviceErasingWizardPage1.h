#ifndef VIEWCONTENTDEVICEERASINGWIZARDPAGE1_H
#define VIEWCONTENTDEVICEERASINGWIZARDPAGE1_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentDeviceErasingWizardPage1;
}

class ViewContentDeviceErasingWizardPage1 : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentDeviceErasingWizardPage1(QWidget* parent = nullptr);
    ~ViewContentDeviceErasingWizardPage1() override;

    void enterView() override;

private:
    Ui::ViewContentDeviceErasingWizardPage1* ui;
};

#endif
