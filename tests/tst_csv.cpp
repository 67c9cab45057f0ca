// CSV export and import: the exact bytes written, the flat field stream read back, malformed files,
// a long randomised run, and both workflows through the main window and the import page.
#include "CSV.h"
#include "Configuration.h"
#include "FormContentEditor.h"
#include "TestSupport.h"
#include "ViewContentImportCSVFile.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using Password = PasswordTable::Password;

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

// Answers the next file dialog with `path`, as a user typing it and pressing the accept button.
// (selectFile() leaves alone a name field that has the focus, so the field is filled directly.)
void answerFileDialog(const QString& path, QString* pointerProposedPath = nullptr)
{
    TestSupport::answerNextModal(
        [path, pointerProposedPath](QWidget* modal)
        {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            auto* nameField = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (dialog == nullptr || nameField == nullptr)
                return;
            if (pointerProposedPath != nullptr)
                *pointerProposedPath = dialog->selectedFiles().value(0);
            // Without its signals the field does not pick files of the list as it is typed into, and
            // without a selection in the list the dialog answers what the field holds.
            const QSignalBlocker blocker(nameField);
            nameField->setText(path);
            if (auto* list = modal->findChild<QAbstractItemView*>(QStringLiteral("listView")))
                list->selectionModel()->clear();
            QMetaObject::invokeMethod(dialog, "accept");
            // A refused answer fails the test instead of leaving it waiting on the dialog.
            if (dialog->isVisible())
                dialog->reject();
        });
}
} // namespace

class TestCsv : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exportWritesExactBytesAndImportsBack();
    void importReadsOneFlatFieldStream();
    void randomizedRoundTripsAndMalformedFiles();
    void mainWindowImportAndExport();

private:
    QTemporaryDir _directory;
    int _fileCount = 0;

    QString _writeFile(const QByteArray& bytes, const QString& name = {});
    int _import(const QByteArray& bytes, QList<Password>* pointerPasswords, QString* pointerErrorText,
                QChar separator = QLatin1Char(','));
};

void TestCsv::initTestCase()
{
    Configuration::initialize();
    QVERIFY(_directory.isValid());
}

