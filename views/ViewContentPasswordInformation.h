#ifndef VIEWCONTENTPASSWORDINFORMATION_H
#define VIEWCONTENTPASSWORDINFORMATION_H

#include "PasswordTable.h"
#include "ViewContentBase.h"

#include <QTimer>

namespace Ui
{
class ViewContentPasswordInformation;
}

// The page on which one record of the current tab is created or edited. It never changes the record
// it was given: the result leaves through passwordModified() as a new record.
class ViewContentPasswordInformation : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentPasswordInformation(QWidget* parent = nullptr);
    ~ViewContentPasswordInformation() override;

    // A null record creates one (row -1); otherwise the record at `passwordIndex` of the current table
    // is edited, with the field of the table's current column focused.
    void setPassword(PasswordTable::Password* pointerPassword, int passwordIndex,
                     PasswordTable::PasswordDataId focusedDataId);

    void enterView() override;
    void exitView() override;
    void maskSecrets() override;

signals:
    // The receiver owns the record.
    void passwordModified(PasswordTable::Password* pointerPassword, int passwordToReplaceIndex);
    void dataCopied();

private:
    Ui::ViewContentPasswordInformation* ui;
    // A copy of the record being edited (five empty texts when creating): what Save compares against.
    PasswordTable::Password _password;
    int _passwordIndex = -1;
    PasswordTable::PasswordDataId _focusedDataId = PasswordTable::PASSWORD_DATA_ID_NAME;
    // Set while the note is being cleaned, whose removals change the text again.
    bool _isNoteBeingCleaned = false;
    // A password shown in clear text is masked again after this.
    QTimer _timerMaskPassword;
    // What the field held before Generate replaced it, until the user edits the field or leaves.
    QString _passwordBeforeGeneration;
    bool _isGenerationUndoable = false;
    void _forgetPasswordBeforeGeneration();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void _updateControls();
    // The record as Save would hand it over.
    void _getEditedPassword(PasswordTable::Password* pointerPassword);
    void _updateGenerationControls();
    void _loadGenerationSettings();
    void _storeGenerationSettings();

private slots:
    void _slotPushButtonShowPasswordClicked();
    void _slotPushButtonCopyPasswordClicked(bool);
    void _slotPushButtonGeneratePasswordClicked(bool);
    void _slotPushButtonSaveClicked(bool);
    void _slotPushButtonCancelClicked(bool);
    void _slotLineEditsTextEdited(const QString&);
    void _slotTextEditNoteTextChanged();
    void _slotComboBoxPasswordGenerationModeCurrentIndexChanged(int);
    void _slotCheckBoxAdvancedPasswordGenerationStateChanged(int);
    void _slotSpinBoxCharactersCountValueChanged(int);
    void _slotLabelHelpLinkActivated(const QString& link);
};

#endif
