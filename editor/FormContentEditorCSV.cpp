// CSV import and export of the main window.
#include "FormContentEditor.h"
#include "ui_FormContentEditor.h"

#include "CSV.h"
#include "PasswordTable.h"
#include "ViewContentImportCSVFile.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHash>

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
        tabNames.append(ui->tabWidget->tabName(tabIndex));

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

    // With no directory yet, the tab name alone lands under the root directory. The dialog adds
    // ".csv" to a name typed without one before it checks for an existing file, so that its own
    // question covers the file that is really written.
    QFileDialog dialog(this, tr("Export a CSV file"),
                       _lastCSVDirectory + QStringLiteral("/") +
                           ui->tabWidget->tabName(ui->tabWidget->currentIndex()) + QStringLiteral(".csv"),
                       tr("Comma Separated Value (*.csv *.CSV)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    // A lock that landed meanwhile has rejected the dialog; one that did not close (a native dialog
    // may not) still writes nothing.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty() ||
        !_isEditorActionAllowed(false))
        return;
    const QString fileName = dialog.selectedFiles().constFirst();
    _lastCSVDirectory = QFileInfo(fileName).absolutePath();

    QString errorText;
    if (CSV::exportTabToFile(fileName, table->passwords, errorText) != 0)
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

PasswordTable* FormContentEditor::_getOrCreateTab(const QString& name)
{
    for (int tabIndex = 0; tabIndex < ui->tabWidget->count(); tabIndex++)
    {
        if (ui->tabWidget->tabName(tabIndex) == name)
            return static_cast<PasswordTable*>(ui->tabWidget->widget(tabIndex));
    }
    return _createEmptyTab(name);
}

void FormContentEditor::_slotViewContentImportCSVFileFileSelected(
    QString completeFileName, const CSV::FileContent& content, QString newTabName,
    int selectedExistingTabIndex, bool areExistingPasswordsReplaced, bool isOneTabPerFolder)
{
    _lastCSVDirectory = QFileInfo(completeFileName).absolutePath();

    PasswordTable* destinationTable;
    if (!newTabName.isEmpty())
        destinationTable = _createEmptyTab(newTabName);
    else
        destinationTable = qobject_cast<PasswordTable*>(ui->tabWidget->widget(selectedExistingTabIndex));
    if (destinationTable == nullptr)
        return;

    // Placed in the lists one by one exactly as insertions would place them, then each table shown
    // in one rebuild: building a row per insertion would build every row twice.
    QList<PasswordTable*> changedTables = {destinationTable};
    QHash<QString, PasswordTable*> folderTables;
    for (qsizetype index = 0; index < content.passwords.size(); index++)
    {
        const PasswordTable::Password& importedPassword = content.passwords[index];
        const QString& folder = content.folders.value(index);
        PasswordTable* table = destinationTable;
        if (isOneTabPerFolder && !folder.isEmpty())
        {
            PasswordTable*& folderTable = folderTables[folder];
            if (folderTable == nullptr)
            {
                folderTable = _getOrCreateTab(folder);
                if (!changedTables.contains(folderTable))
                    changedTables.append(folderTable);
            }
            table = folderTable;
        }
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
    for (PasswordTable* table : changedTables)
        table->fillTableWithPasswords();
    ui->tabWidget->setCurrentWidget(destinationTable);
    _setUnsavedDataPresent(true);
    viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_INFORMATION,
                             tr("Success", "CSV file importation"),
                             tr("CSV data were successfully imported."),
                             ViewContentMessageBoxDialog::BUTTON_OK, ViewContentMessageBoxDialog::BUTTON_OK);
}
