#include "ViewContentInsertWritingMasterPassword.h"
#include "ui_ViewContentInsertWritingMasterPassword.h"

#include "FormContentEditor.h"
#include "HelpViewer.h"
#include "Security.h"

ViewContentInsertWritingMasterPassword::ViewContentInsertWritingMasterPassword(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentInsertWritingMasterPassword)
{
    ui->setupUi(this);
    ui->labelHelp->setText(QStringLiteral("<a href=\"master_password_selection_guide.html\">%1</a>")
                               .arg(tr("How to choose the master password?")));

    connect(ui->lineEditFirstPasswordField, &QLineEdit::textChanged, this,
            &ViewContentInsertWritingMasterPassword::_slotLineEditTextChanged);
    connect(ui->lineEditSecondPasswordField, &QLineEdit::textChanged, this,
            &ViewContentInsertWritingMasterPassword::_slotLineEditTextChanged);
    connect(ui->pushButtonOk, &QPushButton::clicked, this,
            &ViewContentInsertWritingMasterPassword::_slotPushButtonOkClicked);
    connect(ui->pushButtonCancel, &QPushButton::clicked, this,
            &ViewContentInsertWritingMasterPassword::_slotPushButtonCancelClicked);
    connect(ui->pushButtonShow, &QPushButton::clicked, this,
            &ViewContentInsertWritingMasterPassword::_slotPushButtonShowClicked);
    connect(ui->labelHelp, &QLabel::linkActivated, this,
            &ViewContentInsertWritingMasterPassword::_slotLabelHelpLinkActivated);
}

ViewContentInsertWritingMasterPassword::~ViewContentInsertWritingMasterPassword()
{
    delete ui;
}

void ViewContentInsertWritingMasterPassword::enterView()
{
    // setText() rather than clear(): clearing is an undoable edit that would keep the old text.
    ui->lineEditFirstPasswordField->setText(QString());
    ui->lineEditSecondPasswordField->setText(QString());
    _slotLineEditTextChanged(QString());
    // The toggle then leaves both fields hidden and the button reading "Show".
    ui->lineEditFirstPasswordField->setEchoMode(QLineEdit::Normal);
    _slotPushButtonShowClicked(false);
    ui->pushButtonOk->setDefault(true);
    ui->pushButtonOk->setEnabled(false);
    ui->lineEditFirstPasswordField->setFocus();
}

void ViewContentInsertWritingMasterPassword::exitView()
{
    // No password stays behind in a hidden page.
    ui->lineEditFirstPasswordField->setText(QString());
    ui->lineEditSecondPasswordField->setText(QString());
}

void ViewContentInsertWritingMasterPassword::_displayPasswordStrength()
{
    QString strength;
    Security::computePasswordStrength(ui->lineEditFirstPasswordField->text(), &strength);
    ui->labelPasswordStrength->setText(tr("Password strength: <b>%1</b>").arg(strength.toHtmlEscaped()));
}

void ViewContentInsertWritingMasterPassword::_slotLineEditTextChanged(const QString&)
{
    _displayPasswordStrength();

    const QString first = ui->lineEditFirstPasswordField->text();
    const bool isMatching = !first.isEmpty() && first == ui->lineEditSecondPasswordField->text();
    ui->pushButtonOk->setEnabled(isMatching);
    ui->labelPasswordsMatchingState->setText(isMatching ? tr("Passwords are matching.")
                                                        : tr("Passwords do not match."));
}

void ViewContentInsertWritingMasterPassword::_slotPushButtonOkClicked(bool)
{
    const QString password = ui->lineEditFirstPasswordField->text();
    pointerFormContentEditor->viewPopPage(this);
    emit insertionFinished(true, password);
}

void ViewContentInsertWritingMasterPassword::_slotPushButtonCancelClicked(bool)
{
    // The main window's slot releases the device, not this page.
    pointerFormContentEditor->viewPopPage(this);
    emit insertionFinished(false, QString());
}

void ViewContentInsertWritingMasterPassword::_slotPushButtonShowClicked(bool)
{
    // The first field decides; both fields follow.
    const bool isHidden = ui->lineEditFirstPasswordField->echoMode() == QLineEdit::Password;
    const QLineEdit::EchoMode mode = isHidden ? QLineEdit::Normal : QLineEdit::Password;
    ui->lineEditFirstPasswordField->setEchoMode(mode);
    ui->lineEditSecondPasswordField->setEchoMode(mode);
    ui->pushButtonShow->setText(isHidden ? tr("Hide") : tr("Show"));
}

void ViewContentInsertWritingMasterPassword::_slotLabelHelpLinkActivated(const QString& link)
{
    HelpViewer::display(link);
}
