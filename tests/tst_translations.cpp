// The French catalogue must cover every text of the code, finished, and load from the resources.
#include "Security.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void catalogueCoversEveryText();
    void strengthWordsAreTranslated();
};

void TestTranslations::catalogueCoversEveryText()
{
    // Merge the current sources into a copy of the catalogue: any text of the code missing from
    // it, or present without a translation, comes out as "unfinished".
    QTemporaryDir temporaryDirectory;
    QVERIFY(temporaryDirectory.isValid());
    const QString copy = temporaryDirectory.filePath(u"fr.ts"_s);
    QVERIFY(QFile::copy(QStringLiteral(PAVISOR_SOURCE_DIR "/translations/fr.ts"), copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);

    QStringList arguments;
    for (const char* directory : {"app", "device", "security", "data", "editor", "views", "tools/cli"})
        arguments << QStringLiteral(PAVISOR_SOURCE_DIR "/") + QLatin1String(directory);
    arguments += {"-no-obsolete", "-locations", "none", "-silent", "-ts", copy};
    QProcess lupdate;
    lupdate.start(QStringLiteral(PAVISOR_LUPDATE), arguments);
    QVERIFY2(lupdate.waitForFinished(120000), "lupdate did not finish");
    QCOMPARE(lupdate.exitCode(), 0);

    QFile file(copy);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(file.readAll());

    // Name the offending texts so the failure says what to translate.
    static const QRegularExpression message(
        u"<source>([^<]*)</source>(?:(?!</message>).)*?<translation type=\"unfinished\""_s,
        QRegularExpression::DotMatchesEverythingOption);
    QStringList missing;
    for (auto it = message.globalMatch(content); it.hasNext();)
        missing << it.next().captured(1);
    QVERIFY2(missing.isEmpty(), qPrintable(u"untranslated: "_s + missing.join(u" | "_s)));
    QVERIFY(content.count(u"<message"_s) > 0);
}

// The strength words come from the security layer, which has no catalogue of its own: the
// application's installed translator must reach them (the ratings themselves are tst_security's).
void TestTranslations::strengthWordsAreTranslated()
{
    QTranslator translator;
    QVERIFY(translator.load(u":/Translations/fr.qm"_s));
    QVERIFY(QCoreApplication::installTranslator(&translator));
    QStringList words;
    for (const char* password : {"", "abcdefghi", "abcdefghijklm", "aB3#aB3#aB3", "aB3#aB3#aB3#aB3"})
        Security::computePasswordStrength(QString::fromLatin1(password), &words.emplace_back());
    QCOMPARE(words, QStringList({u"tr\u00e8s faible"_s, u"faible"_s, u"moyen"_s, u"bon"_s, u"excellent"_s}));
    QCoreApplication::removeTranslator(&translator);
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