QString TestCsv::_writeFile(const QByteArray& bytes, const QString& name)
{
    QFile file(_directory.filePath(name.isEmpty() ? QStringLiteral("file%1.csv").arg(_fileCount++) : name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? file.fileName() : QString();
}

int TestCsv::_import(const QByteArray& bytes, QList<Password>* pointerPasswords, QString* pointerErrorText,
                     QChar separator)
{
    // A new file each time: rewriting one file makes ext4 wait for the disk at every close.
    const QString path = _writeFile(bytes);
    const int result = CSV::importFileContent(path, separator, *pointerPasswords, *pointerErrorText);
    QFile::remove(path);
    return result;
}

void TestCsv::exportWritesExactBytesAndImportsBack()
{
    PasswordTable table;
    table.passwords = {record({"a", "b\"c", "", "x,y", "line 1\nline 2"}), record({"Z"})};
    const QByteArray expected(
        "\"a\",\"b\"\"c\",\"\",\"x,y\",\"line 1\nline 2\"\n\"Z\",\"\",\"\",\"\",\"\"\n");
    const QFile::Permissions others =
        QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;

    // A longer file readable by all is replaced whole; a new file and a replaced one are the owner's only.
    const QString path = _writeFile(QByteArray(500, 'o'));
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ReadGroup | QFile::ReadOther);
    const QString newPath = _directory.filePath(QStringLiteral("new.csv"));
    QString errorText = QStringLiteral("stale");
    for (const QString& target : {path, newPath})
    {
        QCOMPARE(CSV::exportTabToFile(target, &table, errorText), 0);
        QVERIFY(errorText.isEmpty());
        QCOMPARE(readBytes(target), expected);
        QCOMPARE(QFile::permissions(target) & others, QFile::Permissions());
    }

    // The same file with CR LF or CR line ends, or a byte-order mark, reads back the same records.
    QByteArray crlf = expected;
    QByteArray cr = expected;
    for (const QByteArray& bytes : {expected, crlf.replace("\n", "\r\n"), cr.replace('\n', '\r'),
                                    QByteArray("\xEF\xBB\xBF") + expected})
    {
        QList<Password> passwords = {record({"kept"})};
        QCOMPARE(_import(bytes, &passwords, &errorText), 0);
        QCOMPARE(passwords, QList<Password>({record({"kept"}), table.passwords[0], table.passwords[1]}));
    }

    // No folder, or a write that fails (a full disk): reported, never taken for a good copy.
    QCOMPARE(CSV::exportTabToFile(_directory.filePath(QStringLiteral("none/x.csv")), &table, errorText), -1);
    QVERIFY(!errorText.isEmpty());
    errorText.clear();
    if (QFile::exists(QStringLiteral("/dev/full")))
        QVERIFY(CSV::exportTabToFile(QStringLiteral("/dev/full"), &table, errorText) == -1 &&
                !errorText.isEmpty());
}

void TestCsv::importReadsOneFlatFieldStream()
{
    const QString tooSmall = QStringLiteral("File size is too small to contain meaningful data.");
    struct Case
    {
        QByteArray bytes;
        char separator;
        QList<QStringList> records;
        QString error; // a part of the error text, or empty when the import succeeds
    };
    const QList<Case> cases = {
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
        {"\xEF\xBB\xBF\xEF\xBB\xBFx,y\n", ',', {{QStringLiteral("\uFEFFx"), "y"}}, {}},
        {"a\3b,c\4\n", ',', {{"ab", "c"}}, {}},
        {"a,b\n\"c,d\ne,f\n", ',', {}, "line 2"},
        {"ab\n\xC3\x28\n", ',', {}, "invalid bytes on line 2"},
        {"\xED\xA0\x80xx", ',', {}, "invalid bytes on line 1"},
        {QByteArray("ab\0cd", 5), ',', {}, "null character on line 1"},
        {QByteArray(4000, 'a') + ",b,c,d,e\n" + QByteArray(30000, ','),
         ',',
         {{QString(4000, 'a'), "b", "c", "d", "e"}},
         {}},
        {QByteArray("name,login,password,url,note\n").repeated(5000), ',', {}, "bytes a Pavisor can store"},
    };
    for (const Case& testCase : cases)
    {
        const QByteArray context = "file " + testCase.bytes.left(40).toPercentEncoding();
        QList<Password> passwords;
        QString errorText;
        const int result = _import(testCase.bytes, &passwords, &errorText, QLatin1Char(testCase.separator));
        QVERIFY2(result == (testCase.error.isEmpty() ? 0 : -1), context + " " + errorText.toUtf8());
        QVERIFY2(errorText.contains(testCase.error), context + " " + errorText.toUtf8());
        QList<Password> expected;
        for (const QStringList& fields : testCase.records)
            expected.append(record(fields));
        QVERIFY2(passwords == expected, context);
    }

    // A file that fills a device is read whole; a huge file is refused before it is read.
    QList<Password> passwords;
    QString errorText;
    QCOMPARE(_import(QByteArray("name,login,password,url,note\n").repeated(4000), &passwords, &errorText), 0);
    QCOMPARE(passwords.size(), 4000);
    QFile huge(_directory.filePath(QStringLiteral("huge.csv")));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(50 * 1024 * 1024));
    huge.close();
    QCOMPARE(CSV::importFileContent(huge.fileName(), QLatin1Char(','), passwords, errorText), -1);
    QVERIFY2(errorText.contains(QStringLiteral("too large")), qPrintable(errorText));
}

