// CSV export and import: the exact bytes written and their safe replacement of an older file, files
// read line by line, the exports of other programs, malformed files, a long randomised run of exports
// read back, and both workflows through the main window and the import page with its preview.
#include "CSV.h"
#include "Configuration.h"
#include "FormContentEditor.h"
#include "PasswordStoreCodec.h"
#include "PasswordTablePasswordItem.h"
#include "TestSupport.h"
#include "ViewContentImportCSVFile.h"

#include <QtTest>
#include <QtWidgets>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

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

QList<Password> records(const QList<QStringList>& fieldLists)
{
    QList<Password> passwords;
    for (const QStringList& fields : fieldLists)
        passwords.append(record(fields));
    return passwords;
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

    // Reads bytes from a new file each time (rewriting one file makes ext4 wait for the disk).
    int _read(const QByteArray& bytes, CSV::FileContent* pointerContent, QString* pointerErrorText,
              QChar separator = u',')
    {
        const QString path = _writeFile(bytes);
        const int result = CSV::readFile(path, separator, pointerContent, *pointerErrorText);
        QFile::remove(path);
        return result;
    }

private slots:
    void initTestCase()
    {
        Configuration::initialize();
        QVERIFY(_directory.isValid());
    }

    void exportWritesExactBytesAndReplacesSafely()
    {
        PasswordTable table;
        table.passwords = {record({"a", "b\"c", "", "x,y", "line 1\nline 2"}),
                           record({"Z", "", "", "", u"crlf\r\nnbsp\u00A0ls\u2028end"_s})};
        const QByteArray expected("\"a\",\"b\"\"c\",\"\",\"x,y\",\"line 1\nline 2\"\n"
                                  "\"Z\",\"\",\"\",\"\",\"crlf\r\nnbsp\xC2\xA0ls\xE2\x80\xA8"
                                  "end\"\n");
        const QFile::Permissions others =
            QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;

        // A longer file readable by all is replaced whole; a new file and a replaced one are the owner's
        // only, and nothing else is left in the folder.
        QDir folder(_directory.filePath(u"export"_s));
        QVERIFY(folder.mkpath(u"."_s));
        const QString path = folder.filePath(u"old.csv"_s);
        QVERIFY(QFile::copy(_writeFile(QByteArray(500, 'o')), path));
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ReadGroup | QFile::ReadOther);
        QString errorText = u"stale"_s;
        for (const QString& target : {path, folder.filePath(u"new.csv"_s)})
        {
            QCOMPARE(CSV::exportTabToFile(target, table.passwords, errorText), 0);
            QVERIFY(errorText.isEmpty());
            QCOMPARE(readBytes(target), expected);
            QCOMPARE(QFile::permissions(target) & others, QFile::Permissions());
        }
        QCOMPARE(folder.entryList(QDir::Files), QStringList({"new.csv", "old.csv"}));

        // Our own file reads back exactly, line ends inside the note included; so does the same file
        // with CR LF or CR between records, or with a byte-order mark.
        QByteArray crlf = expected, cr = expected;
        crlf.replace("\"\n", "\"\r\n");
        cr.replace("\"\n", "\"\r");
        for (const QByteArray& bytes : {expected, crlf, cr, "\xEF\xBB\xBF" + expected})
        {
            CSV::FileContent content;
            QCOMPARE(_read(bytes, &content, &errorText), 0);
            QCOMPARE(content.passwords, table.passwords);
            QVERIFY(content.problems.isEmpty() && !content.isFolderPresent);
        }

        // A write that fails part way (the file size limit stands in for a full disk) leaves the
        // previous file as it was and no temporary file behind.
        table.passwords.append(record({"big", QString(200000, u'b')}));
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit previousLimit{};
        getrlimit(RLIMIT_FSIZE, &previousLimit);
        rlimit limit = previousLimit;
        limit.rlim_cur = 65536;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
        const int result = CSV::exportTabToFile(path, table.passwords, errorText);
        setrlimit(RLIMIT_FSIZE, &previousLimit);
        std::signal(SIGXFSZ, previousHandler);
        QCOMPARE(result, -1);
        QVERIFY(!errorText.isEmpty());
        QCOMPARE(readBytes(path), expected);
        QCOMPARE(folder.entryList(QDir::Files), QStringList({"new.csv", "old.csv"}));

        // No folder, or something that is not a file (a pipe): reported, and the pipe stays a pipe.
        QCOMPARE(CSV::exportTabToFile(_directory.filePath(u"none/x.csv"_s), table.passwords, errorText), -1);
        QVERIFY(!errorText.isEmpty());
        const QString pipe = folder.filePath(u"pipe.csv"_s);
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        errorText.clear();
        QCOMPARE(CSV::exportTabToFile(pipe, table.passwords, errorText), -1);
        QVERIFY(!errorText.isEmpty() && !QFileInfo(pipe).isFile() && QFileInfo::exists(pipe));
    }

    void readsLineByLine()
    {
        // Bytes, separator, records read, the problems listed (one text part each), and a part of the
        // error text when the whole file is refused.
        struct Case
        {
            QByteArray bytes;
            char separator;
            QList<QStringList> records;
            QStringList problems;
            QString error;
        };
        const QString tooSmall = u"too small to contain meaningful data"_s;
        const Case cases[] = {
            {"x ; y", ';', {{"x ", " y"}}, {}, {}},
            // A spreadsheet: CR LF between rows, LF inside a multi-line cell of the first record.
            {"\"Mail\",\"me\",\"pw\",\"https://m\",\"line 1\nline 2\"\r\nBank,b,pw2,,\r\n",
             ',',
             {{"Mail", "me", "pw", "https://m", "line 1\nline 2"}, {"Bank", "b", "pw2", "", ""}},
             {},
             {}},
            // Every line its own end; blank lines are no record and still count.
            {"a,1\nb,2\r\n\r\nc,3\rd,4\n\n", ',', {{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}}, {}, {}},
            // A sixth column, or an unquoted line end splitting a record, is that line's problem only.
            {"a,b,c,d,e\nf,g,h,i,j,k\nl,m,n,o,p\nq,r\ns,t,u\nv,w,x,y,z",
             ',',
             {{"a", "b", "c", "d", "e"}, {"l", "m", "n", "o", "p"}, {"v", "w", "x", "y", "z"}},
             {"Line 2: 6 columns, where the other lines have 5.", "Line 4: 2 columns", "Line 5: 3 columns"},
             {}},
            // Blanks around quotes are layout; text after a closing quote makes the line unreadable.
            {"\"a\", \"b\" ,\"c\"\"d\",e\"f\n\"ab\"cd,x,y,z\n",
             ',',
             {{"a", "b", "c\"d", "e\"f"}},
             {"Line 2: text follows the closing double quote of column 1."},
             {}},
            {"\"\r\n\",x\n", ',', {{"\r\n", "x"}}, {}, {}},
            {"a\tb c\td\n", '\t', {{"a", "b c", "d"}}, {}, {}},
            {"a b\n\"c d\" e\n", ' ', {{"a", "b"}, {"c d", "e"}}, {}, {}},
            {"\xEF\xBB\xBF\xEF\xBB\xBFx,y\n", ',', {{u"\uFEFFx"_s, "y"}}, {}, {}},
            {"a\3b,c\4\n,,,,\n", ',', {{"ab", "c"}}, {}, {}},
            // Column names of a program not in the table: said, and the line left out.
            {"title,user,password,website,comment\nMail,me,pw,https://m,\n",
             ',',
             {{"Mail", "me", "pw", "https://m", ""}},
             {"Line 1 names the columns of a program this import does not know"},
             {}},
            {"a,b", ',', {}, {}, tooSmall},
            {"a,b\r\r\"c,d\ne,f\n", ',', {}, {}, "opens a field on line 3 and never closes"},
            {"ab\rcd\r\xC3\x28\n", ',', {}, {}, "invalid bytes on line 3"},
            {"\xED\xA0\x80xx", ',', {}, {}, "invalid bytes on line 1"},
            {QByteArray("ab\ncd\0", 6), ',', {}, {}, "null character on line 2"},
            {QByteArray("Mail,me,secret,https://m.example,note\n").repeated(4000),
             ',',
             {},
             {},
             "bytes a Pavisor can store"},
        };
        for (const Case& test : cases)
        {
            const QByteArray context = "file " + test.bytes.left(40).toPercentEncoding();
            CSV::FileContent content;
            QString errorText;
            const int result = _read(test.bytes, &content, &errorText, QLatin1Char(test.separator));
            QVERIFY2(result == (test.error.isEmpty() ? 0 : -1) && errorText.contains(test.error),
                     context + " " + errorText.toUtf8());
            QVERIFY2(content.passwords == records(test.records), context);
            QVERIFY2(content.problems.size() == test.problems.size(), context);
            for (int i = 0; i < test.problems.size(); i++)
                QVERIFY2(content.problems[i].startsWith(test.problems[i]),
                         context + " " + content.problems[i].toUtf8());
        }

        // A file that fills a device is read whole; a huge file is refused before it is read; a file of
        // garbage lists its first bad lines and counts the others.
        CSV::FileContent content;
        QString errorText;
        QCOMPARE(
            _read(QByteArray("Mail,me,secret,https://m.example,note\n").repeated(3400), &content, &errorText),
            0);
        QCOMPARE(content.passwords.size(), 3400);
        QCOMPARE(_read("a,b\n" + QByteArray("\"c\"d,f\n").repeated(3000), &content, &errorText), 0);
        QVERIFY(content.problems.size() == 1000 && content.problemCount == 3000);
        QFile huge(_directory.filePath(u"huge.csv"_s));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(50 * 1024 * 1024));
        huge.close();
        QCOMPARE(CSV::readFile(huge.fileName(), u',', &content, errorText), -1);
        QVERIFY2(errorText.contains(u"too large"_s), qPrintable(errorText));
        QVERIFY(content.passwords.isEmpty());
    }

    void recognisesOtherProgramsExports()
    {
        // One small file per program, written from its documented columns; the records as they come
        // in (name, login, password, web site, note) and their folder.
        struct Case
        {
            QByteArray bytes;
            QString format;
            QList<QStringList> records;
            QStringList folders;
            QStringList problems;
        };
        const Case cases[] = {
            {"name,url,username,password,note\r\n"
             "mail.example.com,https://mail.example.com/login,me@example.com,\"pa,ss\",\r\n"
             "Bank,https://bank.example,12345,\"x\"\"y\",\"two\nlines\"\r\n"
             "Extra,https://e.example,u,p,n,sixth\r\n",
             "Chrome, Edge or another Chromium browser",
             {{"mail.example.com", "me@example.com", "pa,ss", "https://mail.example.com/login", ""},
              {"Bank", "12345", "x\"y", "https://bank.example", "two\nlines"}},
             {"", ""},
             {"Line 5: 6 columns, where the column names line has 5."}},
            {"\"url\",\"username\",\"password\",\"httpRealm\",\"formActionOrigin\",\"guid\",\"timeCreated\","
             "\"timeLastUsed\",\"timePasswordChanged\"\n"
             "\"https://www.example.org\",\"alice\",\"s3cret\",,\"https://www.example.org\",\"{0b1c}\","
             "\"1690000000000\",\"1690000000001\",\"1690000000002\"\n",
             "Firefox",
             {{"www.example.org", "alice", "s3cret", "https://www.example.org",
               "formActionOrigin: https://www.example.org\nguid: {0b1c}\ntimeCreated: 1690000000000\n"
               "timeLastUsed: 1690000000001\ntimePasswordChanged: 1690000000002"}},
             {""},
             {}},
            {"Title,URL,Username,Password,Notes,OTPAuth\n"
             "Example (alice),https://example.com/,alice,pw,note,otpauth://totp/x?secret=ABC\n",
             "Safari",
             {{"Example (alice)", "alice", "pw", "https://example.com/",
               "note\nOTPAuth: otpauth://totp/x?secret=ABC"}},
             {""},
             {}},
            {"folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,login_password,login_"
             "totp\r\n"
             "Social,1,login,Forum,\"first\nsecond\",pin: "
             "1234,0,https://forum.example,bob,hunter2,JBSWY3DP\r\n"
             "\r\n"
             ",,note,Plain note,just text,,0,,,,\r\n",
             "Bitwarden",
             {{"Forum", "bob", "hunter2", "https://forum.example",
               "first\nsecond\nfavorite: 1\nfields: pin: 1234\nlogin_totp: JBSWY3DP"},
              {"Plain note", "", "", "", "just text\ntype: note"}},
             {"Social", ""},
             {}},
            {"\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\",\"Icon\",\"Last "
             "Modified\",\"Created\"\n"
             "\"Root/Email\",\"Webmail\",\"carol\",\"p@ss\",\"https://webmail.example\",\"\",\"\",\"0\","
             "\"2024-01-02T03:04:05Z\",\"2024-01-01T00:00:00Z\"\n",
             "KeePassXC",
             {{"Webmail", "carol", "p@ss", "https://webmail.example",
               "Last Modified: 2024-01-02T03:04:05Z\nCreated: 2024-01-01T00:00:00Z"}},
             {"Root/Email"},
             {}},
            // Backslashes escape quotes and themselves; any other backslash is text.
            {"\"Account\",\"Login Name\",\"Password\",\"Web Site\",\"Comments\"\r\n"
             "\"Server\",\"admin\",\"a\\\"b\\\\c\",\"http://10.0.0.1/\",\"C:\\\\temp\\\\\r\nline 2 \\n\"\r\n",
             "KeePass (CSV 1.x, also written by KeePass 2)",
             {{"Server", "admin", "a\"b\\c", "http://10.0.0.1/", "C:\\temp\\\r\nline 2 \\n"}},
             {""},
             {}},
            {"Title,Url,Username,Password,OTPAuth,Favorite,Archived,Tags,Notes\n"
             "Shop,https://shop.example,dave,pw1,,false,false,\"shopping,personal\",Loyalty 42\n",
             "1Password",
             {{"Shop", "dave", "pw1", "https://shop.example", "Loyalty 42\nTags: shopping,personal"}},
             {""},
             {}},
            {"url,username,password,totp,extra,name,grouping,fav\n"
             "https://news.example,erin,pw2,,Recovery codes,News,Media,0\n",
             "LastPass",
             {{"News", "erin", "pw2", "https://news.example", "Recovery codes"}},
             {"Media"},
             {}},
            {"username,username2,username3,title,password,note,url,category,otpSecret\n"
             ",frank2,,Games,pw3,,games.example,Fun,\n",
             "Dashlane",
             {{"Games", "frank2", "pw3", "games.example", ""}},
             {"Fun"},
             {}},
            {"type,name,url,email,username,password,note,totp,createTime,modifyTime,vault\n"
             "login,Cloud,https://cloud.example,grace@example.com,,pw4,,,1700000000,1700000001,Personal\n",
             "Proton Pass",
             {{"Cloud", "grace@example.com", "pw4", "https://cloud.example",
               "createTime: 1700000000\nmodifyTime: 1700000001"}},
             {"Personal"},
             {}},
            {"name,url,username,password,note,cardholdername,cardnumber,cvc,expirydate,zipcode,folder,full_"
             "name,"
             "phone_number,email,address1,address2,city,country,state,type\n"
             "Router,http://192.168.1.1,root,pw5,,,,,,,Home,,,,,,,,,password\n",
             "NordPass",
             {{"Router", "root", "pw5", "http://192.168.1.1", ""}},
             {"Home"},
             {}},
            {"\"Title\",\"Field\",\"Value\",\"Field\",\"Value\",\"Field\",\"Value\",\"Note\"\n"
             "\"Library\",\"Username\",\"henry\",\"Password\",\"pw6\",\"Website\",\"https://lib.example\","
             "\"Card at desk\"\n"
             "\"Wifi\",\"Password\",\"pw7\",\"Security\",\"WPA2\"\n",
             "Enpass",
             {{"Library", "henry", "pw6", "https://lib.example", "Card at desk"},
              {"Wifi", "", "pw7", "", "Security: WPA2"}},
             {"", ""},
             {}},
        };
        for (const Case& test : cases)
        {
            CSV::FileContent content;
            QString errorText;
            QVERIFY2(_read(test.bytes, &content, &errorText) == 0,
                     qPrintable(test.format + u' ' + errorText));
            QCOMPARE(content.formatName, test.format);
            QCOMPARE(content.passwords, records(test.records));
            QCOMPARE(content.folders, test.folders);
            QCOMPARE(content.isFolderPresent, test.folders.join(QString()) != QString());
            QCOMPARE(content.problems, test.problems);
        }
    }

    void randomizedExportsReadBack()
    {
        bool isSeedGiven = false;
        quint32 seed = qEnvironmentVariable("PAVISOR_TEST_SEED").toUInt(&isSeedGiven);
        QRandomGenerator random(isSeedGiven ? seed : (seed = QRandomGenerator::global()->generate()));
        // Every character that matters to the format, and some that are not ASCII.
        const QStringList alphabet = {
            "a", "B", "\"", ",", ";", "\n", " ", "\t", "\r", "\\", "\r\n", "\u00A0", "\xF0\x9F\x94\x91"};
        // Every export waits for the disk to hold the file before it replaces the old one: in memory
        // where the system offers it, ten thousand of them take seconds instead of a minute.
        QTemporaryDir memoryDirectory(u"/dev/shm/tst_csv-XXXXXX"_s);
        const QTemporaryDir& directory = memoryDirectory.isValid() ? memoryDirectory : _directory;
        PasswordTable table;
        // A few seconds in the sanitizer build, depending on the load of the machine.
        for (int iteration = 0; iteration < 10000; iteration++)
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

            const QString path = directory.filePath(u"random%1.csv"_s.arg(iteration));
            QString errorText;
            QVERIFY2(CSV::exportTabToFile(path, table.passwords, errorText) == 0, context);
            CSV::FileContent content;
            const int result = CSV::readFile(path, u',', &content, errorText);
            QVERIFY2(result == (table.passwords.isEmpty() ? -1 : 0), context + " " + errorText.toUtf8());
            QVERIFY2(content.passwords == table.passwords && content.problems.isEmpty(), context);
            QFile::remove(path);
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
        editor._createEmptyTab(u"Work"_s)->insertPassword(record({"VPN", "old"}));
        tabWidget->setCurrentIndex(1);
        editor._setUnsavedDataPresent(false);
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
        const auto tabNames = [tabWidget]()
        {
            QStringList names;
            for (int index = 0; index < tabWidget->count(); index++)
                names.append(tabWidget->tabText(index));
            return names;
        };

        // The import page: nothing to confirm or preview before a file is chosen.
        auto* view =
            static_cast<ViewContentImportCSVFile*>(editor.viewGetContent(V::VIEW_ID_IMPORT_CSV_FILE));
        auto* ok = child<QPushButton>(view, "pushButtonOk");
        auto* tabName = child<QLineEdit>(view, "lineEditCreateTabName");
        auto* existingTabs = child<QComboBox>(view, "comboBoxSelectExistingTab");
        auto* summary = child<QLabel>(view, "labelPreviewSummary");
        auto* preview = child<QTableWidget>(view, "tableWidgetPreview");
        auto* problems = child<QPlainTextEdit>(view, "plainTextEditProblems");
        auto* folders = child(view, "groupBoxFolders");
        const auto isEnabledInBox = [view](const char* name)
        { return child(view, name)->isEnabledTo(child(view, "groupBoxDestinationTab")); };
        editor._slotActionImportCSVTriggered(false);
        QVERIFY(editor.viewGetCurrent() == V::VIEW_ID_IMPORT_CSV_FILE && existingTabs->count() == 2 &&
                existingTabs->currentIndex() == 1);
        QVERIFY(!ok->isEnabled() && !child(view, "groupBoxDestinationTab")->isEnabled());
        QVERIFY(!child(view, "groupBoxPreview")->isVisible() &&
                isEnabledInBox("radioButtonImportToExistingTab"));

        // A Bitwarden file chosen in the dialog: its name up to the first dot is proposed; the preview
        // shows the format, the count, the first rows with passwords masked, and the line not read.
        const QByteArray bitwarden = "folder,favorite,type,name,notes,fields,reprompt,login_uri,login_"
                                     "username,login_password,login_totp\r\n"
                                     "Work,,login,VPN,,,0,https://vpn.example,new,secret1,\r\n"
                                     ",,login,Mail,\"a\nb\",,0,,new 1,secret2,\r\n"
                                     ",,login,Mail,,,0,,new 2,secret3,\r\n"
                                     "Home,,login,Router,,,0,,admin,secret4,\r\n"
                                     "broken,line\r\n";
        TestSupport::answerFileDialog(_writeFile(bitwarden, u"keys.v2.csv"_s));
        child<QPushButton>(view, "pushButtonSelectFile")->click();
        QCOMPARE(child<QLabel>(view, "labelSelectedFile")->text(), u"Selected file: keys.v2.csv"_s);
        QCOMPARE(tabName->text(), u"keys"_s);
        QCOMPARE(summary->text(), u"Recognised format: Bitwarden. 4 records will be imported:"_s);
        QCOMPARE(preview->rowCount(), 4);
        QStringList cells;
        for (int column = 0; column < 5; column++)
            cells.append(preview->item(1, column)->text());
        QCOMPARE(cells,
                 QStringList({"Mail", "new 1", PasswordTablePasswordItem::maskText(), "", u"a \u2026"_s}));
        QCOMPARE(problems->toPlainText(), u"Line 7: 2 columns, where the column names line has 11."_s);
        QVERIFY(ok->isEnabled() && folders->isVisible());
        tabName->clear();
        QTest::keyClicks(tabName, u"  "_s);
        QVERIFY(!ok->isEnabled());

        // Another separator reads the file again (as one column of lines, then as before). Cancel then
        // changes nothing at all.
        child<QComboBox>(view, "comboBoxFieldsSeparator")->setCurrentIndex(1);
        QVERIFY2(summary->text().startsWith(u"Recognised format: Pavisor Key Manager"_s),
                 qPrintable(summary->text()));
        QCOMPARE(preview->item(0, 0)->text(), QString::fromLatin1(bitwarden.left(bitwarden.indexOf('\r'))));
        child<QComboBox>(view, "comboBoxFieldsSeparator")->setCurrentIndex(0);
        QCOMPARE(preview->rowCount(), 4);
        // "Tab" and "Space" as the user picks them by name: fields with blanks in them, then fields
        // between blanks.
        const auto previewWith = [&](const QByteArray& bytes, const QString& separatorName)
        {
            view->selectFile(_writeFile(bytes));
            auto* separators = child<QComboBox>(view, "comboBoxFieldsSeparator");
            separators->setCurrentIndex(separators->findText(separatorName));
            QStringList shown;
            for (int column : {0, 1, 3, 4})
                shown.append(preview->rowCount() == 1 ? preview->item(0, column)->text() : u"?"_s);
            return shown;
        };
        QCOMPARE(previewWith("Mail box\tme too\tpw 1\thttps://m.example\tnote x\n", u"Tab"_s),
                 QStringList({"Mail box", "me too", "https://m.example", "note x"}));
        QCOMPARE(previewWith("Bank\tme\tpw https://b.example note\n", u"Space"_s),
                 QStringList({"Bank\tme\tpw", "https://b.example", "", ""}));
        child<QComboBox>(view, "comboBoxFieldsSeparator")->setCurrentIndex(0);
        view->selectFile(_directory.filePath(u"keys.v2.csv"_s));
        child<QPushButton>(view, "pushButtonCancel")->click();
        QVERIFY(tabNames() == QStringList({"Existing", "Work"}) && !editor._isUnsavedDataPresent);
        QCOMPARE(existing->passwords.size(), 3);

        // Into the existing tab, one tab per folder, replacing by name with case: "mail" stays, the
        // later "Mail" wins, VPN replaces the one of the tab "Work", and "Home" is a new tab.
        editor._slotActionImportCSVTriggered(false);
        view->selectFile(_directory.filePath(u"keys.v2.csv"_s));
        child<QRadioButton>(view, "radioButtonImportToExistingTab")->click();
        QVERIFY(ok->isEnabled() && !child(view, "widgetCreateNewTab")->isEnabled());
        existingTabs->setCurrentIndex(0);
        child<QCheckBox>(view, "checkBoxReplaceExistingPasswords")->setChecked(true);
        ok->click();
        QCOMPARE(message(), u"CSV data were successfully imported."_s);
        QCOMPARE(tabWidget->currentIndex(), 0);
        QCOMPARE(existing->passwords,
                 QList<Password>({record({"mail", "old"}), record({"Mail", "new 2", "secret3"}),
                                  record({"Zed", "old"})}));
        QCOMPARE(existing->tableWidget()->item(1, 1)->text(), u"new 2"_s);
        QCOMPARE(tabNames(), QStringList({"Existing", "Work", "Home"}));
        QCOMPARE(static_cast<PasswordTable*>(tabWidget->widget(1))->passwords,
                 QList<Password>({record({"VPN", "new", "secret1", "https://vpn.example"})}));
        QVERIFY(editor._isUnsavedDataPresent);
        QVERIFY(child<QLabel>(view, "labelPreviewSummary")->text().isEmpty());

        // Everything into a new tab.
        editor._slotActionImportCSVTriggered(false);
        view->selectFile(_directory.filePath(u"keys.v2.csv"_s));
        child<QRadioButton>(view, "radioButtonAllInDestinationTab")->click();
        child<QCheckBox>(view, "checkBoxReplaceExistingPasswords")->setChecked(false);
        ok->click();
        QCOMPARE(message(), u"CSV data were successfully imported."_s);
        QCOMPARE(tabNames(), QStringList({"Existing", "Work", "Home", "keys"}));
        QCOMPARE(static_cast<PasswordTable*>(tabWidget->widget(3))->passwords.size(), 4);

        // A file that cannot be read says why and offers nothing to confirm.
        editor._slotActionImportCSVTriggered(false);
        view->selectFile(_writeFile("a,\"b\n\n"));
        QCOMPARE(
            summary->text(),
            u"This file cannot be imported: A double quote opens a field on line 1 and never closes it."_s);
        QVERIFY(!ok->isEnabled() && !preview->isVisible());
        child<QPushButton>(view, "pushButtonCancel")->click();

        // Export: the proposal is the tab name in the folder of the last import. ".csv" is added by the
        // dialog, whose own question covers the file really written: No writes nothing, Yes replaces.
        tabWidget->setCurrentIndex(0);
        QString proposedPath, question;
        TestSupport::answerFileDialog(_directory.filePath(u"backup"_s), &proposedPath);
        editor._slotActionExportCSVTriggered(false);
        QCOMPARE(proposedPath, _directory.filePath(u"Existing.csv"_s));
        QCOMPARE(message(), u"The current tab passwords were successfully exported to a CSV file."_s);
        const QString backup = _directory.filePath(u"backup.csv"_s);
        CSV::FileContent exported;
        QString errorText;
        QCOMPARE(CSV::readFile(backup, u',', &exported, errorText), 0);
        QCOMPARE(exported.passwords, existing->passwords);
        tabWidget->setCurrentIndex(1);
        TestSupport::answerFileDialog(_directory.filePath(u"backup"_s), nullptr, QMessageBox::No, &question);
        editor._slotActionExportCSVTriggered(false);
        QVERIFY2(question.startsWith(u"backup.csv already exists."_s), qPrintable(question));
        QCOMPARE(CSV::readFile(backup, u',', &exported, errorText), 0);
        QCOMPARE(exported.passwords, existing->passwords);
        question.clear();
        TestSupport::answerFileDialog(_directory.filePath(u"backup"_s), nullptr, QMessageBox::Yes, &question);
        editor._slotActionExportCSVTriggered(false);
        QCOMPARE(message(), u"The current tab passwords were successfully exported to a CSV file."_s);
        QCOMPARE(CSV::readFile(backup, u',', &exported, errorText), 0);
        QCOMPARE(exported.passwords, static_cast<PasswordTable*>(tabWidget->widget(1))->passwords);
        TestSupport::answerFileDialog(_directory.filePath(u"backup.CSV"_s));
        editor._slotActionExportCSVTriggered(false);
        QCOMPARE(message(), u"The current tab passwords were successfully exported to a CSV file."_s);
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
