#ifndef VIEWCONTENTDEVICECOPYWIZARDPAGE2_H
#define VIEWCONTENTDEVICECOPYWIZARDPAGE2_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentDeviceCopyWizardPage2;
}

// Second page of the copy wizard: the master password of the source device.
class ViewContentDeviceCopyWizardPage2 : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentDeviceCopyWizardPage2(QWidget* parent = nullptr);
    ~ViewContentDeviceCopyWizardPage2() override;

    void enterView() override;
    void exitView() override;

signals:
    // The page was left (Cancel, Previous or the end of the wizard).
    void wizardPageLeft();
    // The source device's master password; the page stays shown while the source is read.
    void passwordInserted(QString password);

private:
    Ui::ViewContentDeviceCopyWizardPage2* ui;

private slots:
    void _slotLineEditPasswordTextChanged(const QString& referenceText);
    void _slotPushButtonShowPasswordClicked(bool);
    void _slotPushButtonNextClicked(bool);
    void _slotPushButtonCancelClicked(bool);
};

#endif
