#include "HelpViewerWindow.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

#include <unistd.h>

HelpViewerWindow::HelpViewerWindow(const QString& language, const QString& homePage, QWidget* parent)
    : QMainWindow(parent), _language(language), _homePage(homePage), _browser(new QTextBrowser(this))
{
    setWindowTitle(tr("Pavisor Key Manager Help"));
    resize(900, 700);
    _browser->setOpenExternalLinks(true);
    _browser->setSearchPaths({QStringLiteral(":/help/") + _language});
    setCentralWidget(_browser);

    QToolBar* toolBar = addToolBar(tr("Navigation"));
    toolBar->setMovable(false);
    toolBar->addAction(tr("Back"), _browser, &QTextBrowser::backward);
    toolBar->addAction(tr("Forward"), _browser, &QTextBrowser::forward);
    toolBar->addAction(tr("Contents"), this, [this]() { showPage(_homePage); });
    connect(_browser, &QTextBrowser::sourceChanged, this,
            [this](const QUrl& url)
            {
                setWindowTitle(_browser->documentTitle());
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
