// Start-up pieces: the settings store choice, the language choice and its catalogues, the
// first-run prompt and the help viewer. This test runs from a bundle-shaped folder of its own.
#include "Configuration.h"
#include "FirstRunPrompt.h"
#include "HelpViewer.h"
#include "TestSupport.h"
#include "Translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <cstdio>
#include <cstring>

namespace
{
const char* const LANGUAGE_PROBE_ARGUMENT = "--language-probe";

QString iniPath()
{
    return Configuration::getBundleResourcesPath() + QStringLiteral("Configuration.ini");
}

// Runs this executable as a child with another system locale and returns what it printed.
QStringList probeLanguage(const QString& locale)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), locale);
    environment.insert(QStringLiteral("LANG"), locale);
    environment.remove(QStringLiteral("LANGUAGE"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(LANGUAGE_PROBE_ARGUMENT)});
    if (!child.waitForFinished(30000))
        return {};
    return QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The child side: the language values and one translated text of each catalogue.
int runLanguageProbe(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    Configuration::initialize();
    QTranslator qtTranslator;
    QTranslator applicationTranslator;
    Translations::install(qtTranslator, applicationTranslator);
    const QString lines =
        QString::number(Configuration::getSystemLanguageId()) + QLatin1Char('\n') +
        Configuration::getSystemLanguageString() + QLatin1Char('\n') +
        QCoreApplication::translate("FormContentEditor", "Welcome!") + QLatin1Char('\n') +
        (qtTranslator.isEmpty() ? QStringLiteral("no-qt-catalogue") : qtTranslator.filePath()) +
        QLatin1Char('\n');
    std::fputs(lines.toUtf8().constData(), stdout);
    Configuration::uninitialize();
    return 0;
}

// Reads lines from the help viewer's standard output until `page` shows up.
bool waitForPageShown(QProcess& process, const QString& page, QStringList& seen)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000)
    {
        while (process.canReadLine())
        {
            const QString line = QString::fromUtf8(process.readLine()).trimmed();
            seen << line;
            if (line == page)
                return true;
        }
        process.waitForReadyRead(200);
    }
    return false;
}
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void settingsStoreChoice();
    void languageChoice();
    void firstRunPromptAndHelpViewer();
};

void TestStartup::cleanup()
{
    HelpViewer::process().kill();
    HelpViewer::process().waitForFinished(5000);
    Configuration::uninitialize();
    QFile::remove(iniPath());
}

void TestStartup::settingsStoreChoice()
{
    QVERIFY(Configuration::getBundleResourcesPath().endsWith(QStringLiteral(".app/Contents/Resources/")));
    QFile::remove(iniPath());

    // No "Configuration.ini": the native per-user store.
    Configuration::initialize();
    QSettings* settings = Configuration::pointerSettings;
    QVERIFY(settings != nullptr);
    QCOMPARE(settings->format(), QSettings::NativeFormat);
    settings->setValue(QStringLiteral("IsApplicationAutoLockingEnabled"), true);
    const QString nativePath = settings->fileName();
    QVERIFY(nativePath.startsWith(QDir::homePath()));
    Configuration::uninitialize();
    QVERIFY(Configuration::pointerSettings == nullptr);
    QFile nativeFile(nativePath);
    QVERIFY(nativeFile.open(QIODevice::ReadOnly));
    const QByteArray nativeContent = nativeFile.readAll();
    nativeFile.close();
    QVERIFY(nativeContent.contains("IsApplicationAutoLockingEnabled=true"));

    // With the file: every setting is read from and written to it; the native store is untouched.
    QFile ini(iniPath());
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(
        "[General]\nIsNewApplicationVersionCheckEnabled=false\nApplicationAutoLockingDelayMinutes=12\n");
    ini.close();
    Configuration::initialize();
    settings = Configuration::pointerSettings;
    QCOMPARE(settings->format(), QSettings::IniFormat);
    QCOMPARE(QFileInfo(settings->fileName()).canonicalFilePath(), QFileInfo(iniPath()).canonicalFilePath());
    QCOMPARE(settings->value(QStringLiteral("IsNewApplicationVersionCheckEnabled"), true).toBool(), false);
    QCOMPARE(settings->value(QStringLiteral("ApplicationAutoLockingDelayMinutes")).toInt(), 12);
    QVERIFY(!settings->contains(QStringLiteral("IsApplicationAutoLockingEnabled")));
    settings->setValue(QStringLiteral("IsFirstRun"), false);
    Configuration::uninitialize();
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(ini.readAll().contains("IsFirstRun=false"));
    ini.close();
    QVERIFY(nativeFile.open(QIODevice::ReadOnly));
    QCOMPARE(nativeFile.readAll(), nativeContent);
    nativeFile.close();

    // A malformed file still selects the INI store and yields the defaults, without a message.
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("\x01\xff[[[=\n=garbage\n[General\nIsFirstRun\n");
    ini.close();
    Configuration::initialize();
    QCOMPARE(Configuration::pointerSettings->format(), QSettings::IniFormat);
    QCOMPARE(
        Configuration::pointerSettings->value(QStringLiteral("IsNewApplicationVersionCheckEnabled"), true)
            .toBool(),
        true);
}

