// CSV import and export as the user meets them: a 1500-record file imported into a new tab of the
// main window (file read, parsed, placed, table rebuilt and shown), and that tab exported again; a
// 5000-record export of another program (column names, folders, multi-line notes, CR LF rows) read
// and previewed on the import page.
#include "CSV.h"
#include "Configuration.h"
#include "FormContentEditor.h"
#include "PasswordTable.h"
#include "ViewContentImportCSVFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

namespace
{
constexpr int RECORD_COUNT = 1500;
constexpr int HEADER_FILE_RECORD_COUNT = 5000;
constexpr int RUN_COUNT = 5;

QString randomWord(QRandomGenerator& random, int minimumLength, int maximumLength)
{
    QString word;
    const int length = minimumLength + random.bounded(maximumLength - minimumLength + 1);
    for (int i = 0; i < length; i++)
        word += QLatin1Char(static_cast<char>('a' + random.bounded(26)));
    return word;
}

// Records shaped like real ones; a few carry the characters that quoting exists for.
QList<PasswordTable::Password> makeRecords()
{
    QRandomGenerator random(2024);
    QList<PasswordTable::Password> records;
    for (int r = 0; r < RECORD_COUNT; r++)
    {
        PasswordTable::Password password;
        password.data[PasswordTable::PASSWORD_DATA_ID_NAME] =
            randomWord(random, 4, 10) + QLatin1Char(' ') + randomWord(random, 2, 5);
        password.data[PasswordTable::PASSWORD_DATA_ID_LOGIN] = randomWord(random, 4, 8) + QLatin1Char('.') +
                                                               randomWord(random, 4, 8) +
                                                               QStringLiteral("@mail.com");
        password.data[PasswordTable::PASSWORD_DATA_ID_PASSWORD] =
            randomWord(random, 10, 16) + (r % 7 == 0 ? QStringLiteral("\",x") : QString());
        password.data[PasswordTable::PASSWORD_DATA_ID_URL] =
            QStringLiteral("https://") + randomWord(random, 4, 10) + QStringLiteral(".com");
        if (r % 4 == 0)
            password.data[PasswordTable::PASSWORD_DATA_ID_NOTE] =
                QStringLiteral("Recovery:\n") + randomWord(random, 5, 12);
        records.append(password);
    }
    return records;
}

double processCpuMilliseconds()
{
    timespec time{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
    return time.tv_sec * 1e3 + time.tv_nsec / 1e6;
}

// Best of several runs, in milliseconds of wall time and of processor time: the machine is shared,
// the minimum is the steadiest wall figure and the processor time does not count waiting for a core.
struct Timing
{
    double wallMilliseconds = 1e300;
    double cpuMilliseconds = 1e300;
};

Timing bestOf(const std::function<void()>& work, const std::function<void()>& cleanUp = {})
{
    Timing best;
    for (int run = 0; run < RUN_COUNT; run++)
    {
        QElapsedTimer timer;
        const double cpuStart = processCpuMilliseconds();
        timer.start();
        work();
        best.wallMilliseconds = std::min(best.wallMilliseconds, timer.nsecsElapsed() / 1e6);
        best.cpuMilliseconds = std::min(best.cpuMilliseconds, processCpuMilliseconds() - cpuStart);
        if (cleanUp)
            cleanUp();
    }
    return best;
}

void print(const char* name, const Timing& timing, int recordCount = RECORD_COUNT)
{
    std::printf("%s_%d_records: %.3f ms\n", name, recordCount, timing.wallMilliseconds);
    std::printf("%s_%d_records_cpu: %.3f ms\n", name, recordCount, timing.cpuMilliseconds);
}

// A Bitwarden export as its documentation lays it out, rows ended by CR LF like a spreadsheet's.
// 5000 records only fit a device when they are short (26 bytes each at the most), so these are:
// a folder each (ten folders), a few two-line notes, no web site.
QByteArray makeHeaderFile()
{
    QRandomGenerator random(2025);
    QByteArray bytes = "folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,login_"
                       "password,login_totp\r\n";
    for (int r = 0; r < HEADER_FILE_RECORD_COUNT; r++)
    {
        const QString notes = r % 10 == 0 ? QStringLiteral("\"a\nbcd\"") : QString();
        bytes += QStringLiteral("Folder %1,,login,%2,%3,,0,,%4,\"%5\",\r\n")
                     .arg(r % 10)
                     .arg(randomWord(random, 5, 5), notes, randomWord(random, 5, 5), randomWord(random, 9, 9))
                     .toUtf8();
    }
    return bytes;
}
} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // Nothing here asks the real web site: the start menu checks for an update.
    qputenv("PAVISOR_WEBSITE_URL", "http://127.0.0.1:9");
    Configuration::initialize();
    QTemporaryDir directory;
    const QString fileName = directory.filePath(QStringLiteral("passwords.csv"));

