#ifndef VIEWCONTENTDEVICECOPYWIZARDPAGE2_H
#define VIEWCONTENTDEVICECOPYWIZARDPAGE2_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentDeviceCopyWizardPage2;
}

class ViewContentDeviceCopyWizardPage2 : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentDeviceCopyWizardPage2(QWidget* parent = nullptr);
    ~ViewContentDeviceCopyWizardPage2() override;

    void enterView() override;

private:
    Ui::ViewContentDeviceCopyWizardPage2* ui;
};

#endif
