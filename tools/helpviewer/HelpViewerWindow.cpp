#include "HelpViewerWindow.h"

#include <QAction>
#include <QFile>
#include <QSocketNotifier>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>

#include <unistd.h>

namespace
{
// The viewer loads no translation catalogue: its own few texts follow the language it was
// started with, like the pages it shows.
QString localized(const QString& language, const char* english, const char* french)
{
    return QString::fromUtf8(language == QLatin1String("fr") ? french : english);
}
} // namespace

HelpViewerWindow::HelpViewerWindow(const QString& language, const QString& homePage, QWidget* parent)
    : QMainWindow(parent), _language(language), _homePage(homePage), _browser(new QTextBrowser(this))
{
    const QString helpTitle = localized(_language, "Pavisor Key Manager Help", "Aide de Pavisor Key Manager");
    setWindowTitle(helpTitle);
    resize(900, 700);
    _browser->setOpenExternalLinks(true);
    _browser->setSearchPaths({QStringLiteral(":/help/") + _language});
    // One style for every page, kept out of the pages themselves.
    QFile styleSheet(QStringLiteral(":/help/help.css"));
    if (styleSheet.open(QIODevice::ReadOnly))
        _browser->document()->setDefaultStyleSheet(QString::fromUtf8(styleSheet.readAll()));
    setCentralWidget(_browser);

    QToolBar* toolBar = addToolBar(localized(_language, "Navigation", "Navigation"));
    toolBar->setMovable(false);
    QAction* backAction =
        toolBar->addAction(localized(_language, "Back", "Précédent"), _browser, &QTextBrowser::backward);
    QAction* forwardAction =
        toolBar->addAction(localized(_language, "Forward", "Suivant"), _browser, &QTextBrowser::forward);
    toolBar->addAction(localized(_language, "Contents", "Sommaire"), this, [this]() { showPage(_homePage); });
    backAction->setEnabled(false);
    forwardAction->setEnabled(false);
    connect(_browser, &QTextBrowser::backwardAvailable, backAction, &QAction::setEnabled);
    connect(_browser, &QTextBrowser::forwardAvailable, forwardAction, &QAction::setEnabled);
    connect(_browser, &QTextBrowser::sourceChanged, this,
            [this, helpTitle](const QUrl& url)
            {
                const QString pageTitle = _browser->documentTitle();
                setWindowTitle(pageTitle.isEmpty() || pageTitle == helpTitle
                                   ? helpTitle
                                   : pageTitle + QStringLiteral(" - ") + helpTitle);
                emit pageShown(url.fileName());
            });

    _standardInputNotifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(_standardInputNotifier, &QSocketNotifier::activated, this,
            &HelpViewerWindow::_slotStandardInputReadable);
}

void HelpViewerWindow::showPage(const QString& pageName)
{
    // Only plain file names are served: the application never sends a path.
    QString name = pageName.trimmed();
    if (name.isEmpty() || name.contains(QLatin1Char('/')) ||
        !QFile::exists(QStringLiteral(":/help/") + _language + QStringLiteral("/") + name))
        name = _homePage;
    _browser->setSource(QUrl(QStringLiteral("qrc:/help/") + _language + QStringLiteral("/") + name));
    raise();
    activateWindow();
}

QString HelpViewerWindow::currentPage() const
{
    return _browser->source().fileName();
}

void HelpViewerWindow::_slotStandardInputReadable()
{
    char buffer[1024];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof(buffer));
    if (count <= 0)
    {
        // The application is gone: keep showing help, but stop listening.
        _standardInputNotifier->setEnabled(false);
        return;
    }
    _pendingInput.append(buffer, static_cast<int>(count));
    int end;
    while ((end = _pendingInput.indexOf('\n')) >= 0)
    {
        const QString page = QString::fromLatin1(_pendingInput.left(end));
        _pendingInput.remove(0, end + 1);
        showPage(page);
    }
}
