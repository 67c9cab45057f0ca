#ifndef PASSWORDTABWIDGET_H
#define PASSWORDTABWIDGET_H

#include <QTabWidget>

// The editor's tab widget. Qt lays out its whole tab bar again on every tab inserted, measuring
// every tab's text with the style: loading a store of a thousand tabs spent most of its time there.
// Between beginTabInsertions() and endTabInsertions() the tab bar skips those measurements; the
// widget must stay hidden meanwhile, and the real layout is done once at the end.
class PasswordTabWidget : public QTabWidget
{
    Q_OBJECT

public:
    explicit PasswordTabWidget(QWidget* parent = nullptr);

    void beginTabInsertions();
    void endTabInsertions();
};

#endif