void TestStartup::languageChoice()
{
    const QString qtFrench = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qt_fr.qm");

    // French: "fr", the application catalogue, and Qt's own French catalogue when installed.
    const QStringList french = probeLanguage(QStringLiteral("fr_FR.UTF-8"));
    QCOMPARE(french.size(), 4);
    QCOMPARE(french.at(0), QString::number(QLocale::French));
    QCOMPARE(french.at(1), QStringLiteral("fr"));
    QCOMPARE(french.at(2), QStringLiteral("Bienvenue !"));
    if (QFile::exists(qtFrench))
        QCOMPARE(french.at(3), qtFrench);

    // German: any language but French is "en", and the texts stay in English.
    const QStringList german = probeLanguage(QStringLiteral("de_DE.UTF-8"));
    QCOMPARE(german.size(), 4);
    QCOMPARE(german.at(0), QString::number(QLocale::German));
    QCOMPARE(german.at(1), QStringLiteral("en"));
    QCOMPARE(german.at(2), QStringLiteral("Welcome!"));

    const QStringList english = probeLanguage(QStringLiteral("en_US.UTF-8"));
    QCOMPARE(english.size(), 4);
    QCOMPARE(english.at(1), QStringLiteral("en"));
    QCOMPARE(english.at(2), QStringLiteral("Welcome!"));
}

void TestStartup::firstRunPromptAndHelpViewer()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    Configuration::pointerSettings =
        new QSettings(directory.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    QProcess& viewer = HelpViewer::process();
    QCOMPARE(viewer.state(), QProcess::NotRunning);

    // First run: the "Welcome" question; "Yes" opens the getting-started page.
    QString title;
    TestSupport::answerNextModal(
        [&title](QWidget* modal)
        {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box == nullptr)
                return;
            title = box->windowTitle();
            box->button(QMessageBox::Yes)->click();
        });
    FirstRunPrompt::showIfNeeded(nullptr);
    QCOMPARE(title, QStringLiteral("Welcome"));
    QCOMPARE(Configuration::pointerSettings->value(QStringLiteral("IsFirstRun")).toBool(), false);
    QVERIFY(viewer.state() != QProcess::NotRunning);
    QVERIFY(
        viewer.program().endsWith(QStringLiteral("Resources/Help_Viewer.app/Contents/MacOS/Help_Viewer")));
    QCOMPARE(viewer.arguments(), QStringList({QStringLiteral("/en"), QStringLiteral("index.html"),
                                              QStringLiteral("getting_started_description.html")}));
    QStringList seen;
    QVERIFY2(waitForPageShown(viewer, QStringLiteral("getting_started_description.html"), seen),
             qPrintable(seen.join(QLatin1Char(','))));

    // A second page goes to the running viewer through its standard input, no second process.
    const qint64 processId = viewer.processId();
    HelpViewer::display(QStringLiteral("import_csv_file.html"));
    QCOMPARE(viewer.processId(), processId);
    QVERIFY2(waitForPageShown(viewer, QStringLiteral("import_csv_file.html"), seen),
             qPrintable(seen.join(QLatin1Char(','))));
    HelpViewer::display(QStringLiteral("master_password_selection_guide.html"));
    QVERIFY2(waitForPageShown(viewer, QStringLiteral("master_password_selection_guide.html"), seen),
             qPrintable(seen.join(QLatin1Char(','))));
    viewer.kill();
    viewer.waitForFinished(5000);

    // A bundle without its help viewer: asking for help silently does nothing.
    const QString viewerPath = viewer.program();
    const QString hiddenPath = viewerPath + QStringLiteral(".hidden");
    QVERIFY(QFile::rename(viewerPath, hiddenPath));
    HelpViewer::display(QStringLiteral("index.html"));
    QTRY_COMPARE(viewer.state(), QProcess::NotRunning);
    HelpViewer::display(QStringLiteral("index.html"));
    QTRY_COMPARE(viewer.state(), QProcess::NotRunning);
    QVERIFY(QFile::rename(hiddenPath, viewerPath));

    // Never asked again.
    bool isAskedAgain = false;
    TestSupport::answerNextModal(
        [&isAskedAgain](QWidget* modal)
        {
            isAskedAgain = true;
            modal->close();
        },
        500);
    FirstRunPrompt::showIfNeeded(nullptr);
    QTest::qWait(600);
    QVERIFY(!isAskedAgain);
    QCOMPARE(viewer.state(), QProcess::NotRunning);
}

int main(int argc, char* argv[])
{
    if (argc > 1 && std::strcmp(argv[1], LANGUAGE_PROBE_ARGUMENT) == 0)
        return runLanguageProbe(argc, argv);
    QApplication application(argc, argv);
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
