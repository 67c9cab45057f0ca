// The French catalogue must cover every text of the code, finished, and load from the resources.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void catalogueCoversEveryText();
    void compiledCatalogueTranslatesTheUserInterface();
};

void TestTranslations::catalogueCoversEveryText()
{
    // Merge the current sources into a copy of the catalogue: any text of the code missing from
    // it, or present without a translation, comes out as "unfinished".
    QTemporaryDir temporaryDirectory;
    QVERIFY(temporaryDirectory.isValid());
    const QString copy = temporaryDirectory.filePath(QStringLiteral("fr.ts"));
    QVERIFY(QFile::copy(QStringLiteral(PAVISOR_SOURCE_DIR "/translations/fr.ts"), copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);

    QStringList arguments;
    for (const char* directory : {"app", "device", "security", "data", "editor", "views"})
        arguments << QStringLiteral(PAVISOR_SOURCE_DIR "/") + QLatin1String(directory);
    arguments << QStringLiteral("-no-obsolete") << QStringLiteral("-locations") << QStringLiteral("none")
              << QStringLiteral("-silent") << QStringLiteral("-ts") << copy;
    QProcess lupdate;
    lupdate.start(QStringLiteral(PAVISOR_LUPDATE), arguments);
    QVERIFY2(lupdate.waitForFinished(120000), "lupdate did not finish");
    QCOMPARE(lupdate.exitCode(), 0);

    QFile file(copy);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(file.readAll());

    // Name the offending texts so the failure says what to translate.
    static const QRegularExpression message(
        QStringLiteral("<source>(.*?)</source>(?:(?!</message>).)*?<translation type=\"unfinished\""),
        QRegularExpression::DotMatchesEverythingOption);
    QStringList missing;
    for (auto it = message.globalMatch(content); it.hasNext();)
        missing << it.next().captured(1);
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("untranslated: ") + missing.join(QStringLiteral(" | "))));
    QVERIFY(content.count(QStringLiteral("<message")) > 0);
}

void TestTranslations::compiledCatalogueTranslatesTheUserInterface()
{
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/Translations/fr.qm")));
    QCOMPARE(translator.translate("FormContentEditor", "Welcome!"), QStringLiteral("Bienvenue !"));
    QCOMPARE(translator.translate("FormContentEditor", "File"), QStringLiteral("Fichier"));
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
