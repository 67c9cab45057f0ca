// CSV export and import: the exact bytes written, the flat field stream read back, malformed files,
// a long randomised run, and both workflows through the main window and the import page.
#include "CSV.h"
#include "Configuration.h"
#include "FormContentEditor.h"
#include "TestSupport.h"
#include "ViewContentImportCSVFile.h"

#include <QtTest>
#include <QtWidgets>

using Password = PasswordTable::Password;
using V = FormContentEditor;
using namespace Qt::StringLiterals;

namespace
{
Password record(const QStringList& fields)
{
    Password password;
    for (int i = 0; i < fields.size(); i++)
        password.data[i] = fields[i];
    return password;
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

template <typename T = QWidget> T* child(QObject* parent, const char* name)
{
    return parent->findChild<T*>(QLatin1String(name));
}

// Answers the next file dialog with `path` as a user typing it and accepting. The name field is
// filled with its signals blocked (so that it picks no file of the list) and the list selection is
// cleared, so that the dialog answers what the field holds; a refused answer rejects the dialog.
void answerFileDialog(const QString& path, QString* pointerProposedPath = nullptr)
{
    TestSupport::answerNextModal(
        [path, pointerProposedPath](QWidget* modal)
        {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            auto* nameField = child<QLineEdit>(modal, "fileNameEdit");
            if (dialog == nullptr || nameField == nullptr)
                return;
            if (pointerProposedPath != nullptr)
                *pointerProposedPath = dialog->selectedFiles().value(0);
            const QSignalBlocker blocker(nameField);
            nameField->setText(path);
            if (auto* list = child<QAbstractItemView>(modal, "listView"))
                list->selectionModel()->clear();
            QMetaObject::invokeMethod(dialog, "accept");
            if (dialog->isVisible())
                dialog->reject();
        });
}
} // namespace

class TestCsv : public QObject
{
    Q_OBJECT

    QTemporaryDir _directory;
    int _fileCount = 0;

