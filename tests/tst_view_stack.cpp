// The main window's view stack and its two in-window dialogs.
#include "Configuration.h"
#include "FormContentEditor.h"
#include "ViewBase.h"
#include "ViewContentLineInputDialog.h"
#include "ViewContentMessageBoxDialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QtTest>
#include <memory>

using V = FormContentEditor;
using Box = ViewContentMessageBoxDialog;

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

QImage picture(QSvgRenderer& renderer)
{
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

} // namespace

class TestViewStack : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Configuration::initialize(); }
    void init();
    void cleanup();
    void framesFollowViewIdentifiers();
    void pushPopReplaceClearOrder();
    void messageBoxShowsAndAnswers();
    void lineInputOkRule();

private:
    std::unique_ptr<FormContentEditor> _editor;
    QStringList _log;
    QStackedWidget* _stackedWidget = nullptr;

    // Puts a recording page at the stacked-widget index of `id`, as the view stack sees it.
    void _installRecordingPage(V::ViewId id, const QString& name)
    {
        _stackedWidget->removeWidget(_stackedWidget->widget(id));
        _stackedWidget->insertWidget(id, new ViewBase(new RecordingPage(name, &_log), name, _editor.get()));
    }
    QStringList _takeLog() { return std::exchange(_log, {}); }
};

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

void TestViewStack::framesFollowViewIdentifiers()
{
    // The editor page, then each view's page in its titled frame at the index of its identifier (page
    // classes without their "ViewContent" prefix).
    const QStringList views =
        QStringLiteral(
            "StartMenu=Welcome!;PasswordInformation=<No title set>;ReadDevice=Reading device memories...;"
            "WriteDevice=Writing device memories...;InsertReadingMasterPassword=Insert master password;"
            "InsertWritingMasterPassword=Insert master password;DeviceSelection=Detected devices;"
            "ShowDeviceInformation=Device serial number;ChangeDeviceName=Set device name;Settings=Settings;"
            "LineInputDialog=<No title set>;MessageBoxDialog=<No title set>;"
            "DeviceErasingWizardPage1=Device erasing wizard;DeviceErasingWizardPage2=Erasing confirmation;"
            "DeviceErasingWizardPage3=Successful erasure;DeviceCopyWizardPage1=Device copy wizard;"
            "DeviceCopyWizardPage2=Read source device content;"
            "DeviceCopyWizardPage3=Write content to target device;"
            "DeviceCopyWizardPage4=Successful device duplication;ApplicationLocked=Application is locked;"
            "ImportCSVFile=Import a CSV file")
            .split(QLatin1Char(';'));
    QCOMPARE(views.size(), 21);
    QCOMPARE(_stackedWidget->count(), 22);
    QCOMPARE(_stackedWidget->widget(0)->objectName(), QStringLiteral("pageContentEditor"));
    for (int id = 1; id < V::VIEW_ID_PREVIOUS; id++)
    {
        auto* frame = qobject_cast<ViewBase*>(_stackedWidget->widget(id));
        QVERIFY(frame != nullptr);
        QCOMPARE(frame, _editor->viewGetFrame(static_cast<V::ViewId>(id)));
        QCOMPARE(QString::fromLatin1(frame->viewContent()->metaObject()->className()) + QLatin1Char('=') +
                     frame->title(),
                 QStringLiteral("ViewContent") + views[id - 1]);
    }

    // The window opens on the start menu, with its menus.
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_START_MENU);
    QCOMPARE(_editor->windowTitle(), QStringLiteral("Pavisor Key Manager"));
    QMenuBar* menuBar = _editor->menuBar();
    QVERIFY(!menuBar->isHidden());
    QStringList menus;
    for (QAction* action : menuBar->actions())
        menus << action->text();
    QCOMPARE(menus, QStringList({QStringLiteral("File"), QStringLiteral("Device"), QStringLiteral("Help")}));
}

