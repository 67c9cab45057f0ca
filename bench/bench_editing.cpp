// What the user waits for while editing a full device: every action below must fit in one frame
// (16 ms). The store holds about 1650 records in 10 tabs, close to the device's 130948 bytes; each
// figure includes the event processing (layout and painting) that follows the action.
#include "FormContentEditor.h"
#include "PasswordStoreCodec.h"
#include "PasswordTable.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTableWidget>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace
{
constexpr int TAB_COUNT = 10;
constexpr int RECORD_COUNT = 1650;

QString randomWord(QRandomGenerator& random, int minimumLength, int maximumLength)
{
    QString word;
    const int length = minimumLength + random.bounded(maximumLength - minimumLength + 1);
    for (int i = 0; i < length; i++)
        word += QLatin1Char(static_cast<char>('a' + random.bounded(26)));
    return word;
}

// Records shaped like real ones, about 78 bytes each.
QList<QList<PasswordTable::Password>> makeStore()
{
    QRandomGenerator random(2024);
    QList<QList<PasswordTable::Password>> tabs(TAB_COUNT);
    for (int r = 0; r < RECORD_COUNT; r++)
    {
        PasswordTable::Password password;
        QString name = randomWord(random, 4, 10);
        name[0] = name[0].toUpper();
        password.data[0] = name + QLatin1Char(' ') + randomWord(random, 2, 5);
        password.data[1] = randomWord(random, 4, 8) + QLatin1Char('.') + randomWord(random, 4, 8) +
                           QStringLiteral("@mail.com");
        password.data[2] = randomWord(random, 16, 16);
        password.data[3] = QStringLiteral("https://") + randomWord(random, 4, 10) + QStringLiteral(".com");
        if (random.bounded(4) == 0)
            password.data[4] = QStringLiteral("Recovery: ") + randomWord(random, 5, 12);
        tabs[random.bounded(TAB_COUNT)].append(password);
    }
    for (QList<PasswordTable::Password>& passwords : tabs)
        std::sort(passwords.begin(), passwords.end(),
                  [](const PasswordTable::Password& a, const PasswordTable::Password& b)
                  { return QString::compare(a.data[0], b.data[0], Qt::CaseInsensitive) < 0; });
    return tabs;
}

// Processor time of this thread, in milliseconds: other programs sharing the machine do not count.
double threadMilliseconds()
{
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return time.tv_sec * 1e3 + time.tv_nsec / 1e6;
}

struct Figures
{
    std::vector<double> milliseconds;
};

void print(const char* name, Figures figures)
{
    std::sort(figures.milliseconds.begin(), figures.milliseconds.end());
    std::printf("%s_median: %.3f ms\n%s_worst: %.3f ms\n", name,
                figures.milliseconds[figures.milliseconds.size() / 2], name, figures.milliseconds.back());
}
} // namespace

class BenchEditing
{
public:
    BenchEditing()
    {
        pointerFormContentEditor = &_window;
        _window.resize(1172, 698);
        _window.show();
        _window.viewReplace(FormContentEditor::VIEW_ID_CONTENT_EDITOR);
        _tabWidget = _window.findChild<QTabWidget*>(QStringLiteral("tabWidget"));
        QApplication::processEvents();
    }

    int run();

private:
    FormContentEditor _window;
    QTabWidget* _tabWidget = nullptr;
    QList<QList<PasswordTable::Password>> _store = makeStore();

    // Other pages have fields of the same names.
    QWidget* _editorPage() { return _window.viewGetContent(FormContentEditor::VIEW_ID_PASSWORD_INFORMATION); }
    PasswordTable* _table(int index) { return static_cast<PasswordTable*>(_tabWidget->widget(index)); }

    // As opening a device does: the store is encoded, loaded into the tabs, and the window left idle
    // until the tables of the other tabs are built.
    void _loadStore()
    {
        QByteArray image(PasswordStoreCodec::MEMORY_SIZE, '\0');
        PasswordStoreCodec::Encoder encoder(reinterpret_cast<unsigned char*>(image.data()));
        for (int t = 0; t < TAB_COUNT; t++)
        {
            encoder.appendTabName(QStringLiteral("Tab %1").arg(t));
            for (const PasswordTable::Password& password : _store[t])
                encoder.appendPassword(password);
        }
        if (encoder.finish() < 0)
            qFatal("bench_editing: the store does not fit");
        _window._loadPasswordsFromDeviceMemoryBuffer(reinterpret_cast<unsigned char*>(image.data()));
        for (int t = 0; t < TAB_COUNT; t++)
            _table(t)->fillTableWithPasswords();
        _window._setUnsavedDataPresent(false);
        while (_window._timerBuildPasswordTables.isActive())
            QApplication::processEvents();
        QApplication::processEvents();
    }

    // Each run prepared by `prepare` (not timed), then `action` and the event processing it causes.
    static Figures measure(int runs, const std::function<void(int)>& prepare,
                           const std::function<void(int)>& action)
    {
        Figures figures;
        for (int run = 0; run < runs; run++)
        {
            prepare(run);
            QApplication::processEvents();
            const double start = threadMilliseconds();
            action(run);
            QApplication::processEvents();
            figures.milliseconds.push_back(threadMilliseconds() - start);
        }
        return figures;
    }

    // A message box arrives on the next turn; it is taken down again outside the timing.
    void _dismissMessageBox()
    {
        QApplication::processEvents();
        if (_window.viewGetCurrent() == FormContentEditor::VIEW_ID_MESSAGE_BOX_DIALOG)
            _window.viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
    }

