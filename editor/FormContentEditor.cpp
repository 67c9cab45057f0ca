// Construction of the main window and the view stack.
#include "FormContentEditor.h"
#include "ui_FormContentEditor.h"

#include "SecretClipboard.h"
#include "ViewBase.h"
#include "ViewContentApplicationLocked.h"
#include "ViewContentChangeDeviceName.h"
#include "ViewContentDeviceCopyWizardPage1.h"
#include "ViewContentDeviceCopyWizardPage2.h"
#include "ViewContentDeviceCopyWizardPage3.h"
#include "ViewContentDeviceCopyWizardPage4.h"
#include "ViewContentDeviceErasingWizardPage1.h"
#include "ViewContentDeviceErasingWizardPage2.h"
#include "ViewContentDeviceErasingWizardPage3.h"
#include "ViewContentDeviceSelection.h"
#include "ViewContentImportCSVFile.h"
#include "ViewContentInsertReadingMasterPassword.h"
#include "ViewContentInsertWritingMasterPassword.h"
#include "ViewContentLineInputDialog.h"
#include "ViewContentPasswordInformation.h"
#include "ViewContentReadDevice.h"
#include "ViewContentSettings.h"
#include "ViewContentShowDeviceInformation.h"
#include "ViewContentStartMenu.h"
#include "ViewContentWriteDevice.h"

#include <QApplication>
#include <QKeySequence>
#include <QNetworkAccessManager>
#include <QShortcut>

FormContentEditor* pointerFormContentEditor = nullptr;

FormContentEditor::FormContentEditor(QWidget* parent)
    : QMainWindow(parent), ui(new Ui::FormContentEditor),
      _pointerNetworkAccessManager(new QNetworkAccessManager(this))
{
    _timerSecond.setInterval(1000);
    ui->setupUi(this);

    // Created in identifier order: each frame's stacked-widget index is its ViewId.
    _viewCreate(new ViewContentStartMenu(this), VIEW_ID_START_MENU, tr("Welcome!"));
    _viewCreate(new ViewContentPasswordInformation(this), VIEW_ID_PASSWORD_INFORMATION,
                QStringLiteral("<No title set>"));
    _viewCreate(new ViewContentReadDevice(this), VIEW_ID_READ_DEVICE, tr("Reading device memories..."));
    _viewCreate(new ViewContentWriteDevice(this), VIEW_ID_WRITE_DEVICE, tr("Writing device memories..."));
    _viewCreate(new ViewContentInsertReadingMasterPassword(this), VIEW_ID_INSERT_READING_MASTER_PASSWORD,
                tr("Insert master password"));
    _viewCreate(new ViewContentInsertWritingMasterPassword(this), VIEW_ID_INSERT_WRITING_MASTER_PASSWORD,
                tr("Insert master password"));
    _viewCreate(new ViewContentDeviceSelection(this), VIEW_ID_DEVICE_SELECTION, tr("Detected devices"));
    _viewCreate(new ViewContentShowDeviceInformation(this), VIEW_ID_SHOW_DEVICE_INFORMATION,
                tr("Device serial number"));
    _viewCreate(new ViewContentChangeDeviceName(this), VIEW_ID_CHANGE_DEVICE_NAME, tr("Set device name"));
    _viewCreate(new ViewContentSettings(this), VIEW_ID_SETTINGS, tr("Settings"));
    _viewCreate(new ViewContentLineInputDialog(this), VIEW_ID_LINE_INPUT_DIALOG,
                QStringLiteral("<No title set>"));
    _viewCreate(new ViewContentMessageBoxDialog(this), VIEW_ID_MESSAGE_BOX_DIALOG,
                QStringLiteral("<No title set>"));
    _viewCreate(new ViewContentDeviceErasingWizardPage1(this), VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_1,
                tr("Device erasing wizard"));
    _viewCreate(new ViewContentDeviceErasingWizardPage2(this), VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_2,
                tr("Erasing confirmation"));
    _viewCreate(new ViewContentDeviceErasingWizardPage3(this), VIEW_ID_DEVICE_ERASING_WIZARD_PAGE_3,
                tr("Successful erasure"));
    _viewCreate(new ViewContentDeviceCopyWizardPage1(this), VIEW_ID_DEVICE_COPY_WIZARD_PAGE_1,
                tr("Device copy wizard"));
    _viewCreate(new ViewContentDeviceCopyWizardPage2(this), VIEW_ID_DEVICE_COPY_WIZARD_PAGE_2,
                tr("Read source device content"));
    _viewCreate(new ViewContentDeviceCopyWizardPage3(this), VIEW_ID_DEVICE_COPY_WIZARD_PAGE_3,
                tr("Write content to target device"));
    _viewCreate(new ViewContentDeviceCopyWizardPage4(this), VIEW_ID_DEVICE_COPY_WIZARD_PAGE_4,
                tr("Successful device duplication"));
    _viewCreate(new ViewContentApplicationLocked(this), VIEW_ID_APPLICATION_LOCKED,
                tr("Application is locked"));
    _viewCreate(new ViewContentImportCSVFile(this), VIEW_ID_IMPORT_CSV_FILE, tr("Import a CSV file"));

    ui->pushButtonNextSearchResult->setShortcut(QKeySequence(QStringLiteral("F3")));
    ui->pushButtonPreviousSearchResult->setShortcut(QKeySequence(QStringLiteral("Shift+F3")));
    _pointerShortcutFind = new QShortcut(QKeySequence(QStringLiteral("Ctrl+F")), this);
    _pointerShortcutFind->setContext(Qt::WindowShortcut);
    _pointerShortcutClearClipboard = new QShortcut(QKeySequence(QStringLiteral("Ctrl+K")), this);
    _pointerShortcutClearClipboard->setContext(Qt::WindowShortcut);

    // The save button's main part saves; its drop-down offers each workflow by name.
    _pointerActionWriteDevice = _menuWriteDevice.addAction(tr("Save"));
    _pointerActionChangePasswordThenWriteDevice =
        _menuWriteDevice.addAction(tr("Set/change the master password then save"));
    ui->pushButtonWriteDevice->setMenu(&_menuWriteDevice);
    ui->pushButtonWriteDevice->setPopupMode(QToolButton::MenuButtonPopup);
    // Saving is also in the File menu, where its shortcut is shown and works on the whole window.
    _pointerActionWriteDevice->setShortcut(QKeySequence::Save);
    ui->menuFile->insertAction(ui->actionLockApplication, _pointerActionWriteDevice);

    auto* startMenu = static_cast<ViewContentStartMenu*>(viewGetContent(VIEW_ID_START_MENU));
    connect(startMenu, &ViewContentStartMenu::initializeDeviceClicked, this,
            &FormContentEditor::_slotViewStartMenuInitializeDeviceClicked);

    // Each concern connects its own pages, actions and buttons.
    _initializeDeviceRead();
    _initializeDeviceWrite();
    _initializeEditing();
    _initializeLock();
    _initializeCSV();
    _initializeBackup();
    _initializePasswordStore();

    viewReplace(VIEW_ID_START_MENU);
}

