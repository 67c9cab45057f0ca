#ifndef VIEWCONTENTBASE_H
#define VIEWCONTENTBASE_H

#include <QWidget>

class QLineEdit;
class QPushButton;

// A full-window page of the view stack. Pages live as long as the main window and are entered
// and exited many times, so each resets what it needs in enterView().
class ViewContentBase : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    virtual void enterView() = 0;
    virtual void exitView() {}
    // The application locks: a password this page shows in clear text is masked again.
    virtual void maskSecrets() {}

protected:
    // The Show/Hide button of a password field: flips the field between masked and clear, and the
    // button's text to what the next click will do.
    static void togglePasswordVisibility(QLineEdit* field, QPushButton* button);
    // Back to masked, the button offering to show it.
    static void maskPasswordField(QLineEdit* field, QPushButton* button);
};

#endif
