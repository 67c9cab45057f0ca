// Inactivity lock, clipboard clearing, update check, close guard, settings, help and about.
#include "FormContentEditor.h"
#include "ui_FormContentEditor.h"

void FormContentEditor::_initializeLock() {}
