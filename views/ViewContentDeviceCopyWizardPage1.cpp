#include "ViewContentDeviceCopyWizardPage1.h"
#include "ui_ViewContentDeviceCopyWizardPage1.h"

#include "FormContentEditor.h"

ViewContentDeviceCopyWizardPage1::ViewContentDeviceCopyWizardPage1(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentDeviceCopyWizardPage1)
{
    ui->setupUi(this);
    connect(ui->pushButtonNext, &QPushButton::clicked, this,
            &ViewContentDeviceCopyWizardPage1::_slotPushButtonNextClicked);
    connect(ui->pushButtonCancel, &QPushButton::clicked, this,
            &ViewContentDeviceCopyWizardPage1::_slotPushButtonCancelClicked);
}

ViewContentDeviceCopyWizardPage1::~ViewContentDeviceCopyWizardPage1()
{
    delete ui;
}

void ViewContentDeviceCopyWizardPage1::enterView()
{
    ui->pushButtonNext->setFocus();
}

void ViewContentDeviceCopyWizardPage1::_slotPushButtonNextClicked(bool)
{
    pointerFormContentEditor->viewReplace(FormContentEditor::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_2);
}

void ViewContentDeviceCopyWizardPage1::_slotPushButtonCancelClicked(bool)
{
    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
}