    QString _writeFile(const QByteArray& bytes, const QString& name = {})
    {
        QFile file(_directory.filePath(name.isEmpty() ? u"file%1.csv"_s.arg(_fileCount++) : name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? file.fileName()
                                                                                    : QString();
    }

    // Imports bytes from a new file each time (rewriting one file makes ext4 wait for the disk).
    int _import(const QByteArray& bytes, QList<Password>* pointerPasswords, QString* pointerErrorText,
                QChar separator = u',')
    {
        const QString path = _writeFile(bytes);
        const int result = CSV::importFileContent(path, separator, *pointerPasswords, *pointerErrorText);
        QFile::remove(path);
        return result;
    }

private slots:
    void initTestCase()
    {
        Configuration::initialize();
        QVERIFY(_directory.isValid());
    }

    void exportWritesExactBytesAndImportsBack()
    {
        PasswordTable table;
        table.passwords = {record({"a", "b\"c", "", "x,y", "line 1\nline 2"}), record({"Z"})};
        const QByteArray expected(
            "\"a\",\"b\"\"c\",\"\",\"x,y\",\"line 1\nline 2\"\n\"Z\",\"\",\"\",\"\",\"\"\n");
        const QFile::Permissions others =
            QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;

        // A longer file readable by all is replaced whole; a new file and a replaced one are the owner's
        // only.
        const QString path = _writeFile(QByteArray(500, 'o'));
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ReadGroup | QFile::ReadOther);
        QString errorText = u"stale"_s;
        for (const QString& target : {path, _directory.filePath(u"new.csv"_s)})
        {
            QCOMPARE(CSV::exportTabToFile(target, &table, errorText), 0);
            QVERIFY(errorText.isEmpty());
            QCOMPARE(readBytes(target), expected);
            QCOMPARE(QFile::permissions(target) & others, QFile::Permissions());
        }

        // The same file with CR LF or CR line ends, or a byte-order mark, reads back the same records.
        for (const QByteArray& bytes : {expected, QByteArray(expected).replace("\n", "\r\n"),
                                        QByteArray(expected).replace('\n', '\r'), "\xEF\xBB\xBF" + expected})
        {
            QList<Password> passwords = {record({"kept"})};
            QCOMPARE(_import(bytes, &passwords, &errorText), 0);
            QCOMPARE(passwords, QList<Password>({record({"kept"}), table.passwords[0], table.passwords[1]}));
        }

        // No folder, or a write that fails (a full disk): reported, never taken for a good copy.
        QCOMPARE(CSV::exportTabToFile(_directory.filePath(u"none/x.csv"_s), &table, errorText), -1);
        QVERIFY(!errorText.isEmpty());
        errorText.clear();
        if (QFile::exists(u"/dev/full"_s))
            QVERIFY(CSV::exportTabToFile(u"/dev/full"_s, &table, errorText) == -1 && !errorText.isEmpty());
    }

    void importReadsOneFlatFieldStream()
    {
        const QString tooSmall = u"File size is too small to contain meaningful data."_s;
        // Bytes, separator, records read, a part of the error text (empty when the import succeeds).
        const std::tuple<QByteArray, char, QList<QStringList>, QString> cases[] = {
            {"x ; y", ';', {{"x ", " y"}}, {}},
            {"a,b,c,d,e,f\ng,h,i,j\n", ',', {{"a", "b", "c", "d", "e"}, {"f", "g", "h", "i", "j"}}, {}},
            {"a\tb c\td\n", '\t', {{"a", "b c", "d"}}, {}},
            {"a b\n\"c d\" e\n", ' ', {{"a", "b", "c d", "e"}}, {}},
            {"\"ab\"cd,\"\"\"q\"\"\"\n", ',', {{"ab", "cd", "\"q\""}}, {}},
            {"a,b\n", ',', {{"a", "b"}}, {}},
            {"a,b", ',', {}, tooSmall},
            {"", ',', {}, tooSmall},
            {"a,b,c,d,e\n\n\n\n,,,,\n", ',', {{"a", "b", "c", "d", "e"}}, {}},
            {"\n\n\na,b\n", ',', {{"", "", "", "a", "b"}}, {}},
            {"a\rb\r\n", ',', {{"a", "b"}}, {}},
            {"a,b\r\nc\rd\r\n", ',', {{"a", "b", "c\rd"}}, {}},
            {"\xEF\xBB\xBF\xEF\xBB\xBFx,y\n", ',', {{u"\uFEFFx"_s, "y"}}, {}},
            {"a\3b,c\4\n", ',', {{"ab", "c"}}, {}},
            {"a,b\n\"c,d\ne,f\n", ',', {}, "line 2"},
            {"ab\n\xC3\x28\n", ',', {}, "invalid bytes on line 2"},
            {"\xED\xA0\x80xx", ',', {}, "invalid bytes on line 1"},
            {QByteArray("ab\0cd", 5), ',', {}, "null character on line 1"},
            {QByteArray(4000, 'a') + ",b,c,d,e\n" + QByteArray(30000, ','),
             ',',
             {{QString(4000, 'a'), "b", "c", "d", "e"}},
             {}},
            {QByteArray("name,login,password,url,note\n").repeated(5000),
             ',',
             {},
             "bytes a Pavisor can store"},
        };
        for (const auto& [bytes, separator, expected, error] : cases)
        {
            const QByteArray context = "file " + bytes.left(40).toPercentEncoding();
            QList<Password> passwords;
            QString errorText;
            const int result = _import(bytes, &passwords, &errorText, QLatin1Char(separator));
            QVERIFY2(result == (error.isEmpty() ? 0 : -1) && errorText.contains(error),
                     context + " " + errorText.toUtf8());
            QList<Password> expectedPasswords;
            for (const QStringList& fields : expected)
                expectedPasswords.append(record(fields));
            QVERIFY2(passwords == expectedPasswords, context);
        }

        // A file that fills a device is read whole; a huge file is refused before it is read.
        QList<Password> passwords;
        QString errorText;
        QCOMPARE(_import(QByteArray("name,login,password,url,note\n").repeated(4000), &passwords, &errorText),
                 0);
        QCOMPARE(passwords.size(), 4000);
        QFile huge(_directory.filePath(u"huge.csv"_s));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(50 * 1024 * 1024));
        huge.close();
        QCOMPARE(CSV::importFileContent(huge.fileName(), u',', passwords, errorText), -1);
        QVERIFY2(errorText.contains(u"too large"_s), qPrintable(errorText));
    }

