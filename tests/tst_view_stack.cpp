// The main window's view stack and its two in-window dialogs.
#include "Configuration.h"
#include "FormContentEditor.h"
#include "ViewBase.h"
#include "ViewContentLineInputDialog.h"
#include "ViewContentMessageBoxDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QtTest>
#include <memory>

namespace
{
// A page that writes every enterView()/exitView() it receives into a shared log.
class RecordingPage : public ViewContentBase
{
public:
    RecordingPage(const QString& name, QStringList* log) : _name(name), _log(log) {}
    void enterView() override
    {
        // Also records which view was current on entry: it must still be the one being left.
        *_log << _name + QStringLiteral(":enter@") +
                     QString::number(pointerFormContentEditor->viewGetCurrent());
    }
    void exitView() override { *_log << _name + QStringLiteral(":exit"); }

private:
    QString _name;
    QStringList* _log;
};
} // namespace

class TestViewStack : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void framesFollowViewIdentifiers();
    void pushPopReplaceClearOrder();
    void messageBoxIsPushedOnTheNextTurn();
    void messageBoxLayoutAndButtons();
    void lineInputOkRule();

private:
    std::unique_ptr<FormContentEditor> _editor;
    QStringList _log;
    QStackedWidget* _stackedWidget = nullptr;

    // Puts a recording page at the stacked-widget index of `id`, as the view stack sees it.
    void _installRecordingPage(FormContentEditor::ViewId id, const QString& name);
    ViewContentMessageBoxDialog* _messageBox() const;
    ViewContentLineInputDialog* _lineInput() const;
};

void TestViewStack::initTestCase()
{
    Configuration::initialize();
}

void TestViewStack::init()
{
    _log.clear();
    _editor = std::make_unique<FormContentEditor>();
    pointerFormContentEditor = _editor.get();
    _stackedWidget = _editor->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
    QVERIFY(_stackedWidget != nullptr);
}

void TestViewStack::cleanup()
{
    _editor.reset();
    pointerFormContentEditor = nullptr;
}

void TestViewStack::_installRecordingPage(FormContentEditor::ViewId id, const QString& name)
{
    QWidget* original = _stackedWidget->widget(id);
    _stackedWidget->removeWidget(original);
    _stackedWidget->insertWidget(id, new ViewBase(new RecordingPage(name, &_log), name, _editor.get()));
}

ViewContentMessageBoxDialog* TestViewStack::_messageBox() const
{
    return static_cast<ViewContentMessageBoxDialog*>(
        _editor->viewGetContent(FormContentEditor::VIEW_ID_MESSAGE_BOX_DIALOG));
}

ViewContentLineInputDialog* TestViewStack::_lineInput() const
{
    return static_cast<ViewContentLineInputDialog*>(
        _editor->viewGetContent(FormContentEditor::VIEW_ID_LINE_INPUT_DIALOG));
}

void TestViewStack::framesFollowViewIdentifiers()
{
    // One editor page plus 21 framed views; each frame sits at its identifier's index.
    QCOMPARE(_stackedWidget->count(), 22);
    QCOMPARE(_stackedWidget->widget(0)->objectName(), QStringLiteral("pageContentEditor"));
    const QList<QPair<FormContentEditor::ViewId, QString>> titles = {
        {FormContentEditor::VIEW_ID_START_MENU, QStringLiteral("Welcome!")},
        {FormContentEditor::VIEW_ID_READ_DEVICE, QStringLiteral("Reading device memories...")},
        {FormContentEditor::VIEW_ID_DEVICE_SELECTION, QStringLiteral("Detected devices")},
        {FormContentEditor::VIEW_ID_MESSAGE_BOX_DIALOG, QStringLiteral("<No title set>")},
        {FormContentEditor::VIEW_ID_DEVICE_COPY_WIZARD_PAGE_4,
         QStringLiteral("Successful device duplication")},
        {FormContentEditor::VIEW_ID_IMPORT_CSV_FILE, QStringLiteral("Import a CSV file")}};
    for (const auto& entry : titles)
    {
        auto* frame = qobject_cast<ViewBase*>(_stackedWidget->widget(entry.first));
        QVERIFY(frame != nullptr);
        QCOMPARE(frame, _editor->viewGetFrame(entry.first));
        QCOMPARE(frame->title(), entry.second);
    }

    // The window opens on the start menu with its menus; other pages hide the menu bar.
    QCOMPARE(_editor->viewGetCurrent(), FormContentEditor::VIEW_ID_START_MENU);
    QCOMPARE(_editor->windowTitle(), QStringLiteral("Pavisor Key Manager"));
    QMenuBar* menuBar = _editor->menuBar();
    QVERIFY(!menuBar->isHidden());
    QStringList menus;
    for (QAction* action : menuBar->actions())
        menus << action->text();
    QCOMPARE(menus, QStringList({QStringLiteral("File"), QStringLiteral("Device"), QStringLiteral("Help")}));
    _editor->viewPush(FormContentEditor::VIEW_ID_SETTINGS);
    QVERIFY(menuBar->isHidden());
    _editor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
    QVERIFY(!menuBar->isHidden());
}

