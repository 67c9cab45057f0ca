#include "ViewContentApplicationLocked.h"
#include "ui_ViewContentApplicationLocked.h"

#include "FormContentEditor.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QSvgRenderer>

ViewContentApplicationLocked::ViewContentApplicationLocked(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentApplicationLocked)
{
    ui->setupUi(this);
    ui->svgWidgetIcon->load(QStringLiteral(":/Images/Logo_Padlock.svg"));
    ui->svgWidgetIcon->renderer()->setAspectRatioMode(Qt::KeepAspectRatio);

    connect(ui->lineEditPassword, &QLineEdit::textChanged, this,
            &ViewContentApplicationLocked::_slotLineEditPasswordTextChanged);
    connect(ui->lineEditPassword, &QLineEdit::returnPressed, this,
            &ViewContentApplicationLocked::_slotLineEditPasswordReturnPressed);
    connect(ui->pushButtonShow, &QPushButton::clicked, this,
            &ViewContentApplicationLocked::_slotPushButtonShowPasswordClicked);
    connect(ui->pushButtonUnlock, &QPushButton::clicked, this,
            &ViewContentApplicationLocked::_slotPushButtonUnlockClicked);
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
    ui->pushButtonUnlock->setEnabled(false);
}

void ViewContentApplicationLocked::exitView()
{
    ui->lineEditPassword->setText(QString());
    _masterPassword.clear();
}

void ViewContentApplicationLocked::_slotLineEditPasswordTextChanged(const QString& text)
{
    ui->pushButtonUnlock->setEnabled(!text.isEmpty());
}

void ViewContentApplicationLocked::_slotLineEditPasswordReturnPressed()
{
    if (!ui->lineEditPassword->text().isEmpty())
        _slotPushButtonUnlockClicked(false);
}

void ViewContentApplicationLocked::_slotPushButtonShowPasswordClicked(bool)
{
    togglePasswordVisibility(ui->lineEditPassword, ui->pushButtonShow);
}

void ViewContentApplicationLocked::_slotPushButtonUnlockClicked(bool)
{
    // Exactly the master password: no trimming, case counts. An empty copy (never told) opens nothing.
    if (_masterPassword.isEmpty() || ui->lineEditPassword->text() != _masterPassword)
    {
        QMessageBox::critical(this, tr("Wrong master password"),
                              tr("Wrong master password, please retry.\nYou can also quit the application."),
                              QMessageBox::Ok);
        ui->lineEditPassword->setFocus();
        return;
    }
    _masterPassword.clear();
    pointerFormContentEditor->viewPopPage(this);
    emit applicationUnlocked();
}
