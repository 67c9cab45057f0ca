#include "ViewContentImportCSVFile.h"
#include "ui_ViewContentImportCSVFile.h"

#include "FormContentEditor.h"
#include "HelpViewer.h"

#include <QFileDialog>
#include <QFileInfo>

ViewContentImportCSVFile::ViewContentImportCSVFile(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentImportCSVFile)
{
    ui->setupUi(this);
    ui->labelHelp->setText(
        QStringLiteral("<a href=\"import_csv_file.html\">%1</a>").arg(tr("How to import a CSV file?")));

    connect(ui->pushButtonSelectFile, &QPushButton::clicked, this,
            &ViewContentImportCSVFile::_slotPushButtonSelectFileClicked);
    connect(ui->pushButtonOk, &QPushButton::clicked, this,
            &ViewContentImportCSVFile::_slotPushButtonOkClicked);
    connect(ui->pushButtonCancel, &QPushButton::clicked, this,
            &ViewContentImportCSVFile::_slotPushButtonCancelClicked);
    connect(ui->radioButtonCreateNewTab, &QRadioButton::clicked, this,
            &ViewContentImportCSVFile::_slotRadioButtonCreateNewTabClicked);
    connect(ui->radioButtonImportToExistingTab, &QRadioButton::clicked, this,
            &ViewContentImportCSVFile::_slotRadioButtonImportToExistingTabClicked);
    connect(ui->lineEditCreateTabName, &QLineEdit::textEdited, this,
            &ViewContentImportCSVFile::_slotLineEditCreateTabNameEdited);
    connect(ui->labelHelp, &QLabel::linkActivated, this,
            &ViewContentImportCSVFile::_slotLabelHelpLinkActivated);
}

ViewContentImportCSVFile::~ViewContentImportCSVFile()
{
    delete ui;
}

void ViewContentImportCSVFile::setContent(QString lastCSVDirectory, QList<QString> tabNames,
                                          int currentTabIndex)
{
    _lastCSVDirectory = lastCSVDirectory;
    ui->comboBoxSelectExistingTab->clear();
    ui->comboBoxSelectExistingTab->addItems(tabNames);
    ui->comboBoxSelectExistingTab->setCurrentIndex(currentTabIndex);

    const bool isTabPresent = !tabNames.isEmpty();
    ui->radioButtonImportToExistingTab->setEnabled(isTabPresent);
    ui->widgetImportToExistingTab->setEnabled(isTabPresent);
}

void ViewContentImportCSVFile::enterView()
{
    // The separator and the replace box keep their last state: a user importing several files of
    // one origin sets them once.
    _selectedFileName.clear();
    ui->labelSelectedFile->setText(tr("No file selected."));
    ui->lineEditCreateTabName->clear();
    ui->radioButtonCreateNewTab->setChecked(true);
    ui->pushButtonOk->setEnabled(false);
    ui->groupBoxFileSettings->setEnabled(false);
    ui->groupBoxDestinationTab->setEnabled(false);
    ui->pushButtonSelectFile->setFocus();
}

QChar ViewContentImportCSVFile::_getFieldsSeparatorCharacter()
{
    switch (ui->comboBoxFieldsSeparator->currentIndex())
    {
    case 1:
        return QLatin1Char(';');
    case 2:
        return QLatin1Char('\t');
    case 3:
        return QLatin1Char(' ');
    default:
        return QLatin1Char(',');
    }
}

void ViewContentImportCSVFile::_slotPushButtonSelectFileClicked(bool)
{
    const QString fileName = QFileDialog::getOpenFileName(this, tr("Import a CSV file"), _lastCSVDirectory,
                                                          tr("Comma Separated Value (*.csv *.CSV)"));
    // A lock that landed meanwhile covers this page: an answer given through it is not taken.
    if (fileName.isEmpty() ||
        pointerFormContentEditor->viewGetCurrent() != FormContentEditor::VIEW_ID_IMPORT_CSV_FILE)
        return;

    _selectedFileName = fileName;
    const QFileInfo fileInfo(fileName);
    ui->labelSelectedFile->setText(tr("Selected file: %1").arg(fileInfo.fileName()));
    ui->lineEditCreateTabName->setText(fileInfo.baseName());
    ui->groupBoxFileSettings->setEnabled(true);
    ui->groupBoxDestinationTab->setEnabled(true);
    if (ui->radioButtonCreateNewTab->isChecked())
        _slotRadioButtonCreateNewTabClicked();
    else
        _slotRadioButtonImportToExistingTabClicked();
}

void ViewContentImportCSVFile::_slotPushButtonOkClicked(bool)
{
    QString newTabName;
    int selectedExistingTabIndex = -1;
    if (ui->radioButtonCreateNewTab->isChecked())
        newTabName = ui->lineEditCreateTabName->text();
    else
        selectedExistingTabIndex = ui->comboBoxSelectExistingTab->currentIndex();
    const QChar fieldsSeparatorCharacter = _getFieldsSeparatorCharacter();
    const bool areExistingPasswordsReplaced = ui->checkBoxReplaceExistingPasswords->isChecked();

    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
    emit fileSelected(_selectedFileName, fieldsSeparatorCharacter, newTabName, selectedExistingTabIndex,
                      areExistingPasswordsReplaced);
}

void ViewContentImportCSVFile::_slotPushButtonCancelClicked(bool)
{
    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
}

void ViewContentImportCSVFile::_slotRadioButtonCreateNewTabClicked()
{
    ui->widgetCreateNewTab->setEnabled(true);
    ui->widgetImportToExistingTab->setEnabled(false);
    _slotLineEditCreateTabNameEdited();
}

void ViewContentImportCSVFile::_slotRadioButtonImportToExistingTabClicked()
{
    ui->widgetCreateNewTab->setEnabled(false);
    ui->widgetImportToExistingTab->setEnabled(true);
    ui->pushButtonOk->setEnabled(true);
}

void ViewContentImportCSVFile::_slotLineEditCreateTabNameEdited()
{
    // The name is used as typed; only a name of blanks alone is refused.
    ui->pushButtonOk->setEnabled(!ui->lineEditCreateTabName->text().trimmed().isEmpty());
}

void ViewContentImportCSVFile::_slotLabelHelpLinkActivated(const QString& referenceDocumentFileName)
{
    HelpViewer::display(referenceDocumentFileName);
}
