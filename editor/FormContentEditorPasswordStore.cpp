// The password store of the main window: its tabs, encoded into and parsed from the memory image.
#include "FormContentEditor.h"
#include "ui_FormContentEditor.h"

#include "PasswordStoreCodec.h"
#include "PasswordTable.h"

#include <QSignalBlocker>
#include <QTableWidget>

void FormContentEditor::_initializePasswordStore()
{
    connect(&_timerBuildPasswordTables, &QTimer::timeout, this,
            &FormContentEditor::_slotTimerBuildPasswordTablesTimeout);
}

int FormContentEditor::_encodePasswordsToMemoryFormat(unsigned char* pointerBuffer)
{
    // Straight from the tables, in tab-bar order: the gauge runs this on every selection change.
    PasswordStoreCodec::Encoder encoder(pointerBuffer);
    const int tabCount = ui->tabWidget->count();
    for (int tabIndex = 0; tabIndex < tabCount; tabIndex++)
    {
        if (encoder.appendTabName(ui->tabWidget->tabName(tabIndex)) < 0)
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
    // A store may hold thousands of tabs. Tab by tab, a shown tab widget shows and polishes each table
    // that becomes current, and every tab creation hands the tab names to every table: the time grew
    // with the square of the tab count. So the tab widget is hidden and silent while its tabs are
    // replaced, its tab bar is laid out once, and the tables get the tab names once at the end.
    const bool isTabWidgetHidden = ui->tabWidget->isHidden();
    ui->tabWidget->hide();
    const QSignalBlocker tabWidgetSignalsBlocker(ui->tabWidget);
    ui->tabWidget->beginTabInsertions();
    _isPasswordStoreLoading = true;

    // From the last tab: the current one stays current, so no other table gets shown meanwhile.
    for (int tabIndex = ui->tabWidget->count() - 1; tabIndex >= 0; tabIndex--)
    {
        QWidget* page = ui->tabWidget->widget(tabIndex);
        ui->tabWidget->removeTab(tabIndex);
        delete page;
    }

    // A damaged image still gives back every tab and complete record read before the damage.
    QList<PasswordStoreCodec::Tab> tabs;
    PasswordStoreCodec::parse(pointerBuffer, &tabs);
    for (const PasswordStoreCodec::Tab& tab : tabs)
    {
        // Stored order is kept; each table fills its rows when it is built.
        PasswordTable* table = _createEmptyTab(tab.name);
        table->passwords = tab.passwords;
    }

    _isPasswordStoreLoading = false;
    ui->tabWidget->endTabInsertions();
    _refreshPasswordTablesTabNamesContextMenu(ui->tabWidget->currentIndex());
    ui->tabWidget->setHidden(isTabWidgetHidden);

    _nextPasswordTableToBuildIndex = 0;
    _timerBuildPasswordTables.start(0);
}

PasswordTable* FormContentEditor::_createEmptyTab(const QString& name)
{
    auto* table = new PasswordTable();
    const int tabIndex = ui->tabWidget->addNamedTab(table, name);
    connect(table, &PasswordTable::selectionChanged, this, &FormContentEditor::_updateUserInterfaceControls);
    connect(table, &PasswordTable::editRequested, this,
            &FormContentEditor::_slotPushButtonEditPasswordClicked);
    connect(table, &PasswordTable::removeRequested, this,
            &FormContentEditor::_slotPushButtonRemovePasswordClicked);
    connect(table, &PasswordTable::dataCopied, this, &FormContentEditor::_setClearClipboardButtonEnabled);
    connect(table, &PasswordTable::dataModified, this, &FormContentEditor::_slotPasswordTableDataModified);
    if (!_isPasswordStoreLoading)
        _refreshPasswordTablesTabNamesContextMenu(tabIndex);
    return table;
}

void FormContentEditor::_refreshPasswordTablesTabNamesContextMenu(int currentTabIndex)
{
    const int tabCount = ui->tabWidget->count();
    QList<QString> tabNames;
    tabNames.reserve(tabCount);
    for (int tabIndex = 0; tabIndex < tabCount; tabIndex++)
        tabNames.append(ui->tabWidget->tabName(tabIndex));
    for (int tabIndex = 0; tabIndex < tabCount; tabIndex++)
        static_cast<PasswordTable*>(ui->tabWidget->widget(tabIndex))
            ->updateTabNamesContextMenu(tabNames, currentTabIndex);
}

void FormContentEditor::_slotTimerBuildPasswordTablesTimeout()
{
    while (_nextPasswordTableToBuildIndex < ui->tabWidget->count())
    {
        auto* table = static_cast<PasswordTable*>(ui->tabWidget->widget(_nextPasswordTableToBuildIndex++));
        if (!table->passwords.isEmpty())
        {
            table->tableWidget();
            return;
        }
    }
    _timerBuildPasswordTables.stop();
}

void FormContentEditor::_slotPasswordTableDataModified()
{
    _setUnsavedDataPresent(true);
}