FormContentEditor::~FormContentEditor()
{
    // The widgets that go with the window move the focus: the lock's focus guard must not answer then.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    // Never leave a copied password behind on the system clipboard (also when the locked page quits).
    SecretClipboard::clearCopiedText();
    delete _pointerShortcutFind;
    delete _pointerShortcutClearClipboard;
    delete ui;
}

void FormContentEditor::_viewCreate(ViewContentBase* pointerViewContent, ViewId id, const QString& title)
{
    auto* frame = new ViewBase(pointerViewContent, title, this);
    _pointerViews[id] = frame;
    ui->stackedWidget->addWidget(frame);
}

ViewBase* FormContentEditor::viewGetFrame(ViewId id) const
{
    if (id <= VIEW_ID_CONTENT_EDITOR || id >= VIEW_ID_PREVIOUS)
        return nullptr;
    return _pointerViews[id];
}

ViewContentBase* FormContentEditor::viewGetContent(ViewId id) const
{
    ViewBase* frame = viewGetFrame(id);
    return frame != nullptr ? frame->viewContent() : nullptr;
}

// The page shown at a stacked-widget index; none for the editor page, which has no frame.
static ViewContentBase* pageAt(QStackedWidget* stackedWidget, int index)
{
    if (index <= FormContentEditor::VIEW_ID_CONTENT_EDITOR)
        return nullptr;
    auto* frame = qobject_cast<ViewBase*>(stackedWidget->widget(index));
    return frame != nullptr ? frame->viewContent() : nullptr;
}

