// The plaintext store format: exact bytes, capacity, round trips, damaged images, and the main
// window's encoder and loader built on it.
#include "FormContentEditor.h"
#include "PasswordStoreCodec.h"
#include "PasswordTable.h"

#include <QMenu>
#include <QPointer>
#include <QRandomGenerator>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

#include <algorithm>
#include <vector>

using PasswordStoreCodec::MEMORY_SIZE;
using PasswordStoreCodec::Tab;
using Password = PasswordTable::Password;

namespace
{
constexpr unsigned char CANARY = 0xA5;
// From the format: the store ends before the scheme 1 check value; the parser reads no further than
// the scan limit.
constexpr int STORE_CAPACITY = 130948;
constexpr int SCAN_LIMIT = 131068;

std::vector<unsigned char> canaryBuffer()
{
    return std::vector<unsigned char>(MEMORY_SIZE, CANARY);
}

Password makePassword(const QString& name, const QString& login = {}, const QString& password = {},
                      const QString& url = {}, const QString& note = {})
{
    return Password{{name, login, password, url, note}};
}

template <size_t N> QByteArray bytes(const char (&literal)[N])
{
    return QByteArray(literal, N - 1);
}

QByteArray storeBytes(const std::vector<unsigned char>& buffer, int length)
{
    return QByteArray(reinterpret_cast<const char*>(buffer.data()), length);
}

bool isUntouchedFrom(const std::vector<unsigned char>& buffer, int offset)
{
    return std::all_of(buffer.begin() + offset, buffer.end(),
                       [](unsigned char byte) { return byte == CANARY; });
}

// Texts mixing ASCII, two-, three- and four-byte UTF-8, empty texts and delimiter-like characters.
QString randomText(QRandomGenerator& random, int maximumLength)
{
    static const QString alphabet = QStringLiteral("abcXYZ019 .-@éüß€漢") + QChar(0x01) + QChar(0x02) +
                                    QChar(0x05) + QChar(0x7F) + QString::fromUtf8("\xF0\x9F\x94\x91");
    QString text;
    const int length = random.bounded(maximumLength + 1);
    for (int i = 0; i < length; i++)
    {
        const int index = random.bounded(static_cast<int>(alphabet.size()));
        // Keep surrogate pairs whole.
        if (alphabet[index].isHighSurrogate())
            text += alphabet.mid(index, 2);
        else if (!alphabet[index].isLowSurrogate())
            text += alphabet[index];
    }
    return text;
}

QList<Tab> randomTabs(QRandomGenerator& random, int tabCount, int maximumRecordsPerTab)
{
    QList<Tab> tabs;
    for (int t = 0; t < tabCount; t++)
    {
        tabs.append(Tab{randomText(random, 12), {}});
        for (int r = random.bounded(maximumRecordsPerTab + 1); r > 0; r--)
        {
            Password& password = tabs.last().passwords.emplace_back();
            for (QString& field : password.data)
                field = randomText(random, 20);
        }
    }
    return tabs;
}

// Nothing of what parse() read stays in its memory once it returns.
bool isParserMemoryWiped()
{
    const unsigned char* accumulator = PasswordStoreCodec::testOnlyParseAccumulator();
    return std::all_of(accumulator, accumulator + MEMORY_SIZE, [](unsigned char byte) { return byte == 0; });
}
} // namespace

// Found by argument lookup, so that whole lists of tabs compare in one QCOMPARE.
namespace PasswordStoreCodec
{
bool operator==(const Tab& a, const Tab& b)
{
    return a.name == b.name && a.passwords == b.passwords;
}
} // namespace PasswordStoreCodec

class TestPasswordStore : public QObject
{
    Q_OBJECT

private slots:
    void encodesExactBytes();
    void encodesUpToTheCapacityAndNeverPastIt();
    void parsesDamagedImages();
    void mainWindowEncodesAndLoadsItsTabs();
};

