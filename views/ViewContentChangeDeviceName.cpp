#include "ViewContentChangeDeviceName.h"
#include "ui_ViewContentChangeDeviceName.h"

ViewContentChangeDeviceName::ViewContentChangeDeviceName(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentChangeDeviceName)
{
    ui->setupUi(this);
}

ViewContentChangeDeviceName::~ViewContentChangeDeviceName()
{
    delete ui;
}

void ViewContentChangeDeviceName::enterView() {}
