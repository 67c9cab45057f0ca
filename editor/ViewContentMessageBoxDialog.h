#ifndef VIEWCONTENTMESSAGEBOXDIALOG_H
#define VIEWCONTENTMESSAGEBOXDIALOG_H

#include "ViewContentBase.h"

#include <QMetaType>

namespace Ui
{
class ViewContentMessageBoxDialog;
}

// The in-window message box: an icon, a message and up to four buttons.
class ViewContentMessageBoxDialog : public ViewContentBase
{
    Q_OBJECT

public:
    enum Icon
    {
        ICON_SUCCESS,
        ICON_ERROR,
        ICON_INFORMATION,
        ICON_QUESTION
    };

    // Single bits, OR-ed together to make a button set.
    enum Button
    {
        BUTTON_OK = 1,
        BUTTON_YES = 2,
        BUTTON_NO = 4,
        BUTTON_CANCEL = 8
    };

    explicit ViewContentMessageBoxDialog(QWidget* parent = nullptr);
    ~ViewContentMessageBoxDialog() override;

    void enterView() override;
    // Each button gets its usual text back here.
    void setDialogContent(Icon icon, const QString& message, int buttons, Button defaultButton);
    // A text that says what the button does, for the message just set.
    void setButtonText(Button button, const QString& text);

signals:
    void dialogExited(ViewContentMessageBoxDialog::Button button);

private:
    Ui::ViewContentMessageBoxDialog* ui;
    QPushButton* _button(Button button) const;

    void _exit(Button button);

private slots:
    void _slotPushButtonOkClicked(bool);
    void _slotPushButtonYesClicked(bool);
    void _slotPushButtonNoClicked(bool);
    void _slotPushButtonCancelClicked(bool);
};

Q_DECLARE_METATYPE(ViewContentMessageBoxDialog::Button)

#endif
