#include "ViewContentShowDeviceInformation.h"
#include "ui_ViewContentShowDeviceInformation.h"

ViewContentShowDeviceInformation::ViewContentShowDeviceInformation(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentShowDeviceInformation)
{
    ui->setupUi(this);
}

ViewContentShowDeviceInformation::~ViewContentShowDeviceInformation()
{
    delete ui;
}

void ViewContentShowDeviceInformation::enterView() {}
