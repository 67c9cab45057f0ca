#ifndef VIEWCONTENTDEVICECOPYWIZARDPAGE1_H
#define VIEWCONTENTDEVICECOPYWIZARDPAGE1_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentDeviceCopyWizardPage1;
}

// First page of the copy wizard: what the wizard does and what it overwrites.
class ViewContentDeviceCopyWizardPage1 : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentDeviceCopyWizardPage1(QWidget* parent = nullptr);
    ~ViewContentDeviceCopyWizardPage1() override;

    void enterView() override;

private:
    Ui::ViewContentDeviceCopyWizardPage1* ui;

private slots:
    void _slotPushButtonNextClicked(bool);
    void _slotPushButtonCancelClicked(bool);
};

#endif
