#include "ViewContentWriteDevice.h"
#include "ui_ViewContentWriteDevice.h"

ViewContentWriteDevice::ViewContentWriteDevice(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentWriteDevice)
{
    ui->setupUi(this);
}

ViewContentWriteDevice::~ViewContentWriteDevice()
{
    delete ui;
}

void ViewContentWriteDevice::enterView() {}
