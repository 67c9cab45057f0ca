#include "ViewContentSettings.h"
#include "ui_ViewContentSettings.h"

ViewContentSettings::ViewContentSettings(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentSettings)
{
    ui->setupUi(this);
}

ViewContentSettings::~ViewContentSettings()
{
    delete ui;
}

void ViewContentSettings::enterView() {}
