// The password table: name order, row content, column sizes, the URL rule, the masked password
// cell, copying, and the context actions that duplicate and move rows between tabs.
#include "PasswordTable.h"
#include "PasswordTablePasswordItem.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtTest>

using Password = PasswordTable::Password;

namespace
{
Password makePassword(const QString& name, const QString& password = {}, const QString& url = {})
{
    return Password{{name, name + QStringLiteral("@login"), password, url, QStringLiteral("note ") + name}};
}

QStringList names(const PasswordTable& table)
{
    QStringList result;
    for (const Password& password : table.passwords)
        result << password.data[PasswordTable::PASSWORD_DATA_ID_NAME];
    return result;
}

// Row i must show record i, field c in column c (the password through its cell widget, masked).
void verifyRowsShowRecords(PasswordTable& table)
{
    QCOMPARE(table.tableWidget()->rowCount(), table.passwords.size());
    const QChar mask(QApplication::style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter));
    for (int row = 0; row < table.passwords.size(); row++)
    {
        const Password& password = table.passwords[row];
        for (int column : {0, 1, 3, 4})
            QCOMPARE(table.tableWidget()->item(row, column)->text(), password.data[column]);
        QWidget* cell = table.tableWidget()->cellWidget(row, PasswordTable::PASSWORD_DATA_ID_PASSWORD);
        QVERIFY(cell != nullptr);
        // A mask of one length, whatever the password's; nothing for no password.
        QCOMPARE(cell->findChild<QLabel*>(QStringLiteral("label"))->text(),
                 QString(password.data[PasswordTable::PASSWORD_DATA_ID_PASSWORD].isEmpty() ? 0 : 8, mask));
    }
}

const char* const SCHEMES[] = {"", "http", "https", "file", "javascript", "mailto", "ftp"};

// A missing picture fails here rather than comparing equal to another missing one.
QImage picture(const QIcon& icon)
{
    const QImage image = icon.pixmap(32).toImage();
    [&] { QVERIFY(!image.isNull()); }();
    return image;
}

// The entries of a submenu as it opens (filled when about to show): "text=data".
QStringList entries(QMenu* menu)
{
    emit menu->aboutToShow();
    QStringList result;
    for (QAction* action : menu->actions())
        result << action->text() + QLatin1Char('=') + action->data().toString();
    return result;
}
} // namespace

class TestPasswordTable : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> openedUrls;
    Q_INVOKABLE void openUrl(const QUrl& url) { openedUrls << url; }

private slots:
    // Catch every address the table opens instead of starting a browser.
    void initTestCase()
    {
        for (const char* scheme : SCHEMES)
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "openUrl");
    }
    void cleanupTestCase()
    {
        for (const char* scheme : SCHEMES)
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    void insertsInNameOrderAndRemoves();
    void sizesColumns();
    void underlinesAndOpensOnlyValidUrls();
    void passwordCellKeepsItsWidthAndRevealsOnDemand();
    void keyboardCopiesEditsAndRemovesWholeRows();
    void contextActionsDuplicateAndMoveRowsBetweenTabs();
};

