// Tabs, record editing, search and the unsaved-data state of the main window.
#include "FormContentEditor.h"
#include "ui_FormContentEditor.h"

#include "PasswordStoreCodec.h"
#include "Security.h"
#include "ViewBase.h"
#include "ViewContentLineInputDialog.h"
#include "ViewContentPasswordInformation.h"
#include "Wipe.h"

#include <QShortcut>
#include <QTabBar>
#include <QTableWidget>

void FormContentEditor::_initializeEditing()
{
    connect(ui->pushButtonNewPassword, &QPushButton::clicked, this,
            &FormContentEditor::_slotPushButtonNewPasswordClicked);
    connect(ui->pushButtonEditPassword, &QPushButton::clicked, this,
            &FormContentEditor::_slotPushButtonEditPasswordClicked);
    connect(ui->pushButtonRemovePassword, &QPushButton::clicked, this,
            &FormContentEditor::_slotPushButtonRemovePasswordClicked);
    connect(ui->pushButtonNewTab, &QPushButton::clicked, this,
            &FormContentEditor::_slotPushButtonNewTabClicked);
    connect(ui->pushButtonRenameTab, &QPushButton::clicked, this,
            &FormContentEditor::_slotPushButtonRenameTabClicked);
    connect(ui->pushButtonDuplicateTab, &QPushButton::clicked, this,
            &FormContentEditor::_slotPushButtonDuplicateTabClicked);
    connect(ui->pushButtonRemoveTab, &QPushButton::clicked, this,
            &FormContentEditor::_slotPushButtonRemoveTabClicked);
    connect(ui->tabWidget, &QTabWidget::currentChanged, this,
            &FormContentEditor::_slotTabWidgetCurrentChanged);
    connect(ui->tabWidget->tabBar(), &QTabBar::tabMoved, this, &FormContentEditor::_slotTabWidgetTabMoved);
    connect(ui->lineEditSearch, &QLineEdit::textEdited, this,
            &FormContentEditor::_slotLineEditSearchTextEdited);
    connect(ui->lineEditSearch, &QLineEdit::returnPressed, this,
            &FormContentEditor::_slotLineEditSearchTextReturnPressed);
    connect(ui->pushButtonPreviousSearchResult, &QPushButton::clicked, this,
            &FormContentEditor::_slotPushButtonPreviousSearchResultClicked);
    connect(ui->pushButtonNextSearchResult, &QPushButton::clicked, this,
            &FormContentEditor::_slotPushButtonNextSearchResultClicked);
    connect(_pointerShortcutFind, &QShortcut::activated, this,
            &FormContentEditor::_slotShortcutFindActivated);
    // The Edit menu's entries show keys that the table, the search field and the window hold (their
    // shortcuts act only inside the open menu), and do the same when chosen.
    connect(ui->actionFind, &QAction::triggered, this, &FormContentEditor::_slotShortcutFindActivated);
    for (const auto& [action, dataId] :
         {std::pair(ui->actionCopyLogin, PasswordTable::PASSWORD_DATA_ID_LOGIN),
          std::pair(ui->actionCopyPassword, PasswordTable::PASSWORD_DATA_ID_PASSWORD)})
    {
        connect(action, &QAction::triggered, this,
                [this, dataId = dataId]()
                {
                    PasswordTable* table =
                        _isEditorActionAllowed(false) ? _getCurrentPasswordTable() : nullptr;
                    if (table != nullptr)
                        table->copyCurrentRecordField(dataId);
                });
    }

    auto* passwordInformation =
        static_cast<ViewContentPasswordInformation*>(viewGetContent(VIEW_ID_PASSWORD_INFORMATION));
    connect(passwordInformation, &ViewContentPasswordInformation::passwordModified, this,
            &FormContentEditor::_slotViewContentPasswordInformationPasswordModified);
    connect(passwordInformation, &ViewContentPasswordInformation::dataCopied, this,
            &FormContentEditor::_setClearClipboardButtonEnabled);
    connect(static_cast<ViewContentLineInputDialog*>(viewGetContent(VIEW_ID_LINE_INPUT_DIALOG)),
            &ViewContentLineInputDialog::insertionFinished, this,
            &FormContentEditor::_slotViewContentLineInputDialogInsertionFinished);

    _updateUserInterfaceControls();
}

