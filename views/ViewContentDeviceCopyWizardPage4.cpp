#include "ViewContentDeviceCopyWizardPage4.h"
#include "ui_ViewContentDeviceCopyWizardPage4.h"

ViewContentDeviceCopyWizardPage4::ViewContentDeviceCopyWizardPage4(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentDeviceCopyWizardPage4)
{
    ui->setupUi(this);
}

ViewContentDeviceCopyWizardPage4::~ViewContentDeviceCopyWizardPage4()
{
    delete ui;
}

void ViewContentDeviceCopyWizardPage4::enterView() {}