void TestViewStack::pushPopReplaceClearOrder()
{
    using V = FormContentEditor;
    _installRecordingPage(V::VIEW_ID_PASSWORD_INFORMATION, QStringLiteral("A"));
    _installRecordingPage(V::VIEW_ID_SHOW_DEVICE_INFORMATION, QStringLiteral("B"));
    _installRecordingPage(V::VIEW_ID_CHANGE_DEVICE_NAME, QStringLiteral("C"));
    _editor->viewReplace(V::VIEW_ID_CONTENT_EDITOR);
    QVERIFY(_log.isEmpty());

    // Push A then B, pop back to the editor: B then A are exited, once each; the page left
    // underneath by a push is not exited.
    _editor->viewPush(V::VIEW_ID_PASSWORD_INFORMATION);
    _editor->viewPush(V::VIEW_ID_SHOW_DEVICE_INFORMATION);
    QCOMPARE(_log, QStringList({"A:enter@0", "B:enter@2"}));
    QVERIFY(_editor->menuBar()->isHidden());
    _log.clear();
    _editor->viewPop(V::VIEW_ID_CONTENT_EDITOR);
    QCOMPARE(_log, QStringList({"B:exit", "A:exit"}));
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);
    QVERIFY(!_editor->menuBar()->isHidden());

    // The stack is now empty: popping does nothing at all.
    _log.clear();
    _editor->viewPop(V::VIEW_ID_PREVIOUS);
    QVERIFY(_log.isEmpty());
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);

    // One entry: the previous view is that entry, and the stack ends empty.
    _editor->viewPush(V::VIEW_ID_PASSWORD_INFORMATION);
    _log.clear();
    _editor->viewPop(V::VIEW_ID_PREVIOUS);
    QCOMPARE(_log, QStringList({"A:exit"}));
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);

    // Replacing a view with itself exits it then enters it; the history is untouched.
    _editor->viewPush(V::VIEW_ID_PASSWORD_INFORMATION);
    _log.clear();
    _editor->viewReplace(V::VIEW_ID_PASSWORD_INFORMATION);
    QCOMPARE(_log, QStringList({"A:exit", "A:enter@2"}));
    _editor->viewReplace(V::VIEW_ID_SHOW_DEVICE_INFORMATION);
    _log.clear();
    _editor->viewPop(V::VIEW_ID_PREVIOUS);
    QCOMPARE(_log, QStringList({"B:exit"}));
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);

    // A target that is not in the history unwinds everything down to the bottom view.
    _editor->viewPush(V::VIEW_ID_PASSWORD_INFORMATION);
    _editor->viewPush(V::VIEW_ID_SHOW_DEVICE_INFORMATION);
    _editor->viewPush(V::VIEW_ID_CHANGE_DEVICE_NAME);
    _log.clear();
    _editor->viewPop(V::VIEW_ID_SETTINGS);
    QCOMPARE(_log, QStringList({"C:exit", "B:exit", "A:exit"}));
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);

    // Popping to a view in the middle stops there without entering it again.
    _editor->viewPush(V::VIEW_ID_PASSWORD_INFORMATION);
    _editor->viewPush(V::VIEW_ID_SHOW_DEVICE_INFORMATION);
    _editor->viewPush(V::VIEW_ID_CHANGE_DEVICE_NAME);
    _log.clear();
    _editor->viewPop(V::VIEW_ID_PASSWORD_INFORMATION);
    QCOMPARE(_log, QStringList({"C:exit", "B:exit"}));
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_PASSWORD_INFORMATION);

    // Clearing forgets the history but keeps the current view.
    _editor->viewClear();
    _log.clear();
    _editor->viewPop(V::VIEW_ID_PREVIOUS);
    QVERIFY(_log.isEmpty());
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_PASSWORD_INFORMATION);

    // Out-of-range identifiers change nothing.
    _editor->viewPush(V::VIEW_ID_PREVIOUS);
    _editor->viewReplace(static_cast<V::ViewId>(-3));
    QVERIFY(_log.isEmpty());
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_PASSWORD_INFORMATION);
}

