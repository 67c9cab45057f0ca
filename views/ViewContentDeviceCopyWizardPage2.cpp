#include "ViewContentDeviceCopyWizardPage2.h"
#include "ui_ViewContentDeviceCopyWizardPage2.h"

ViewContentDeviceCopyWizardPage2::ViewContentDeviceCopyWizardPage2(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentDeviceCopyWizardPage2)
{
    ui->setupUi(this);
}

ViewContentDeviceCopyWizardPage2::~ViewContentDeviceCopyWizardPage2()
{
    delete ui;
}

void ViewContentDeviceCopyWizardPage2::enterView() {}
