#include "PasswordTable.h"
#include "SecretClipboard.h"
#include "ui_PasswordTable.h"

#include "PasswordTablePasswordItem.h"

#include <QAction>
#include <QDesktopServices>
#include <QHeaderView>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>
#include <QUrl>

#include <algorithm>

namespace
{
// The widest a column grows by itself: a long name, login or address would push the note column out
// of sight. The password column holds a mask of one length, the note column takes what is left.
constexpr int COLUMN_MAXIMUM_WIDTHS[] = {300, 300, 300, 450, 1 << 20};
// The widths the user gave columns by dragging, for every table of the window while it lives; 0 where
// the user gave none.
int userColumnWidths[PasswordRecord::FIELD_COUNT] = {};
// A cell shows at most this many characters of its field: laying out a whole 100 KB note on every
// paint and every column sizing would stall the window, and a cell never shows that much anyway.
constexpr int CELL_TEXT_MAXIMUM_LENGTH = 1000;

QTableWidgetItem* newCellItem(const QString& text)
{
    if (text.size() <= CELL_TEXT_MAXIMUM_LENGTH)
        return new QTableWidgetItem(text);
    // Never cut a surrogate pair in two.
    const int length =
        CELL_TEXT_MAXIMUM_LENGTH - (text[CELL_TEXT_MAXIMUM_LENGTH - 1].isHighSurrogate() ? 1 : 0);
    return new QTableWidgetItem(text.left(length) + QChar(0x2026));
}
} // namespace

PasswordTable::PasswordTable(QWidget* parent) : QWidget(parent)
{
    // Hidden until shown (see hideEvent()).
    setUpdatesEnabled(false);
}

PasswordTable::~PasswordTable()
{
    delete ui;
}

QTableWidget* PasswordTable::tableWidget()
{
    _build();
    return ui->tableWidget;
}

void PasswordTable::_build()
{
    if (ui != nullptr)
        return;
    ui = new Ui::PasswordTable;
    ui->setupUi(this);
    QTableWidget* table = ui->tableWidget;
    table->setAccessibleName(tr("Records"));

    const QStringList headers = {tr("Name"), tr("ID / Login / Email"), tr("Password"), tr("Web site / URL"),
                                 tr("Note")};
    for (int column = 0; column < PASSWORD_DATA_IDS_COUNT; column++)
        table->setHorizontalHeaderItem(column, new QTableWidgetItem(headers[column]));

    // The copies work in the whole window (only the table of the visible tab is shown, so only that one
    // reacts); Return and Delete only in the table, whose rows they act on.
    _pointerActionCopyLogin = new QAction(tr("Copy login"), this);
    _pointerActionCopyLogin->setShortcut(QKeySequence(QStringLiteral("Ctrl+B")));
    _pointerActionCopyPassword = new QAction(tr("Copy password"), this);
    _pointerActionCopyPassword->setShortcut(QKeySequence(QStringLiteral("Ctrl+C")));
    _pointerActionEdit = new QAction(tr("Edit"), this);
    _pointerActionEdit->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    _pointerActionEdit->setShortcutContext(Qt::WidgetShortcut);
    _pointerActionDuplicateRowToTab = new QAction(tr("Duplicate row into tab..."), this);
    _pointerMenuDuplicateRowToTab = new QMenu(this);
    _pointerActionDuplicateRowToTab->setMenu(_pointerMenuDuplicateRowToTab);
    _pointerActionMoveRowToTab = new QAction(tr("Move row to tab..."), this);
    _pointerMenuMoveRowToTab = new QMenu(this);
    _pointerActionMoveRowToTab->setMenu(_pointerMenuMoveRowToTab);
    _pointerActionRemove = new QAction(tr("Remove"), this);
    _pointerActionRemove->setShortcut(QKeySequence::Delete);
    _pointerActionRemove->setShortcutContext(Qt::WidgetShortcut);
    for (QAction* action :
         {_pointerActionCopyLogin, _pointerActionCopyPassword, _pointerActionEdit,
          _pointerActionDuplicateRowToTab, _pointerActionMoveRowToTab, _pointerActionRemove})
    {
        action->setEnabled(false);
        action->setShortcutVisibleInContextMenu(true);
        table->addAction(action);
    }

    // The records may have changed before the table was built.
    fillTableWithPasswords();

    connect(table, &QTableWidget::itemSelectionChanged, this,
            &PasswordTable::_slotTableWidgetItemSelectionChanged);
    connect(table, &QTableWidget::cellDoubleClicked, this, &PasswordTable::_slotTableWidgetCellDoubleClicked);
    // A width the user drags a column to (or double-clicks its edge for) holds for every table from now on.
    table->horizontalHeader()->viewport()->installEventFilter(this);
    connect(table->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int newSize)
            {
                if (_isHeaderPressed && !_isSizingColumns && column < PASSWORD_DATA_IDS_COUNT - 1)
                    userColumnWidths[column] = newSize;
            });
    connect(table, &QTableWidget::currentCellChanged, this,
            [table](int currentRow, int, int previousRow, int)
            {
                for (const int row : {previousRow, currentRow})
                {
                    if (auto* item = qobject_cast<PasswordTablePasswordItem*>(
                            table->cellWidget(row, PASSWORD_DATA_ID_PASSWORD)))
                        item->setTabReachable(row == currentRow, table);
                }
            });
    connect(_pointerActionCopyLogin, &QAction::triggered, this,
            [this]() { copyCurrentRecordField(PASSWORD_DATA_ID_LOGIN); });
    connect(_pointerActionCopyPassword, &QAction::triggered, this,
            [this]() { copyCurrentRecordField(PASSWORD_DATA_ID_PASSWORD); });
    connect(_pointerActionEdit, &QAction::triggered, this, &PasswordTable::editRequested);
    connect(_pointerActionRemove, &QAction::triggered, this, &PasswordTable::removeRequested);
    connect(_pointerMenuDuplicateRowToTab, &QMenu::aboutToShow, this,
            [this]() { _fillTabNamesMenu(_pointerMenuDuplicateRowToTab, -1); });
    connect(_pointerMenuMoveRowToTab, &QMenu::aboutToShow, this,
            [this]() { _fillTabNamesMenu(_pointerMenuMoveRowToTab, _currentTabIndex); });
    connect(_pointerMenuDuplicateRowToTab, &QMenu::triggered, this,
            &PasswordTable::_slotMenuDuplicateRowToTabTriggered);
    connect(_pointerMenuMoveRowToTab, &QMenu::triggered, this,
            &PasswordTable::_slotMenuMoveRowToTabTriggered);

    // Built while shown (from showEvent()), the new child must be shown and placed at once.
    table->show();
    layout()->activate();
}

