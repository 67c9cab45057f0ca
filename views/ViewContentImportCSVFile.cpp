#include "ViewContentImportCSVFile.h"
#include "ui_ViewContentImportCSVFile.h"

ViewContentImportCSVFile::ViewContentImportCSVFile(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentImportCSVFile)
{
    ui->setupUi(this);
}

ViewContentImportCSVFile::~ViewContentImportCSVFile()
{
    delete ui;
}

void ViewContentImportCSVFile::enterView() {}
