#include "ViewContentPasswordInformation.h"
#include "ui_ViewContentPasswordInformation.h"

ViewContentPasswordInformation::ViewContentPasswordInformation(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentPasswordInformation)
{
    ui->setupUi(this);
}

ViewContentPasswordInformation::~ViewContentPasswordInformation()
{
    delete ui;
}

void ViewContentPasswordInformation::enterView() {}