void TestPasswordTable::insertsInNameOrderAndRemoves()
{
    PasswordTable table;
    QStringList headers;
    for (int column = 0; column < table.tableWidget()->columnCount(); column++)
        headers << table.tableWidget()->horizontalHeaderItem(column)->text();
    QCOMPARE(headers, QStringList({"Name", "ID / Login / Email", "Password", "Web site / URL", "Note"}));
    QCOMPARE(table.insertPassword(makePassword(QStringLiteral("beta"))), 0);
    QCOMPARE(table.insertPassword(makePassword(QStringLiteral("Alpha"))), 0);
    QCOMPARE(table.insertPassword(makePassword(QStringLiteral("alpha"))), 1);
    QCOMPARE(table.insertPassword(makePassword(QStringLiteral("Zeta"), QStringLiteral("pw"))), 3);
    QCOMPARE(table.insertPassword(makePassword(QStringLiteral("Beta"), QStringLiteral("é€"))), 3);
    QCOMPARE(names(table), QStringList({"Alpha", "alpha", "beta", "Beta", "Zeta"}));
    verifyRowsShowRecords(table);

    // Out of range does nothing; a valid index takes record and row away together.
    table.removePassword(-1);
    table.removePassword(5);
    QCOMPARE(table.passwords.size(), 5);
    table.removePassword(1);
    QCOMPARE(names(table), QStringList({"Alpha", "beta", "Beta", "Zeta"}));
    verifyRowsShowRecords(table);

    // An assigned list keeps its order; the next insertion stops at the first greater name from the top.
    table.passwords = {makePassword("c"), makePassword("a"), makePassword("d")};
    table.fillTableWithPasswords();
    verifyRowsShowRecords(table);
    QCOMPARE(table.insertPassword(makePassword(QStringLiteral("b"))), 0);
    QCOMPARE(names(table), QStringList({"b", "c", "a", "d"}));
    verifyRowsShowRecords(table);

    Password password = makePassword(QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z"));
    PasswordTable::clearPassword(&password);
    QCOMPARE(password, Password());
}

void TestPasswordTable::sizesColumns()
{
    PasswordTable table;
    table.resize(1600, 400);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));
    QCOMPARE(table.tableWidget()->horizontalHeader()->minimumSectionSize(), 100);

    // A rebuild from an assigned list fits the columns to their content, a long name cut to 300 pixels and
    // a long address to 450.
    const QString longName = QString(120, QLatin1Char('N'));
    table.passwords = {
        makePassword(longName, {}, QStringLiteral("https://example.com/") + QString(300, 'p'))};
    table.fillTableWithPasswords();
    QCOMPARE(table.tableWidget()->columnWidth(3), 450);
    QCOMPARE(table.tableWidget()->columnWidth(0), 300);

    // An insertion sizes the columns from its own row; the widths must be those of the view's full
    // pass (then cut), in a shown table and in a hidden one, also after a removal.
    PasswordTable hiddenTable;
    QRandomGenerator random(7);
    for (PasswordTable* sized : {&table, &hiddenTable})
    {
        for (int i = 0; i < 40; i++)
        {
            const auto text = [&random](int maximum)
            { return QString(random.bounded(maximum), QChar(0x41 + random.bounded(58))); };
            // A font set on the inner table widget itself changes every measured width.
            if (i == 30)
            {
                QFont font = sized->tableWidget()->font();
                font.setPointSize(font.pointSize() * 2);
                sized->tableWidget()->setFont(font);
            }
            sized->insertPassword(
                Password{{text(40), text(60), text(30), QStringLiteral("a.") + text(120), text(50)}});
            // Removals keep the widths of the remaining rows unless the widest row goes.
            if (i % 5 == 4)
                sized->removePassword(random.bounded(static_cast<int>(sized->passwords.size())));
            QList<int> widths;
            for (int column = 0; column < 5; column++)
                widths << sized->tableWidget()->columnWidth(column);
            for (int column = 0; column < 5; column++)
                sized->tableWidget()->resizeColumnToContents(column);
            for (int column = 0; column < 4; column++)
                sized->tableWidget()->setColumnWidth(
                    column, std::min(sized->tableWidget()->columnWidth(column), column == 3 ? 450 : 300));
            for (int column = 0; column < 5; column++)
                QCOMPARE(widths[column], sized->tableWidget()->columnWidth(column));
        }
    }

    // A width the user drags a column to holds over insertions and rebuilds, and in every other table.
    QHeaderView* header = table.tableWidget()->horizontalHeader();
    const int edge = header->sectionViewportPosition(1) + header->sectionSize(1) - 1;
    const int y = header->height() / 2;
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(edge, y));
    QTest::mouseMove(header->viewport(), QPoint(edge - 40, y));
    QTest::mouseMove(header->viewport(), QPoint(edge - 60, y));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(edge - 60, y));
    const int userWidth = header->sectionSize(1);
    QVERIFY(userWidth < edge - header->sectionViewportPosition(1) - 30);
    table.insertPassword(makePassword(longName));
    table.fillTableWithPasswords();
    PasswordTable other;
    other.insertPassword(makePassword(longName));
    QCOMPARE(QList<int>({table.tableWidget()->columnWidth(1), other.tableWidget()->columnWidth(1)}),
             QList<int>({userWidth, userWidth}));
    QCOMPARE(other.tableWidget()->columnWidth(0), 300);
}

