#include "ViewContentPasswordInformation.h"
#include "ui_ViewContentPasswordInformation.h"

#include "WipeText.h"

#include "Configuration.h"
#include "FormContentEditor.h"
#include "HelpViewer.h"
#include "PasswordTablePasswordItem.h"
#include "SecretClipboard.h"
#include "Security.h"

#include <QKeyEvent>
#include <QTextCursor>
#include <QTextDocument>

#include <limits>

namespace
{
constexpr int GENERATION_MODE_AUTO = 0;
constexpr int GENERATION_MODE_ADVANCED = 1;
constexpr int AUTO_GENERATION_MINIMUM_LENGTH = 20;
constexpr int AUTO_GENERATION_MAXIMUM_LENGTH = 30;
} // namespace

ViewContentPasswordInformation::ViewContentPasswordInformation(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentPasswordInformation), _timerMaskPassword(this)
{
    ui->setupUi(this);
    // A line edit cuts its text at 32767 characters by default: a long key or certificate pasted in
    // a record must come back whole.
    for (QLineEdit* lineEdit :
         {ui->lineEditName, ui->lineEditLogin, ui->lineEditPassword, ui->lineEditWebSite})
        lineEdit->setMaxLength(std::numeric_limits<int>::max());
    // Loaded before the connections, so that restoring them does not write them back.
    _loadGenerationSettings();
    _updateGenerationControls();

    for (QLineEdit* lineEdit : {ui->lineEditName, ui->lineEditLogin, ui->lineEditWebSite})
        connect(lineEdit, &QLineEdit::textEdited, this,
                &ViewContentPasswordInformation::_slotLineEditsTextEdited);
    // textChanged: a generated password is counted and checked too.
    connect(ui->lineEditPassword, &QLineEdit::textChanged, this,
            &ViewContentPasswordInformation::_slotLineEditsTextEdited);
    connect(ui->textEditNote, &QPlainTextEdit::textChanged, this,
            &ViewContentPasswordInformation::_slotTextEditNoteTextChanged);
    connect(ui->comboBoxPasswordGenerationMode, &QComboBox::currentIndexChanged, this,
            &ViewContentPasswordInformation::_slotComboBoxPasswordGenerationModeCurrentIndexChanged);
    for (QCheckBox* checkBox : {ui->checkBoxLowercaseLetters, ui->checkBoxUppercaseLetters,
                                ui->checkBoxDigits, ui->checkBoxSymbols})
        connect(checkBox, &QCheckBox::stateChanged, this,
                &ViewContentPasswordInformation::_slotCheckBoxAdvancedPasswordGenerationStateChanged);
    connect(ui->spinBoxCharactersCount, &QSpinBox::valueChanged, this,
            &ViewContentPasswordInformation::_slotSpinBoxCharactersCountValueChanged);
    connect(ui->labelHelp, &QLabel::linkActivated, this,
            &ViewContentPasswordInformation::_slotLabelHelpLinkActivated);
    connect(ui->pushButtonShowPassword, &QPushButton::clicked, this,
            &ViewContentPasswordInformation::_slotPushButtonShowPasswordClicked);
    ui->lineEditPassword->installEventFilter(this);
    // Typing in the field makes its own undo history the one that counts.
    connect(ui->lineEditPassword, &QLineEdit::textEdited, this,
            &ViewContentPasswordInformation::_forgetPasswordBeforeGeneration);
    _timerMaskPassword.setSingleShot(true);
    _timerMaskPassword.setInterval(PasswordTablePasswordItem::REVEAL_DURATION_MS);
    connect(&_timerMaskPassword, &QTimer::timeout, this, &ViewContentPasswordInformation::maskSecrets);
    connect(ui->pushButtonCopyPassword, &QPushButton::clicked, this,
            &ViewContentPasswordInformation::_slotPushButtonCopyPasswordClicked);
    connect(ui->pushButtonGeneratePassword, &QPushButton::clicked, this,
            &ViewContentPasswordInformation::_slotPushButtonGeneratePasswordClicked);
    connect(ui->pushButtonSave, &QPushButton::clicked, this,
            &ViewContentPasswordInformation::_slotPushButtonSaveClicked);
    connect(ui->pushButtonCancel, &QPushButton::clicked, this,
            &ViewContentPasswordInformation::_slotPushButtonCancelClicked);
}

ViewContentPasswordInformation::~ViewContentPasswordInformation()
{
    delete ui;
}