void TestViewStack::messageBoxIsPushedOnTheNextTurn()
{
    using V = FormContentEditor;
    _installRecordingPage(V::VIEW_ID_PASSWORD_INFORMATION, QStringLiteral("A"));
    _editor->viewReplace(V::VIEW_ID_CONTENT_EDITOR);
    _editor->viewPush(V::VIEW_ID_PASSWORD_INFORMATION);

    // A slot that asks for a message box and then pops its own page: the pop happens first and
    // the message box covers the view that the pop revealed.
    _editor->viewPushMessageBoxDialog(
        ViewContentMessageBoxDialog::ICON_ERROR, QStringLiteral("Error"), QStringLiteral("Something failed."),
        ViewContentMessageBoxDialog::BUTTON_OK, ViewContentMessageBoxDialog::BUTTON_OK);
    _editor->viewPop(V::VIEW_ID_PREVIOUS);
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);
    QTRY_COMPARE(_editor->viewGetCurrent(), V::VIEW_ID_MESSAGE_BOX_DIALOG);
    QCOMPARE(_editor->viewGetFrame(V::VIEW_ID_MESSAGE_BOX_DIALOG)->title(), QStringLiteral("Error"));

    // Its button pops it before the answer is emitted, so the receiver runs with it gone.
    V::ViewId currentWhenAnswered = V::VIEW_ID_PREVIOUS;
    QList<ViewContentMessageBoxDialog::Button> answers;
    connect(_messageBox(), &ViewContentMessageBoxDialog::dialogExited, this,
            [&](ViewContentMessageBoxDialog::Button button)
            {
                currentWhenAnswered = _editor->viewGetCurrent();
                answers << button;
            });
    auto* ok = _messageBox()->findChild<QPushButton*>(QStringLiteral("pushButtonOk"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(answers, QList<ViewContentMessageBoxDialog::Button>({ViewContentMessageBoxDialog::BUTTON_OK}));
    QCOMPARE(currentWhenAnswered, V::VIEW_ID_CONTENT_EDITOR);
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);
}