bool PasswordTable::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
        _isHeaderPressed = true;
    else if (event->type() == QEvent::MouseButtonRelease)
        _isHeaderPressed = false;
    return QWidget::eventFilter(watched, event);
}

void PasswordTable::clearPassword(Password* password)
{
    for (QString& text : password->data)
        text.clear();
}

bool PasswordTable::removeStoreDelimiters(QString* text)
{
    const qsizetype size = text->size();
    text->remove(QChar(0x03));
    text->remove(QChar(0x04));
    return text->size() != size;
}

void PasswordTable::removeStoreDelimiters(QLineEdit* lineEdit)
{
    QString text = lineEdit->text();
    if (!removeStoreDelimiters(&text))
        return;
    QString textBeforeCursor = lineEdit->text().left(lineEdit->cursorPosition());
    removeStoreDelimiters(&textBeforeCursor);
    lineEdit->setText(text);
    lineEdit->setCursorPosition(static_cast<int>(textBeforeCursor.size()));
}

QUrl PasswordTable::getOpenableUrl(const QString& url)
{
    // A scheme is letters, digits, "+", "-" and "." before a colon; "host:8080" is a host and a port.
    static const QRegularExpression schemePattern(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:(?![0-9])"));
    const QString trimmedUrl = url.trimmed();
    const QUrl openableUrl(
        schemePattern.match(trimmedUrl).hasMatch() ? trimmedUrl : QStringLiteral("https://") + trimmedUrl,
        QUrl::TolerantMode);
    // Any other scheme ("file:", "javascript:", a custom handler) could run or reveal local content.
    const QString scheme = openableUrl.scheme();
    if (!openableUrl.isValid() || openableUrl.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return QUrl();
    return openableUrl;
}

int PasswordTable::insertPasswordWithoutRow(const Password& password)
{
    const QString& name = password.data[PASSWORD_DATA_ID_NAME];
    int index = 0;
    const int count = static_cast<int>(passwords.size());
    while (index < count &&
           QString::compare(passwords[index].data[PASSWORD_DATA_ID_NAME], name, Qt::CaseInsensitive) <= 0)
        index++;

    passwords.insert(index, password);
    return index;
}

int PasswordTable::insertPassword(const Password& password)
{
    const int index = insertPasswordWithoutRow(password);
    if (ui == nullptr)
        return index;
    _fillTableRowWithPassword(index);
    _updateTableViewForInsertedRow(index);
    return index;
}

void PasswordTable::removePassword(int index)
{
    if (index < 0 || index >= passwords.size())
        return;
    if (ui == nullptr)
    {
        passwords.removeAt(index);
        return;
    }

    // Measured before it goes: unless it was the only widest row of a column, the widths stay.
    bool isWidthLost = !_isColumnContentWidthsUsable();
    for (int column = 0; column < PASSWORD_DATA_IDS_COUNT && !isWidthLost; column++)
    {
        if (_getCellContentWidth(index, column) == _columnContentWidths[column])
            isWidthLost = --_columnContentWidthCounts[column] == 0;
    }
    passwords.removeAt(index);
    ui->tableWidget->removeRow(index);
    if (isWidthLost)
        _updateTableView();
    else
        _applyColumnContentWidths();
}

void PasswordTable::fillTableWithPasswords()
{
    if (ui == nullptr)
        return;
    // Same result as removing row 0 once per row, in one model operation. The rows are added all at
    // once too: a shown view lays out every cell widget again after each inserted row, which made
    // rebuilding the visible table quadratic.
    ui->tableWidget->setRowCount(0);
    const int count = static_cast<int>(passwords.size());
    ui->tableWidget->setRowCount(count);
    for (int index = 0; index < count; index++)
        _setTableRowCells(index);
    _updateTableView();
}

void PasswordTable::updateTabNamesContextMenu(const QList<QString>& tabNames, int currentTabIndex)
{
    // Only kept: with a thousand tabs, building both submenus of every table on each tab change took
    // seconds, and a submenu is only ever seen on the current tab.
    _tabNames = tabNames;
    _currentTabIndex = currentTabIndex;
}

void PasswordTable::_fillTabNamesMenu(QMenu* menu, int omittedTabIndex)
{
    // A row may be duplicated into its own tab, so that menu offers every tab (nothing omitted). With
    // one tab there is nowhere to move to: the move menu is left as it was, its action disabled by the
    // selection rule.
    const int count = static_cast<int>(_tabNames.size());
    if (omittedTabIndex >= 0 && count < 2)
        return;
    menu->clear();
    for (int index = 0; index < count; index++)
    {
        if (index != omittedTabIndex)
            menu->addAction(getMenuText(_tabNames[index]))->setData(index);
    }
}

void PasswordTable::_fillTableRowWithPassword(int index)
{
    ui->tableWidget->insertRow(index);
    _setTableRowCells(index);
}

void PasswordTable::_setTableRowCells(int index)
{
    const Password& password = passwords[index];
    ui->tableWidget->setItem(index, PASSWORD_DATA_ID_NAME, newCellItem(password.data[PASSWORD_DATA_ID_NAME]));
    ui->tableWidget->setItem(index, PASSWORD_DATA_ID_LOGIN,
                             newCellItem(password.data[PASSWORD_DATA_ID_LOGIN]));
    ui->tableWidget->setCellWidget(index, PASSWORD_DATA_ID_PASSWORD,
                                   new PasswordTablePasswordItem(password.data[PASSWORD_DATA_ID_PASSWORD]));

    QTableWidgetItem* urlItem = newCellItem(password.data[PASSWORD_DATA_ID_URL]);
    if (_isUrlValid(password.data[PASSWORD_DATA_ID_URL]))
    {
        // Underlined like a link: a double click opens it.
        QFont font = urlItem->font();
        font.setUnderline(true);
        urlItem->setFont(font);
    }
    ui->tableWidget->setItem(index, PASSWORD_DATA_ID_URL, urlItem);
    ui->tableWidget->setItem(index, PASSWORD_DATA_ID_NOTE, newCellItem(password.data[PASSWORD_DATA_ID_NOTE]));
}

void PasswordTable::_updateTableView()
{
    _isSizingColumns = true;
    for (int column = 0; column < PASSWORD_DATA_IDS_COUNT; column++)
        ui->tableWidget->resizeColumnToContents(column);
    _isSizingColumns = false;
    _applyColumnWidthLimits();
    _isColumnContentWidthsValid = false;
}

bool PasswordTable::_isColumnContentWidthsUsable()
{
    // Sizing a column to its contents measures every row, which made entering records one by one
    // quadratic. Up to the view's measuring limit it measures all rows, so its result is the widest
    // row, which the cache keeps. Past that limit the view samples rows, and only its own pass gives
    // the same widths.
    const int rowCount = ui->tableWidget->rowCount();
    const int precision = ui->tableWidget->verticalHeader()->resizeContentsPrecision();
    if (precision == 0 || (precision > 0 && rowCount > precision))
        _isColumnContentWidthsValid = false;

    // Widths measured under another font or style (set on the table widget itself, or through a
    // style sheet) no longer hold.
    ui->tableWidget->ensurePolished();
    if (_columnContentWidthsFont != ui->tableWidget->font() ||
        _columnContentWidthsStyle != ui->tableWidget->style())
        _isColumnContentWidthsValid = false;
    return _isColumnContentWidthsValid;
}

void PasswordTable::_updateTableViewForInsertedRow(int index)
{
    const int rowCount = ui->tableWidget->rowCount();
    const int precision = ui->tableWidget->verticalHeader()->resizeContentsPrecision();
    if (precision == 0 || (precision > 0 && rowCount > precision))
    {
        _updateTableView();
        return;
    }

    const bool isCacheUsable = _isColumnContentWidthsUsable();
    _columnContentWidthsFont = ui->tableWidget->font();
    _columnContentWidthsStyle = ui->tableWidget->style();
    // The widest width of each column and how many rows have it.
    const auto measure = [this](int row, int column)
    {
        const int width = _getCellContentWidth(row, column);
        if (width > _columnContentWidths[column])
        {
            _columnContentWidths[column] = width;
            _columnContentWidthCounts[column] = 0;
        }
        if (width == _columnContentWidths[column])
            _columnContentWidthCounts[column]++;
    };
    for (int column = 0; column < PASSWORD_DATA_IDS_COUNT; column++)
    {
        if (isCacheUsable)
        {
            measure(index, column);
            continue;
        }
        _columnContentWidths[column] = 0;
        _columnContentWidthCounts[column] = 0;
        for (int row = 0; row < rowCount; row++)
            measure(row, column);
    }
    _isColumnContentWidthsValid = true;
    _applyColumnContentWidths();
}

void PasswordTable::_applyColumnContentWidths()
{
    // The same sizes the view's own pass sets: content (plus the grid line) or header, whichever is wider.
    QHeaderView* header = ui->tableWidget->horizontalHeader();
    const int gridWidth = ui->tableWidget->showGrid() ? 1 : 0;
    _isSizingColumns = true;
    for (int column = 0; column < PASSWORD_DATA_IDS_COUNT; column++)
        header->resizeSection(
            column, std::max(_columnContentWidths[column] + gridWidth, header->sectionSizeHint(column)));
    _isSizingColumns = false;
    _applyColumnWidthLimits();
}

void PasswordTable::_applyColumnWidthLimits()
{
    QHeaderView* header = ui->tableWidget->horizontalHeader();
    _isSizingColumns = true;
    for (int column = 0; column < PASSWORD_DATA_IDS_COUNT; column++)
    {
        if (userColumnWidths[column] > 0)
            header->resizeSection(column, userColumnWidths[column]);
        else if (header->sectionSize(column) > COLUMN_MAXIMUM_WIDTHS[column])
            header->resizeSection(column, COLUMN_MAXIMUM_WIDTHS[column]);
    }
    _isSizingColumns = false;
}

int PasswordTable::_getCellContentWidth(int row, int column) const
{
    // As the view measures a cell: its cell widget's size hint, within the widget's minimum, and the
    // item delegate's size hint.
    const QModelIndex index = ui->tableWidget->model()->index(row, column);
    int width = 0;
    if (QWidget* cellWidget = ui->tableWidget->indexWidget(index))
        width = std::max(cellWidget->sizeHint().width(), cellWidget->minimumWidth());
    return std::max(width, ui->tableWidget->sizeHintForIndex(index).width());
}

void PasswordTable::showEvent(QShowEvent* event)
{
    _build();
    setUpdatesEnabled(true);
    QWidget::showEvent(event);
}

void PasswordTable::hideEvent(QHideEvent* event)
{
    // Every page switch of a stacked widget (a tab, a view) turns updates off and on again in every
    // widget below it, a walk over every row's password cell of every tab. A table that keeps its
    // own updates off while hidden ends that walk at itself.
    setUpdatesEnabled(false);
    QWidget::hideEvent(event);
}

void PasswordTable::changeEvent(QEvent* event)
{
    // Measured widths depend on fonts and style.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        _isColumnContentWidthsValid = false;
    QWidget::changeEvent(event);
}

QTabWidget* PasswordTable::_getParentTabWidget()
{
    // A tab page's direct parent is the tab widget's internal stacked widget.
    QWidget* stackedWidget = parentWidget();
    if (stackedWidget == nullptr)
        return nullptr;
    return qobject_cast<QTabWidget*>(stackedWidget->parentWidget());
}

bool PasswordTable::_isUrlValid(const QString& url)
{
    // Deliberately loose: addresses are often stored without a scheme ("example.com").
    const QString trimmedUrl = url.trimmed();
    return trimmedUrl.contains(QLatin1Char('.')) && !trimmedUrl.contains(QLatin1Char(' '));
}

PasswordTable* PasswordTable::_getTargetTable(QAction* pointerAction)
{
    QTabWidget* tabWidget = _getParentTabWidget();
    if (tabWidget == nullptr || pointerAction == nullptr)
        return nullptr;
    return qobject_cast<PasswordTable*>(tabWidget->widget(pointerAction->data().toInt()));
}

void PasswordTable::_slotTableWidgetItemSelectionChanged()
{
    const bool isSelectionPresent = !ui->tableWidget->selectedRanges().isEmpty();
    for (QAction* action : {_pointerActionCopyLogin, _pointerActionCopyPassword, _pointerActionEdit,
                            _pointerActionDuplicateRowToTab, _pointerActionRemove})
        action->setEnabled(isSelectionPresent);

    QTabWidget* tabWidget = _getParentTabWidget();
    _pointerActionMoveRowToTab->setEnabled(isSelectionPresent && tabWidget != nullptr &&
                                           tabWidget->count() >= 2);
    emit selectionChanged();
}

void PasswordTable::_slotTableWidgetCellDoubleClicked(int row, int column)
{
    if (column != PASSWORD_DATA_ID_URL || row < 0 || row >= passwords.size())
        return;
    const QString& url = passwords[row].data[PASSWORD_DATA_ID_URL];
    if (!_isUrlValid(url))
        return;
    const QUrl openableUrl = getOpenableUrl(url);
    if (!openableUrl.isEmpty())
        QDesktopServices::openUrl(openableUrl);
}

void PasswordTable::copyCurrentRecordField(PasswordDataId dataId)
{
    const int row = ui != nullptr ? ui->tableWidget->currentRow() : -1;
    if (row < 0 || row >= passwords.size())
        return;

    // The record, not the cell, is the source: a masked password still copies in clear.
    SecretClipboard::copy(passwords[row].data[dataId], dataId == PASSWORD_DATA_ID_PASSWORD);
    emit dataCopied();
}

void PasswordTable::_slotMenuDuplicateRowToTabTriggered(QAction* pointerAction)
{
    const int row = ui->tableWidget->currentRow();
    PasswordTable* targetTable = _getTargetTable(pointerAction);
    if (row < 0 || row >= passwords.size() || targetTable == nullptr)
        return;

    // A copy first: the target may be this very table, whose list the insertion changes.
    const Password password = passwords[row];
    targetTable->insertPassword(password);
    emit dataModified();
}

void PasswordTable::_slotMenuMoveRowToTabTriggered(QAction* pointerAction)
{
    const int row = ui->tableWidget->currentRow();
    PasswordTable* targetTable = _getTargetTable(pointerAction);
    if (row < 0 || row >= passwords.size() || targetTable == nullptr || targetTable == this)
        return;

    targetTable->insertPassword(passwords[row]);
    removePassword(row);
    emit dataModified();
}

QString PasswordTable::getMenuText(const QString& name)
{
    return QString(name).replace(QLatin1Char('&'), QStringLiteral("&&"));
}
