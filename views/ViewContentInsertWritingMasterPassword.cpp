#include "ViewContentInsertWritingMasterPassword.h"
#include "ui_ViewContentInsertWritingMasterPassword.h"

ViewContentInsertWritingMasterPassword::ViewContentInsertWritingMasterPassword(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentInsertWritingMasterPassword)
{
    ui->setupUi(this);
}

ViewContentInsertWritingMasterPassword::~ViewContentInsertWritingMasterPassword()
{
    delete ui;
}

void ViewContentInsertWritingMasterPassword::enterView() {}
