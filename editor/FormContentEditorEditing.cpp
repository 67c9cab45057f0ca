// Tabs, record editing, search and the unsaved-data state of the main window.
#include "FormContentEditor.h"
#include "ui_FormContentEditor.h"

void FormContentEditor::_initializeEditing() {}

void FormContentEditor::_setUnsavedDataPresent(bool isUnsavedDataPresent)
{
    _isUnsavedDataPresent = isUnsavedDataPresent;
}

void FormContentEditor::_updateUserInterfaceControls()
{
    _updateLockControls();
}

void FormContentEditor::_handleMessageBoxAnswerForEditing(ViewContentMessageBoxDialog::Button) {}
