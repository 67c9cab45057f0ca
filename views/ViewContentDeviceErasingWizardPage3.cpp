#include "ViewContentDeviceErasingWizardPage3.h"
#include "ui_ViewContentDeviceErasingWizardPage3.h"

#include "FormContentEditor.h"

ViewContentDeviceErasingWizardPage3::ViewContentDeviceErasingWizardPage3(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentDeviceErasingWizardPage3)
{
    ui->setupUi(this);
    connect(ui->pushButtonExit, &QPushButton::clicked, this,
            &ViewContentDeviceErasingWizardPage3::_slotPushButtonExitClicked);
}

ViewContentDeviceErasingWizardPage3::~ViewContentDeviceErasingWizardPage3()
{
    delete ui;
}

void ViewContentDeviceErasingWizardPage3::enterView()
{
    ui->pushButtonExit->setFocus();
}

void ViewContentDeviceErasingWizardPage3::_slotPushButtonExitClicked(bool)
{
    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
}
