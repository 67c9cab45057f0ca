#include "ViewContentInsertReadingMasterPassword.h"
#include "ui_ViewContentInsertReadingMasterPassword.h"

#include "Device.h"
#include "FormContentEditor.h"

ViewContentInsertReadingMasterPassword::ViewContentInsertReadingMasterPassword(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentInsertReadingMasterPassword)
{
    ui->setupUi(this);
    ui->labelError->hide();

    connect(ui->pushButtonOk, &QPushButton::clicked, this,
            &ViewContentInsertReadingMasterPassword::_slotPushButtonOkClicked);
    connect(ui->pushButtonCancel, &QPushButton::clicked, this,
            &ViewContentInsertReadingMasterPassword::_slotPushButtonCancelClicked);
    connect(ui->pushButtonShow, &QPushButton::clicked, this,
            &ViewContentInsertReadingMasterPassword::_slotPushButtonShowClicked);
    connect(ui->lineEditPasswordField, &QLineEdit::textEdited, this,
            &ViewContentInsertReadingMasterPassword::_slotLineEditTextEdited);
}

ViewContentInsertReadingMasterPassword::~ViewContentInsertReadingMasterPassword()
{
    delete ui;
}

void ViewContentInsertReadingMasterPassword::enterView()
{
    // No password survives from one use to the next, and it is hidden until asked for.
    // setText() rather than clear(): clearing is an undoable edit that would keep the password.
    ui->lineEditPasswordField->setText(QString());
    maskSecrets();
    ui->pushButtonOk->setEnabled(false);
    ui->lineEditPasswordField->setFocus();
    ui->labelError->clear();
    ui->labelError->hide();
}

void ViewContentInsertReadingMasterPassword::maskSecrets()
{
    maskPasswordField(ui->lineEditPasswordField, ui->pushButtonShow);
}

void ViewContentInsertReadingMasterPassword::showError(const QString& text)
{
    ui->labelError->setText(text);
    ui->labelError->show();
}

void ViewContentInsertReadingMasterPassword::exitView()
{
    // Cancelled or covered for good: the typed text goes, without undo history.
    ui->lineEditPasswordField->setText(QString());
}

void ViewContentInsertReadingMasterPassword::_slotPushButtonOkClicked(bool)
{
    const QString password = ui->lineEditPasswordField->text();
    // The main window keeps its own copy; the field does not hold it while the device is read.
    ui->lineEditPasswordField->setText(QString());
    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
    emit insertionFinished(true, password);
}

void ViewContentInsertReadingMasterPassword::_slotPushButtonCancelClicked(bool)
{
    Device::releaseSelectedDevice();
    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
    emit insertionFinished(false, QString());
}

void ViewContentInsertReadingMasterPassword::_slotPushButtonShowClicked(bool)
{
    togglePasswordVisibility(ui->lineEditPasswordField, ui->pushButtonShow);
}

void ViewContentInsertReadingMasterPassword::_slotLineEditTextEdited(const QString& text)
{
    ui->pushButtonOk->setEnabled(!text.isEmpty());
}
