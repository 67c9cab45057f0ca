// The editor page at work: the password editor page, records and tabs through the in-window dialogs,
// the unsaved-data state and the enabling rules, and search.
#include "Configuration.h"
#include "FormContentEditor.h"
#include "PasswordTable.h"
#include "ViewBase.h"
#include "ViewContentLineInputDialog.h"
#include "ViewContentPasswordInformation.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>
#include <memory>

using Password = PasswordTable::Password;
using V = FormContentEditor;

class TestEditing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void passwordEditorPage();
    void recordsTabsAndEnablingRules();
    void searchWalkOrder();

private:
    std::unique_ptr<FormContentEditor> _window;
    QTabWidget* _tabs = nullptr;

    template <typename T> T* _child(const char* name, QObject* parent = nullptr)
    {
        T* child = (parent != nullptr ? parent : _window.get())->findChild<T*>(QLatin1String(name));
        [&] { QVERIFY2(child != nullptr, name); }();
        return child;
    }
    PasswordTable* _table(int index) { return static_cast<PasswordTable*>(_tabs->widget(index)); }
    QObject* _page() { return _window->viewGetContent(V::VIEW_ID_PASSWORD_INFORMATION); }
    void _click(const char* name, QObject* parent = nullptr) { _child<QPushButton>(name, parent)->click(); }
    // Answers the in-window message box, which arrives on a later event-loop turn.
    QString _answerMessageBox(const char* buttonName);
    void _answerLineInput(const QString& text);
    PasswordTable* _addTab(const QString& name, const QList<QStringList>& records);
    QPoint _current(int tab)
    {
        return {_table(tab)->tableWidget()->currentRow(), _table(tab)->tableWidget()->currentColumn()};
    }
};

void TestEditing::initTestCase()
{
    Configuration::initialize();
    Configuration::pointerSettings->clear();
}

void TestEditing::init()
{
    _window = std::make_unique<FormContentEditor>();
    pointerFormContentEditor = _window.get();
    _window->viewReplace(V::VIEW_ID_CONTENT_EDITOR);
    _tabs = _child<QTabWidget>("tabWidget");
}

void TestEditing::cleanup()
{
    _window.reset();
    pointerFormContentEditor = nullptr;
}

QString TestEditing::_answerMessageBox(const char* buttonName)
{
    QObject* box = _window->viewGetContent(V::VIEW_ID_MESSAGE_BOX_DIALOG);
    [&] { QTRY_COMPARE(_window->viewGetCurrent(), V::VIEW_ID_MESSAGE_BOX_DIALOG); }();
    const QString text = _child<QLabel>("labelText", box)->text();
    _click(buttonName, box);
    return text;
}

void TestEditing::_answerLineInput(const QString& text)
{
    QObject* input = _window->viewGetContent(V::VIEW_ID_LINE_INPUT_DIALOG);
    QCOMPARE(_window->viewGetCurrent(), V::VIEW_ID_LINE_INPUT_DIALOG);
    auto* lineEdit = _child<QLineEdit>("lineEdit", input);
    lineEdit->clear();
    QGuiApplication::clipboard()->setText(text);
    lineEdit->paste();
    _click("pushButtonOk", input);
}

PasswordTable* TestEditing::_addTab(const QString& name, const QList<QStringList>& records)
{
    PasswordTable* table = _window->_createEmptyTab(name);
    for (const QStringList& fields : records)
    {
        Password password;
        for (int i = 0; i < fields.size(); i++)
            password.data[i] = fields[i];
        table->passwords.append(password);
    }
    table->fillTableWithPasswords();
    _window->_updateUserInterfaceControls();
    return table;
}

