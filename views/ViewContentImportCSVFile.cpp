#include "ViewContentImportCSVFile.h"
#include "ui_ViewContentImportCSVFile.h"

#include "PasswordTablePasswordItem.h"

#include "FormContentEditor.h"
#include "HelpViewer.h"

#include <QFileDialog>
#include <QFileInfo>

namespace
{
// Enough to see how the columns were taken; the count says how many there are in all.
constexpr int PREVIEW_ROW_COUNT = 10;
} // namespace

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
    connect(ui->comboBoxFieldsSeparator, &QComboBox::currentIndexChanged, this,
            &ViewContentImportCSVFile::_slotComboBoxFieldsSeparatorCurrentIndexChanged);
    connect(ui->labelHelp, &QLabel::linkActivated, this,
            &ViewContentImportCSVFile::_slotLabelHelpLinkActivated);
}

ViewContentImportCSVFile::~ViewContentImportCSVFile()
{
    _clearPreview();
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
    _clearPreview();
    ui->labelSelectedFile->setText(tr("No file selected."));
    ui->lineEditCreateTabName->clear();
    ui->radioButtonCreateNewTab->setChecked(true);
    ui->pushButtonOk->setEnabled(false);
    ui->groupBoxFileSettings->setEnabled(false);
    ui->groupBoxDestinationTab->setEnabled(false);
    ui->pushButtonSelectFile->setFocus();
}