PasswordTable* FormContentEditor::_getCurrentPasswordTable()
{
    return static_cast<PasswordTable*>(ui->tabWidget->currentWidget());
}

void FormContentEditor::_setUnsavedDataPresent(bool isUnsavedDataPresent)
{
    _isUnsavedDataPresent = isUnsavedDataPresent;
    // Opened or saved: the master password of this moment opens the records on screen, and the lock
    // keeps asking for it even when a later open fails.
    if (!isUnsavedDataPresent && _isMasterPasswordKnown)
        _openedRecordsMasterPassword = _masterPassword;
    _updateWindowTitle();
    _updateUserInterfaceControls();
}

void FormContentEditor::_updateUserInterfaceControls()
{
    const int tabCount = ui->tabWidget->count();
    PasswordTable* table = tabCount > 0 ? _getCurrentPasswordTable() : nullptr;
    const bool isSelectionPresent = table != nullptr && !table->tableWidget()->selectedRanges().isEmpty();
    const bool isPasswordPresent = table != nullptr && !table->passwords.isEmpty();

    ui->pushButtonWriteDevice->setEnabled(_isUnsavedDataPresent);
    ui->pushButtonEditPassword->setEnabled(isSelectionPresent);
    ui->pushButtonRemovePassword->setEnabled(isSelectionPresent);
    for (QPushButton* button : {ui->pushButtonNewPassword, ui->pushButtonRenameTab,
                                ui->pushButtonDuplicateTab, ui->pushButtonRemoveTab})
        button->setEnabled(tabCount >= 1);
    _updateLockControls();
    ui->widgetSearch->setEnabled(isPasswordPresent);

    // The gauge encodes the whole store, so that it is exact; a store that no longer fits is not
    // refused here (it shows 0), the save reports it.
    if (_memoryGaugeBuffer.size() != PasswordStoreCodec::MEMORY_SIZE)
        _memoryGaugeBuffer = QByteArray(PasswordStoreCodec::MEMORY_SIZE, '\0');
    auto* buffer = reinterpret_cast<unsigned char*>(_memoryGaugeBuffer.data());
    const int freeBytes = _encodePasswordsToMemoryFormat(buffer);
    const int capacity = Security::getAvailableMemory(Security::ENCRYPTION_SCHEME_ID_1);
    // Only the store's own bytes were written (never past the capacity).
    wipeMemory(buffer, static_cast<size_t>(freeBytes >= 0 ? capacity - freeBytes : capacity));
    const int percentage = freeBytes >= 0 ? freeBytes * 100 / (capacity - 1) : 0;
    ui->labelUsedMemoryBytes->setText(tr("Available memory: %1%").arg(percentage));
}

void FormContentEditor::_slotPushButtonNewPasswordClicked()
{
    if (!_isEditorActionAllowed(false))
        return;
    _pointerViews[VIEW_ID_PASSWORD_INFORMATION]->setTitle(tr("New password"));
    static_cast<ViewContentPasswordInformation*>(viewGetContent(VIEW_ID_PASSWORD_INFORMATION))
        ->setPassword(nullptr, -1, PasswordTable::PASSWORD_DATA_ID_NAME);
    viewPush(VIEW_ID_PASSWORD_INFORMATION);
}

