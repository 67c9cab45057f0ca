#ifndef VIEWCONTENTINSERTWRITINGMASTERPASSWORD_H
#define VIEWCONTENTINSERTWRITINGMASTERPASSWORD_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentInsertWritingMasterPassword;
}

// Asks for a new master password before data is written: typed twice, with its strength rated.
// The page neither checks nor keeps the password; the main window's slot takes it from the signal.
class ViewContentInsertWritingMasterPassword : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentInsertWritingMasterPassword(QWidget* parent = nullptr);
    ~ViewContentInsertWritingMasterPassword() override;

    void enterView() override;
    void exitView() override;

signals:
    // True and the first field's text on OK; false and an empty text on Cancel. Sent once the page
    // has left the view stack.
    void insertionFinished(bool isAccepted, QString password);

private:
    Ui::ViewContentInsertWritingMasterPassword* ui;

    void _displayPasswordStrength();

private slots:
    void _slotLineEditTextChanged(const QString& text);
    void _slotPushButtonOkClicked(bool isChecked);
    void _slotPushButtonCancelClicked(bool isChecked);
    void _slotPushButtonShowClicked(bool isChecked);
    void _slotLabelHelpLinkActivated(const QString& link);
};

#endif
