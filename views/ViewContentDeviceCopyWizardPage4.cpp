#include "ViewContentDeviceCopyWizardPage4.h"
#include "ui_ViewContentDeviceCopyWizardPage4.h"

#include "FormContentEditor.h"

ViewContentDeviceCopyWizardPage4::ViewContentDeviceCopyWizardPage4(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentDeviceCopyWizardPage4)
{
    ui->setupUi(this);
    connect(ui->pushButtonExit, &QPushButton::clicked, this,
            &ViewContentDeviceCopyWizardPage4::_slotPushButtonExitClicked);
}

ViewContentDeviceCopyWizardPage4::~ViewContentDeviceCopyWizardPage4()
{
    delete ui;
}

void ViewContentDeviceCopyWizardPage4::enterView()
{
    ui->pushButtonExit->setFocus();
}

void ViewContentDeviceCopyWizardPage4::_slotPushButtonExitClicked(bool)
{
    // The whole wizard goes at once: its pages are stacked over the editor.
    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_CONTENT_EDITOR);
}
