#include "ViewContentDeviceErasingWizardPage1.h"
#include "ui_ViewContentDeviceErasingWizardPage1.h"

ViewContentDeviceErasingWizardPage1::ViewContentDeviceErasingWizardPage1(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentDeviceErasingWizardPage1)
{
    ui->setupUi(this);
}

ViewContentDeviceErasingWizardPage1::~ViewContentDeviceErasingWizardPage1()
{
    delete ui;
}

void ViewContentDeviceErasingWizardPage1::enterView() {}
