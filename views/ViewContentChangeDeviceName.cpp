#include "ViewContentChangeDeviceName.h"
#include "ui_ViewContentChangeDeviceName.h"

#include "Device.h"
#include "FormContentEditor.h"

ViewContentChangeDeviceName::ViewContentChangeDeviceName(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentChangeDeviceName)
{
    ui->setupUi(this);
    connect(ui->lineEditName, &QLineEdit::textChanged, this,
            &ViewContentChangeDeviceName::_slotLineEditNameTextChanged);
    connect(ui->pushButtonOk, &QPushButton::clicked, this,
            &ViewContentChangeDeviceName::_slotPushButtonOkClicked);
    connect(ui->pushButtonCancel, &QPushButton::clicked, this,
            &ViewContentChangeDeviceName::_slotPushButtonCancelClicked);
}

ViewContentChangeDeviceName::~ViewContentChangeDeviceName()
{
    delete ui;
}

void ViewContentChangeDeviceName::enterView()
{
    Device* device = Device::getSelectedDevice();
    ui->lineEditName->setText(device != nullptr ? device->getName() : QString());
    _slotLineEditNameTextChanged(ui->lineEditName->text());
    ui->lineEditName->selectAll();
    ui->lineEditName->setFocus();
}

void ViewContentChangeDeviceName::_slotLineEditNameTextChanged(const QString& text)
{
    ui->pushButtonOk->setEnabled(!text.isEmpty());
}

void ViewContentChangeDeviceName::_slotPushButtonOkClicked(bool)
{
    QString name = ui->lineEditName->text();
    Device* device = Device::getSelectedDevice();
    const int result = device != nullptr ? device->writeName(name) : -1;
    pointerFormContentEditor->viewPopPage(this);
    Device::releaseSelectedDevice();
    emit nameChanged(result);
}

void ViewContentChangeDeviceName::_slotPushButtonCancelClicked(bool)
{
    pointerFormContentEditor->viewPopPage(this);
    Device::releaseSelectedDevice();
}