void TestPasswordTable::underlinesAndOpensOnlyValidUrls()
{
    PasswordTable table;
    const QStringList valid = {
        QStringLiteral("x.y"), QStringLiteral("  x.y \t"), QStringLiteral("https://a.b/c"),
        QStringLiteral("HTTP://old.example.net"), QStringLiteral("example.com:8443/login"),
        // Underlined, but no scheme other than http and https is handed to the system.
        QStringLiteral("file:///etc/passwd.txt"), QStringLiteral("javascript:alert(document.cookie)"),
        QStringLiteral("mailto:me@example.org"), QStringLiteral("ftp://files.example.org")};
    const QList<QUrl> opened = {QUrl("https://x.y"), QUrl("https://x.y"), QUrl("https://a.b/c"),
                                QUrl("http://old.example.net"), QUrl("https://example.com:8443/login")};
    const QStringList invalid = {QStringLiteral("nodot"), QStringLiteral("x y.z"), QString()};
    table.passwords.clear();
    for (const QString& url : valid + invalid)
        table.passwords << makePassword(url, {}, url);
    table.fillTableWithPasswords();
    table.resize(1200, 400);
    table.show();
    QVERIFY(QTest::qWaitForWindowExposed(&table));

    const auto doubleClick = [&table](int row, int column)
    {
        const QRect rect = table.tableWidget()->visualItemRect(table.tableWidget()->item(row, column));
        // A view only takes a double click on the cell that was pressed first.
        QTest::mouseClick(table.tableWidget()->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(table.tableWidget()->viewport(), Qt::LeftButton, {}, rect.center());
    };
    for (int row = 0; row < table.passwords.size(); row++)
    {
        const bool isValid = row < valid.size();
        QCOMPARE(table.tableWidget()->item(row, 3)->font().underline(), isValid);
        openedUrls.clear();
        doubleClick(row, 0);
        QVERIFY(openedUrls.isEmpty());
        doubleClick(row, 3);
        if (row < opened.size())
            QCOMPARE(openedUrls, QList<QUrl>({opened[row]}));
        else
            QVERIFY(openedUrls.isEmpty());
    }
}

void TestPasswordTable::passwordCellKeepsItsWidthAndRevealsOnDemand()
{
    const QChar mask(QApplication::style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter));
    const QFontMetricsF metrics(QApplication::font());
    // Wider in clear than masked (with markup, a two-byte and a surrogate-pair character), and narrower.
    const QString wideSecret = QStringLiteral("<b>") + QString(40, QLatin1Char('W')) +
                               QStringLiteral("</b>€") + QString::fromUtf8("\xF0\x9F\x94\x91");
    int firstWidth = -1;
    for (const QString& secret : {wideSecret, QStringLiteral("iiii")})
    {
        PasswordTablePasswordItem item(secret);
        item.show();
        QVERIFY(QTest::qWaitForWindowExposed(&item));
        auto* label = item.findChild<QLabel*>(QStringLiteral("label"));
        auto* button = item.findChild<QPushButton*>(QStringLiteral("pushButton"));

        // Masked with eight characters whatever its length, with a square enabled eye button named by
        // what it does; the cell as wide as the mask for a long and a short password alike.
        QCOMPARE(label->text(), QString(8, mask));
        QVERIFY(button->isEnabled() && button->width() == button->height());
        QVERIFY(button->focusPolicy() & Qt::ClickFocus);
        QCOMPARE(button->toolTip() + u'|' + button->accessibleName() + u'|' + label->accessibleName(),
                 QStringLiteral("Show password|Show password|password hidden"));
        const int width = item.sizeHint().width();
        QVERIFY(label->minimumWidth() >= int(metrics.horizontalAdvance(label->text())));
        QCOMPARE(width, firstWidth < 0 ? width : firstWidth);
        firstWidth = width;

        QCOMPARE(picture(button->icon()), picture(QIcon(QStringLiteral(":/Images/Password_Hidden.svg"))));

        // The button alternates clear and masked text, shown as plain text, and its icon, without
        // changing the width.
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(label->text(), secret);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(button->toolTip() + u'|' + button->accessibleName(),
                 QStringLiteral("Hide password|Hide password"));
        QCOMPARE(picture(button->icon()), picture(QIcon(QStringLiteral(":/Images/Password_Visible.svg"))));
        QCOMPARE(item.sizeHint().width(), width);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(label->text(), QString(8, mask));
        QCOMPARE(item.sizeHint().width(), width);
    }

    PasswordTablePasswordItem empty{QString()};
    QVERIFY(empty.findChild<QLabel*>(QStringLiteral("label"))->text().isEmpty());
    QVERIFY(!empty.findChild<QPushButton*>(QStringLiteral("pushButton"))->isEnabled());
}

