#include "ViewContentDeviceErasingWizardPage2.h"
#include "ui_ViewContentDeviceErasingWizardPage2.h"

ViewContentDeviceErasingWizardPage2::ViewContentDeviceErasingWizardPage2(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentDeviceErasingWizardPage2)
{
    ui->setupUi(this);
}

ViewContentDeviceErasingWizardPage2::~ViewContentDeviceErasingWizardPage2()
{
    delete ui;
}

void ViewContentDeviceErasingWizardPage2::enterView() {}
