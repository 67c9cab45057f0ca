#ifndef VIEWCONTENTAPPLICATIONLOCKED_H
#define VIEWCONTENTAPPLICATIONLOCKED_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentApplicationLocked;
}

// Covers the window after inactivity or on request until the master password is typed again.
class ViewContentApplicationLocked : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentApplicationLocked(QWidget* parent = nullptr);
    ~ViewContentApplicationLocked() override;

    // The password that unlocks; given at every lock, forgotten when the page is left.
    void tellMasterPassword(const QString& masterPassword);

    void enterView() override;
    void exitView() override;

signals:
    // The right password was typed; the page has already left the view stack.
    void applicationUnlocked();

private:
    Ui::ViewContentApplicationLocked* ui;
    QString _masterPassword;

private slots:
    void _slotLineEditPasswordTextChanged(const QString& text);
    void _slotLineEditPasswordReturnPressed();
    void _slotPushButtonShowPasswordClicked(bool isChecked);
    void _slotPushButtonUnlockClicked(bool isChecked);
};

#endif
