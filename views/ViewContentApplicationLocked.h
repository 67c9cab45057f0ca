#ifndef VIEWCONTENTAPPLICATIONLOCKED_H
#define VIEWCONTENTAPPLICATIONLOCKED_H

#include "ViewContentBase.h"

#include <QTimer>

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
    friend class TestLock;
    Ui::ViewContentApplicationLocked* ui;
    QString _masterPassword;
    // Wrong passwords since the last unlock; from the third on, each makes the next try wait twice as
    // long as the one before, from 2 s up to a minute.
    int _wrongPasswordsCount = 0;
    int _waitSecondsRemaining = 0;
    QTimer _timerWait;

    // "Unlock" takes a try while the field holds one and no wait runs; it shows the wait's seconds.
    void _updateUnlockButton();

private slots:
    void _slotLineEditPasswordTextChanged(const QString& text);
    void _slotPushButtonShowPasswordClicked(bool isChecked);
    void _slotPushButtonUnlockClicked(bool isChecked);
    void _slotTimerWaitTimeout();
};

#endif
