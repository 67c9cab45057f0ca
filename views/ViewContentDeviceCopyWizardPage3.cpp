#include "ViewContentDeviceCopyWizardPage3.h"
#include "ui_ViewContentDeviceCopyWizardPage3.h"

#include "FormContentEditor.h"
#include "Security.h"

ViewContentDeviceCopyWizardPage3::ViewContentDeviceCopyWizardPage3(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentDeviceCopyWizardPage3)
{
    ui->setupUi(this);
    connect(ui->lineEditPassword, &QLineEdit::textEdited, this,
            &ViewContentDeviceCopyWizardPage3::_slotLineEditPasswordTextEdited);
    connect(ui->pushButtonShowPassword, &QPushButton::clicked, this,
            &ViewContentDeviceCopyWizardPage3::_slotPushButtonShowPasswordClicked);
    connect(ui->pushButtonPrevious, &QPushButton::clicked, this,
            &ViewContentDeviceCopyWizardPage3::_slotPushButtonPreviousClicked);
    connect(ui->pushButtonNext, &QPushButton::clicked, this,
            &ViewContentDeviceCopyWizardPage3::_slotPushButtonNextClicked);
    connect(ui->pushButtonCancel, &QPushButton::clicked, this,
            &ViewContentDeviceCopyWizardPage3::_slotPushButtonCancelClicked);
}

ViewContentDeviceCopyWizardPage3::~ViewContentDeviceCopyWizardPage3()
{
    delete ui;
}

void ViewContentDeviceCopyWizardPage3::enterView()
{
    // setText() rather than clear(): clearing is an undoable edit that would keep the password.
    ui->lineEditPassword->setText(QString());
    _displayPasswordStrength();
    ui->lineEditPassword->setEchoMode(QLineEdit::Password);
    ui->pushButtonShowPassword->setText(tr("Show"));
    ui->lineEditPassword->setFocus();
}

void ViewContentDeviceCopyWizardPage3::exitView()
{
    // Kept while the copy runs above the page (blank would mean "the source's password" on a retry),
    // gone once the wizard leaves it.
    ui->lineEditPassword->setText(QString());
    emit wizardPageLeft();
}

void ViewContentDeviceCopyWizardPage3::_displayPasswordStrength()
{
    QString strengthText;
    Security::computePasswordStrength(ui->lineEditPassword->text(), &strengthText);
    ui->labelPasswordStrength->setText(tr("Password strength: <b>%1</b>").arg(strengthText));
}

void ViewContentDeviceCopyWizardPage3::_slotLineEditPasswordTextEdited(const QString&)
{
    _displayPasswordStrength();
}

void ViewContentDeviceCopyWizardPage3::_slotPushButtonShowPasswordClicked(bool)
{
    togglePasswordVisibility(ui->lineEditPassword, ui->pushButtonShowPassword);
}

void ViewContentDeviceCopyWizardPage3::_slotPushButtonPreviousClicked(bool)
{
    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
}

void ViewContentDeviceCopyWizardPage3::_slotPushButtonNextClicked(bool)
{
    // Blank is a valid answer: the main window then keeps the source's master password.
    emit passwordInserted(ui->lineEditPassword->text());
}

void ViewContentDeviceCopyWizardPage3::_slotPushButtonCancelClicked(bool)
{
    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_CONTENT_EDITOR);
}