void ViewContentPasswordInformation::setPassword(PasswordTable::Password* pointerPassword, int passwordIndex,
                                                 PasswordTable::PasswordDataId focusedDataId)
{
    // A copy: the table may change under a page left covered (by the lock) for a long time.
    if (pointerPassword != nullptr)
        _password = *pointerPassword;
    else
    {
        PasswordTable::clearPassword(&_password);
        focusedDataId = PasswordTable::PASSWORD_DATA_ID_NAME;
    }
    _passwordIndex = pointerPassword != nullptr ? passwordIndex : -1;
    _focusedDataId = focusedDataId;
}

void ViewContentPasswordInformation::enterView()
{
    ui->lineEditName->setText(_password.data[PasswordTable::PASSWORD_DATA_ID_NAME]);
    ui->lineEditLogin->setText(_password.data[PasswordTable::PASSWORD_DATA_ID_LOGIN]);
    ui->lineEditPassword->setText(_password.data[PasswordTable::PASSWORD_DATA_ID_PASSWORD]);
    ui->lineEditWebSite->setText(_password.data[PasswordTable::PASSWORD_DATA_ID_URL]);
    ui->textEditNote->setPlainText(_password.data[PasswordTable::PASSWORD_DATA_ID_NOTE]);
    // From here on, "modified" means edited by the user (an edit undone is no edit).
    ui->textEditNote->document()->setModified(false);
    // The generation choices stay as the user left them.
    _updateGenerationControls();

    QWidget* focusedWidgets[PasswordTable::PASSWORD_DATA_IDS_COUNT] = {
        ui->lineEditName, ui->lineEditLogin, ui->lineEditPassword, ui->lineEditWebSite, ui->textEditNote};
    const bool isFocusedDataIdValid = _focusedDataId >= PasswordTable::PASSWORD_DATA_ID_NAME &&
                                      _focusedDataId < PasswordTable::PASSWORD_DATA_IDS_COUNT;
    focusedWidgets[isFocusedDataIdValid ? _focusedDataId : PasswordTable::PASSWORD_DATA_ID_NAME]->setFocus();

    maskSecrets();
    _updateControls();
}

void ViewContentPasswordInformation::maskSecrets()
{
    _timerMaskPassword.stop();
    maskPasswordField(ui->lineEditPassword, ui->pushButtonShowPassword);
}

void ViewContentPasswordInformation::exitView()
{
    // The page stays alive hidden: leave no secret in its widgets.
    for (QLineEdit* lineEdit :
         {ui->lineEditName, ui->lineEditLogin, ui->lineEditPassword, ui->lineEditWebSite})
        lineEdit->setText(QString()); // not clear(): that keeps the old text in the undo history
    ui->textEditNote->clear();
    PasswordTable::clearPassword(&_password);
    _forgetPasswordBeforeGeneration();
}

void ViewContentPasswordInformation::_slotLineEditsTextEdited(const QString&)
{
    // The store would read these back as structure; removed where they enter (mostly by pasting), so
    // that what the page shows is what gets stored.
    for (QLineEdit* lineEdit :
         {ui->lineEditName, ui->lineEditLogin, ui->lineEditPassword, ui->lineEditWebSite})
        PasswordTable::removeStoreDelimiters(lineEdit);
    _updateControls();
}

void ViewContentPasswordInformation::_slotTextEditNoteTextChanged()
{
    if (_isNoteBeingCleaned)
        return;
    const QString note = ui->textEditNote->toPlainText();
    if (note.contains(QChar(0x03)) || note.contains(QChar(0x04)))
    {
        // Removed through the document, so that the cursor and the undo history stay usable.
        _isNoteBeingCleaned = true;
        QTextDocument* document = ui->textEditNote->document();
        for (const QChar delimiter : {QChar(0x03), QChar(0x04)})
        {
            for (QTextCursor cursor = document->find(QString(delimiter)); !cursor.isNull();
                 cursor = document->find(QString(delimiter), cursor))
                cursor.removeSelectedText();
        }
        _isNoteBeingCleaned = false;
    }
    _updateControls();
}

void ViewContentPasswordInformation::_updateControls()
{
    const QString password = ui->lineEditPassword->text();
    if (password.isEmpty())
        ui->labelPasswordCharactersCount->clear();
    else
        ui->labelPasswordCharactersCount->setText(tr("Characters count: %1").arg(password.size()));
    ui->pushButtonShowPassword->setEnabled(!password.isEmpty());
    ui->pushButtonCopyPassword->setEnabled(!password.isEmpty());

    // Nothing to save without a name, nor when what would be saved is what was there.
    PasswordTable::Password editedPassword;
    _getEditedPassword(&editedPassword);
    ui->pushButtonSave->setEnabled(!editedPassword.data[PasswordTable::PASSWORD_DATA_ID_NAME].isEmpty() &&
                                   editedPassword != _password);
    PasswordTable::clearPassword(&editedPassword);
}

