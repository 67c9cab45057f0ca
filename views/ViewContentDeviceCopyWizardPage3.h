#ifndef VIEWCONTENTDEVICECOPYWIZARDPAGE3_H
#define VIEWCONTENTDEVICECOPYWIZARDPAGE3_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentDeviceCopyWizardPage3;
}

class ViewContentDeviceCopyWizardPage3 : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentDeviceCopyWizardPage3(QWidget* parent = nullptr);
    ~ViewContentDeviceCopyWizardPage3() override;

    void enterView() override;

private:
    Ui::ViewContentDeviceCopyWizardPage3* ui;
};

#endif