    void randomizedRoundTripsAndMalformedFiles()
    {
        bool isSeedGiven = false;
        quint32 seed = qEnvironmentVariable("PAVISOR_TEST_SEED").toUInt(&isSeedGiven);
        QRandomGenerator random(isSeedGiven ? seed : (seed = QRandomGenerator::global()->generate()));
        // Every character that matters to the format, and some that are not ASCII.
        const QStringList alphabet = {"a",  "B", "\"", ",",        ";",
                                      "\n", " ", "\t", "\xC3\xA9", "\xF0\x9F\x94\x91"};
        const QList<QByteArray> noise = {"\"",   ",",    "\n",   "\r",  QByteArray(1, '\0'),
                                         "\xFF", "\xC3", "\x03", "\"\""};
        const QRegularExpression storeDelimiters(u"[\\x00\\x03\\x04]"_s);
        PasswordTable table;
        // 5 to 15 s in the sanitizer build, depending on the load of the machine.
        for (int iteration = 0; iteration < 15000; iteration++)
        {
            const QByteArray context = "seed " + QByteArray::number(seed) + ", iteration " +
                                       QByteArray::number(iteration) + " (rerun with PAVISOR_TEST_SEED)";
            table.passwords.clear();
            for (int r = random.bounded(6); r > 0; r--)
            {
                Password password;
                for (QString& field : password.data)
                    for (int length = random.bounded(6); length > 0; length--)
                        field += alphabet[random.bounded(alphabet.size())];
                if (password != Password())
                    table.passwords.append(password);
            }

            const QString path = _directory.filePath(u"random%1.csv"_s.arg(iteration));
            QString errorText;
            QVERIFY2(CSV::exportTabToFile(path, &table, errorText) == 0, context);
            QList<Password> passwords;
            const int result = CSV::importFileContent(path, u',', passwords, errorText);
            QVERIFY2(result == (table.passwords.isEmpty() ? -1 : 0), context + " " + errorText.toUtf8());
            QVERIFY2(passwords == table.passwords, context);

            // The same file damaged, or plain random bytes: refused with a reason and nothing appended, or
            // read into records that each hold something and never a store delimiter.
            QByteArray bytes = readBytes(path);
            QFile::remove(path);
            if (iteration % 8 == 0)
            {
                bytes.resize(random.bounded(64));
                for (char& byte : bytes)
                    byte = static_cast<char>(random.bounded(256));
            }
            for (int change = 1 + random.bounded(4); change > 0; change--)
            {
                const int position = bytes.isEmpty() ? 0 : random.bounded(int(bytes.size()));
                if (random.bounded(3) == 0)
                    bytes.remove(position, 1 + random.bounded(3));
                else
                    bytes.insert(position, noise[random.bounded(noise.size())]);
            }
            const QList<Password> before = {record({"kept"})};
            passwords = before;
            if (_import(bytes, &passwords, &errorText, QLatin1Char(",; \t"[random.bounded(4)])) != 0)
            {
                QVERIFY2(!errorText.isEmpty() && passwords == before, context);
                continue;
            }
            for (qsizetype i = before.size(); i < passwords.size(); i++)
            {
                const QString fields =
                    QStringList(std::begin(passwords[i].data), std::end(passwords[i].data)).join("");
                QVERIFY2(!fields.isEmpty() && !fields.contains(storeDelimiters), context);
            }
        }
    }

