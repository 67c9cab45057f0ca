#ifndef VIEWCONTENTDEVICEERASINGWIZARDPAGE3_H
#define VIEWCONTENTDEVICEERASINGWIZARDPAGE3_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentDeviceErasingWizardPage3;
}

// Last page of the erasing wizard, shown once the erased memories have been verified.
class ViewContentDeviceErasingWizardPage3 : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentDeviceErasingWizardPage3(QWidget* parent = nullptr);
    ~ViewContentDeviceErasingWizardPage3() override;

    void enterView() override;

private:
    Ui::ViewContentDeviceErasingWizardPage3* ui;

private slots:
    void _slotPushButtonExitClicked(bool);
};

#endif
