#include "ViewContentDeviceSelection.h"
#include "ui_ViewContentDeviceSelection.h"

ViewContentDeviceSelection::ViewContentDeviceSelection(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentDeviceSelection)
{
    ui->setupUi(this);
}

ViewContentDeviceSelection::~ViewContentDeviceSelection()
{
    delete ui;
}

void ViewContentDeviceSelection::enterView() {}