void TestPasswordTable::keyboardCopiesEditsAndRemovesWholeRows()
{
    // The table between two other controls, as on the editor page.
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* before = new QLineEdit(&window);
    auto* table = new PasswordTable(&window);
    // Built before the next control exists, so that the focus chain follows the layout.
    QTableWidget* cells = table->tableWidget();
    auto* after = new QLineEdit(&window);
    for (QWidget* widget :
         {static_cast<QWidget*>(before), static_cast<QWidget*>(table), static_cast<QWidget*>(after)})
        layout->addWidget(widget);
    table->insertPassword(makePassword(QStringLiteral("mail"), QStringLiteral("s3cret!")));
    table->insertPassword(makePassword(QStringLiteral("bank"), QStringLiteral("other")));
    QSignalSpy copied(table, &PasswordTable::dataCopied);
    QSignalSpy edit(table, &PasswordTable::editRequested);
    QSignalSpy remove(table, &PasswordTable::removeRequested);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("before"));

    // No current row: the keys do nothing.
    cells->setFocus();
    cells->setCurrentCell(-1, -1);
    for (const Qt::Key key : {Qt::Key_C, Qt::Key_B})
        QTest::keyClick(cells, key, Qt::ControlModifier);
    QTest::keyClick(cells, Qt::Key_Return);
    QTest::keyClick(cells, Qt::Key_Delete);
    QVERIFY(copied.isEmpty() && edit.isEmpty() && remove.isEmpty() &&
            clipboard->text() == QStringLiteral("before"));

    // A click on any cell selects the whole row. Ctrl+C copies its password in clear (as a secret),
    // whichever column is current; Ctrl+B its login.
    cells->setCurrentCell(1, 4);
    QCOMPARE(cells->selectionModel()->selectedIndexes().size(), 5);
    QTest::keyClick(cells, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("s3cret!"));
    QCOMPARE(clipboard->mimeData()->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));
    QVERIFY(clipboard->mimeData()->hasFormat(QStringLiteral("org.nspasteboard.ConcealedType")));
    QTest::keyClick(cells, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("mail@login"));
    QVERIFY(!clipboard->mimeData()->hasFormat(QStringLiteral("x-kde-passwordManagerHint")));
    QCOMPARE(copied.count(), 2);
    // The context menu offers both with their keys, and the same copies.
    const QList<QAction*> actions = cells->actions();
    QCOMPARE(actions[0]->shortcut().toString() + u'|' + actions[1]->shortcut().toString(),
             QStringLiteral("Ctrl+B|Ctrl+C"));
    cells->setCurrentCell(0, 0);
    actions[0]->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("bank@login"));

    // Return asks for the editor, Delete for the removal; cells are never edited in place.
    QTest::keyClick(cells, Qt::Key_Return);
    QTest::keyClick(cells, Qt::Key_Delete);
    QCOMPARE(edit.count() * 10 + remove.count(), 11);
    QTest::keyClick(cells, Qt::Key_F2);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("typed"));
    QCoreApplication::processEvents(); // an editor commits on the next turn
    QCOMPARE(cells->item(0, 4)->text(), QStringLiteral("note bank"));

    // Tab leaves the table instead of walking its cells, after one stop on the current row's eye button.
    cells->setFocus();
    QTest::keyClick(cells, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), cells->cellWidget(0, 2)->findChild<QPushButton*>());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), after);
}