void FormContentEditor::_slotPushButtonEditPasswordClicked()
{
    if (!_isEditorActionAllowed(false))
        return;
    PasswordTable* table = _getCurrentPasswordTable();
    if (table == nullptr)
        return;
    const int row = table->tableWidget()->currentRow();
    const int column = table->tableWidget()->currentColumn();
    if (row < 0 || row >= table->passwords.size())
        return;

    _pointerViews[VIEW_ID_PASSWORD_INFORMATION]->setTitle(tr("Edit password"));
    // Column and field numbers are the same: the page focuses the field of the current cell.
    static_cast<ViewContentPasswordInformation*>(viewGetContent(VIEW_ID_PASSWORD_INFORMATION))
        ->setPassword(&table->passwords[row], row, static_cast<PasswordTable::PasswordDataId>(column));
    viewPush(VIEW_ID_PASSWORD_INFORMATION);
}

void FormContentEditor::_slotViewContentPasswordInformationPasswordModified(
    PasswordTable::Password* pointerPassword, int passwordToReplaceIndex)
{
    PasswordTable* table = _getCurrentPasswordTable();
    if (table == nullptr)
    {
        delete pointerPassword;
        return;
    }
    // The edited record goes to its sorted place, which may be elsewhere when its name changed.
    if (passwordToReplaceIndex >= 0)
        table->removePassword(passwordToReplaceIndex);
    const int row = table->insertPassword(*pointerPassword);
    delete pointerPassword;
    table->tableWidget()->setCurrentCell(row, PasswordTable::PASSWORD_DATA_ID_NAME);
    table->tableWidget()->setFocus();
    _setUnsavedDataPresent(true);
}

void FormContentEditor::_slotPushButtonRemovePasswordClicked()
{
    if (!_isEditorActionAllowed(false))
        return;
    PasswordTable* table = _getCurrentPasswordTable();
    if (table == nullptr)
        return;
    const int row = table->tableWidget()->currentRow();
    if (row < 0 || row >= table->passwords.size())
        return;
    _pendingRequest = PENDING_REQUEST_REMOVE_PASSWORD;
    viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_QUESTION, tr("Remove password"),
                             tr("Do you really want to remove the password called '%1'?")
                                 .arg(table->passwords[row].data[PasswordTable::PASSWORD_DATA_ID_NAME]),
                             ViewContentMessageBoxDialog::BUTTON_YES | ViewContentMessageBoxDialog::BUTTON_NO,
                             ViewContentMessageBoxDialog::BUTTON_NO);
}

void FormContentEditor::_slotPushButtonNewTabClicked()
{
    if (!_isEditorActionAllowed(false))
        return;
    _pendingRequest = PENDING_REQUEST_NEW_TAB;
    viewPushLineInputDialog(tr("Insert tab name"), tr("Enter the tab name:"), tr("New tab"));
}

void FormContentEditor::_slotPushButtonRenameTabClicked()
{
    if (!_isEditorActionAllowed(false))
        return;
    _pendingRequest = PENDING_REQUEST_RENAME_TAB;
    viewPushLineInputDialog(tr("Insert new name"), tr("New tab name:"),
                            ui->tabWidget->tabName(ui->tabWidget->currentIndex()));
}

void FormContentEditor::_slotPushButtonDuplicateTabClicked()
{
    if (!_isEditorActionAllowed(false))
        return;
    _pendingRequest = PENDING_REQUEST_DUPLICATE_TAB;
    viewPushLineInputDialog(tr("Insert tab name"), tr("New tab name:"),
                            ui->tabWidget->tabName(ui->tabWidget->currentIndex()) + tr(" - Copy"));
}

void FormContentEditor::_slotPushButtonRemoveTabClicked()
{
    if (!_isEditorActionAllowed(false))
        return;
    _pendingRequest = PENDING_REQUEST_REMOVE_TAB;
    viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_QUESTION, tr("Remove tab"),
                             tr("Do you really want to remove the tab called '%1' and all its content?")
                                 .arg(ui->tabWidget->tabName(ui->tabWidget->currentIndex())),
                             ViewContentMessageBoxDialog::BUTTON_YES | ViewContentMessageBoxDialog::BUTTON_NO,
                             ViewContentMessageBoxDialog::BUTTON_NO);
}