void TestPasswordStore::encodesExactBytes()
{
    // No tab; an empty record; tabs and records in order, non-ASCII at its UTF-8 length, an empty tab
    // name, a tab without records; a leading U+FEFF, a character of the text and not a byte-order
    // mark; a text ending at its first U+0000, U+0003 and U+0004 removed and not counted. The result
    // is the free byte count, nothing after the end byte is touched, and the store reads back.
    const QString withMark = QChar(0xFEFF) + QStringLiteral("x");
    const QString cut = QStringLiteral("ab") + QChar(0) + QStringLiteral("cd");
    const QString stripped = QChar(3) + QStringLiteral("x") + QChar(4) + QStringLiteral("y") + QChar(3);
    const QList<std::pair<QList<Tab>, QByteArray>> cases = {
        {{}, bytes("\x04")},
        {{Tab{QStringLiteral("A"), {Password()}}}, bytes("A\x03\0\0\0\0\0\x04")},
        {{Tab{QStringLiteral("Été"),
              {makePassword(QStringLiteral("b"), QStringLiteral("ü"), QStringLiteral("€"),
                            QString::fromUtf8("\xF0\x9F\x94\x91"), QStringLiteral("n")),
               makePassword(QStringLiteral("a"))}},
          Tab{QString(), {}}, Tab{QStringLiteral("Z"), {}}},
         bytes("\xC3\x89t\xC3\xA9\x03"
               "b\0\xC3\xBC\0\xE2\x82\xAC\0\xF0\x9F\x94\x91\0n\0"
               "a\0\0\0\0\0"
               "\x03"
               "Z\x03"
               "\x04")},
        {{Tab{withMark, {makePassword(withMark, QString(), withMark)}}},
         bytes("\xEF\xBB\xBFx\x03\xEF\xBB\xBFx\0\0\xEF\xBB\xBFx\0\0\0\x04")},
        {{Tab{stripped, {makePassword(cut, stripped, QChar(4))}}},
         bytes("xy\x03"
               "ab\0xy\0\0\0\0\x04")},
    };
    for (const auto& [tabs, expected] : cases)
    {
        auto buffer = canaryBuffer();
        QCOMPARE(PasswordStoreCodec::encode(tabs, buffer.data()), STORE_CAPACITY - int(expected.size()));
        QCOMPARE(storeBytes(buffer, int(expected.size())), expected);
        QVERIFY(isUntouchedFrom(buffer, int(expected.size())));
        QList<Tab> parsed;
        QCOMPARE(PasswordStoreCodec::parse(buffer.data(), &parsed),
                 int(PasswordStoreCodec::PARSE_RESULT_END_FOUND));
        if (&tabs != &cases.last().first) // the cut and the removed characters do not come back
            QCOMPARE(parsed, tabs);
    }
}

