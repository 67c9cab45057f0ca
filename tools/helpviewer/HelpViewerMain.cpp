#include "HelpViewerWindow.h"

#include <QApplication>

#include <cstdio>

// Arguments, as the application passes them: "/" + language ("/en" or "/fr"), the home page
// ("index.html"), then the page to show first.
int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();

    QString language = arguments.value(1, QStringLiteral("/en")).mid(1);
    if (language != QLatin1String("fr"))
        language = QStringLiteral("en");
    const QString homePage = arguments.value(2, QStringLiteral("index.html"));
    const QString firstPage = arguments.value(3, homePage);

    HelpViewerWindow window(language, homePage);
    // Each page shown is announced on standard output, one name a line, so a caller can follow.
    QObject::connect(&window, &HelpViewerWindow::pageShown,
                     [](const QString& page)
                     {
                         std::fputs(qPrintable(page + QLatin1Char('\n')), stdout);
                         std::fflush(stdout);
                     });
    window.showPage(firstPage);
    window.show();
    return QApplication::exec();
}
