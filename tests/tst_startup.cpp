// Start-up pieces: the settings store choice, the language choice and its catalogues, the
// first-run prompt and the help viewer. This test runs from a bundle-shaped folder of its own, and
// a copy of it from an installed-shaped one.
#include "Configuration.h"
#include "FirstRunPrompt.h"
#include "HelpViewer.h"
#include "TestSupport.h"
#include "Translations.h"

#include <QtTest>
#include <QtWidgets>

#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

namespace
{
const char* const LANGUAGE_PROBE_ARGUMENT = "--language-probe";
const char* const HELP_PROBE_ARGUMENT = "--help-probe";

QString iniPath()
{
    return Configuration::getBundleResourcesPath() + u"Configuration.ini"_s;
}

// Runs this executable as a child with another system locale and returns what it printed.
QStringList probeLanguage(const QString& locale)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"LC_ALL"_s, locale);
    environment.insert(u"LANG"_s, locale);
    environment.remove(u"LANGUAGE"_s);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(LANGUAGE_PROBE_ARGUMENT)});
    if (!child.waitForFinished(30000))
        return {};
    return QString::fromUtf8(child.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

// The child side: the language values and one translated text of each catalogue.
int runLanguageProbe(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    Configuration::initialize();
    QTranslator qtTranslator, applicationTranslator;
    Translations::install(qtTranslator, applicationTranslator);
    const QStringList lines = {
        QString::number(Configuration::getSystemLanguageId()), Configuration::getSystemLanguageString(),
        QCoreApplication::translate("FormContentEditor", "Welcome!"), qtTranslator.filePath()};
    std::puts(lines.join(u'\n').toUtf8().constData());
    Configuration::uninitialize();
    return 0;
}

// The child side of installedLayout(): asks for a help page, then prints the viewer program, the
// resources folder and the first page the viewer shows.
int runHelpProbe(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QProcess& viewer = HelpViewer::process();
    HelpViewer::display(u"opening_device.html"_s);
    QByteArray shown;
    QDeadlineTimer deadline(20000);
    while (!shown.contains('\n') && viewer.state() != QProcess::NotRunning && !deadline.hasExpired())
    {
        viewer.waitForReadyRead(100);
        shown += viewer.readAllStandardOutput();
    }
    const QStringList lines = {viewer.program(), Configuration::getBundleResourcesPath(),
                               QString::fromUtf8(shown.left(shown.indexOf('\n')))};
    std::puts(lines.join(u'\n').toUtf8().constData());
    viewer.kill();
    viewer.waitForFinished(5000);
    return 0;
}
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        HelpViewer::process().kill();
        HelpViewer::process().waitForFinished(5000);
        Configuration::uninitialize();
        QFile::remove(iniPath());
    }

    void settingsStoreChoice()
    {
        QVERIFY(Configuration::getBundleResourcesPath().endsWith(u".app/Contents/Resources/"_s));
        const auto content = [](const QString& path)
        {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };

        // No "Configuration.ini": the native per-user store of "Pavisor Key Manager", written when released.
        QFile::remove(iniPath());
        Configuration::initialize();
        QSettings* settings = Configuration::pointerSettings;
        QCOMPARE(settings->format(), QSettings::NativeFormat);
        settings->setValue(u"IsApplicationAutoLockingEnabled"_s, true);
        const QString nativePath = settings->fileName();
        QVERIFY(nativePath.startsWith(QDir::homePath()) && nativePath.contains(u"Pavisor Key Manager"_s));
        Configuration::uninitialize();
        const QByteArray nativeContent = content(nativePath);
        QVERIFY(Configuration::pointerSettings == nullptr &&
                nativeContent.contains("IsApplicationAutoLockingEnabled=true"));

        // With the file: every setting is read from and written to it; the native store is untouched.
        QFile ini(iniPath());
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(
            "[General]\nIsNewApplicationVersionCheckEnabled=false\nApplicationAutoLockingDelayMinutes=12\n");
        ini.close();
        Configuration::initialize();
        settings = Configuration::pointerSettings;
        QCOMPARE(settings->format(), QSettings::IniFormat);
        QCOMPARE(QFileInfo(settings->fileName()).canonicalFilePath(),
                 QFileInfo(iniPath()).canonicalFilePath());
        QCOMPARE(settings->value(u"IsNewApplicationVersionCheckEnabled"_s, true).toBool(), false);
        QCOMPARE(settings->value(u"ApplicationAutoLockingDelayMinutes"_s).toInt(), 12);
        QVERIFY(!settings->contains(u"IsApplicationAutoLockingEnabled"_s));
        settings->setValue(u"IsFirstRun"_s, false);
        Configuration::uninitialize();
        QVERIFY(content(iniPath()).contains("IsFirstRun=false"));
        QCOMPARE(content(nativePath), nativeContent);
    }

    void languageChoice()
    {
        // French is "fr" with both French catalogues; any other language is "en" with English texts, and
        // Qt's catalogue of "en" is still tried, for German as for English.
        const QString qtCatalogue = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u"/qt_%1.qm"_s;
        const QList<QStringList> cases = {{u"fr_FR.UTF-8"_s, QString::number(QLocale::French), u"fr"_s,
                                           u"Bienvenue !"_s, qtCatalogue.arg("fr")},
                                          {u"de_DE.UTF-8"_s, QString::number(QLocale::German), u"en"_s,
                                           u"Welcome!"_s, qtCatalogue.arg("en")},
                                          {u"en_US.UTF-8"_s, QString::number(QLocale::English), u"en"_s,
                                           u"Welcome!"_s, qtCatalogue.arg("en")}};
        for (const QStringList& expected : cases)
            QCOMPARE(probeLanguage(expected.first()), expected.mid(1));
    }

    void firstRunPromptAndHelpViewer()
    {
        QTemporaryDir directory;
        QVERIFY(directory.isValid());
        QSettings* settings = Configuration::pointerSettings =
            new QSettings(directory.filePath(u"settings.ini"_s), QSettings::IniFormat);
        QProcess& viewer = HelpViewer::process();
        QCOMPARE(viewer.state(), QProcess::NotRunning);

        // Each prompt shown is noted with its title, whether it is an information box and whether Yes is
        // its default button, then answered.
        QStringList prompts;
        const auto prompt = [&prompts](QMessageBox::StandardButton answer, int timeoutMs)
        {
            TestSupport::answerNextModal(
                [&prompts, answer](QWidget* modal)
                {
                    auto* box = qobject_cast<QMessageBox*>(modal);
                    if (box == nullptr)
                    {
                        modal->close();
                        return;
                    }
                    prompts << u"%1 %2 %3"_s.arg(box->windowTitle())
                                   .arg(box->icon() == QMessageBox::Information)
                                   .arg(box->standardButton(box->defaultButton()) == QMessageBox::Yes);
                    box->button(answer)->click();
                },
                timeoutMs);
            FirstRunPrompt::showIfNeeded(nullptr);
        };

        // First run: "No" opens no help, and the prompt never comes back.
        prompt(QMessageBox::No, 5000);
        QCOMPARE(prompts, QStringList({u"Welcome 1 1"_s}));
        QCOMPARE(settings->value(u"IsFirstRun"_s), QVariant(false));
        prompt(QMessageBox::No, 500);
        QTest::qWait(600);
        QCOMPARE(prompts.size(), 1);
        QCOMPARE(viewer.state(), QProcess::NotRunning);

        // "Yes" opens the getting-started page.
        settings->setValue(u"IsFirstRun"_s, true);
        prompt(QMessageBox::Yes, 5000);
        QCOMPARE(prompts.size(), 2);
        QCOMPARE(settings->value(u"IsFirstRun"_s), QVariant(false));
        QVERIFY(viewer.state() != QProcess::NotRunning);
        QVERIFY(viewer.program().endsWith(u"Resources/Help_Viewer.app/Contents/MacOS/Help_Viewer"_s));
        QCOMPARE(viewer.arguments(),
                 QStringList({u"/en"_s, u"index.html"_s, u"getting_started_description.html"_s}));
        // The viewer prints each page it shows on a line of its own.
        QString shown;
        const auto isShown = [&viewer, &shown](const QString& page)
        {
            shown += QString::fromUtf8(viewer.readAllStandardOutput());
            return shown.split(u'\n').contains(page);
        };
        QTRY_VERIFY_WITH_TIMEOUT(isShown(u"getting_started_description.html"_s), 20000);

        // Further pages go to the running viewer through its standard input, no second process.
        const qint64 processId = viewer.processId();
        for (const QString& page : {u"import_csv_file.html"_s, u"master_password_selection_guide.html"_s})
        {
            HelpViewer::display(page);
            QTRY_VERIFY_WITH_TIMEOUT(isShown(page), 20000);
        }
        QCOMPARE(viewer.processId(), processId);
        viewer.kill();
        viewer.waitForFinished(5000);

        // A bundle without its help viewer: asking for help silently does nothing.
        const QString viewerPath = viewer.program(), hiddenPath = viewerPath + u".hidden"_s;
        QVERIFY(QFile::rename(viewerPath, hiddenPath));
        HelpViewer::display(u"index.html"_s);
        QTRY_COMPARE(viewer.state(), QProcess::NotRunning);
        HelpViewer::display(u"index.html"_s);
        QTRY_COMPARE(viewer.state(), QProcess::NotRunning);
        QVERIFY(QFile::rename(hiddenPath, viewerPath));
    }

    // Installed in a prefix, the application is "<prefix>/bin/pavisor-key-manager" and finds its help
    // viewer where the install rules put it.
    void installedLayout()
    {
        QTemporaryDir prefix;
        QVERIFY(prefix.isValid());
        const QString bin = prefix.filePath(u"bin"_s);
        const QString helperDir = QDir::cleanPath(bin + u"/"_s + QStringLiteral(PAVISOR_HELPER_DIR_FROM_BIN));
        const QString application = bin + u"/pavisor-key-manager"_s;
        QVERIFY(QDir().mkpath(bin) && QDir().mkpath(helperDir));
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), application));
        QVERIFY(QFile::link(QStringLiteral(PAVISOR_HELP_VIEWER), helperDir + u"/Help_Viewer"_s));

        QProcess child;
        child.start(application, {QString::fromLatin1(HELP_PROBE_ARGUMENT)});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts),
                 QStringList({helperDir + u"/Help_Viewer"_s, helperDir + u"/"_s, u"opening_device.html"_s}));
    }
};

int main(int argc, char* argv[])
{
    if (argc > 1 && std::strcmp(argv[1], LANGUAGE_PROBE_ARGUMENT) == 0)
        return runLanguageProbe(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], HELP_PROBE_ARGUMENT) == 0)
        return runHelpProbe(argc, argv);
    QApplication application(argc, argv);
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