void FormContentEditor::_slotViewContentLineInputDialogInsertionFinished(bool isAccepted, const QString& text)
{
    if (!isAccepted)
        return;

    switch (_pendingRequest)
    {
    case PENDING_REQUEST_NEW_TAB:
    {
        PasswordTable* table = _createEmptyTab(text);
        ui->tabWidget->setCurrentWidget(table);
        break;
    }
    case PENDING_REQUEST_RENAME_TAB:
    {
        const int tabIndex = ui->tabWidget->currentIndex();
        if (tabIndex < 0)
            return;
        ui->tabWidget->setTabName(tabIndex, text);
        _refreshPasswordTablesTabNamesContextMenu(tabIndex);
        break;
    }
    case PENDING_REQUEST_DUPLICATE_TAB:
    {
        PasswordTable* sourceTable = _getCurrentPasswordTable();
        if (sourceTable == nullptr)
            return;
        PasswordTable* table = _createEmptyTab(text);
        table->passwords = sourceTable->passwords;
        table->fillTableWithPasswords();
        ui->tabWidget->setCurrentWidget(table);
        break;
    }
    default:
        return;
    }
    _setUnsavedDataPresent(true);
}

void FormContentEditor::_handleMessageBoxAnswerForEditing(ViewContentMessageBoxDialog::Button button)
{
    // Only Yes acts: an unrelated later dialog answered with OK leaves everything as it is.
    if (button != ViewContentMessageBoxDialog::BUTTON_YES)
        return;
    PasswordTable* table = _getCurrentPasswordTable();
    if (table == nullptr)
        return;

    if (_pendingRequest == PENDING_REQUEST_REMOVE_PASSWORD)
        table->removePassword(table->tableWidget()->currentRow());
    else if (_pendingRequest == PENDING_REQUEST_REMOVE_TAB)
    {
        ui->tabWidget->removeTab(ui->tabWidget->currentIndex());
        delete table;
    }
    else
        return;
    _setUnsavedDataPresent(true);
}

void FormContentEditor::_slotTabWidgetCurrentChanged(int newTabIndex)
{
    _refreshPasswordTablesTabNamesContextMenu(newTabIndex);
    _updateUserInterfaceControls();
}

void FormContentEditor::_slotTabWidgetTabMoved(int, int newTabIndex)
{
    // The tab order is stored on the device: a move is a change.
    _refreshPasswordTablesTabNamesContextMenu(newTabIndex);
    _setUnsavedDataPresent(true);
}

void FormContentEditor::_slotLineEditSearchTextEdited(const QString& referenceText)
{
    const bool isSearchable = !referenceText.isEmpty();
    ui->pushButtonPreviousSearchResult->setEnabled(isSearchable);
    ui->pushButtonNextSearchResult->setEnabled(isSearchable);
    ui->checkBoxSearchInAllTabs->setEnabled(isSearchable);
}

void FormContentEditor::_slotLineEditSearchTextReturnPressed()
{
    // The focus comes back so that repeated Return steps through the matches.
    _searchText(true);
    ui->lineEditSearch->setFocus();
}

void FormContentEditor::_slotPushButtonPreviousSearchResultClicked()
{
    _searchText(false);
}

void FormContentEditor::_slotPushButtonNextSearchResultClicked()
{
    _searchText(true);
}

void FormContentEditor::_slotShortcutFindActivated()
{
    if (!_isEditorActionAllowed(false))
        return;
    ui->lineEditSearch->selectAll();
    ui->lineEditSearch->setFocus();
}

