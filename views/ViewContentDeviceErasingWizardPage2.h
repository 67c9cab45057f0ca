#ifndef VIEWCONTENTDEVICEERASINGWIZARDPAGE2_H
#define VIEWCONTENTDEVICEERASINGWIZARDPAGE2_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentDeviceErasingWizardPage2;
}

// Second page of the erasing wizard: the explicit confirmation, and whether the name goes too.
class ViewContentDeviceErasingWizardPage2 : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentDeviceErasingWizardPage2(QWidget* parent = nullptr);
    ~ViewContentDeviceErasingWizardPage2() override;

    void enterView() override;

signals:
    // The user confirmed; the page stays shown until the main window moves on.
    void erasingConfirmed(bool isDeviceNameResetRequested);

private:
    Ui::ViewContentDeviceErasingWizardPage2* ui;

private slots:
    void _slotCheckBoxConfirmationStateChanged(int state);
    void _slotPushButtonNextClicked(bool);
    void _slotPushButtonCancelClicked(bool);
};

#endif
