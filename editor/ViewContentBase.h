#ifndef VIEWCONTENTBASE_H
#define VIEWCONTENTBASE_H

#include <QWidget>

// A full-window page of the view stack. Pages live as long as the main window and are entered
// and exited many times, so each resets what it needs in enterView().
class ViewContentBase : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    virtual void enterView() = 0;
    virtual void exitView() {}
};

#endif
