#include "ViewContentDeviceCopyWizardPage3.h"
#include "ui_ViewContentDeviceCopyWizardPage3.h"

ViewContentDeviceCopyWizardPage3::ViewContentDeviceCopyWizardPage3(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentDeviceCopyWizardPage3)
{
    ui->setupUi(this);
}

ViewContentDeviceCopyWizardPage3::~ViewContentDeviceCopyWizardPage3()
{
    delete ui;
}

void ViewContentDeviceCopyWizardPage3::enterView() {}
