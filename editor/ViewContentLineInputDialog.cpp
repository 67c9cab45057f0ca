#include "ViewContentLineInputDialog.h"
#include "ui_ViewContentLineInputDialog.h"

#include "FormContentEditor.h"
#include "PasswordTable.h"

#include <limits>

ViewContentLineInputDialog::ViewContentLineInputDialog(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentLineInputDialog)
{
    ui->setupUi(this);
    // A line edit cuts its text at 32767 characters by default: a long tab name offered for renaming
    // must come back whole.
    ui->lineEdit->setMaxLength(std::numeric_limits<int>::max());
    connect(ui->pushButtonOk, &QPushButton::clicked, this,
            &ViewContentLineInputDialog::_slotPushButtonOkClicked);
    connect(ui->pushButtonCancel, &QPushButton::clicked, this,
            &ViewContentLineInputDialog::_slotPushButtonCancelClicked);
    connect(ui->lineEdit, &QLineEdit::textEdited, this, &ViewContentLineInputDialog::_slotLineEditTextEdited);
}

ViewContentLineInputDialog::~ViewContentLineInputDialog()
{
    delete ui;
}

void ViewContentLineInputDialog::setDialogContent(const QString& labelText, const QString& text)
{
    ui->labelText->setText(labelText);
    ui->lineEdit->setText(text);
}

void ViewContentLineInputDialog::enterView()
{
    if (!ui->lineEdit->text().isEmpty())
        ui->lineEdit->selectAll();
    ui->lineEdit->setFocus();
    _slotLineEditTextEdited(ui->lineEdit->text());
}

void ViewContentLineInputDialog::_slotLineEditTextEdited(const QString&)
{
    // Tab names are stored between delimiters that would be read back as structure.
    PasswordTable::removeStoreDelimiters(ui->lineEdit);
    const bool isAcceptable = !ui->lineEdit->text().isEmpty();
    ui->pushButtonOk->setEnabled(isAcceptable);
    ui->pushButtonOk->setDefault(isAcceptable);
}

void ViewContentLineInputDialog::_slotPushButtonOkClicked()
{
    // The text is copied before the pop: the receiving slot may refill this page.
    const QString text = ui->lineEdit->text();
    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
    emit insertionFinished(true, text);
}

void ViewContentLineInputDialog::_slotPushButtonCancelClicked()
{
    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
    emit insertionFinished(false, QString());
}
