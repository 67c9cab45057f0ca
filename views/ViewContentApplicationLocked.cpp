#include "ViewContentApplicationLocked.h"
#include "ui_ViewContentApplicationLocked.h"

#include "FormContentEditor.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QSvgRenderer>

namespace
{
constexpr int WRONG_PASSWORDS_BEFORE_WAITING = 3;
constexpr int FIRST_WAIT_SECONDS = 2;
constexpr int LONGEST_WAIT_SECONDS = 60;
} // namespace

ViewContentApplicationLocked::ViewContentApplicationLocked(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentApplicationLocked)
{
    ui->setupUi(this);
    ui->svgWidgetIcon->load(QStringLiteral(":/Images/Logo_Padlock.svg"));
    ui->svgWidgetIcon->renderer()->setAspectRatioMode(Qt::KeepAspectRatio);
    // Whoever focuses the page focuses the field.
    setFocusProxy(ui->lineEditPassword);
    _timerWait.setInterval(1000);

    connect(ui->lineEditPassword, &QLineEdit::textChanged, this,
            &ViewContentApplicationLocked::_slotLineEditPasswordTextChanged);
    connect(ui->pushButtonShow, &QPushButton::clicked, this,
            &ViewContentApplicationLocked::_slotPushButtonShowPasswordClicked);
    connect(ui->pushButtonUnlock, &QPushButton::clicked, this,
            &ViewContentApplicationLocked::_slotPushButtonUnlockClicked);
    connect(&_timerWait, &QTimer::timeout, this, &ViewContentApplicationLocked::_slotTimerWaitTimeout);
    // Leaves without the window-close questions (unsaved data is lost), but never in the middle of a
    // device write. exit() rather than quit(): since Qt 6 quit() first asks every window to close,
    // which would ask those questions.
    connect(ui->pushButtonQuit, &QPushButton::clicked, this,
            []() { pointerFormContentEditor->quitWhenDeviceIdle(); });
}

ViewContentApplicationLocked::~ViewContentApplicationLocked()
{
    delete ui;
}

void ViewContentApplicationLocked::tellMasterPassword(const QString& masterPassword)
{
    _masterPassword = masterPassword;
}

void ViewContentApplicationLocked::enterView()
{
    ui->lineEditPassword->setText(QString());
    // The toggle then leaves the field hidden and the button reading "Show".
    ui->lineEditPassword->setEchoMode(QLineEdit::Normal);
    _slotPushButtonShowPasswordClicked(false);
    ui->lineEditPassword->setFocus();
    ui->pushButtonUnlock->setDefault(true);
    _updateUnlockButton();
}

void ViewContentApplicationLocked::exitView()
{
    ui->lineEditPassword->setText(QString());
    _masterPassword.clear();
}

void ViewContentApplicationLocked::_updateUnlockButton()
{
    ui->pushButtonUnlock->setEnabled(_waitSecondsRemaining == 0 && !ui->lineEditPassword->text().isEmpty());
    ui->pushButtonUnlock->setText(
        _waitSecondsRemaining == 0 ? tr("Unlock") : tr("Unlock (%1 s)").arg(_waitSecondsRemaining));
}

void ViewContentApplicationLocked::_slotLineEditPasswordTextChanged(const QString&)
{
    _updateUnlockButton();
}

void ViewContentApplicationLocked::_slotTimerWaitTimeout()
{
    if (--_waitSecondsRemaining <= 0)
    {
        _waitSecondsRemaining = 0;
        _timerWait.stop();
    }
    _updateUnlockButton();
}

void ViewContentApplicationLocked::_slotPushButtonShowPasswordClicked(bool)
{
    togglePasswordVisibility(ui->lineEditPassword, ui->pushButtonShow);
}

void ViewContentApplicationLocked::_slotPushButtonUnlockClicked(bool)
{
    if (_waitSecondsRemaining > 0)
        return;
    // Exactly the master password: no trimming, case counts. An empty copy (never told) opens nothing.
    if (_masterPassword.isEmpty() || ui->lineEditPassword->text() != _masterPassword)
    {
        QMessageBox::critical(this, tr("Wrong master password"),
                              tr("Wrong master password, please retry.\nYou can also quit the application."),
                              QMessageBox::Ok);
        // Guessing gets slower and slower; the wait starts once the message is read.
        if (++_wrongPasswordsCount >= WRONG_PASSWORDS_BEFORE_WAITING)
        {
            _waitSecondsRemaining = FIRST_WAIT_SECONDS;
            for (int count = WRONG_PASSWORDS_BEFORE_WAITING;
                 count < _wrongPasswordsCount && _waitSecondsRemaining < LONGEST_WAIT_SECONDS; count++)
                _waitSecondsRemaining *= 2;
            _waitSecondsRemaining = qMin(_waitSecondsRemaining, LONGEST_WAIT_SECONDS);
            _timerWait.start();
            _updateUnlockButton();
        }
        ui->lineEditPassword->setFocus();
        return;
    }
    _wrongPasswordsCount = 0;
    _masterPassword.clear();
    pointerFormContentEditor->viewPopPage(this);
    emit applicationUnlocked();
}
