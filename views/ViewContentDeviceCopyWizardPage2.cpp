#include "ViewContentDeviceCopyWizardPage2.h"
#include "ui_ViewContentDeviceCopyWizardPage2.h"

#include "FormContentEditor.h"

ViewContentDeviceCopyWizardPage2::ViewContentDeviceCopyWizardPage2(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentDeviceCopyWizardPage2)
{
    ui->setupUi(this);
    connect(ui->lineEditPassword, &QLineEdit::textChanged, this,
            &ViewContentDeviceCopyWizardPage2::_slotLineEditPasswordTextChanged);
    connect(ui->pushButtonShowPassword, &QPushButton::clicked, this,
            &ViewContentDeviceCopyWizardPage2::_slotPushButtonShowPasswordClicked);
    connect(ui->pushButtonNext, &QPushButton::clicked, this,
            &ViewContentDeviceCopyWizardPage2::_slotPushButtonNextClicked);
    connect(ui->pushButtonCancel, &QPushButton::clicked, this,
            &ViewContentDeviceCopyWizardPage2::_slotPushButtonCancelClicked);
}

ViewContentDeviceCopyWizardPage2::~ViewContentDeviceCopyWizardPage2()
{
    delete ui;
}

void ViewContentDeviceCopyWizardPage2::enterView()
{
    // setText() rather than clear(): clearing is an undoable edit that would keep the password.
    ui->lineEditPassword->setText(QString());
    ui->pushButtonNext->setEnabled(false);
    ui->lineEditPassword->setEchoMode(QLineEdit::Password);
    ui->pushButtonShowPassword->setText(tr("Show"));
    ui->lineEditPassword->setFocus();
}

void ViewContentDeviceCopyWizardPage2::exitView()
{
    ui->lineEditPassword->setText(QString());
    emit wizardPageLeft();
}

void ViewContentDeviceCopyWizardPage2::_slotLineEditPasswordTextChanged(const QString& referenceText)
{
    ui->pushButtonNext->setEnabled(!referenceText.isEmpty());
}

void ViewContentDeviceCopyWizardPage2::_slotPushButtonShowPasswordClicked(bool)
{
    togglePasswordVisibility(ui->lineEditPassword, ui->pushButtonShowPassword);
}

void ViewContentDeviceCopyWizardPage2::_slotPushButtonNextClicked(bool)
{
    // The main window keeps its own copy; the field does not hold it while the device is read.
    const QString password = ui->lineEditPassword->text();
    ui->lineEditPassword->setText(QString());
    emit passwordInserted(password);
}

void ViewContentDeviceCopyWizardPage2::_slotPushButtonCancelClicked(bool)
{
    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
}
