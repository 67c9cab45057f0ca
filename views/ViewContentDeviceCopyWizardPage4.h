#ifndef VIEWCONTENTDEVICECOPYWIZARDPAGE4_H
#define VIEWCONTENTDEVICECOPYWIZARDPAGE4_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentDeviceCopyWizardPage4;
}

// Last page of the copy wizard, shown once the target's memories have been verified.
class ViewContentDeviceCopyWizardPage4 : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentDeviceCopyWizardPage4(QWidget* parent = nullptr);
    ~ViewContentDeviceCopyWizardPage4() override;

    void enterView() override;

private:
    Ui::ViewContentDeviceCopyWizardPage4* ui;

private slots:
    void _slotPushButtonExitClicked(bool);
};

#endif
