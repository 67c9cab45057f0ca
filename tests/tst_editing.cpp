// The editor page at work: the password editor page, records and tabs through the in-window dialogs,
// the unsaved-data state and the enabling rules, and search.
#include "Configuration.h"
#include "FormContentEditor.h"
#include "PasswordStoreCodec.h"
#include "PasswordTabWidget.h"
#include "PasswordTable.h"
#include "ViewBase.h"
#include "ViewContentPasswordInformation.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextCursor>
#include <QtTest>
#include <memory>

using V = FormContentEditor;

class TestEditing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Configuration::initialize();
        Configuration::pointerSettings->clear();
    }
    void init()
    {
        _window = std::make_unique<FormContentEditor>();
        pointerFormContentEditor = _window.get();
        _window->viewReplace(V::VIEW_ID_CONTENT_EDITOR);
        _tabs = _child<QTabWidget>("tabWidget");
    }
    void cleanup()
    {
        _window.reset();
        pointerFormContentEditor = nullptr;
    }
    void passwordEditorPage();
    void recordsTabsAndEnablingRules();
    void recordsAndTabNamesStayExact();
    void searchWalkOrder();

private:
    std::unique_ptr<FormContentEditor> _window;
    QTabWidget* _tabs = nullptr;

    template <typename T = QWidget> T* _child(const char* name, QObject* parent = nullptr)
    {
        T* child = (parent != nullptr ? parent : _window.get())->findChild<T*>(QLatin1String(name));
        [&] { QVERIFY2(child != nullptr, name); }();
        return child;
    }
    template <typename T = QWidget> T* _onPage(const char* name) { return _child<T>(name, _page()); }
    bool _isEnabled(const char* name) { return _child(name)->isEnabled(); }
    PasswordTable* _table(int index) { return static_cast<PasswordTable*>(_tabs->widget(index)); }
    QObject* _page() { return _window->viewGetContent(V::VIEW_ID_PASSWORD_INFORMATION); }
    void _click(const char* name, QObject* parent = nullptr) { _child<QPushButton>(name, parent)->click(); }
    // The entries of a row context submenu of a tab (3 duplicate, 4 move) as the user sees them
    // shown: "name=tab index".
    QStringList _menuEntries(int tab, int action)
    {
        QMenu* menu = _table(tab)->tableWidget()->actions().value(action)->menu();
        menu->popup(QPoint());
        QStringList entries;
        for (const QAction* entry : menu->actions())
            entries << entry->text() + u'=' + entry->data().toString();
        menu->hide();
        return entries;
    }
    // Answers the in-window message box, which arrives on a later event-loop turn.
    QString _answerMessageBox(const char* buttonName)
    {
        QObject* box = _window->viewGetContent(V::VIEW_ID_MESSAGE_BOX_DIALOG);
        [&] { QTRY_COMPARE(_window->viewGetCurrent(), V::VIEW_ID_MESSAGE_BOX_DIALOG); }();
        const QString text = _child<QLabel>("labelText", box)->text();
        _click(buttonName, box);
        return text;
    }
    void _answerLineInput(const QString& text)
    {
        QObject* input = _window->viewGetContent(V::VIEW_ID_LINE_INPUT_DIALOG);
        QCOMPARE(_window->viewGetCurrent(), V::VIEW_ID_LINE_INPUT_DIALOG);
        auto* lineEdit = _child<QLineEdit>("lineEdit", input);
        lineEdit->clear();
        QGuiApplication::clipboard()->setText(text);
        lineEdit->paste();
        _click("pushButtonOk", input);
    }
    PasswordTable* _addTab(const QString& name, const QList<QStringList>& records)
    {
        PasswordTable* table = _window->_createEmptyTab(name);
        for (const QStringList& fields : records)
            std::copy(fields.begin(), fields.end(), std::begin(table->passwords.emplace_back().data));
        table->fillTableWithPasswords();
        _window->_updateUserInterfaceControls();
        return table;
    }
    QPoint _current(int tab)
    {
        return {_table(tab)->tableWidget()->currentRow(), _table(tab)->tableWidget()->currentColumn()};
    }
};

