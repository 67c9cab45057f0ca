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

    // Tab names as the user typed them. The tab bar shows each with "&" doubled, which it would
    // otherwise take for the mark of a keyboard shortcut and hide.
    int addNamedTab(QWidget* page, const QString& name);
    QString tabName(int index) const;
    void setTabName(int index, const QString& name);
};

#endif