void TestPasswordStore::encodesUpToTheCapacityAndNeverPastIt()
{
    // A tab name of n bytes costs n + 1, the end byte 1: n = capacity - 2 fills the store exactly.
    // Also in two-byte characters, and with removed characters that would not fit if counted.
    const int exactNameLength = STORE_CAPACITY - 2;
    for (const QString& name :
         {QString(exactNameLength, QLatin1Char('n')), QString(exactNameLength / 2, QChar(0xE9)),
          QString(exactNameLength, QLatin1Char('n')) + QString(50, QChar(3))})
    {
        auto buffer = canaryBuffer();
        QCOMPARE(PasswordStoreCodec::encode({Tab{name, {}}}, buffer.data()), 0);
        QVERIFY(buffer[STORE_CAPACITY - 2] == 0x03 && buffer[STORE_CAPACITY - 1] == 0x04);
        QVERIFY(isUntouchedFrom(buffer, STORE_CAPACITY));
    }

    // One byte more fails, whichever piece no longer fits, and nothing lands past the capacity.
    const QList<QList<Tab>> oneByteOver = {
        {Tab{QString(exactNameLength + 1, QLatin1Char('n')), {}}},
        // The end byte is the piece that does not fit.
        {Tab{QString(exactNameLength - 5, QLatin1Char('n')), {makePassword(QStringLiteral("x"))}}},
        // A three-byte character straddles the limit.
        {Tab{QString(exactNameLength - 1, QLatin1Char('n')) + QChar(0x20AC), {}}},
    };
    for (const QList<Tab>& tabs : oneByteOver)
    {
        auto buffer = canaryBuffer();
        QCOMPARE(PasswordStoreCodec::encode(tabs, buffer.data()), -1);
        QVERIFY(isUntouchedFrom(buffer, STORE_CAPACITY));
    }

    // Records of 65 bytes after a 2-byte tab: record 2015's name no longer fits and is not written at all.
    auto buffer = canaryBuffer();
    Tab tab{QStringLiteral("T"), {}};
    for (int i = 0; i < 2100; i++)
        tab.passwords.append(makePassword(QString(60, QLatin1Char('a' + i % 26))));
    QCOMPARE(PasswordStoreCodec::encode({tab}, buffer.data()), -1);
    const int written = 2 + 65 * 2014;
    QVERIFY(buffer[written - 2] == 0x00 && buffer[written - 1] == 0x00);
    QVERIFY(isUntouchedFrom(buffer, written));
}

void TestPasswordStore::parsesDamagedImages()
{
    // Built from literals that hold zero bytes.
    const auto parseLiteral = [](const auto& literal, QList<Tab>* tabs)
    {
        auto buffer = canaryBuffer();
        const QByteArray image = bytes(literal);
        std::copy(image.begin(), image.end(), buffer.begin());
        return PasswordStoreCodec::parse(buffer.data(), tabs);
    };
    QList<Tab> tabs;

    // Five fields before any tab name stop the parse with no tab.
    QCOMPARE(parseLiteral("\0\0\0\0\0T\x03\x04", &tabs),
             int(PasswordStoreCodec::PARSE_RESULT_RECORD_BEFORE_TAB));
    QVERIFY(tabs.isEmpty());
    QVERIFY(isParserMemoryWiped());

    // The field counter runs on across a tab name; an unfinished record is dropped; after the end nothing
    // counts.
    tabs.clear();
    QCOMPARE(parseLiteral("a\0b\0c\0d\0T\x03"
                          "e\0U\x03"
                          "f\0g\0\x04V\x03",
                          &tabs),
             int(PasswordStoreCodec::PARSE_RESULT_END_FOUND));
    QCOMPARE(tabs, QList<Tab>({Tab{"T", {makePassword("a", "b", "c", "d", "e")}}, Tab{"U", {}}}));

    // Invalid UTF-8 reads as replacement characters.
    tabs.clear();
    parseLiteral("\xFF\xC3\x03\x04", &tabs);
    QCOMPARE(tabs, QList<Tab>({Tab{QString(2, QChar(0xFFFD)), {}}}));

    // No end byte: the scan stops after 131068 bytes; a tab name ending at the last scanned byte
    // counts, one ending just beyond does not.
    for (const int nameEnd : {SCAN_LIMIT - 1, SCAN_LIMIT})
    {
        std::vector<unsigned char> buffer(MEMORY_SIZE, 'x');
        buffer[0] = 0x03;
        buffer[nameEnd] = 0x03;
        buffer[SCAN_LIMIT + 1] = 0x04;
        tabs.clear();
        QCOMPARE(PasswordStoreCodec::parse(buffer.data(), &tabs),
                 int(PasswordStoreCodec::PARSE_RESULT_SCAN_LIMIT_REACHED));
        QVERIFY(isParserMemoryWiped());
        QCOMPARE(tabs.size(), nameEnd < SCAN_LIMIT ? 2 : 1);
        if (tabs.size() == 2)
            QCOMPARE(tabs[1].name.size(), nameEnd - 1);
    }
}

