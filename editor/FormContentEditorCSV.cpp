// CSV import and export of the main window.
#include "FormContentEditor.h"
#include "ui_FormContentEditor.h"

#include "CSV.h"
#include "PasswordTable.h"
#include "ViewContentImportCSVFile.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

void FormContentEditor::_initializeCSV()
{
    connect(ui->actionImportCSV, &QAction::triggered, this,
            &FormContentEditor::_slotActionImportCSVTriggered);
    connect(ui->actionExportCSV, &QAction::triggered, this,
            &FormContentEditor::_slotActionExportCSVTriggered);
    auto* importView = static_cast<ViewContentImportCSVFile*>(viewGetContent(VIEW_ID_IMPORT_CSV_FILE));
    connect(importView, &ViewContentImportCSVFile::fileSelected, this,
            &FormContentEditor::_slotViewContentImportCSVFileFileSelected);
}

void FormContentEditor::_slotActionImportCSVTriggered(bool)
{
    if (!_isEditorActionAllowed(false))
        return;
    const int tabCount = ui->tabWidget->count();
    QList<QString> tabNames;
    tabNames.reserve(tabCount);
    for (int tabIndex = 0; tabIndex < tabCount; tabIndex++)
        tabNames.append(ui->tabWidget->tabText(tabIndex));

    auto* importView = static_cast<ViewContentImportCSVFile*>(viewGetContent(VIEW_ID_IMPORT_CSV_FILE));
    importView->setContent(_lastCSVDirectory, tabNames, ui->tabWidget->currentIndex());
    viewPush(VIEW_ID_IMPORT_CSV_FILE);
}

void FormContentEditor::_slotActionExportCSVTriggered(bool)
{
    if (!_isEditorActionAllowed(false))
        return;
    auto* table = static_cast<PasswordTable*>(ui->tabWidget->currentWidget());
    if (table == nullptr)
        return;

    // With no directory yet, the tab name alone lands under the root directory.
    QString fileName = QFileDialog::getSaveFileName(
        this, tr("Export a CSV file"),
        _lastCSVDirectory + QStringLiteral("/") + ui->tabWidget->tabText(ui->tabWidget->currentIndex()) +
            QStringLiteral(".csv"),
        tr("Comma Separated Value (*.csv *.CSV)"));
    // A lock that landed meanwhile has rejected the dialog; one that did not close (a native dialog
    // may not) still writes nothing.
    if (fileName.isEmpty() || !_isEditorActionAllowed(false))
        return;
    if (!fileName.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        fileName += QStringLiteral(".csv");
    _lastCSVDirectory = QFileInfo(fileName).absolutePath();

    QString errorText;
    if (CSV::exportTabToFile(fileName, table, errorText) != 0)
    {
        viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_ERROR, tr("Error"),
                                 tr("Could not export the CSV file '%1' (%2).").arg(fileName, errorText),
                                 ViewContentMessageBoxDialog::BUTTON_OK,
                                 ViewContentMessageBoxDialog::BUTTON_OK);
        return;
    }
    viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_INFORMATION,
                             tr("Success", "CSV file exportation"),
                             tr("The current tab passwords were successfully exported to a CSV file."),
                             ViewContentMessageBoxDialog::BUTTON_OK, ViewContentMessageBoxDialog::BUTTON_OK);
}

void FormContentEditor::_slotViewContentImportCSVFileFileSelected(QString completeFileName,
                                                                  QChar fieldsSeparatorCharacter,
                                                                  QString newTabName,
                                                                  int selectedExistingTabIndex,
                                                                  bool areExistingPasswordsReplaced)
{
    _lastCSVDirectory = QFileInfo(completeFileName).absolutePath();

    // Checked before any tab is created, so that an unreadable file leaves the tabs as they were.
    {
        QFile file(completeFileName);
        if (!file.open(QIODevice::ReadOnly))
        {
            viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_ERROR, tr("Error"),
                                     tr("Could not open the file '%1' in read mode (%2).")
                                         .arg(completeFileName, file.errorString()),
                                     ViewContentMessageBoxDialog::BUTTON_OK,
                                     ViewContentMessageBoxDialog::BUTTON_OK);
            return;
        }
    }

    PasswordTable* table;
    if (!newTabName.isEmpty())
        table = _createEmptyTab(newTabName);
    else
        table = qobject_cast<PasswordTable*>(ui->tabWidget->widget(selectedExistingTabIndex));
    if (table == nullptr)
        return;

    // Parsed whole before the table is touched: a malformed file changes nothing in it.
    QList<PasswordTable::Password> importedPasswords;
    QString errorText;
    if (CSV::importFileContent(completeFileName, fieldsSeparatorCharacter, importedPasswords, errorText) != 0)
    {
        viewPushMessageBoxDialog(
            ViewContentMessageBoxDialog::ICON_ERROR, tr("Error"),
            tr("Could not import the CSV file '%1' (%2).").arg(completeFileName, errorText),
            ViewContentMessageBoxDialog::BUTTON_OK, ViewContentMessageBoxDialog::BUTTON_OK);
        return;
    }

    // Placed in the list one by one exactly as insertions would place them, then shown in one rebuild:
    // building a row per insertion would build every row twice.
    for (const PasswordTable::Password& importedPassword : importedPasswords)
    {
        if (areExistingPasswordsReplaced)
        {
            // Names compared with case; earlier records of this same file are replaced too.
            const QString& name = importedPassword.data[PasswordTable::PASSWORD_DATA_ID_NAME];
            table->passwords.removeIf(
                [&name](const PasswordTable::Password& password)
                { return password.data[PasswordTable::PASSWORD_DATA_ID_NAME] == name; });
        }
        table->insertPasswordWithoutRow(importedPassword);
    }
    table->fillTableWithPasswords();
    ui->tabWidget->setCurrentWidget(table);
    _setUnsavedDataPresent(true);
    viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_INFORMATION,
                             tr("Success", "CSV file importation"),
                             tr("CSV data were successfully imported."),
                             ViewContentMessageBoxDialog::BUTTON_OK, ViewContentMessageBoxDialog::BUTTON_OK);
}