void TestEditing::passwordEditorPage()
{
    PasswordTable* table = _addTab("Web", {{"alpha", "a@x.org", "pw-a", "", "note a"}, {"delta"}, {"kilo"}});
    auto* page = static_cast<ViewContentPasswordInformation*>(_page());
    QSignalSpy modified(page, &ViewContentPasswordInformation::passwordModified);
    QSignalSpy copied(page, &ViewContentPasswordInformation::dataCopied);
    auto* name = _child<QLineEdit>("lineEditName", _page());
    auto* password = _child<QLineEdit>("lineEditPassword", _page());
    auto* note = _child<QPlainTextEdit>("textEditNote", _page());
    auto* save = _child<QPushButton>("pushButtonSave", _page());
    auto* count = _child<QLabel>("labelPasswordCharactersCount", _page());

    // New record: empty page, name focused, nothing can be saved, shown or copied.
    _click("pushButtonNewPassword");
    QCOMPARE(_window->viewGetCurrent(), V::VIEW_ID_PASSWORD_INFORMATION);
    QCOMPARE(_window->viewGetFrame(V::VIEW_ID_PASSWORD_INFORMATION)->title(), QStringLiteral("New password"));
    QCOMPARE(_window->focusWidget(), name);
    QVERIFY(name->text().isEmpty() && note->toPlainText().isEmpty() && count->text().isEmpty());
    QVERIFY(!save->isEnabled() && !_child<QPushButton>("pushButtonCopyPassword", _page())->isEnabled());
    QTest::keyClicks(name, "   ");
    QVERIFY(!save->isEnabled());

    // Pasted delimiters never enter a field.
    QGuiApplication::clipboard()->setText(QStringLiteral("br") + QChar(3) + "av" + QChar(4) + "o");
    name->paste();
    note->paste();
    QCOMPARE(name->text(), QStringLiteral("   bravo"));
    QCOMPARE(note->toPlainText(), QStringLiteral("bravo"));
    QVERIFY(save->isEnabled());

    // Automatic generation, then advanced: four digits; no class at all disables Generate.
    _click("pushButtonGeneratePassword", _page());
    QVERIFY(password->text().size() >= 20 && password->text().size() <= 30);
    QCOMPARE(count->text(), QStringLiteral("Characters count: %1").arg(password->text().size()));
    _child<QComboBox>("comboBoxPasswordGenerationMode", _page())->setCurrentIndex(1);
    _child<QSpinBox>("spinBoxCharactersCount", _page())->setValue(4);
    for (const char* box :
         {"checkBoxLowercaseLetters", "checkBoxUppercaseLetters", "checkBoxSymbols", "checkBoxDigits"})
        _child<QCheckBox>(box, _page())->setChecked(false);
    QVERIFY(!_child<QPushButton>("pushButtonGeneratePassword", _page())->isEnabled());
    _child<QCheckBox>("checkBoxDigits", _page())->setChecked(true);
    _click("pushButtonGeneratePassword", _page());
    QVERIFY2(QRegularExpression("^[0-9]{4}$").match(password->text()).hasMatch(),
             qPrintable(password->text()));

    // Saved trimmed, at its sorted place, current, and unsaved.
    _click("pushButtonSave", _page());
    QCOMPARE(modified.size(), 1);
    QCOMPARE(_window->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);
    QCOMPARE(table->passwords[1].data[0], QStringLiteral("bravo"));
    QCOMPARE(_current(0), QPoint(1, 0));
    QCOMPARE(_window->windowTitle(), QStringLiteral("Pavisor Key Manager [unsaved data]"));

    // Edit from the note column: the note is focused; unchanged, retyped or a trailing blank is nothing.
    table->tableWidget()->setCurrentCell(0, PasswordTable::PASSWORD_DATA_ID_NOTE);
    _click("pushButtonEditPassword");
    QCOMPARE(_window->viewGetFrame(V::VIEW_ID_PASSWORD_INFORMATION)->title(),
             QStringLiteral("Edit password"));
    QCOMPARE(_window->focusWidget(), note);
    QVERIFY(!save->isEnabled());
    name->clear();
    QTest::keyClicks(name, "alpha ");
    QVERIFY(!save->isEnabled());

    // Copy, then Cancel: only dataCopied() leaves the page, and the clipboard can be cleared.
    _click("pushButtonCopyPassword", _page());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("pw-a"));
    _click("pushButtonCancel", _page());
    QCOMPARE(copied.size(), 1);
    QCOMPARE(modified.size(), 1);
    QVERIFY(_child<QPushButton>("pushButtonClearClipboard")->isEnabled());

    // Renamed so that it sorts last: the old row goes, the new one is current.
    _click("pushButtonEditPassword");
    name->clear();
    QTest::keyClicks(name, "zulu");
    _click("pushButtonSave", _page());
    QCOMPARE(table->passwords.size(), 4);
    QCOMPARE(table->passwords[3].data[0] + table->passwords[3].data[4], QStringLiteral("zulunote a"));
    QCOMPARE(_current(0), QPoint(3, 0));
    QCOMPARE(copied.size(), 1);

    // The generation choices outlive the window.
    cleanup();
    init();
    QCOMPARE(_child<QComboBox>("comboBoxPasswordGenerationMode", _page())->currentIndex(), 1);
    QCOMPARE(_child<QSpinBox>("spinBoxCharactersCount", _page())->value(), 4);
    QVERIFY(!_child<QCheckBox>("checkBoxSymbols", _page())->isChecked());
    QVERIFY(_child<QCheckBox>("checkBoxDigits", _page())->isChecked());
    Configuration::pointerSettings->clear();
}

