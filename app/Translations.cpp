#include "Translations.h"

#include "Configuration.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

void Translations::install(QTranslator& qtTranslator, QTranslator& applicationTranslator)
{
    const QString language = Configuration::getSystemLanguageString();

    // Qt's own catalogue is tried for English too.
    if (qtTranslator.load(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qt_") +
                          language + QStringLiteral(".qm")))
        QCoreApplication::installTranslator(&qtTranslator);

    // English systems need no catalogue; other non-French systems ask for "en", which the bundle
    // does not hold, so their texts stay in English.
    if (Configuration::getSystemLanguageId() != QLocale::English &&
        applicationTranslator.load(QStringLiteral(":/Translations/") + language + QStringLiteral(".qm")))
        QCoreApplication::installTranslator(&applicationTranslator);
}