void TestViewStack::pushPopReplaceClearOrder()
{
    _installRecordingPage(V::VIEW_ID_PASSWORD_INFORMATION, QStringLiteral("A"));
    _installRecordingPage(V::VIEW_ID_SHOW_DEVICE_INFORMATION, QStringLiteral("B"));
    _installRecordingPage(V::VIEW_ID_CHANGE_DEVICE_NAME, QStringLiteral("C"));
    const auto pushAll = [this]()
    {
        for (V::ViewId id : {V::VIEW_ID_PASSWORD_INFORMATION, V::VIEW_ID_SHOW_DEVICE_INFORMATION,
                             V::VIEW_ID_CHANGE_DEVICE_NAME})
            _editor->viewPush(id);
        return _takeLog();
    };
    _editor->viewReplace(V::VIEW_ID_CONTENT_EDITOR);

    // A push enters the new page and leaves the covered one entered; the menu bar goes.
    QCOMPARE(pushAll(), QStringList({"A:enter@0", "B:enter@2", "C:enter@8"}));
    QVERIFY(_editor->menuBar()->isHidden());

    // One level back exits the top page only and enters nothing; back to the editor exits B then A.
    _editor->viewPop(V::VIEW_ID_PREVIOUS);
    QCOMPARE(_takeLog(), QStringList({"C:exit"}));
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_SHOW_DEVICE_INFORMATION);
    _editor->viewPop(V::VIEW_ID_CONTENT_EDITOR);
    QCOMPARE(_takeLog(), QStringList({"B:exit", "A:exit"}));
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);
    QVERIFY(!_editor->menuBar()->isHidden());

    // The stack is now empty: popping does nothing at all.
    _editor->viewPop(V::VIEW_ID_PREVIOUS);
    QVERIFY(_takeLog().isEmpty());
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);

    // Replacing a view, also with itself, exits it then enters the new one; the one history entry
    // below is where one level back returns.
    _editor->viewPush(V::VIEW_ID_PASSWORD_INFORMATION);
    _editor->viewReplace(V::VIEW_ID_PASSWORD_INFORMATION);
    _editor->viewReplace(V::VIEW_ID_SHOW_DEVICE_INFORMATION);
    _editor->viewPop(V::VIEW_ID_PREVIOUS);
    QCOMPARE(_takeLog(), QStringList({"A:enter@0", "A:exit", "A:enter@2", "A:exit", "B:enter@2", "B:exit"}));
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);

    // A target that is not in the history unwinds everything down to the bottom view; one in the
    // middle stops there without entering it again.
    pushAll();
    _editor->viewPop(V::VIEW_ID_SETTINGS);
    QCOMPARE(_takeLog(), QStringList({"C:exit", "B:exit", "A:exit"}));
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);
    pushAll();
    _editor->viewPop(V::VIEW_ID_PASSWORD_INFORMATION);
    QCOMPARE(_takeLog(), QStringList({"C:exit", "B:exit"}));
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_PASSWORD_INFORMATION);

    // Clearing forgets the history but keeps the current view.
    _editor->viewClear();
    _editor->viewPop(V::VIEW_ID_PREVIOUS);
    QVERIFY(_takeLog().isEmpty());
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_PASSWORD_INFORMATION);
}