    void _saveEditedRecord(const QString& suffix)
    {
        _window._slotPushButtonEditPasswordClicked();
        auto* name = _editorPage()->findChild<QLineEdit*>(QStringLiteral("lineEditName"));
        name->setText(name->text() + suffix);
        emit name->textEdited(name->text());
        _editorPage()->findChild<QPushButton*>(QStringLiteral("pushButtonSave"))->click();
    }
};

int BenchEditing::run()
{
    _loadStore();
    std::vector<unsigned char> buffer(131072);
    std::printf("records: %d\ntabs: %d\nstore_free_bytes: %d bytes\n", RECORD_COUNT, TAB_COUNT,
                _window._encodePasswordsToMemoryFormat(buffer.data()));
    const auto nothing = [](int) {};

    print("update_user_interface_controls",
          measure(20, nothing, [&](int) { _window._updateUserInterfaceControls(); }));
    print("select_cell",
          measure(20, nothing, [&](int run) { _table(0)->tableWidget()->setCurrentCell(run, 0); }));
    // A tab shown for the first time polishes the cell widgets of its rows.
    print("switch_tab_first_display",
          measure(TAB_COUNT - 1, nothing, [&](int run) { _tabWidget->setCurrentIndex(run + 1); }));
    print("switch_tab", measure(20, nothing, [&](int run) { _tabWidget->setCurrentIndex(run % TAB_COUNT); }));

    _tabWidget->setCurrentIndex(0);
    _window.findChild<QCheckBox*>(QStringLiteral("checkBoxSearchInAllTabs"))->setChecked(true);
    _window.findChild<QLineEdit*>(QStringLiteral("lineEditSearch"))->setText(QStringLiteral("no such text"));
    _table(0)->tableWidget()->setCurrentCell(3, 1);
    print("search_all_tabs_not_found",
          measure(
              10, [&](int) { _dismissMessageBox(); }, [&](int) { _window._searchText(true); }));
    _dismissMessageBox();

    // Each run from the editor page: the record editor opens from there only.
    print("open_record_editor", measure(
                                    10,
                                    [&](int run)
                                    {
                                        _window.viewPop(FormContentEditor::VIEW_ID_CONTENT_EDITOR);
                                        _table(0)->tableWidget()->setCurrentCell(run, 0);
                                    },
                                    [&](int) { _window._slotPushButtonEditPasswordClicked(); }));
    _window.viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
    print("save_edited_record",
          measure(
              10, [&](int run) { _table(0)->tableWidget()->setCurrentCell(run * 7, 0); },
              [&](int run) { _saveEditedRecord(QStringLiteral(" %1").arg(run)); }));
    std::printf("records_renamed_by_the_saves: %d\n",
                static_cast<int>(std::count_if(_table(0)->passwords.begin(), _table(0)->passwords.end(),
                                               [](const PasswordTable::Password& password)
                                               { return password.data[0].back().isDigit(); })));
    print("rename_tab",
          measure(
              10, [&](int) { _window._pendingRequest = FormContentEditor::PENDING_REQUEST_RENAME_TAB; },
              [&](int run)
              { _window._slotViewContentLineInputDialogInsertionFinished(true, QString::number(run)); }));
    print("remove_tab",
          measure(
              3,
              [&](int)
              {
                  _loadStore();
                  _window._pendingRequest = FormContentEditor::PENDING_REQUEST_REMOVE_TAB;
              },
              [&](int)
              { _window._handleMessageBoxAnswerForEditing(ViewContentMessageBoxDialog::BUTTON_YES); }));

    // Very long texts on a full store (which then no longer fits: the gauge shows 0): a 10000-character
    // name and a 100 KB note, in the last tab, so that the gauge encodes everything before failing.
    _loadStore();
    _tabWidget->setCurrentIndex(TAB_COUNT - 1);
    PasswordTable::Password longRecord;
    longRecord.data[0] = QString(10000, QLatin1Char('N'));
    for (int line = 0; line < 2000; line++)
        longRecord.data[4] += QStringLiteral("line %1 of a long note, about fifty bytes.\n").arg(line, 5);
    longRecord.data[4].truncate(100 * 1024);
    print("save_new_record_with_long_texts",
          measure(1, nothing,
                  [&](int)
                  {
                      _window._slotViewContentPasswordInformationPasswordModified(
                          new PasswordTable::Password(longRecord), -1);
                  }));
    std::printf("store_free_bytes_with_long_texts: %d bytes\n",
                _window._encodePasswordsToMemoryFormat(buffer.data()));
    const int longRow = _table(TAB_COUNT - 1)->passwords.indexOf(longRecord);
    print("update_user_interface_controls_with_long_texts",
          measure(20, nothing, [&](int) { _window._updateUserInterfaceControls(); }));
    print("open_record_editor_with_long_texts",
          measure(
              5, [&](int) { _table(TAB_COUNT - 1)->tableWidget()->setCurrentCell(longRow, 4); },
              [&](int)
              {
                  _window._slotPushButtonEditPasswordClicked();
                  QApplication::processEvents();
                  _window.viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
              }));
    _window._slotPushButtonEditPasswordClicked();
    auto* note = _editorPage()->findChild<QPlainTextEdit*>(QStringLiteral("textEditNote"));
    print("type_in_long_note",
          measure(20, nothing, [&](int) { note->insertPlainText(QStringLiteral("x")); }));
    _window.viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
    print("search_all_tabs_not_found_with_long_texts",
          measure(
              5, [&](int) { _dismissMessageBox(); }, [&](int) { _window._searchText(true); }));
    _dismissMessageBox();
    return 0;
}

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // Nothing here asks the real web site: the start menu checks for an update.
    qputenv("PAVISOR_WEBSITE_URL", "http://127.0.0.1:9");
    BenchEditing bench;
    return bench.run();
}