void TestEditing::passwordEditorPage()
{
    PasswordTable* table = _addTab("Web", {{"alpha", "a@x.org", "pw-a", "", "note a"}, {"delta"}, {"kilo"}});
    auto* page = static_cast<ViewContentPasswordInformation*>(_page());
    QSignalSpy modified(page, &ViewContentPasswordInformation::passwordModified);
    QSignalSpy copied(page, &ViewContentPasswordInformation::dataCopied);
    auto* name = _onPage<QLineEdit>("lineEditName");
    auto* password = _onPage<QLineEdit>("lineEditPassword");
    auto* note = _onPage<QPlainTextEdit>("textEditNote");
    auto* save = _onPage<QPushButton>("pushButtonSave");
    auto* generate = _onPage<QPushButton>("pushButtonGeneratePassword");
    auto* count = _onPage<QLabel>("labelPasswordCharactersCount");
    const auto title = [this]() { return _window->viewGetFrame(V::VIEW_ID_PASSWORD_INFORMATION)->title(); };

    // New record: empty page, name focused, nothing can be saved, shown or copied.
    _click("pushButtonNewPassword");
    QVERIFY(_window->viewGetCurrent() == V::VIEW_ID_PASSWORD_INFORMATION && title() == "New password");
    QCOMPARE(_window->focusWidget(), name);
    QVERIFY(name->text().isEmpty() && note->toPlainText().isEmpty() && count->text().isEmpty());
    QVERIFY(!save->isEnabled() && !_onPage("pushButtonCopyPassword")->isEnabled());
    QTest::keyClicks(name, "   ");
    QVERIFY(!save->isEnabled());

    // Pasted delimiters never enter a field.
    QGuiApplication::clipboard()->setText(QStringLiteral("br") + QChar(3) + "av" + QChar(4) + "o");
    name->paste();
    note->paste();
    QVERIFY(name->text() == "   bravo" && note->toPlainText() == "bravo" && save->isEnabled());

    // Automatic generation, then advanced: four digits; no class at all disables Generate.
    generate->click();
    QVERIFY(password->text().size() >= 20 && password->text().size() <= 30);
    QCOMPARE(count->text(), QStringLiteral("Characters count: %1").arg(password->text().size()));
    _onPage<QComboBox>("comboBoxPasswordGenerationMode")->setCurrentIndex(1);
    _onPage<QSpinBox>("spinBoxCharactersCount")->setValue(4);
    for (const char* box :
         {"checkBoxLowercaseLetters", "checkBoxUppercaseLetters", "checkBoxSymbols", "checkBoxDigits"})
        _onPage<QCheckBox>(box)->setChecked(false);
    QVERIFY(!generate->isEnabled());
    _onPage<QCheckBox>("checkBoxDigits")->setChecked(true);
    generate->click();
    QVERIFY2(QRegularExpression("^[0-9]{4}$").match(password->text()).hasMatch(),
             qPrintable(password->text()));

    // Saved trimmed, at its sorted place, current, and unsaved.
    save->click();
    QVERIFY(modified.size() == 1 && _window->viewGetCurrent() == V::VIEW_ID_CONTENT_EDITOR);
    QCOMPARE(table->passwords[1].data[0], QStringLiteral("bravo"));
    QCOMPARE(_current(0), QPoint(1, 0));
    QCOMPARE(_window->windowTitle(), QStringLiteral("Pavisor Key Manager [unsaved data]"));

    // Edit from the note column: the note is focused; unchanged, retyped or a trailing blank is nothing.
    table->tableWidget()->setCurrentCell(0, PasswordTable::PASSWORD_DATA_ID_NOTE);
    _click("pushButtonEditPassword");
    QVERIFY(title() == "Edit password" && _window->focusWidget() == note && !save->isEnabled());
    // Generate over a password, twice: Ctrl+Z in the field brings back the one it replaced. Once the
    // user types in the field, the field's own undo is the one that counts.
    generate->click();
    generate->click();
    QVERIFY(password->text() != "pw-a" && save->isEnabled());
    QTest::keyClick(password, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(password->text() == "pw-a" && !save->isEnabled());
    generate->click();
    QTest::keyClicks(password, "9");
    QTest::keyClick(password, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(password->text() != "pw-a");
    password->setText("pw-a");
    name->clear();
    QTest::keyClicks(name, "alpha ");
    QVERIFY(!save->isEnabled());

    // Copy, then Cancel: only dataCopied() leaves the page, and the clipboard can be cleared.
    _onPage<QPushButton>("pushButtonCopyPassword")->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("pw-a"));
    _onPage<QPushButton>("pushButtonCancel")->click();
    QVERIFY(copied.size() == 1 && modified.size() == 1 && _isEnabled("pushButtonClearClipboard"));

    // Renamed so that it sorts last: the old row goes, the new one is current.
    _click("pushButtonEditPassword");
    name->clear();
    QTest::keyClicks(name, "zulu");
    save->click();
    QCOMPARE(table->passwords.size(), 4);
    QCOMPARE(table->passwords[3].data[0] + table->passwords[3].data[4], QStringLiteral("zulunote a"));
    QVERIFY(_current(0) == QPoint(3, 0) && copied.size() == 1);

    // The generation choices outlive the window.
    cleanup();
    init();
    QCOMPARE(_onPage<QComboBox>("comboBoxPasswordGenerationMode")->currentIndex(), 1);
    QCOMPARE(_onPage<QSpinBox>("spinBoxCharactersCount")->value(), 4);
    QVERIFY(!_onPage<QCheckBox>("checkBoxSymbols")->isChecked() &&
            _onPage<QCheckBox>("checkBoxDigits")->isChecked());
    Configuration::pointerSettings->clear();
}

void TestEditing::recordsTabsAndEnablingRules()
{
    // No tab: only New tab works, the search row and export are off, the whole memory is free.
    for (const char* button : {"pushButtonNewPassword", "pushButtonRenameTab", "pushButtonDuplicateTab",
                               "pushButtonRemoveTab", "pushButtonWriteDevice", "widgetSearch"})
        QVERIFY2(!_isEnabled(button), button);
    QVERIFY(_isEnabled("pushButtonNewTab") && !_child<QAction>("actionExportCSV")->isEnabled());
    QCOMPARE(_child<QLabel>("labelUsedMemoryBytes")->text(), QStringLiteral("Available memory: 100%"));

    // A new tab through the line input (a pasted delimiter does not get in).
    _click("pushButtonNewTab");
    _answerLineInput(QStringLiteral("Ma") + QChar(3) + "il");
    QCOMPARE(_tabs->tabText(0), QStringLiteral("Mail"));
    QVERIFY(_isEnabled("pushButtonWriteDevice") && !_isEnabled("widgetSearch") &&
            _window->_isUnsavedDataPresent);
    _addTab("Bank", {{"b1"}, {"b2"}});
    _window->_setUnsavedDataPresent(false);
    QCOMPARE(_window->windowTitle(), QStringLiteral("Pavisor Key Manager"));

    // Duplicate: "<name> - Copy" proposed, a last tab with the same records in order, made current.
    _tabs->setCurrentIndex(1);
    _table(1)->passwords.swapItemsAt(0, 1);
    _table(1)->fillTableWithPasswords();
    _click("pushButtonDuplicateTab");
    QObject* input = _window->viewGetContent(V::VIEW_ID_LINE_INPUT_DIALOG);
    QCOMPARE(_child<QLineEdit>("lineEdit", input)->text(), QStringLiteral("Bank - Copy"));
    _click("pushButtonOk", input);
    QVERIFY(_tabs->count() == 3 && _tabs->currentIndex() == 2);
    QCOMPARE(_table(2)->passwords, _table(1)->passwords);
    QVERIFY(_window->_isUnsavedDataPresent && _isEnabled("widgetSearch") &&
            !_isEnabled("pushButtonEditPassword"));
    QCOMPARE(_child<QLabel>("labelUsedMemoryBytes")->text(), QStringLiteral("Available memory: 99%"));

    // Rename, then drag: unsaved, and the row menus follow the new order, move leaving out the tab
    // itself.
    _window->_setUnsavedDataPresent(false);
    _click("pushButtonRenameTab");
    _answerLineInput("Savings");
    QVERIFY(_tabs->tabText(2) == "Savings" && _window->_isUnsavedDataPresent);
    _window->_setUnsavedDataPresent(false);
    _tabs->tabBar()->moveTab(2, 0);
    QVERIFY(_window->_isUnsavedDataPresent);
    QCOMPARE(_menuEntries(0, 4), QStringList({"Mail=1", "Bank=2"}));
    QCOMPARE(_menuEntries(1, 3), QStringList({"Savings=0", "Mail=1", "Bank=2"}));

    // Remove a record: No keeps it, Yes removes it; then remove the tab.
    _table(0)->tableWidget()->setCurrentCell(0, 1);
    QVERIFY(_isEnabled("pushButtonRemovePassword"));
    _click("pushButtonRemovePassword");
    QCOMPARE(_answerMessageBox("pushButtonNo"),
             QStringLiteral("Do you really want to remove the password called 'b2'?"));
    QCOMPARE(_table(0)->passwords.size(), 2);
    _window->_setUnsavedDataPresent(false);
    _click("pushButtonRemovePassword");
    _answerMessageBox("pushButtonYes");
    QVERIFY(_table(0)->passwords.size() == 1 && _window->_isUnsavedDataPresent);
    _window->_setUnsavedDataPresent(false);
    _click("pushButtonRemoveTab");
    _answerMessageBox("pushButtonYes");
    QVERIFY(_tabs->count() == 2 && _window->_isUnsavedDataPresent);

    // A store that no longer fits is kept: the gauge shows 0.
    _addTab(QString(140000, QLatin1Char('x')), {});
    QCOMPARE(_child<QLabel>("labelUsedMemoryBytes")->text(), QStringLiteral("Available memory: 0%"));
}

void TestEditing::recordsAndTabNamesStayExact()
{
    // A password longer than a line edit holds by default, a name with blanks around it and a note
    // whose non-breaking space, U+2028 and CR LF a text document would rewrite.
    const QString longPassword = QString(40000, QLatin1Char('k')) + QStringLiteral("end");
    const QString note = QStringLiteral("a\u00A0b\u2028c\r\nd");
    const QStringList fields = {" spaced ", "login", longPassword, "https://x.example", note};
    PasswordTable* table = _addTab("R&D", {fields});
    auto* save = _onPage<QPushButton>("pushButtonSave");
    auto* login = _onPage<QLineEdit>("lineEditLogin");
    auto* noteEdit = _onPage<QPlainTextEdit>("textEditNote");
    const auto stored = [table]()
    { return QStringList(std::begin(table->passwords[0].data), std::end(table->passwords[0].data)); };

    // Shown whole; nothing changed is nothing to save, and an edit undone is no change either.
    table->tableWidget()->setCurrentCell(0, PasswordTable::PASSWORD_DATA_ID_LOGIN);
    _click("pushButtonEditPassword");
    QCOMPARE(_onPage<QLineEdit>("lineEditPassword")->text(), longPassword);
    QVERIFY(!save->isEnabled());
    noteEdit->moveCursor(QTextCursor::End);
    QTest::keyClicks(noteEdit, "x");
    QVERIFY(save->isEnabled());
    noteEdit->undo();
    QVERIFY(!save->isEnabled());

    // Saving a change of the login keeps every other field exactly as it was.
    login->end(false);
    QTest::keyClicks(login, "2");
    save->click();
    QCOMPARE(stored(), QStringList({" spaced ", "login2", longPassword, "https://x.example", note}));

    // A note the user edits keeps its non-breaking space and U+2028; only its paragraph ends are the
    // document's own (LF).
    _click("pushButtonEditPassword");
    noteEdit->moveCursor(QTextCursor::End);
    QTest::keyClicks(noteEdit, "!");
    save->click();
    QCOMPARE(stored().value(4), QStringLiteral("a\u00A0b\u2028c\nd!"));

    // "&" in a tab name is shown as typed (no shortcut mark) in the tab bar and the row menus, and
    // stored as typed.
    auto* tabs = static_cast<PasswordTabWidget*>(_tabs);
    QCOMPARE(tabs->tabName(0), QStringLiteral("R&D"));
    QCOMPARE(QKeySequence::mnemonic(_tabs->tabText(0)), QKeySequence());
    QCOMPARE(_menuEntries(0, 3), QStringList({"R&&D=0"}));
    _click("pushButtonRenameTab");
    QCOMPARE(_child<QLineEdit>("lineEdit", _window->viewGetContent(V::VIEW_ID_LINE_INPUT_DIALOG))->text(),
             QStringLiteral("R&D"));
    _answerLineInput("Q&&A & more");
    QCOMPARE(tabs->tabName(0), QStringLiteral("Q&&A & more"));
    QByteArray image(PasswordStoreCodec::MEMORY_SIZE, '\0');
    QVERIFY(_window->_encodePasswordsToMemoryFormat(reinterpret_cast<unsigned char*>(image.data())) >= 0);
    QList<PasswordStoreCodec::Tab> parsedTabs;
    PasswordStoreCodec::parse(reinterpret_cast<unsigned char*>(image.data()), &parsedTabs);
    QCOMPARE(parsedTabs.value(0).name, QStringLiteral("Q&&A & more"));
    QCOMPARE(parsedTabs.value(0).passwords.value(0).data[PasswordTable::PASSWORD_DATA_ID_PASSWORD],
             longPassword);
}

void TestEditing::searchWalkOrder()
{
    // Every cell holds the text, passwords included; stepping shows the walk order.
    const QStringList row = {"Key", "key", "KEY", "key", "kEy"};
    _addTab("One", {row,
                    QStringList(row).replaceInStrings("Key", "x"),
                    row,
                    {"Key", "key", "KEY", "key", "kEy needles"}});
    _addTab("Two", {{"other", "", "secret word", "", "needle"}, {"other", "", "", "a needle"}});
    _addTab("Three", {{"NEEDLE"}});
    auto* searchText = _child<QLineEdit>("lineEditSearch");
    const char *next = "pushButtonNextSearchResult", *previous = "pushButtonPreviousSearchResult";
    // Clicks a search button: the tab then current, and its current cell.
    const auto step = [this](const char* button)
    {
        _click(button);
        const QPoint cell = _current(_tabs->currentIndex());
        return QList<int>{_tabs->currentIndex(), cell.x(), cell.y()};
    };
    QTest::keyClicks(searchText, "key");

    // One tab, forward from (2, 4): the next row first, column 2 skipped, wrap at the end; backward
    // from (0, 0) wraps to the last row's column 4.
    _table(0)->tableWidget()->setCurrentCell(2, 4);
    for (const QPoint& cell : {QPoint(3, 0), {3, 1}, {3, 3}, {3, 4}, {0, 0}, {0, 1}, {0, 3}, {0, 4}, {1, 1}})
        QCOMPARE(step(next), QList<int>({0, cell.x(), cell.y()}));
    _table(0)->tableWidget()->setCurrentCell(0, 0);
    QCOMPARE(step(previous), QList<int>({0, 3, 4}));
    // The start cell itself is examined, last.
    searchText->setText("x");
    _table(0)->tableWidget()->setCurrentCell(1, 0);
    QCOMPARE(step(next), QList<int>({0, 1, 0}));
    QApplication::processEvents();
    QCOMPARE(_window->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);
    searchText->setText("key");

    // Return finds the next one and leaves the focus in the search field.
    _window->show();
    QVERIFY(QTest::qWaitForWindowActive(_window.get()));
    searchText->setFocus();
    QTest::keyClick(searchText, Qt::Key_Return);
    QVERIFY(_current(0) == QPoint(1, 1) && searchText->hasFocus());

    // All tabs, from tab 1: the rest of tab 1, tab 2, tab 0, then tab 1 from its first cell.
    searchText->setText("NEEDLE");
    _child<QCheckBox>("checkBoxSearchInAllTabs")->setChecked(true);
    _tabs->setCurrentIndex(1);
    _table(1)->tableWidget()->setCurrentCell(0, 4);
    for (const QList<int>& cell : QList<QList<int>>{{1, 1, 3}, {2, 0, 0}, {0, 3, 4}, {1, 0, 4}})
        QCOMPARE(step(next), cell);
    QCOMPARE(step(previous).value(0), 0);
    // The only match lies in the starting tab, before the start cell going forward, after it going
    // backward: every other tab, then the starting tab from its edge.
    searchText->setText("a needle");
    _tabs->setCurrentIndex(1);
    _table(1)->tableWidget()->setCurrentCell(1, 4);
    QCOMPARE(step(next), QList<int>({1, 1, 3}));
    _table(1)->tableWidget()->setCurrentCell(0, 0);
    QCOMPARE(step(previous), QList<int>({1, 1, 3}));

    // A text only in passwords is never found.
    searchText->setText("SECRET");
    _child<QCheckBox>("checkBoxSearchInAllTabs")->setChecked(false);
    _tabs->setCurrentIndex(1);
    _click(next);
    QCOMPARE(_answerMessageBox("pushButtonOk"), QStringLiteral("No matching text was found."));

    // "Ctrl+F" works on the editor page only.
    searchText->deselect();
    _table(1)->tableWidget()->setFocus();
    _click("pushButtonNewPassword");
    QTest::keyClick(_window.get(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(!searchText->hasSelectedText());
    _onPage<QPushButton>("pushButtonCancel")->click();
    QTest::keyClick(_window.get(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(searchText->hasFocus() && searchText->selectedText() == QStringLiteral("SECRET"));
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
