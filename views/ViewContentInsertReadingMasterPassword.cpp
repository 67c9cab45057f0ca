#include "ViewContentInsertReadingMasterPassword.h"
#include "ui_ViewContentInsertReadingMasterPassword.h"

ViewContentInsertReadingMasterPassword::ViewContentInsertReadingMasterPassword(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentInsertReadingMasterPassword)
{
    ui->setupUi(this);
}

ViewContentInsertReadingMasterPassword::~ViewContentInsertReadingMasterPassword()
{
    delete ui;
}

void ViewContentInsertReadingMasterPassword::enterView() {}
