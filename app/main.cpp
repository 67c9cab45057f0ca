#include "Configuration.h"
#include "FirstRunPrompt.h"
#include "FormContentEditor.h"
#include "StyleSheet.h"
#include "Translations.h"

#include <QApplication>
#include <QTimer>
#include <QTranslator>

int main(int argc, char* argv[])
{
    auto* application = new QApplication(argc, argv);
    // Lets Wayland compositors and docks match the window with the installed menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(PAVISOR_APPLICATION_ID));
    Configuration::initialize();
    StyleSheet::install(application);

    auto* qtTranslator = new QTranslator();
    auto* applicationTranslator = new QTranslator();
    Translations::install(*qtTranslator, *applicationTranslator);

    auto* formContentEditor = new FormContentEditor();
    // Set before the event loop: the start menu reaches the main window through it.
    pointerFormContentEditor = formContentEditor;
    formContentEditor->showMaximized();
    // The main window sees every input event of every window (inactivity tracking).
    application->installEventFilter(formContentEditor);

    // Asked once the window is on screen, before the user can act on the start menu.
    QTimer::singleShot(0, formContentEditor,
                       [formContentEditor]() { FirstRunPrompt::showIfNeeded(formContentEditor); });

    const int result = QApplication::exec();

    Configuration::uninitialize();
    delete formContentEditor;
    pointerFormContentEditor = nullptr;
    delete applicationTranslator;
    delete qtTranslator;
    delete application;
    return result;
}
