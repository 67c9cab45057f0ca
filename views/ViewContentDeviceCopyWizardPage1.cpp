#include "ViewContentDeviceCopyWizardPage1.h"
#include "ui_ViewContentDeviceCopyWizardPage1.h"

ViewContentDeviceCopyWizardPage1::ViewContentDeviceCopyWizardPage1(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentDeviceCopyWizardPage1)
{
    ui->setupUi(this);
}

ViewContentDeviceCopyWizardPage1::~ViewContentDeviceCopyWizardPage1()
{
    delete ui;
}

void ViewContentDeviceCopyWizardPage1::enterView() {}