void TestCsv::randomizedRoundTripsAndMalformedFiles()
{
    bool isSeedGiven = false;
    quint32 seed = qEnvironmentVariable("PAVISOR_TEST_SEED").toUInt(&isSeedGiven);
    if (!isSeedGiven)
        seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    // Every character that matters to the format, and some that are not ASCII.
    const QStringList alphabet = {"a", "B", "\"", ",", ";", "\n", " ", "\t", "\xC3\xA9", "\xF0\x9F\x94\x91"};
    const QList<QByteArray> noise = {"\"",   ",",    "\n",   "\r",  QByteArray(1, '\0'),
                                     "\xFF", "\xC3", "\x03", "\"\""};
    PasswordTable table;
    // 5 to 15 s in the sanitizer build, depending on the load of the machine.
    for (int iteration = 0; iteration < 15000; iteration++)
    {
        const QByteArray context = "seed " + QByteArray::number(seed) + ", iteration " +
                                   QByteArray::number(iteration) + " (rerun with PAVISOR_TEST_SEED)";
        table.passwords.clear();
        const int recordCount = random.bounded(6);
        for (int r = 0; r < recordCount; r++)
        {
            Password password;
            for (QString& field : password.data)
                for (int length = random.bounded(6); length > 0; length--)
                    field += alphabet[random.bounded(alphabet.size())];
            if (password != Password())
                table.passwords.append(password);
        }

        const QString path = _directory.filePath(QStringLiteral("random%1.csv").arg(iteration));
        QString errorText;
        QVERIFY2(CSV::exportTabToFile(path, &table, errorText) == 0, context);
        QList<Password> passwords;
        const int result = CSV::importFileContent(path, QLatin1Char(','), passwords, errorText);
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
        const QChar separator = QLatin1Char(",; \t"[random.bounded(4)]);
        if (_import(bytes, &passwords, &errorText, separator) != 0)
        {
            QVERIFY2(!errorText.isEmpty() && passwords == before, context);
            continue;
        }
        for (qsizetype i = before.size(); i < passwords.size(); i++)
        {
            const QString fields =
                QStringList(std::begin(passwords[i].data), std::end(passwords[i].data)).join("");
            QVERIFY2(!fields.isEmpty() && !fields.contains(QChar(3)) && !fields.contains(QChar(4)) &&
                         !fields.contains(QChar(0)),
                     context);
        }
    }
}