void TestViewStack::messageBoxShowsAndAnswers()
{
    _installRecordingPage(V::VIEW_ID_PASSWORD_INFORMATION, QStringLiteral("A"));
    _editor->viewReplace(V::VIEW_ID_CONTENT_EDITOR);
    _editor->show();
    QVERIFY(QTest::qWaitForWindowActive(_editor.get()));
    auto* box = static_cast<Box*>(_editor->viewGetContent(V::VIEW_ID_MESSAGE_BOX_DIALOG));
    auto* label = box->findChild<QLabel*>(QStringLiteral("labelText"));
    auto* icon = box->findChild<QSvgWidget*>(QStringLiteral("svgWidgetIcon"));
    // Button bits and icons in the order of their values: 1, 2, 4, 8 and 0 to 3.
    QList<QPushButton*> buttons;
    for (const char* name : {"pushButtonOk", "pushButtonYes", "pushButtonNo", "pushButtonCancel"})
        buttons << box->findChild<QPushButton*>(QLatin1String(name));
    const QStringList icons = {QStringLiteral("Success"), QStringLiteral("Error"),
                               QStringLiteral("Information"), QStringLiteral("Question")};
    // A question answered before any workflow asked one starts nothing.
    _editor->viewPushMessageBoxDialog(Box::ICON_QUESTION, QStringLiteral("Question"), QStringLiteral("Sure?"),
                                      Box::BUTTON_YES | Box::BUTTON_NO, Box::BUTTON_YES);
    QTRY_COMPARE(_editor->viewGetCurrent(), V::VIEW_ID_MESSAGE_BOX_DIALOG);
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);

    // From here the page alone: which workflow an answer goes to is the main window's dispatch.
    QObject::disconnect(box, &Box::dialogExited, _editor.get(), nullptr);
    V::ViewId currentWhenAnswered = V::VIEW_ID_PREVIOUS;
    QList<Box::Button> answers;
    connect(box, &Box::dialogExited, this,
            [&](Box::Button answer)
            {
                currentWhenAnswered = _editor->viewGetCurrent();
                answers << answer;
            });

    for (int i = 0; i < 4; i++)
    {
        // A slot that asks for a message box and then pops its own page: the pop happens first and
        // the message box covers the view that the pop revealed.
        const int hidden = (i + 1) % 4;
        const QString title = QStringLiteral("Title %1").arg(i);
        _editor->viewPush(V::VIEW_ID_PASSWORD_INFORMATION);
        _editor->viewPushMessageBoxDialog(static_cast<Box::Icon>(i), title,
                                          title + QStringLiteral(" message"), 0xF & ~(1 << hidden),
                                          static_cast<Box::Button>(1 << i));
        _editor->viewPop(V::VIEW_ID_PREVIOUS);
        QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);
        QTRY_COMPARE(_editor->viewGetCurrent(), V::VIEW_ID_MESSAGE_BOX_DIALOG);
        QCOMPARE(_editor->viewGetFrame(V::VIEW_ID_MESSAGE_BOX_DIALOG)->title(), title);
        QCOMPARE(label->text(), title + QStringLiteral(" message"));

        // Exactly the requested buttons, the requested one focused and default; the requested icon.
        for (int j = 0; j < 4; j++)
        {
            QCOMPARE(buttons[j]->isVisible(), j != hidden);
            QCOMPARE(buttons[j]->isDefault(), j == i);
        }
        QCOMPARE(QApplication::focusWidget(), buttons[i]);
        QSvgRenderer expectedIcon(QStringLiteral(":/Images/%1.svg").arg(icons[i]));
        expectedIcon.setAspectRatioMode(Qt::KeepAspectRatio);
        QCOMPARE(picture(*icon->renderer()), picture(expectedIcon));

        // Each button answers with its own bit, after the box is gone.
        QTest::mouseClick(buttons[i], Qt::LeftButton);
        QCOMPARE(answers.size(), i + 1);
        QCOMPARE(int(answers.last()), 1 << i);
        QCOMPARE(currentWhenAnswered, V::VIEW_ID_CONTENT_EDITOR);
        QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);
    }

    // A message of 1024 pixels or more wraps within a 1024-pixel minimum width; a narrower one neither.
    const QFontMetricsF metrics(QApplication::font());
    for (const int width : {1023, 1024})
    {
        QString message;
        for (int count = 0; count < 400 * 64 && int(metrics.horizontalAdvance(message)) != width; count++)
            message = QString(count / 64, QLatin1Char('W')) + QString(count % 64, QLatin1Char('i'));
        QCOMPARE(int(metrics.horizontalAdvance(message)), width);
        box->setDialogContent(Box::ICON_INFORMATION, message, Box::BUTTON_OK, Box::BUTTON_OK);
        QCOMPARE(label->text(), message);
        QCOMPARE(label->wordWrap(), width == 1024);
        QCOMPARE(label->minimumWidth(), width == 1024 ? 1024 : 0);
    }

    // An empty set shows no button: only code can take such a notice away.
    _editor->viewPushMessageBoxDialog(Box::ICON_INFORMATION, QStringLiteral("Searching"),
                                      QStringLiteral("Searching..."), 0, Box::BUTTON_OK);
    QTRY_COMPARE(_editor->viewGetCurrent(), V::VIEW_ID_MESSAGE_BOX_DIALOG);
    for (QPushButton* hiddenButton : buttons)
        QVERIFY(!hiddenButton->isVisible());
}

void TestViewStack::lineInputOkRule()
{
    _editor->viewReplace(V::VIEW_ID_CONTENT_EDITOR);
    auto* input =
        static_cast<ViewContentLineInputDialog*>(_editor->viewGetContent(V::VIEW_ID_LINE_INPUT_DIALOG));
    auto* lineEdit = input->findChild<QLineEdit*>(QStringLiteral("lineEdit"));
    auto* ok = input->findChild<QPushButton*>(QStringLiteral("pushButtonOk"));
    QObject::disconnect(input, &ViewContentLineInputDialog::insertionFinished, _editor.get(), nullptr);
    QSignalSpy finished(input, &ViewContentLineInputDialog::insertionFinished);

    // Opening with an empty text: OK stays disabled and Return does nothing.
    _editor->viewPushLineInputDialog(QStringLiteral("Insert tab name"), QStringLiteral("Enter the tab name:"),
                                     QString());
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_LINE_INPUT_DIALOG);
    QCOMPARE(_editor->viewGetFrame(V::VIEW_ID_LINE_INPUT_DIALOG)->title(), QStringLiteral("Insert tab name"));
    QCOMPARE(input->findChild<QLabel*>(QStringLiteral("labelText"))->text(),
             QStringLiteral("Enter the tab name:"));
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
    QCOMPARE(finished.takeFirst(), QVariantList({true, QStringLiteral(" Bank ")}));
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);

    // An initial text is selected whole and OK starts enabled; Cancel gives an empty text.
    _editor->viewPushLineInputDialog(QStringLiteral("Insert new name"), QStringLiteral("New tab name:"),
                                     QStringLiteral("New tab"));
    QCOMPARE(lineEdit->selectedText(), QStringLiteral("New tab"));
    QVERIFY(ok->isEnabled());
    QTest::mouseClick(input->findChild<QPushButton*>(QStringLiteral("pushButtonCancel")), Qt::LeftButton);
    QCOMPARE(finished.takeFirst(), QVariantList({false, QString()}));
    QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);
}

QTEST_MAIN(TestViewStack)
#include "tst_view_stack.moc"