void ViewContentPasswordInformation::_getEditedPassword(PasswordTable::Password* pointerPassword)
{
    // The name is trimmed only once the user has changed it: an imported name keeps its blanks.
    const QString& name = _password.data[PasswordTable::PASSWORD_DATA_ID_NAME];
    const QString typedName = ui->lineEditName->text();
    pointerPassword->data[PasswordTable::PASSWORD_DATA_ID_NAME] =
        typedName == name ? name : typedName.trimmed();
    pointerPassword->data[PasswordTable::PASSWORD_DATA_ID_LOGIN] = ui->lineEditLogin->text();
    pointerPassword->data[PasswordTable::PASSWORD_DATA_ID_PASSWORD] = ui->lineEditPassword->text();
    pointerPassword->data[PasswordTable::PASSWORD_DATA_ID_URL] = ui->lineEditWebSite->text();
    // The document gives back its plain text with non-breaking spaces made spaces and every line end
    // (CR LF, CR, U+2028) made LF: a note the user did not touch is kept as it came. An edited one
    // is taken raw, so that only its line ends between paragraphs become LF.
    QTextDocument* note = ui->textEditNote->document();
    pointerPassword->data[PasswordTable::PASSWORD_DATA_ID_NOTE] =
        note->isModified() ? note->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'))
                           : _password.data[PasswordTable::PASSWORD_DATA_ID_NOTE];
}

void ViewContentPasswordInformation::_slotPushButtonShowPasswordClicked()
{
    togglePasswordVisibility(ui->lineEditPassword, ui->pushButtonShowPassword);
    if (ui->lineEditPassword->echoMode() == QLineEdit::Normal)
        _timerMaskPassword.start();
    else
        _timerMaskPassword.stop();
}

void ViewContentPasswordInformation::_slotPushButtonCopyPasswordClicked(bool)
{
    SecretClipboard::copy(ui->lineEditPassword->text(), true);
    // At once, not when the page is left: "Clear" is offered and the clearing delay runs from the copy.
    emit dataCopied();
}

void ViewContentPasswordInformation::_slotPushButtonGeneratePasswordClicked(bool)
{
    QString password;
    if (ui->comboBoxPasswordGenerationMode->currentIndex() == GENERATION_MODE_ADVANCED)
    {
        const int length = ui->spinBoxCharactersCount->value();
        password = Security::generateRandomPassword(length, length, ui->checkBoxLowercaseLetters->isChecked(),
                                                    ui->checkBoxUppercaseLetters->isChecked(),
                                                    ui->checkBoxDigits->isChecked(),
                                                    ui->checkBoxSymbols->isChecked());
    }
    else
        password = Security::generateRandomPassword(AUTO_GENERATION_MINIMUM_LENGTH,
                                                    AUTO_GENERATION_MAXIMUM_LENGTH, true, true, true, true);
    // The password that a run of Generate replaced comes back with Ctrl+Z in the field (a masked
    // field's own undo only empties it).
    if (!_isGenerationUndoable)
    {
        _passwordBeforeGeneration = ui->lineEditPassword->text();
        _isGenerationUndoable = true;
    }
    ui->lineEditPassword->setText(password);
    // Shared with the field until the field changes it: released, not overwritten.
    password = QString();
}

void ViewContentPasswordInformation::_forgetPasswordBeforeGeneration()
{
    wipeText(_passwordBeforeGeneration);
    _passwordBeforeGeneration.clear();
    _isGenerationUndoable = false;
}

bool ViewContentPasswordInformation::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->lineEditPassword && _isGenerationUndoable &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo))
    {
        if (event->type() == QEvent::ShortcutOverride)
        {
            event->accept();
            return true;
        }
        ui->lineEditPassword->setText(_passwordBeforeGeneration);
        _forgetPasswordBeforeGeneration();
        return true;
    }
    return ViewContentBase::eventFilter(watched, event);
}

void ViewContentPasswordInformation::_slotPushButtonSaveClicked(bool)
{
    auto* password = new PasswordTable::Password;
    _getEditedPassword(password);
    // The only page that emits before it pops: the receiver inserts into the table under this page.
    emit passwordModified(password, _passwordIndex);
    pointerFormContentEditor->viewPopPage(this);
}

