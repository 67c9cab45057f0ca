#ifndef PASSWORDTABLE_H
#define PASSWORDTABLE_H

#include "PasswordRecord.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QUrl>
#include <QWidget>

class QAction;
class QLineEdit;
class QMenu;
class QTabWidget;
class QTableWidget;

namespace Ui
{
class PasswordTable;
}

// The records of one tab, shown as a read-only five-column table. The table never asks the user
// anything and never decides that data are unsaved: it reports copies and modifications upward.
// A store may hold a thousand tabs, most never looked at, and a table widget with its headers, menus
// and shortcut is costly to build: a table builds them when it is first shown or asked for its
// table widget, and until then keeps only its records.
class PasswordTable : public QWidget
{
    Q_OBJECT

public:
    // Field indexes of a record; column c of the table shows field c, and the store keeps this order.
    enum PasswordDataId
    {
        PASSWORD_DATA_ID_NAME = PasswordRecord::FIELD_NAME,
        PASSWORD_DATA_ID_LOGIN = PasswordRecord::FIELD_LOGIN,
        PASSWORD_DATA_ID_PASSWORD = PasswordRecord::FIELD_PASSWORD,
        PASSWORD_DATA_ID_URL = PasswordRecord::FIELD_URL,
        PASSWORD_DATA_ID_NOTE = PasswordRecord::FIELD_NOTE,
        PASSWORD_DATA_IDS_COUNT = PasswordRecord::FIELD_COUNT
    };

    // One password record: five texts indexed by PasswordDataId, empty when new.
    using Password = PasswordRecord;

    explicit PasswordTable(QWidget* parent = nullptr);
    ~PasswordTable() override;

    // Row i of the table always shows record i.
    QList<Password> passwords;
    // The table widget, built on first use.
    QTableWidget* tableWidget();

    // Inserts a copy at its place in name order (case-insensitive, after equal names) and returns its row.
    int insertPassword(const Password& password);
    // Places a copy in passwords where insertPassword() would, without building its row: for many
    // insertions followed by one fillTableWithPasswords(). Returns its index.
    int insertPasswordWithoutRow(const Password& password);
    // Removes the record and row at index; an index outside the records does nothing.
    void removePassword(int index);
    // Rebuilds every row from passwords, in list order (after passwords was assigned directly).
    void fillTableWithPasswords();
    // Gives the tab names the duplicate and move submenus offer, rebuilt each time they open; the move
    // submenu omits the current tab.
    void updateTabNamesContextMenu(const QList<QString>& tabNames, int currentTabIndex);

    static void clearPassword(Password* password);
    // Removes U+0003 and U+0004, which the store would read back as structure; true when any was there.
    static bool removeStoreDelimiters(QString* text);
    // The same on the text of an input field, keeping its cursor in place.
    static void removeStoreDelimiters(QLineEdit* lineEdit);
    // A name as a tab bar or a menu entry shows it: "&" doubled, which Qt would otherwise take for
    // the mark of a keyboard shortcut and hide.
    static QString getMenuText(const QString& name);
    // The address a double click on this web site text opens: http and https only, "https://" added
    // to an address typed without a scheme. An empty address for anything else.
    static QUrl getOpenableUrl(const QString& url);
    // Copies one field of the current record (the password as a secret); nothing without a current row.
    void copyCurrentRecordField(PasswordDataId dataId);

signals:
    void dataCopied();
    void dataModified();
    // Relayed from the table widget and the "Edit" action, so that wiring a table up does not build it.
    void selectionChanged();
    void editRequested();
    // Delete, or the context menu's "Remove": the receiver asks before it removes the current row.
    void removeRequested();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // Watches the header: only a column resized while the user holds the mouse on it is the user's.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The form, and with it everything down to the shortcut, exists once the table is built.
    Ui::PasswordTable* ui = nullptr;
    // Context-menu actions, in the order they are added to the table widget (callers rely on index 2: Edit).
    QAction* _pointerActionCopyLogin = nullptr;
    QAction* _pointerActionCopyPassword = nullptr;
    QAction* _pointerActionEdit = nullptr;
    QAction* _pointerActionDuplicateRowToTab = nullptr;
    QAction* _pointerActionMoveRowToTab = nullptr;
    QMenu* _pointerMenuDuplicateRowToTab = nullptr;
    QMenu* _pointerMenuMoveRowToTab = nullptr;
    QAction* _pointerActionRemove = nullptr;
    // What the tab submenus offer when they open.
    QList<QString> _tabNames;
    int _currentTabIndex = -1;
    // Widest content of each column over all rows, so that an insertion or a removal sizes the columns
    // from its own row instead of measuring every row again. Invalid after a rebuild.
    int _columnContentWidths[PASSWORD_DATA_IDS_COUNT] = {};
    // How many rows have that widest width: a removal re-measures only when the last of them goes.
    int _columnContentWidthCounts[PASSWORD_DATA_IDS_COUNT] = {};
    bool _isColumnContentWidthsValid = false;
    // The font and style the cached widths were measured with.
    QFont _columnContentWidthsFont;
    const QStyle* _columnContentWidthsStyle = nullptr;

    void _build();
    // Fills a tab submenu from the kept tab names, without the tab at omittedTabIndex (-1: none).
    void _fillTabNamesMenu(QMenu* menu, int omittedTabIndex);
    void _fillTableRowWithPassword(int index);
    // Fills the cells of an existing empty row from record index.
    void _setTableRowCells(int index);
    void _updateTableView();
    void _updateTableViewForInsertedRow(int index);
    // Whether the cached widths still are those of the view's own pass (same font, style and rows measured).
    bool _isColumnContentWidthsUsable();
    void _applyColumnContentWidths();
    // Caps the columns, or gives them the widths the user chose.
    void _applyColumnWidthLimits();
    // Set while the table sizes its columns, so that only the user's own resizing is remembered.
    bool _isSizingColumns = false;
    bool _isHeaderPressed = false;
    int _getCellContentWidth(int row, int column) const;
    QTabWidget* _getParentTabWidget();
    static bool _isUrlValid(const QString& url);
    PasswordTable* _getTargetTable(QAction* pointerAction);

private slots:
    void _slotTableWidgetItemSelectionChanged();
    void _slotTableWidgetCellDoubleClicked(int row, int column);
    void _slotMenuDuplicateRowToTabTriggered(QAction* pointerAction);
    void _slotMenuMoveRowToTabTriggered(QAction* pointerAction);
};

#endif