void TestPasswordTable::contextActionsDuplicateAndMoveRowsBetweenTabs()
{
    QTabWidget tabWidget;
    auto* source = new PasswordTable();
    tabWidget.addTab(source, QStringLiteral("Source"));
    for (const char* name : {"a", "m", "z"})
        source->insertPassword(makePassword(QString::fromLatin1(name), QStringLiteral("pw")));
    const QList<QAction*> actions = source->tableWidget()->actions();
    QStringList texts;
    for (QAction* action : actions)
        texts << action->text();
    QCOMPARE(texts, QStringList({"Copy login", "Copy password", "Edit", "Duplicate row into tab...",
                                 "Move row to tab...", "Remove"}));
    QMenu* duplicateMenu = actions[3]->menu();
    QMenu* moveMenu = actions[4]->menu();
    const auto enabledStates = [&actions]()
    {
        QString states;
        for (QAction* action : actions)
            states += QLatin1Char(action->isEnabled() ? '1' : '0');
        return states;
    };
    QCOMPARE(enabledStates(), QStringLiteral("000000"));

    // One tab: everything but moving; duplication offers the tab itself.
    source->updateTabNamesContextMenu({QStringLiteral("Source")}, 0);
    source->tableWidget()->setCurrentCell(0, 1);
    QCOMPARE(enabledStates(), QStringLiteral("111101"));
    QCOMPARE(entries(duplicateMenu), QStringList({"Source=0"}));

    // Three tabs, the source current at index 1: moving offers tabs 0 and 2, duplicating all three.
    auto* target = new PasswordTable();
    tabWidget.insertTab(0, target, QStringLiteral("Target"));
    tabWidget.addTab(new PasswordTable(), QStringLiteral("Other"));
    source->updateTabNamesContextMenu(
        {QStringLiteral("Target"), QStringLiteral("Source"), QStringLiteral("Other")}, 1);
    QCOMPARE(entries(duplicateMenu), QStringList({"Target=0", "Source=1", "Other=2"}));
    QCOMPARE(entries(moveMenu), QStringList({"Target=0", "Other=2"}));
    source->tableWidget()->clearSelection();
    QCOMPARE(enabledStates(), QStringLiteral("000000"));
    source->tableWidget()->setCurrentCell(1, 0);
    QCOMPARE(enabledStates(), QStringLiteral("111111"));

    // Duplicate "m" into the target (sorted there) and into its own tab (two equal records).
    target->insertPassword(makePassword(QStringLiteral("k")));
    QSignalSpy sourceModified(source, &PasswordTable::dataModified);
    QSignalSpy targetModified(target, &PasswordTable::dataModified);
    duplicateMenu->actions()[0]->trigger();
    QCOMPARE(names(*target), QStringList({"k", "m"}));
    QCOMPARE(target->passwords[1], source->passwords[1]);
    duplicateMenu->actions()[1]->trigger();
    QCOMPARE(names(*source), QStringList({"a", "m", "m", "z"}));
    QCOMPARE(sourceModified.count(), 2);

    // Move "a": gone from the source, in the target, one signal from the source only.
    source->tableWidget()->setCurrentCell(0, 3);
    moveMenu->actions()[0]->trigger();
    QCOMPARE(names(*source), QStringList({"m", "m", "z"}));
    QCOMPARE(names(*target), QStringList({"a", "k", "m"}));
    verifyRowsShowRecords(*source);
    verifyRowsShowRecords(*target);
    QCOMPARE(sourceModified.count(), 3);
    QCOMPARE(targetModified.count(), 0);

    // Fewer than two names leave the move submenu as it was.
    source->updateTabNamesContextMenu({QStringLiteral("Solo")}, 0);
    QCOMPARE(entries(duplicateMenu), QStringList({"Solo=0"}));
    QCOMPARE(entries(moveMenu), QStringList({"Target=0", "Other=2"}));

    // A table shown again after another tab was current paints again.
    tabWidget.show();
    tabWidget.setCurrentWidget(target);
    tabWidget.setCurrentWidget(source);
    QVERIFY(source->updatesEnabled());
}

QTEST_MAIN(TestPasswordTable)
#include "tst_password_table.moc"