void FormContentEditor::_viewSet(ViewId id, bool isCurrentViewExited, bool isNewViewEntered)
{
    if (isCurrentViewExited)
    {
        if (ViewContentBase* current = pageAt(ui->stackedWidget, ui->stackedWidget->currentIndex()))
            current->exitView();
    }
    // The stacked widget still shows the old page here, so enterView() sees the view being left.
    if (isNewViewEntered)
    {
        if (ViewContentBase* next = pageAt(ui->stackedWidget, id))
            next->enterView();
    }
    ui->menubar->setVisible(id == VIEW_ID_CONTENT_EDITOR || id == VIEW_ID_START_MENU);
    ui->stackedWidget->setCurrentIndex(id);
    _updateLockControls();
}

void FormContentEditor::viewPush(ViewId id)
{
    if (id < VIEW_ID_CONTENT_EDITOR || id >= VIEW_ID_PREVIOUS)
        return;
    if (_isViewStackLocked())
        return _viewPushUnderLock(id);
    _viewsStack.push(viewGetCurrent());
    _viewSet(id, false, true);
}

void FormContentEditor::viewPop(ViewId target)
{
    if (_viewsStack.isEmpty())
        return;
    if (_isViewStackLocked())
        return _viewPopUnderLock(target);
    if (target == VIEW_ID_PREVIOUS)
        target = _viewsStack.top();

    // Unwinds to the target, or to the bottom when the target is not in the history.
    ViewId view;
    do
    {
        view = _viewsStack.pop();
        _viewSet(view, true, false);
    } while (view != target && !_viewsStack.isEmpty());
}

void FormContentEditor::viewPopPage(ViewContentBase* page)
{
    int id = VIEW_ID_START_MENU;
    while (id < VIEW_ID_PREVIOUS && viewGetContent(static_cast<ViewId>(id)) != page)
        id++;
    if (id == VIEW_ID_PREVIOUS || _viewsStack.isEmpty())
        return;

    if (id == viewGetCurrent())
    {
        _viewSet(_viewsStack.pop(), true, false);
        return;
    }
    // Covered: it leaves the history, and whatever covers it stays shown.
    const int index = static_cast<int>(_viewsStack.lastIndexOf(static_cast<ViewId>(id)));
    if (index < 0)
        return;
    _viewsStack.remove(index);
    page->exitView();
}

void FormContentEditor::viewReplace(ViewId id)
{
    if (id < VIEW_ID_CONTENT_EDITOR || id >= VIEW_ID_PREVIOUS)
        return;
    if (_isViewStackLocked())
        return _viewReplaceUnderLock(id);
    _viewSet(id, true, true);
}

void FormContentEditor::viewClear()
{
    if (_isViewStackLocked())
        return _viewClearUnderLock();
    _viewsStack.clear();
}

FormContentEditor::ViewId FormContentEditor::viewGetCurrent()
{
    return static_cast<ViewId>(ui->stackedWidget->currentIndex());
}

void FormContentEditor::viewPushLineInputDialog(const QString& title, const QString& labelText,
                                                const QString& text)
{
    _pointerViews[VIEW_ID_LINE_INPUT_DIALOG]->setTitle(title);
    static_cast<ViewContentLineInputDialog*>(viewGetContent(VIEW_ID_LINE_INPUT_DIALOG))
        ->setDialogContent(labelText, text);
    viewPush(VIEW_ID_LINE_INPUT_DIALOG);
}

void FormContentEditor::viewPushMessageBoxDialog(ViewContentMessageBoxDialog::Icon icon, const QString& title,
                                                 const QString& message, int buttons,
                                                 ViewContentMessageBoxDialog::Button defaultButton)
{
    _pointerViews[VIEW_ID_MESSAGE_BOX_DIALOG]->setTitle(title);
    static_cast<ViewContentMessageBoxDialog*>(viewGetContent(VIEW_ID_MESSAGE_BOX_DIALOG))
        ->setDialogContent(icon, message, buttons, defaultButton);
    // Pushed on the next event-loop turn, after the calling slot (and any pop it does) has finished.
    QTimer::singleShot(0, this, &FormContentEditor::_slotPushMessageBoxDialogViewTimeout);
}

void FormContentEditor::_slotPushMessageBoxDialogViewTimeout()
{
    viewPush(VIEW_ID_MESSAGE_BOX_DIALOG);
}

void FormContentEditor::_slotViewStartMenuInitializeDeviceClicked()
{
    viewReplace(VIEW_ID_CONTENT_EDITOR);
    viewClear();
}
