#include "ViewContentDeviceErasingWizardPage2.h"
#include "ui_ViewContentDeviceErasingWizardPage2.h"

#include "FormContentEditor.h"

ViewContentDeviceErasingWizardPage2::ViewContentDeviceErasingWizardPage2(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentDeviceErasingWizardPage2)
{
    ui->setupUi(this);
    connect(ui->checkBoxConfirmation, &QCheckBox::stateChanged, this,
            &ViewContentDeviceErasingWizardPage2::_slotCheckBoxConfirmationStateChanged);
    connect(ui->pushButtonNext, &QPushButton::clicked, this,
            &ViewContentDeviceErasingWizardPage2::_slotPushButtonNextClicked);
    connect(ui->pushButtonCancel, &QPushButton::clicked, this,
            &ViewContentDeviceErasingWizardPage2::_slotPushButtonCancelClicked);
}

ViewContentDeviceErasingWizardPage2::~ViewContentDeviceErasingWizardPage2()
{
    delete ui;
}

void ViewContentDeviceErasingWizardPage2::enterView()
{
    // Every erasure is confirmed afresh: nothing ticked from a previous visit survives.
    ui->checkBoxResetDeviceName->setChecked(false);
    ui->checkBoxConfirmation->setChecked(false);
    ui->pushButtonNext->setEnabled(false);
    ui->checkBoxResetDeviceName->setFocus();
}

void ViewContentDeviceErasingWizardPage2::_slotCheckBoxConfirmationStateChanged(int state)
{
    ui->pushButtonNext->setEnabled(state == Qt::Checked);
}

void ViewContentDeviceErasingWizardPage2::_slotPushButtonNextClicked(bool)
{
    emit erasingConfirmed(ui->checkBoxResetDeviceName->isChecked());
}

void ViewContentDeviceErasingWizardPage2::_slotPushButtonCancelClicked(bool)
{
    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
}