    FormContentEditor editor;
    pointerFormContentEditor = &editor;
    editor.resize(1400, 900);
    editor.show();
    editor.viewReplace(FormContentEditor::VIEW_ID_CONTENT_EDITOR);
    editor.viewClear();
    auto* tabWidget = editor.findChild<QTabWidget*>(QStringLiteral("tabWidget"));
    auto* importView = static_cast<ViewContentImportCSVFile*>(
        editor.viewGetContent(FormContentEditor::VIEW_ID_IMPORT_CSV_FILE));

    // The file to import, written by the export itself.
    PasswordTable sourceTable;
    sourceTable.passwords = makeRecords();
    QString errorText;
    if (CSV::exportTabToFile(fileName, sourceTable.passwords, errorText) != 0)
    {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(fileName), qPrintable(errorText));
        return 1;
    }
    std::printf("csv_file_size_%d_records: %lld bytes\n", RECORD_COUNT,
                static_cast<long long>(QFileInfo(fileName).size()));

    CSV::FileContent parsed;
    print("csv_parse", bestOf([&]() { CSV::readFile(fileName, QLatin1Char(','), &parsed, errorText); }));
    if (parsed.passwords.size() != RECORD_COUNT)
    {
        std::fprintf(stderr, "parsed %lld records instead of %d\n",
                     static_cast<long long>(parsed.passwords.size()), RECORD_COUNT);
        return 1;
    }

    // The import as the OK button of the import page starts it: file read, parsed, records placed and
    // the new tab's table rebuilt and made current. The second figure adds the event-loop turn that
    // follows (layout, the success message box pushed over the editor page). The tab is removed after
    // each run, so every run starts from an empty editor.
    const auto removeImportedTab = [&]()
    {
        QApplication::processEvents();
        editor.viewReplace(FormContentEditor::VIEW_ID_CONTENT_EDITOR);
        editor.viewClear();
        QWidget* page = tabWidget->widget(0);
        tabWidget->removeTab(0);
        delete page;
        QApplication::processEvents();
    };
    const auto import = [&]()
    {
        CSV::readFile(fileName, QLatin1Char(','), &parsed, errorText);
        emit importView->fileSelected(fileName, parsed, QStringLiteral("Imported"), -1, false, false);
    };
    print("csv_import_new_tab", bestOf(import, removeImportedTab));
    print("csv_import_new_tab_until_idle", bestOf(
                                               [&]()
                                               {
                                                   import();
                                                   QApplication::processEvents();
                                               },
                                               removeImportedTab));

    import();
    QApplication::processEvents();
    auto* importedTable = static_cast<PasswordTable*>(tabWidget->widget(0));
    print("csv_export_tab", bestOf([&]() { CSV::exportTabToFile(fileName, importedTable->passwords, errorText); }));

    // Another program's export: read alone, then chosen on the import page until its preview (format,
    // count, first rows, folder choice) is laid out and painted.
    const QString headerFileName = directory.filePath(QStringLiteral("bitwarden.csv"));
    {
        QFile headerFile(headerFileName);
        if (!headerFile.open(QIODevice::WriteOnly) || headerFile.write(makeHeaderFile()) < 0)
            return 1;
    }
    std::printf("csv_file_size_header_%d_records: %lld bytes\n", HEADER_FILE_RECORD_COUNT,
                static_cast<long long>(QFileInfo(headerFileName).size()));
    print("csv_read_header",
          bestOf([&]() { CSV::readFile(headerFileName, QLatin1Char(','), &parsed, errorText); }),
          HEADER_FILE_RECORD_COUNT);
    if (parsed.passwords.size() != HEADER_FILE_RECORD_COUNT || parsed.problemCount != 0)
    {
        std::fprintf(stderr, "read %lld records and %lld problems\n",
                     static_cast<long long>(parsed.passwords.size()),
                     static_cast<long long>(parsed.problemCount));
        return 1;
    }
    editor.viewReplace(FormContentEditor::VIEW_ID_CONTENT_EDITOR);
    importView->setContent(QString(), {QStringLiteral("Imported")}, 0);
    editor.viewPush(FormContentEditor::VIEW_ID_IMPORT_CSV_FILE);
    QApplication::processEvents();
    print("csv_preview_header",
          bestOf(
              [&]()
              {
                  importView->selectFile(headerFileName);
                  importView->repaint();
                  QApplication::processEvents();
              }),
          HEADER_FILE_RECORD_COUNT);
    return 0;
}
