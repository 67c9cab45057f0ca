#include "ViewContentDeviceErasingWizardPage1.h"
#include "ui_ViewContentDeviceErasingWizardPage1.h"

#include "FormContentEditor.h"

ViewContentDeviceErasingWizardPage1::ViewContentDeviceErasingWizardPage1(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentDeviceErasingWizardPage1)
{
    ui->setupUi(this);
    connect(ui->pushButtonNext, &QPushButton::clicked, this,
            &ViewContentDeviceErasingWizardPage1::_slotPushButtonNextClicked);
    connect(ui->pushButtonCancel, &QPushButton::clicked, this,
            &ViewContentDeviceErasingWizardPage1::_slotPushButtonCancelClicked);
}

ViewContentDeviceErasingWizardPage1::~ViewContentDeviceErasingWizardPage1()
{
    delete ui;
}

void ViewContentDeviceErasingWizardPage1::enterView()
{
    ui->pushButtonNext->setFocus();
}

void ViewContentDeviceErasingWizardPage1::_slotPushButtonNextClicked(bool)
{
    pointerFormContentEditor->viewReplace(FormContentEditor::VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_2);
}

void ViewContentDeviceErasingWizardPage1::_slotPushButtonCancelClicked(bool)
{
    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
}