void TestViewStack::messageBoxLayoutAndButtons()
{
    ViewContentMessageBoxDialog* box = _messageBox();
    auto* label = box->findChild<QLabel*>(QStringLiteral("labelText"));
    auto button = [box](const char* name) { return box->findChild<QPushButton*>(QLatin1String(name)); };
    QVERIFY(label != nullptr);

    // Wide messages wrap at 1024 pixels; shorter ones neither wrap nor get a minimum width.
    const QString longMessage = QString(400, QLatin1Char('W'));
    box->setDialogContent(ViewContentMessageBoxDialog::ICON_INFORMATION, longMessage,
                          ViewContentMessageBoxDialog::BUTTON_OK, ViewContentMessageBoxDialog::BUTTON_OK);
    QCOMPARE(label->minimumWidth(), 1024);
    QVERIFY(label->wordWrap());
    QCOMPARE(label->text(), longMessage);
    box->setDialogContent(ViewContentMessageBoxDialog::ICON_INFORMATION, QStringLiteral("Short."),
                          ViewContentMessageBoxDialog::BUTTON_OK, ViewContentMessageBoxDialog::BUTTON_OK);
    QCOMPARE(label->minimumWidth(), 0);
    QVERIFY(!label->wordWrap());

    // Exactly the requested buttons are shown; the default one is the default button.
    box->setDialogContent(ViewContentMessageBoxDialog::ICON_QUESTION, QStringLiteral("Remove?"),
                          ViewContentMessageBoxDialog::BUTTON_YES | ViewContentMessageBoxDialog::BUTTON_NO,
                          ViewContentMessageBoxDialog::BUTTON_NO);
    QVERIFY(button("pushButtonOk")->isHidden());
    QVERIFY(!button("pushButtonYes")->isHidden());
    QVERIFY(!button("pushButtonNo")->isHidden());
    QVERIFY(button("pushButtonCancel")->isHidden());
    QVERIFY(button("pushButtonNo")->isDefault());
    QVERIFY(!button("pushButtonYes")->isDefault());

    // An empty set shows no button: only code can take such a notice away.
    box->setDialogContent(ViewContentMessageBoxDialog::ICON_INFORMATION, QStringLiteral("Searching..."), 0,
                          ViewContentMessageBoxDialog::BUTTON_OK);
    for (const char* name : {"pushButtonOk", "pushButtonYes", "pushButtonNo", "pushButtonCancel"})
        QVERIFY2(button(name)->isHidden(), name);
}

void TestViewStack::lineInputOkRule()
{
    using V = FormContentEditor;
    _editor->viewReplace(V::VIEW_ID_CONTENT_EDITOR);
    ViewContentLineInputDialog* input = _lineInput();
    auto* lineEdit = input->findChild<QLineEdit*>(QStringLiteral("lineEdit"));
    auto* ok = input->findChild<QPushButton*>(QStringLiteral("pushButtonOk"));
    auto* cancel = input->findChild<QPushButton*>(QStringLiteral("pushButtonCancel"));
    QSignalSpy finished(input, &ViewContentLineInputDialog::insertionFinished);

    // Opening with an empty text: OK stays disabled and Return does nothing.
    _editor->viewPushLineInputDialog(QStringLiteral("Insert tab name"), QStringLiteral("Enter the tab name:"),
                                     QString());
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_LINE_INPUT_DIALOG);
    QCOMPARE(_editor->viewGetFrame(V::VIEW_ID_LINE_INPUT_DIALOG)->title(), QStringLiteral("Insert tab name"));
    QVERIFY(!ok->isEnabled());
    QTest::keyClick(lineEdit, Qt::Key_Return);
    QCOMPARE(finished.count(), 0);
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_LINE_INPUT_DIALOG);

    // One character enables OK; erasing it disables OK again; Return then accepts the text as typed.
    QTest::keyClicks(lineEdit, QStringLiteral("x"));
    QVERIFY(ok->isEnabled());
    QVERIFY(ok->isDefault());
    QTest::keyClick(lineEdit, Qt::Key_Backspace);
    QVERIFY(!ok->isEnabled());
    QTest::keyClicks(lineEdit, QStringLiteral(" Bank "));
    QTest::keyClick(lineEdit, Qt::Key_Return);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QCOMPARE(finished.at(0).at(1).toString(), QStringLiteral(" Bank "));
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);

    // An initial text is selected whole and OK starts enabled; Cancel gives an empty text.
    _editor->viewPushLineInputDialog(QStringLiteral("Insert new name"), QStringLiteral("New tab name:"),
                                     QStringLiteral("New tab"));
    QCOMPARE(lineEdit->selectedText(), QStringLiteral("New tab"));
    QVERIFY(ok->isEnabled());
    QTest::mouseClick(cancel, Qt::LeftButton);
    QCOMPARE(finished.count(), 2);
    QCOMPARE(finished.at(1).at(0).toBool(), false);
    QCOMPARE(finished.at(1).at(1).toString(), QString());
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);
}

QTEST_MAIN(TestViewStack)
#include "tst_view_stack.moc"
