#ifndef VIEWCONTENTINSERTREADINGMASTERPASSWORD_H
#define VIEWCONTENTINSERTREADINGMASTERPASSWORD_H

#include "ViewContentBase.h"

#include <QString>

namespace Ui
{
class ViewContentInsertReadingMasterPassword;
}

// Asks for the master password of the device about to be read. The page checks nothing: whether
// the password opens the device is known only once its memories are decrypted.
class ViewContentInsertReadingMasterPassword : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentInsertReadingMasterPassword(QWidget* parent = nullptr);
    ~ViewContentInsertReadingMasterPassword() override;

    void enterView() override;
    void exitView() override;
    void maskSecrets() override;
    // Says on the page why it is asked again (a password that did not open the device); entering
    // the page afresh hides it.
    void showError(const QString& text);

signals:
    // True and the typed password after OK; false and an empty text after Cancel. Emitted once the
    // page has left the view stack.
    void insertionFinished(bool isConfirmed, QString password);

private:
    Ui::ViewContentInsertReadingMasterPassword* ui;

private slots:
    void _slotPushButtonOkClicked(bool);
    void _slotPushButtonCancelClicked(bool);
    void _slotPushButtonShowClicked(bool);
    void _slotLineEditTextEdited(const QString& text);
};

#endif
