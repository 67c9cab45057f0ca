#include "ViewContentApplicationLocked.h"
#include "ui_ViewContentApplicationLocked.h"

ViewContentApplicationLocked::ViewContentApplicationLocked(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentApplicationLocked)
{
    ui->setupUi(this);
}

ViewContentApplicationLocked::~ViewContentApplicationLocked()
{
    delete ui;
}

void ViewContentApplicationLocked::enterView() {}
