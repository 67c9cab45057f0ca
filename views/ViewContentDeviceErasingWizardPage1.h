#ifndef VIEWCONTENTDEVICEERASINGWIZARDPAGE1_H
#define VIEWCONTENTDEVICEERASINGWIZARDPAGE1_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentDeviceErasingWizardPage1;
}

// First page of the erasing wizard: what the wizard does and what is lost.
class ViewContentDeviceErasingWizardPage1 : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentDeviceErasingWizardPage1(QWidget* parent = nullptr);
    ~ViewContentDeviceErasingWizardPage1() override;

    void enterView() override;

private:
    Ui::ViewContentDeviceErasingWizardPage1* ui;

private slots:
    void _slotPushButtonNextClicked(bool);
    void _slotPushButtonCancelClicked(bool);
};

#endif
