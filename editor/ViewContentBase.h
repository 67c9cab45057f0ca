#ifndef VIEWCONTENTBASE_H
#define VIEWCONTENTBASE_H

#include <QWidget>

class QKeyEvent;
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
    // Return clicks the focused push button, or else the page's default button; Escape clicks the
    // page's cancelling button (see escapeButton()). Keys a child used never arrive here.
    void keyPressEvent(QKeyEvent* event) override;
    // The button Escape clicks: by default the visible Cancel (or Exit, or No) button, or the only
    // visible button of the page; none on a page that cannot be left that way.
    virtual QPushButton* escapeButton() const;

    // The Show/Hide button of a password field: flips the field between masked and clear, and the
    // button's text to what the next click will do.
    static void togglePasswordVisibility(QLineEdit* field, QPushButton* button);
    // Back to masked, the button offering to show it.
    static void maskPasswordField(QLineEdit* field, QPushButton* button);
};

#endif