void ViewContentPasswordInformation::_slotPushButtonCancelClicked(bool)
{
    pointerFormContentEditor->viewPopPage(this);
}

void ViewContentPasswordInformation::_updateGenerationControls()
{
    ui->widgetAdvancedPasswordGeneration->setVisible(ui->comboBoxPasswordGenerationMode->currentIndex() ==
                                                     GENERATION_MODE_ADVANCED);
    // The generator needs at least one class.
    const bool isAnyClassAllowed = ui->checkBoxLowercaseLetters->isChecked() ||
                                   ui->checkBoxUppercaseLetters->isChecked() ||
                                   ui->checkBoxDigits->isChecked() || ui->checkBoxSymbols->isChecked();
    ui->pushButtonGeneratePassword->setEnabled(isAnyClassAllowed);
}

void ViewContentPasswordInformation::_slotComboBoxPasswordGenerationModeCurrentIndexChanged(int)
{
    _updateGenerationControls();
    _storeGenerationSettings();
}

void ViewContentPasswordInformation::_slotCheckBoxAdvancedPasswordGenerationStateChanged(int)
{
    _updateGenerationControls();
    _storeGenerationSettings();
}

void ViewContentPasswordInformation::_slotSpinBoxCharactersCountValueChanged(int)
{
    _storeGenerationSettings();
}

void ViewContentPasswordInformation::_slotLabelHelpLinkActivated(const QString& link)
{
    HelpViewer::display(link);
}

void ViewContentPasswordInformation::_loadGenerationSettings()
{
    QSettings* settings = Configuration::pointerSettings;
    if (settings == nullptr)
        return;
    const int mode =
        settings->value(Configuration::SETTINGS_KEY_PASSWORD_GENERATION_MODE, GENERATION_MODE_AUTO).toInt();
    ui->comboBoxPasswordGenerationMode->setCurrentIndex(
        mode == GENERATION_MODE_ADVANCED ? GENERATION_MODE_ADVANCED : GENERATION_MODE_AUTO);
    // The spin box keeps an out-of-range stored length within 4 to 1024.
    ui->spinBoxCharactersCount->setValue(
        settings
            ->value(Configuration::SETTINGS_KEY_PASSWORD_GENERATION_CHARACTERS_COUNT,
                    ui->spinBoxCharactersCount->value())
            .toInt());
    const std::pair<QCheckBox*, const char*> checkBoxes[] = {
        {ui->checkBoxLowercaseLetters, Configuration::SETTINGS_KEY_PASSWORD_GENERATION_LOWERCASE_LETTERS},
        {ui->checkBoxUppercaseLetters, Configuration::SETTINGS_KEY_PASSWORD_GENERATION_UPPERCASE_LETTERS},
        {ui->checkBoxDigits, Configuration::SETTINGS_KEY_PASSWORD_GENERATION_DIGITS},
        {ui->checkBoxSymbols, Configuration::SETTINGS_KEY_PASSWORD_GENERATION_SYMBOLS}};
    for (const auto& [checkBox, key] : checkBoxes)
        checkBox->setChecked(settings->value(key, true).toBool());
}

void ViewContentPasswordInformation::_storeGenerationSettings()
{
    QSettings* settings = Configuration::pointerSettings;
    if (settings == nullptr)
        return;
    settings->setValue(Configuration::SETTINGS_KEY_PASSWORD_GENERATION_MODE,
                       ui->comboBoxPasswordGenerationMode->currentIndex());
    settings->setValue(Configuration::SETTINGS_KEY_PASSWORD_GENERATION_CHARACTERS_COUNT,
                       ui->spinBoxCharactersCount->value());
    settings->setValue(Configuration::SETTINGS_KEY_PASSWORD_GENERATION_LOWERCASE_LETTERS,
                       ui->checkBoxLowercaseLetters->isChecked());
    settings->setValue(Configuration::SETTINGS_KEY_PASSWORD_GENERATION_UPPERCASE_LETTERS,
                       ui->checkBoxUppercaseLetters->isChecked());
    settings->setValue(Configuration::SETTINGS_KEY_PASSWORD_GENERATION_DIGITS,
                       ui->checkBoxDigits->isChecked());
    settings->setValue(Configuration::SETTINGS_KEY_PASSWORD_GENERATION_SYMBOLS,
                       ui->checkBoxSymbols->isChecked());
}
