#include "Configuration.h"
#include "FirstRunPrompt.h"
#include "FormContentEditor.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

int main(int argc, char* argv[])
{
    auto* application = new QApplication(argc, argv);
    Configuration::initialize();

    // Qt's own catalogue is tried for English too; only installed when it loads.
    auto* qtTranslator = new QTranslator();
    if (qtTranslator->load(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qt_") +
                           Configuration::getSystemLanguageString() + QStringLiteral(".qm")))
        QApplication::installTranslator(qtTranslator);

    // English systems need no catalogue; other non-French systems ask for "en", which the bundle
    // does not hold, so their texts stay in English.
    auto* applicationTranslator = new QTranslator();
    if (Configuration::getSystemLanguageId() != QLocale::English &&
        applicationTranslator->load(QStringLiteral(":/Translations/") + Configuration::getSystemLanguageString() +
                                    QStringLiteral(".qm")))
        QApplication::installTranslator(applicationTranslator);

    auto* formContentEditor = new FormContentEditor();
    pointerFormContentEditor = formContentEditor;
    formContentEditor->showMaximized();
    application->installEventFilter(formContentEditor);

    // Asked once the window is on screen, before the user can act on the start menu.
    QTimer::singleShot(0, formContentEditor, [formContentEditor]() { FirstRunPrompt::showIfNeeded(formContentEditor); });

    const int result = QApplication::exec();

    Configuration::uninitialize();
    delete formContentEditor;
    pointerFormContentEditor = nullptr;
    delete applicationTranslator;
    delete qtTranslator;
    delete application;
    return result;
}
