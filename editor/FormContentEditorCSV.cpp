// CSV import and export of the main window.
#include "FormContentEditor.h"
#include "ui_FormContentEditor.h"

void FormContentEditor::_initializeCSV() {}
