#ifndef VIEWCONTENTDEVICECOPYWIZARDPAGE3_H
#define VIEWCONTENTDEVICECOPYWIZARDPAGE3_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentDeviceCopyWizardPage3;
}

// Third page of the copy wizard, once the source has been read: the target's master password,
// blank to keep the source's.
class ViewContentDeviceCopyWizardPage3 : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentDeviceCopyWizardPage3(QWidget* parent = nullptr);
    ~ViewContentDeviceCopyWizardPage3() override;

    void enterView() override;
    void exitView() override;

signals:
    // The page was left (Cancel, Previous or the end of the wizard).
    void wizardPageLeft();
    // The target device's master password, empty for "the same as the source".
    void passwordInserted(QString password);

private:
    Ui::ViewContentDeviceCopyWizardPage3* ui;

    void _displayPasswordStrength();

private slots:
    void _slotLineEditPasswordTextEdited(const QString& referenceText);
    void _slotPushButtonShowPasswordClicked(bool);
    void _slotPushButtonPreviousClicked(bool);
    void _slotPushButtonNextClicked(bool);
    void _slotPushButtonCancelClicked(bool);
};

#endif