void TestCsv::mainWindowImportAndExport()
{
    FormContentEditor editor;
    pointerFormContentEditor = &editor;
    editor.show();
    editor._slotViewStartMenuInitializeDeviceClicked();
    auto* tabWidget = editor.findChild<QTabWidget*>(QStringLiteral("tabWidget"));
    PasswordTable* existing = editor._createEmptyTab(QStringLiteral("Existing"));
    for (const char* name : {"Mail", "mail", "Zed"})
        existing->insertPassword(record({name, "old"}));
    editor._createEmptyTab(QStringLiteral("Other"));
    tabWidget->setCurrentIndex(1);

    // The import page: nothing to confirm before a file is chosen.
    auto* view = static_cast<ViewContentImportCSVFile*>(
        editor.viewGetContent(FormContentEditor::VIEW_ID_IMPORT_CSV_FILE));
    const auto child = [view](const char* name) { return view->findChild<QWidget*>(QLatin1String(name)); };
    auto* ok = static_cast<QPushButton*>(child("pushButtonOk"));
    auto* tabName = static_cast<QLineEdit*>(child("lineEditCreateTabName"));
    auto* existingTabs = static_cast<QComboBox*>(child("comboBoxSelectExistingTab"));
    editor._slotActionImportCSVTriggered(false);
    QVERIFY(editor.viewGetCurrent() == FormContentEditor::VIEW_ID_IMPORT_CSV_FILE &&
            existingTabs->count() == 2 && existingTabs->currentIndex() == 1);
    QVERIFY(!ok->isEnabled() && !child("groupBoxDestinationTab")->isEnabled());
    // Enabled within their box, which opens once a file is chosen.
    const auto isEnabledInBox = [&child](const char* name)
    { return child(name)->isEnabledTo(child("groupBoxDestinationTab")); };
    QVERIFY(isEnabledInBox("radioButtonImportToExistingTab"));

    // Choosing a file proposes its name up to the first dot; blanks alone are no name.
    const QString importPath =
        _writeFile("Mail,new 1,,,\nNew,n,,,\nMail,new 2,,,\n", QStringLiteral("keys.v2.csv"));
    answerFileDialog(importPath);
    static_cast<QPushButton*>(child("pushButtonSelectFile"))->click();
    QCOMPARE(static_cast<QLabel*>(child("labelSelectedFile"))->text(),
             QStringLiteral("Selected file: keys.v2.csv"));
    QCOMPARE(tabName->text(), QStringLiteral("keys"));
    QVERIFY(ok->isEnabled() && child("groupBoxFileSettings")->isEnabled());
    tabName->clear();
    QTest::keyClicks(tabName, QStringLiteral("  "));
    QVERIFY(!ok->isEnabled());
    static_cast<QRadioButton*>(child("radioButtonImportToExistingTab"))->click();
    QVERIFY(ok->isEnabled() && !child("widgetCreateNewTab")->isEnabled());

    // Into the existing tab, replacing by name with case: "mail" stays, the later "Mail" wins.
    existingTabs->setCurrentIndex(0);
    static_cast<QCheckBox*>(child("checkBoxReplaceExistingPasswords"))->setChecked(true);
    ok->click();
    QCOMPARE(tabWidget->currentIndex(), 0);
    QCOMPARE(existing->passwords, QList<Password>({record({"mail", "old"}), record({"Mail", "new 2"}),
                                                   record({"New", "n"}), record({"Zed", "old"})}));
    QCOMPARE(existing->tableWidget()->item(1, 1)->text(), QStringLiteral("new 2"));
    QVERIFY(editor._isUnsavedDataPresent);
    QTRY_COMPARE(editor.viewGetCurrent(), FormContentEditor::VIEW_ID_MESSAGE_BOX_DIALOG);
    const auto message = [&editor]()
    {
        return editor.viewGetContent(FormContentEditor::VIEW_ID_MESSAGE_BOX_DIALOG)
            ->findChild<QLabel*>(QStringLiteral("labelText"))
            ->text();
    };
    QCOMPARE(message(), QStringLiteral("CSV data were successfully imported."));
    editor.viewPop(FormContentEditor::VIEW_ID_PREVIOUS);

    // A malformed file changes no tab and marks nothing unsaved; a tab created for it stays, empty.
    editor._setUnsavedDataPresent(false);
    const QList<Password> before = existing->passwords;
    const QString broken = _writeFile("a,\"b\n\n");
    emit view->fileSelected(broken, QLatin1Char(','), QString(), 0, true);
    QCOMPARE(existing->passwords, before);
    emit view->fileSelected(broken, QLatin1Char(','), QStringLiteral("Broken"), -1, false);
    QCOMPARE(tabWidget->count(), 3);
    QVERIFY(static_cast<PasswordTable*>(tabWidget->widget(2))->passwords.isEmpty());
    QVERIFY(!editor._isUnsavedDataPresent);
    QTRY_COMPARE(editor.viewGetCurrent(), FormContentEditor::VIEW_ID_MESSAGE_BOX_DIALOG);
    QCOMPARE(message(),
             QStringLiteral("Could not import the CSV file '%1' (A double quote opens a field on line 1 "
                            "and never closes it.).")
                 .arg(broken));
    editor.viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
    editor.viewPop(FormContentEditor::VIEW_ID_PREVIOUS);

    // Export: the proposal is the tab name in the folder of the last import; ".csv" is added unless
    // present in any case.
    tabWidget->setCurrentIndex(0);
    QString proposedPath;
    answerFileDialog(_directory.filePath(QStringLiteral("backup")), &proposedPath);
    editor._slotActionExportCSVTriggered(false);
    QCOMPARE(proposedPath, _directory.filePath(QStringLiteral("Existing.csv")));
    QList<Password> exported;
    QString errorText;
    QCOMPARE(CSV::importFileContent(_directory.filePath(QStringLiteral("backup.csv")), QLatin1Char(','),
                                    exported, errorText),
             0);
    QCOMPARE(exported, existing->passwords);
    answerFileDialog(_directory.filePath(QStringLiteral("backup.CSV")));
    editor._slotActionExportCSVTriggered(false);
    QVERIFY(QFile::exists(_directory.filePath(QStringLiteral("backup.CSV"))) &&
            !QFile::exists(_directory.filePath(QStringLiteral("backup.CSV.csv"))));
    QTRY_COMPARE(message(),
                 QStringLiteral("The current tab passwords were successfully exported to a CSV file."));

    // With no tab, only a new tab can receive the file; Cancel emits nothing and a new visit starts afresh.
    QSignalSpy fileSelected(view, &ViewContentImportCSVFile::fileSelected);
    view->setContent(QString(), {}, -1);
    editor.viewPush(FormContentEditor::VIEW_ID_IMPORT_CSV_FILE);
    QVERIFY(!isEnabledInBox("radioButtonImportToExistingTab") &&
            !isEnabledInBox("widgetImportToExistingTab"));
    QVERIFY(static_cast<QRadioButton*>(child("radioButtonCreateNewTab"))->isChecked());
    QCOMPARE(static_cast<QLabel*>(child("labelSelectedFile"))->text(), QStringLiteral("No file selected."));
    static_cast<QPushButton*>(child("pushButtonCancel"))->click();
    QVERIFY(editor.viewGetCurrent() != FormContentEditor::VIEW_ID_IMPORT_CSV_FILE);
    QCOMPARE(fileSelected.count(), 0);
    pointerFormContentEditor = nullptr;
}

QTEST_MAIN(TestCsv)
#include "tst_csv.moc"