void TestEditing::recordsTabsAndEnablingRules()
{
    // No tab: only New tab works, the search row and export are off, the whole memory is free.
    for (const char* button : {"pushButtonNewPassword", "pushButtonRenameTab", "pushButtonDuplicateTab",
                               "pushButtonRemoveTab", "pushButtonWriteDevice"})
        QVERIFY2(!_child<QPushButton>(button)->isEnabled(), button);
    QVERIFY(_child<QPushButton>("pushButtonNewTab")->isEnabled());
    QVERIFY(!_child<QWidget>("widgetSearch")->isEnabled() &&
            !_child<QAction>("actionExportCSV")->isEnabled());
    QCOMPARE(_child<QLabel>("labelUsedMemoryBytes")->text(), QStringLiteral("Available memory: 100%"));

    // A new tab through the line input (a pasted delimiter does not get in).
    _click("pushButtonNewTab");
    _answerLineInput(QStringLiteral("Ma") + QChar(3) + "il");
    QCOMPARE(_tabs->tabText(0), QStringLiteral("Mail"));
    QVERIFY(_child<QPushButton>("pushButtonWriteDevice")->isEnabled());
    QVERIFY(!_child<QWidget>("widgetSearch")->isEnabled());
    QVERIFY(_window->_isUnsavedDataPresent);
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
    QCOMPARE(_tabs->count(), 3);
    QCOMPARE(_tabs->currentIndex(), 2);
    QCOMPARE(_table(2)->passwords, _table(1)->passwords);
    QVERIFY(_window->_isUnsavedDataPresent);
    QVERIFY(_child<QWidget>("widgetSearch")->isEnabled());
    QVERIFY(!_child<QPushButton>("pushButtonEditPassword")->isEnabled());
    QCOMPARE(_child<QLabel>("labelUsedMemoryBytes")->text(), QStringLiteral("Available memory: 99%"));

    // Rename, then drag: unsaved, and the move menus exclude the tab now current.
    _window->_setUnsavedDataPresent(false);
    _click("pushButtonRenameTab");
    _answerLineInput("Savings");
    QCOMPARE(_tabs->tabText(2), QStringLiteral("Savings"));
    _window->_setUnsavedDataPresent(false);
    _tabs->tabBar()->moveTab(2, 0);
    QVERIFY(_window->_isUnsavedDataPresent);
    QMenu* moveMenu = _table(0)->tableWidget()->actions()[3]->menu();
    emit moveMenu->aboutToShow();
    const QList<QAction*> moveEntries = moveMenu->actions();
    QCOMPARE(moveEntries.size(), 2);
    QCOMPARE(moveEntries[0]->data().toInt(), 1);
    QMenu* duplicateMenu = _table(1)->tableWidget()->actions()[2]->menu();
    emit duplicateMenu->aboutToShow();
    QCOMPARE(duplicateMenu->actions()[0]->text(), QStringLiteral("Savings"));

    // Remove a record: No keeps it, Yes removes it; then remove the tab.
    _table(0)->tableWidget()->setCurrentCell(0, 1);
    QVERIFY(_child<QPushButton>("pushButtonRemovePassword")->isEnabled());
    _click("pushButtonRemovePassword");
    QCOMPARE(_answerMessageBox("pushButtonNo"),
             QStringLiteral("Do you really want to remove the password called 'b2'?"));
    QCOMPARE(_table(0)->passwords.size(), 2);
    _click("pushButtonRemovePassword");
    _answerMessageBox("pushButtonYes");
    QCOMPARE(_table(0)->passwords.size(), 1);
    _window->_setUnsavedDataPresent(false);
    _click("pushButtonRemoveTab");
    _answerMessageBox("pushButtonYes");
    QCOMPARE(_tabs->count(), 2);
    QVERIFY(_window->_isUnsavedDataPresent);

    // A store that no longer fits is kept: the gauge shows 0.
    _addTab(QString(140000, QLatin1Char('x')), {});
    _window->_updateUserInterfaceControls();
    QCOMPARE(_child<QLabel>("labelUsedMemoryBytes")->text(), QStringLiteral("Available memory: 0%"));
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
    QTest::keyClicks(searchText, "key");

    // One tab, forward from (2, 4): the next row first, column 2 skipped, wrap at the end.
    _table(0)->tableWidget()->setCurrentCell(2, 4);
    const QList<QPoint> forward = {{3, 0}, {3, 1}, {3, 3}, {3, 4}, {0, 0}, {0, 1}, {0, 3}, {0, 4}, {1, 1}};
    for (const QPoint& cell : forward)
    {
        _click("pushButtonNextSearchResult");
        QCOMPARE(_current(0), cell);
    }
    // Backward from (0, 0) wraps to the last row's column 4.
    _table(0)->tableWidget()->setCurrentCell(0, 0);
    _click("pushButtonPreviousSearchResult");
    QCOMPARE(_current(0), QPoint(3, 4));
    // The start cell itself is examined, last.
    searchText->setText("x");
    _table(0)->tableWidget()->setCurrentCell(1, 0);
    _click("pushButtonNextSearchResult");
    QApplication::processEvents();
    QCOMPARE(_window->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);
    searchText->setText("key");

    // Return finds the next one and leaves the focus in the search field.
    _window->show();
    QVERIFY(QTest::qWaitForWindowActive(_window.get()));
    searchText->setFocus();
    QTest::keyClick(searchText, Qt::Key_Return);
    QCOMPARE(_current(0), QPoint(1, 1));
    QVERIFY(searchText->hasFocus());

    // All tabs, from tab 1: the rest of tab 1, tab 2, tab 0, then tab 1 from its first cell.
    searchText->setText("NEEDLE");
    _child<QCheckBox>("checkBoxSearchInAllTabs")->setChecked(true);
    _tabs->setCurrentIndex(1);
    _table(1)->tableWidget()->setCurrentCell(0, 4);
    const QList<QPair<int, QPoint>> passes = {{1, {1, 3}}, {2, {0, 0}}, {0, {3, 4}}, {1, {0, 4}}};
    for (const auto& [tab, cell] : passes)
    {
        _click("pushButtonNextSearchResult");
        QCOMPARE(_tabs->currentIndex(), tab);
        QCOMPARE(_current(tab), cell);
    }
    _click("pushButtonPreviousSearchResult");
    QCOMPARE(_tabs->currentIndex(), 0);

    // A text only in passwords is never found.
    searchText->setText("SECRET");
    _child<QCheckBox>("checkBoxSearchInAllTabs")->setChecked(false);
    _tabs->setCurrentIndex(1);
    _click("pushButtonNextSearchResult");
    QCOMPARE(_answerMessageBox("pushButtonOk"), QStringLiteral("No matching text was found."));

    // "Ctrl+F" works on the editor page only.
    searchText->deselect();
    _table(1)->tableWidget()->setFocus();
    _click("pushButtonNewPassword");
    QTest::keyClick(_window.get(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(!searchText->hasSelectedText());
    _click("pushButtonCancel", _page());
    QTest::keyClick(_window.get(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(searchText->hasFocus() && searchText->selectedText() == QStringLiteral("SECRET"));
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
