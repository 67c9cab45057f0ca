#include "ViewContentDeviceErasingWizardPage3.h"
#include "ui_ViewContentDeviceErasingWizardPage3.h"

ViewContentDeviceErasingWizardPage3::ViewContentDeviceErasingWizardPage3(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentDeviceErasingWizardPage3)
{
    ui->setupUi(this);
}

ViewContentDeviceErasingWizardPage3::~ViewContentDeviceErasingWizardPage3()
{
    delete ui;
}

void ViewContentDeviceErasingWizardPage3::enterView() {}