void TestPasswordStore::mainWindowEncodesAndLoadsItsTabs()
{
    FormContentEditor window;
    auto* tabWidget = window.findChild<QTabWidget*>(QStringLiteral("tabWidget"));
    const auto table = [tabWidget](int index)
    { return static_cast<PasswordTable*>(tabWidget->widget(index)); };
    // The entries of a row submenu (3 duplicate, 4 move) as it opens: "name=tab index".
    const auto entries = [&table](int index, int action)
    {
        QMenu* menu = table(index)->tableWidget()->actions()[action]->menu();
        emit menu->aboutToShow();
        QStringList result;
        for (QAction* entry : menu->actions())
            result << entry->text() + u'=' + entry->data().toString();
        return result;
    };
    QRandomGenerator random(42);
    const QList<Tab> tabs = randomTabs(random, 3, 20);
    for (const Tab& tab : tabs)
        window._createEmptyTab(tab.name)->passwords = tab.passwords;

    // The window encodes its tabs in tab-bar order, byte for byte as the codec does.
    tabWidget->tabBar()->moveTab(2, 0);
    auto expected = canaryBuffer();
    auto buffer = canaryBuffer();
    const int freeBytes = PasswordStoreCodec::encode({tabs[2], tabs[0], tabs[1]}, expected.data());
    QVERIFY(freeBytes > 0);
    QCOMPARE(window._encodePasswordsToMemoryFormat(buffer.data()), freeBytes);
    QVERIFY(buffer == expected);

    // Tabs that do not fit are refused as a whole, never reported as a full store.
    window._createEmptyTab(QString(STORE_CAPACITY, QLatin1Char('n')));
    QCOMPARE(window._encodePasswordsToMemoryFormat(buffer.data()), -1);

    // Loading replaces every tab (the old tables are deleted) with the stored ones, records in stored order.
    QPointer<QWidget> oldPage = tabWidget->widget(0);
    const QList<Tab> stored = {Tab{QStringLiteral("Mail"), {makePassword("z"), makePassword("a", "l", "p")}},
                               Tab{QStringLiteral("Bank"), {}}};
    auto image = canaryBuffer();
    QVERIFY(PasswordStoreCodec::encode(stored, image.data()) > 0);
    window._loadPasswordsFromDeviceMemoryBuffer(image.data());
    QVERIFY(oldPage.isNull() && !tabWidget->isHidden());
    QCOMPARE(table(0)->passwords, stored[0].passwords);

    // Its tabs in the menus; a row duplicated into another tab marks the window's data unsaved.
    window._isUnsavedDataPresent = false;
    table(0)->tableWidget()->setCurrentCell(0, 0);
    QCOMPARE(entries(0, 3), QStringList({"Mail=0", "Bank=1"}));
    table(0)->tableWidget()->actions()[3]->menu()->actions()[1]->trigger();
    QVERIFY(window._isUnsavedDataPresent);
    QCOMPARE(table(1)->passwords, QList<Password>({makePassword("z")}));

    // A tab created afterwards gives every table, also the first one, the menus of all three tabs,
    // with the new one current.
    window._createEmptyTab(QStringLiteral("New"));
    for (int index : {0, 1})
    {
        QCOMPARE(entries(index, 3), QStringList({"Mail=0", "Bank=1", "New=2"}));
        QCOMPARE(entries(index, 4), QStringList({"Mail=0", "Bank=1"}));
    }

    // A damaged image leaves no stale tab behind.
    std::vector<unsigned char> damaged(MEMORY_SIZE, 0);
    window._loadPasswordsFromDeviceMemoryBuffer(damaged.data());
    QCOMPARE(tabWidget->count(), 0);
}

QTEST_MAIN(TestPasswordStore)
#include "tst_password_store.moc"