void ViewContentImportCSVFile::exitView()
{
    // The page stays alive hidden: leave no record of the file in it.
    _clearPreview();
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

void ViewContentImportCSVFile::selectFile(const QString& completeFileName)
{
    _selectedFileName = completeFileName;
    const QFileInfo fileInfo(completeFileName);
    ui->labelSelectedFile->setText(tr("Selected file: %1").arg(fileInfo.fileName()));
    ui->lineEditCreateTabName->setText(fileInfo.baseName());
    ui->groupBoxFileSettings->setEnabled(true);
    ui->groupBoxDestinationTab->setEnabled(true);
    _readSelectedFile();
    if (ui->radioButtonCreateNewTab->isChecked())
        _slotRadioButtonCreateNewTabClicked();
    else
        _slotRadioButtonImportToExistingTabClicked();
}

void ViewContentImportCSVFile::_readSelectedFile()
{
    QString errorText;
    const int result =
        CSV::readFile(_selectedFileName, _getFieldsSeparatorCharacter(), &_fileContent, errorText);
    _showPreview(result == 0 ? QString() : errorText);
}

void ViewContentImportCSVFile::_showPreview(const QString& errorText)
{
    ui->groupBoxPreview->setVisible(true);
    ui->tableWidgetPreview->setRowCount(0);
    ui->plainTextEditProblems->clear();
    const bool isReadable = errorText.isEmpty();
    ui->tableWidgetPreview->setVisible(isReadable);
    ui->groupBoxFolders->setVisible(isReadable && _fileContent.isFolderPresent);
    const bool isProblemPresent = isReadable && _fileContent.problemCount > 0;
    ui->labelProblems->setVisible(isProblemPresent);
    ui->plainTextEditProblems->setVisible(isProblemPresent);
    if (!isReadable)
    {
        ui->labelPreviewSummary->setText(tr("This file cannot be imported: %1").arg(errorText));
        return;
    }

    const int recordCount = static_cast<int>(_fileContent.passwords.size());
    QString summary = tr("Recognised format: %1.").arg(_fileContent.formatName) + QLatin1Char(' ');
    if (recordCount == 0)
        summary += tr("No record can be imported from this file.");
    else if (recordCount == 1)
        summary += tr("One record will be imported:");
    else if (recordCount <= PREVIEW_ROW_COUNT)
        summary += tr("%1 records will be imported:").arg(recordCount);
    else
        summary += tr("%1 records will be imported; the first %2 are shown:")
                       .arg(recordCount)
                       .arg(PREVIEW_ROW_COUNT);
    ui->labelPreviewSummary->setText(summary);

    const int rowCount = std::min(recordCount, PREVIEW_ROW_COUNT);
    ui->tableWidgetPreview->setRowCount(rowCount);
    for (int row = 0; row < rowCount; row++)
    {
        const PasswordTable::Password& password = _fileContent.passwords[row];
        for (int column = 0; column < PasswordTable::PASSWORD_DATA_IDS_COUNT; column++)
        {
            QString text = password.data[column];
            // Masked at a fixed length: the preview is no place to learn even a password's size.
            if (column == PasswordTable::PASSWORD_DATA_ID_PASSWORD && !text.isEmpty())
                text = PasswordTablePasswordItem::maskText();
            else if (column == PasswordTable::PASSWORD_DATA_ID_NOTE && text.contains(QLatin1Char('\n')))
                text = text.section(QLatin1Char('\n'), 0, 0) + QStringLiteral(" \u2026");
            ui->tableWidgetPreview->setItem(row, column, new QTableWidgetItem(text));
        }
    }
    ui->tableWidgetPreview->resizeColumnsToContents();

    QStringList problems = _fileContent.problems;
    if (_fileContent.problemCount > _fileContent.problems.size())
        problems.append(tr("... (%1 lines in all)").arg(_fileContent.problemCount));
    ui->plainTextEditProblems->setPlainText(problems.join(QLatin1Char('\n')));
}

void ViewContentImportCSVFile::_clearPreview()
{
    // The preview's items share their texts with the content: gone first, the texts are then wiped.
    ui->tableWidgetPreview->setRowCount(0);
    _fileContent.wipe();
    _fileContent = CSV::FileContent();
    ui->plainTextEditProblems->clear();
    ui->labelPreviewSummary->clear();
    ui->groupBoxPreview->setVisible(false);
    ui->groupBoxFolders->setVisible(false);
}

void ViewContentImportCSVFile::_updateOkButton()
{
    // The name is used as typed; only a name of blanks alone is refused.
    const bool isDestinationSet = ui->radioButtonImportToExistingTab->isChecked() ||
                                  !ui->lineEditCreateTabName->text().trimmed().isEmpty();
    // A file that could not be read leaves no records.
    ui->pushButtonOk->setEnabled(!_fileContent.passwords.isEmpty() && isDestinationSet);
}

void ViewContentImportCSVFile::_slotPushButtonSelectFileClicked(bool)
{
    const QString fileName = QFileDialog::getOpenFileName(this, tr("Import a CSV file"), _lastCSVDirectory,
                                                          tr("Comma Separated Value (*.csv *.CSV)"));
    // A lock that landed meanwhile covers this page: an answer given through it is not taken.
    if (!fileName.isEmpty() &&
        pointerFormContentEditor->viewGetCurrent() == FormContentEditor::VIEW_ID_IMPORT_CSV_FILE)
        selectFile(fileName);
}

void ViewContentImportCSVFile::_slotPushButtonOkClicked(bool)
{
    QString newTabName;
    int selectedExistingTabIndex = -1;
    if (ui->radioButtonCreateNewTab->isChecked())
        newTabName = ui->lineEditCreateTabName->text();
    else
        selectedExistingTabIndex = ui->comboBoxSelectExistingTab->currentIndex();
    const bool areExistingPasswordsReplaced = ui->checkBoxReplaceExistingPasswords->isChecked();
    const bool isOneTabPerFolder =
        _fileContent.isFolderPresent && ui->radioButtonOneTabPerFolder->isChecked();
    // Taken out of the page first: leaving the page wipes what it holds.
    CSV::FileContent content = std::move(_fileContent);
    const QString fileName = _selectedFileName;

    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
    emit fileSelected(fileName, content, newTabName, selectedExistingTabIndex, areExistingPasswordsReplaced,
                      isOneTabPerFolder);
    content.wipe();
}

void ViewContentImportCSVFile::_slotPushButtonCancelClicked(bool)
{
    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
}

void ViewContentImportCSVFile::_slotRadioButtonCreateNewTabClicked()
{
    ui->widgetCreateNewTab->setEnabled(true);
    ui->widgetImportToExistingTab->setEnabled(false);
    _updateOkButton();
}

void ViewContentImportCSVFile::_slotRadioButtonImportToExistingTabClicked()
{
    ui->widgetCreateNewTab->setEnabled(false);
    ui->widgetImportToExistingTab->setEnabled(true);
    _updateOkButton();
}

void ViewContentImportCSVFile::_slotLineEditCreateTabNameEdited()
{
    _updateOkButton();
}

void ViewContentImportCSVFile::_slotComboBoxFieldsSeparatorCurrentIndexChanged(int)
{
    // The same file read again, so that the preview shows what OK would import.
    if (_selectedFileName.isEmpty())
        return;
    _readSelectedFile();
    _updateOkButton();
}

void ViewContentImportCSVFile::_slotLabelHelpLinkActivated(const QString& referenceDocumentFileName)
{
    HelpViewer::display(referenceDocumentFileName);
}
