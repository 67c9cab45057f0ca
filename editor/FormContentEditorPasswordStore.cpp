// The password store of the main window: its tabs, encoded into and parsed from the memory image.
#include "FormContentEditor.h"
#include "ui_FormContentEditor.h"

#include "PasswordStoreCodec.h"
#include "PasswordTable.h"

#include <QAction>
#include <QTableWidget>

int FormContentEditor::_encodePasswordsToMemoryFormat(unsigned char* pointerBuffer)
{
    // Straight from the tables, in tab-bar order: the gauge runs this on every selection change.
    PasswordStoreCodec::Encoder encoder(pointerBuffer);
    const int tabCount = ui->tabWidget->count();
    for (int tabIndex = 0; tabIndex < tabCount; tabIndex++)
    {
        if (encoder.appendTabName(ui->tabWidget->tabText(tabIndex)) < 0)
            return -1;
        auto* table = static_cast<PasswordTable*>(ui->tabWidget->widget(tabIndex));
        for (const PasswordTable::Password& password : table->passwords)
        {
            if (encoder.appendPassword(password) < 0)
                return -1;
        }
    }
    return encoder.finish();
}

void FormContentEditor::_loadPasswordsFromDeviceMemoryBuffer(unsigned char* pointerBuffer)
{
    while (ui->tabWidget->count() > 0)
    {
        QWidget* page = ui->tabWidget->widget(0);
        ui->tabWidget->removeTab(0);
        delete page;
    }

    // A damaged image still gives back every tab and complete record read before the damage.
    QList<PasswordStoreCodec::Tab> tabs;
    PasswordStoreCodec::parse(pointerBuffer, &tabs);
    for (const PasswordStoreCodec::Tab& tab : tabs)
    {
        // Stored order is kept; the caller fills the rows once every tab is there.
        PasswordTable* table = _createEmptyTab(tab.name);
        table->passwords = tab.passwords;
    }
}

PasswordTable* FormContentEditor::_createEmptyTab(const QString& name)
{
    auto* table = new PasswordTable();
    const int tabIndex = ui->tabWidget->addTab(table, name);
    connect(table->tableWidget, &QTableWidget::itemSelectionChanged, this,
            &FormContentEditor::_updateUserInterfaceControls);
    // The table's own "Edit" action, second of its context menu.
    connect(table->tableWidget->actions().at(1), &QAction::triggered, this,
            &FormContentEditor::_slotPushButtonEditPasswordClicked);
    connect(table, &PasswordTable::dataCopied, this, &FormContentEditor::_setClearClipboardButtonEnabled);
    connect(table, &PasswordTable::dataModified, this, &FormContentEditor::_slotPasswordTableDataModified);
    _refreshPasswordTablesTabNamesContextMenu(tabIndex);
    return table;
}

void FormContentEditor::_refreshPasswordTablesTabNamesContextMenu(int currentTabIndex)
{
    const int tabCount = ui->tabWidget->count();
    QList<QString> tabNames;
    tabNames.reserve(tabCount);
    for (int tabIndex = 0; tabIndex < tabCount; tabIndex++)
        tabNames.append(ui->tabWidget->tabText(tabIndex));
    for (int tabIndex = 0; tabIndex < tabCount; tabIndex++)
        static_cast<PasswordTable*>(ui->tabWidget->widget(tabIndex))
            ->updateTabNamesContextMenu(tabNames, currentTabIndex);
}

void FormContentEditor::_slotPasswordTableDataModified()
{
    _setUnsavedDataPresent(true);
}
