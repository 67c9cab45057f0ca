#ifndef HELPVIEWERWINDOW_H
#define HELPVIEWERWINDOW_H

#include <QMainWindow>

class QSocketNotifier;
class QTextBrowser;

// The help window: shows the bundled pages of one language and follows page requests that the
// application writes, one name per line, on standard input.
class HelpViewerWindow : public QMainWindow
{
    Q_OBJECT

public:
    HelpViewerWindow(const QString& language, const QString& homePage, QWidget* parent = nullptr);

    // Shows a page by file name; an unknown name falls back to the home page.
    void showPage(const QString& pageName);
    QString currentPage() const;

signals:
    void pageShown(const QString& pageName);

private:
    QString _language;
    QString _homePage;
    QTextBrowser* _browser;
    QSocketNotifier* _standardInputNotifier = nullptr;
    QByteArray _pendingInput;

    void _slotStandardInputReadable();
};

#endif