void FormContentEditor::_searchText(bool isSearchForward)
{
    const QString text = ui->lineEditSearch->text();
    PasswordTable* table = _getCurrentPasswordTable();
    if (text.isEmpty() || table == nullptr)
        return;

    // Rows are selected whole: the current cell of the selected row is where the walk starts.
    const bool isRowSelected = !table->tableWidget()->selectedRanges().isEmpty();
    int row = isRowSelected ? table->tableWidget()->currentRow() : 0;
    int column = isRowSelected ? table->tableWidget()->currentColumn() : 0;

    int tabIndex = ui->tabWidget->currentIndex();
    bool isFound = false;
    if (!ui->checkBoxSearchInAllTabs->isChecked())
        isFound = _searchTextInTab(text, table, &row, &column, isSearchForward, true);
    else
    {
        // One pass more than there are tabs: the last one covers the starting tab up to its start cell.
        const int tabCount = ui->tabWidget->count();
        for (int pass = 0; pass <= tabCount; pass++)
        {
            table = static_cast<PasswordTable*>(ui->tabWidget->widget(tabIndex));
            if (_searchTextInTab(text, table, &row, &column, isSearchForward, false))
            {
                isFound = true;
                break;
            }
            tabIndex = isSearchForward ? (tabIndex + 1) % tabCount : (tabIndex + tabCount - 1) % tabCount;
            // The next tab is searched from its edge; a tab without rows finds nothing anyway. Row i
            // shows record i, so the records give the edge without building a table never shown.
            const int rowCount = static_cast<int>(
                static_cast<PasswordTable*>(ui->tabWidget->widget(tabIndex))->passwords.size());
            if (rowCount > 0)
            {
                row = isSearchForward ? 0 : rowCount - 1;
                column = isSearchForward ? -1 : PasswordTable::PASSWORD_DATA_IDS_COUNT;
            }
        }
    }

    if (!isFound)
    {
        viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_INFORMATION, tr("Text search"),
                                 tr("No matching text was found."), ViewContentMessageBoxDialog::BUTTON_OK,
                                 ViewContentMessageBoxDialog::BUTTON_OK);
        return;
    }
    ui->tabWidget->setCurrentIndex(tabIndex);
    table->tableWidget()->setCurrentCell(row, column);
    table->tableWidget()->setFocus();
}

bool FormContentEditor::_searchTextInTab(const QString& text, PasswordTable* pointerTable, int* pointerRow,
                                         int* pointerColumn, bool isSearchForward, bool isWrapAllowed)
{
    // The records, not the table widget: searching all tabs must not build every table.
    const int rowCount = static_cast<int>(pointerTable->passwords.size());
    const int columnCount = PasswordTable::PASSWORD_DATA_IDS_COUNT;
    if (rowCount == 0)
        return false;

    const int startRow = *pointerRow;
    const int startColumn = *pointerColumn;
    int row = startRow;
    int column = startColumn;
    // Every cell once, the start cell last; also bounds a walk from a start cell off the table's edge.
    for (qint64 step = 0; step <= qint64(rowCount) * columnCount; step++)
    {
        if (isSearchForward)
        {
            if (++column >= columnCount)
            {
                column = 0;
                if (++row >= rowCount)
                {
                    if (!isWrapAllowed)
                        return false;
                    row = 0;
                }
            }
        }
        else if (--column < 0)
        {
            column = columnCount - 1;
            if (--row < 0)
            {
                if (!isWrapAllowed)
                    return false;
                row = rowCount - 1;
            }
        }

        // The record's field, which is what its cell shows, in full (a cell shows only the start of
        // a very long text).
        if (column != PasswordTable::PASSWORD_DATA_ID_PASSWORD && row < pointerTable->passwords.size() &&
            column < PasswordTable::PASSWORD_DATA_IDS_COUNT)
        {
            if (pointerTable->passwords[row].data[column].contains(text, Qt::CaseInsensitive))
            {
                *pointerRow = row;
                *pointerColumn = column;
                return true;
            }
        }
        if (row == startRow && column == startColumn)
            return false;
    }
    return false;
}