    void mainWindowImportAndExport()
    {
        FormContentEditor editor;
        pointerFormContentEditor = &editor;
        editor.show();
        editor._slotViewStartMenuInitializeDeviceClicked();
        auto* tabWidget = child<QTabWidget>(&editor, "tabWidget");
        PasswordTable* existing = editor._createEmptyTab(u"Existing"_s);
        for (const char* name : {"Mail", "mail", "Zed"})
            existing->insertPassword(record({name, "old"}));
        editor._createEmptyTab(u"Other"_s);
        tabWidget->setCurrentIndex(1);
        // The text of the in-window message box once it shows, then closed.
        const auto message = [&editor]()
        {
            if (!QTest::qWaitFor([&editor]
                                 { return editor.viewGetCurrent() == V::VIEW_ID_MESSAGE_BOX_DIALOG; }))
                return u"<no message box>"_s;
            const QString text =
                child<QLabel>(editor.viewGetContent(V::VIEW_ID_MESSAGE_BOX_DIALOG), "labelText")->text();
            editor.viewPop(V::VIEW_ID_PREVIOUS);
            return text;
        };

        // The import page: nothing to confirm before a file is chosen; the destination box, closed, has
        // its choices enabled within it.
        auto* view =
            static_cast<ViewContentImportCSVFile*>(editor.viewGetContent(V::VIEW_ID_IMPORT_CSV_FILE));
        auto* ok = child<QPushButton>(view, "pushButtonOk");
        auto* tabName = child<QLineEdit>(view, "lineEditCreateTabName");
        auto* existingTabs = child<QComboBox>(view, "comboBoxSelectExistingTab");
        const auto isEnabledInBox = [view](const char* name)
        { return child(view, name)->isEnabledTo(child(view, "groupBoxDestinationTab")); };
        editor._slotActionImportCSVTriggered(false);
        QVERIFY(editor.viewGetCurrent() == V::VIEW_ID_IMPORT_CSV_FILE && existingTabs->count() == 2 &&
                existingTabs->currentIndex() == 1);
        QVERIFY(!ok->isEnabled() && !child(view, "groupBoxDestinationTab")->isEnabled());
        QVERIFY(isEnabledInBox("radioButtonImportToExistingTab"));

        // Choosing a file proposes its name up to the first dot; blanks alone are no name.
        answerFileDialog(_writeFile("Mail,new 1,,,\nNew,n,,,\nMail,new 2,,,\n", u"keys.v2.csv"_s));
        child<QPushButton>(view, "pushButtonSelectFile")->click();
        QCOMPARE(child<QLabel>(view, "labelSelectedFile")->text(), u"Selected file: keys.v2.csv"_s);
        QCOMPARE(tabName->text(), u"keys"_s);
        QVERIFY(ok->isEnabled() && child(view, "groupBoxFileSettings")->isEnabled());
        tabName->clear();
        QTest::keyClicks(tabName, u"  "_s);
        QVERIFY(!ok->isEnabled());
        child<QRadioButton>(view, "radioButtonImportToExistingTab")->click();
        QVERIFY(ok->isEnabled() && !child(view, "widgetCreateNewTab")->isEnabled());

        // Into the existing tab, replacing by name with case: "mail" stays, the later "Mail" wins.
        existingTabs->setCurrentIndex(0);
        child<QCheckBox>(view, "checkBoxReplaceExistingPasswords")->setChecked(true);
        ok->click();
        QCOMPARE(tabWidget->currentIndex(), 0);
        QCOMPARE(existing->passwords, QList<Password>({record({"mail", "old"}), record({"Mail", "new 2"}),
                                                       record({"New", "n"}), record({"Zed", "old"})}));
        QCOMPARE(existing->tableWidget()->item(1, 1)->text(), u"new 2"_s);
        QVERIFY(editor._isUnsavedDataPresent);
        QCOMPARE(message(), u"CSV data were successfully imported."_s);

        // A malformed file changes no tab and marks nothing unsaved; a tab created for it stays, empty.
        editor._setUnsavedDataPresent(false);
        const QList<Password> before = existing->passwords;
        const QString broken = _writeFile("a,\"b\n\n");
        emit view->fileSelected(broken, u',', QString(), 0, true);
        QCOMPARE(existing->passwords, before);
        const QString refusal = u"Could not import the CSV file '%1' (A double quote opens a field on "
                                "line 1 and never closes it.)."_s.arg(broken);
        QCOMPARE(message(), refusal);
        emit view->fileSelected(broken, u',', u"Broken"_s, -1, false);
        QCOMPARE(tabWidget->count(), 3);
        QVERIFY(static_cast<PasswordTable*>(tabWidget->widget(2))->passwords.isEmpty());
        QVERIFY(!editor._isUnsavedDataPresent);
        QCOMPARE(message(), refusal);

        // Export: the proposal is the tab name in the folder of the last import; ".csv" is added unless
        // present in any case.
        tabWidget->setCurrentIndex(0);
        QString proposedPath;
        answerFileDialog(_directory.filePath(u"backup"_s), &proposedPath);
        editor._slotActionExportCSVTriggered(false);
        QCOMPARE(proposedPath, _directory.filePath(u"Existing.csv"_s));
        QCOMPARE(message(), u"The current tab passwords were successfully exported to a CSV file."_s);
        QList<Password> exported;
        QString errorText;
        QCOMPARE(_import(readBytes(_directory.filePath(u"backup.csv"_s)), &exported, &errorText), 0);
        QCOMPARE(exported, existing->passwords);
        answerFileDialog(_directory.filePath(u"backup.CSV"_s));
        editor._slotActionExportCSVTriggered(false);
        QVERIFY(QFile::exists(_directory.filePath(u"backup.CSV"_s)) &&
                !QFile::exists(_directory.filePath(u"backup.CSV.csv"_s)));

        // With no tab, only a new tab can receive the file; Cancel emits nothing and a new visit starts
        // afresh.
        QSignalSpy fileSelected(view, &ViewContentImportCSVFile::fileSelected);
        view->setContent(QString(), {}, -1);
        editor.viewPush(V::VIEW_ID_IMPORT_CSV_FILE);
        QVERIFY(!isEnabledInBox("radioButtonImportToExistingTab") &&
                !isEnabledInBox("widgetImportToExistingTab"));
        QVERIFY(child<QRadioButton>(view, "radioButtonCreateNewTab")->isChecked());
        QCOMPARE(child<QLabel>(view, "labelSelectedFile")->text(), u"No file selected."_s);
        child<QPushButton>(view, "pushButtonCancel")->click();
        QVERIFY(editor.viewGetCurrent() != V::VIEW_ID_IMPORT_CSV_FILE);
        QCOMPARE(fileSelected.count(), 0);
        pointerFormContentEditor = nullptr;
    }
};

QTEST_MAIN(TestCsv)
#include "tst_csv.moc"
