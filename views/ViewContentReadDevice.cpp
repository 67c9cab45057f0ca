#include "ViewContentReadDevice.h"
#include "ui_ViewContentReadDevice.h"

ViewContentReadDevice::ViewContentReadDevice(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentReadDevice)
{
    ui->setupUi(this);
}

ViewContentReadDevice::~ViewContentReadDevice()
{
    delete ui;
}

void ViewContentReadDevice::enterView() {}
