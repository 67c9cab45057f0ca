// The main window's view stack and its two in-window dialogs.
#include "Configuration.h"
#include "FormContentEditor.h"
#include "ViewBase.h"
#include "ViewContentLineInputDialog.h"
#include "ViewContentMessageBoxDialog.h"

#include <QtSvgWidgets>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;
using V = FormContentEditor;
using Box = ViewContentMessageBoxDialog;

namespace
{
// A page that writes every enterView()/exitView() it receives into a shared log, with the view current
// on entry: it must still be the one being left.
struct RecordingPage : ViewContentBase
{
    RecordingPage(const QString& name, QStringList* log) : name(name), log(log) {}
    void enterView() override
    {
        *log << name + u":enter@"_s + QString::number(pointerFormContentEditor->viewGetCurrent());
    }
    void exitView() override { *log << name + u":exit"_s; }
    QString name;
    QStringList* log;
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

private slots:
    void initTestCase() { Configuration::initialize(); }
    void init()
    {
        _log.clear();
        _editor = std::make_unique<FormContentEditor>();
        pointerFormContentEditor = _editor.get();
        _stackedWidget = _editor->findChild<QStackedWidget*>(u"stackedWidget"_s);
        QVERIFY(_stackedWidget != nullptr);
    }
    void cleanup()
    {
        _editor.reset();
        pointerFormContentEditor = nullptr;
    }

    void pushPopReplaceClearOrder()
    {
        const V::ViewId A = V::VIEW_ID_PASSWORD_INFORMATION, B = V::VIEW_ID_SHOW_DEVICE_INFORMATION,
                        C = V::VIEW_ID_CHANGE_DEVICE_NAME, previous = V::VIEW_ID_PREVIOUS;
        _installRecordingPage(A, u"A"_s);
        _installRecordingPage(B, u"B"_s);
        _installRecordingPage(C, u"C"_s);
        _editor->viewReplace(V::VIEW_ID_CONTENT_EDITOR);
        // One step: what the pages saw, then the view current after it and whether the menu bar shows.
        const auto step = [this](void (V::*operation)(V::ViewId), V::ViewId id)
        {
            (_editor.get()->*operation)(id);
            _log << u"now@"_s + QString::number(_editor->viewGetCurrent());
            if (!_editor->menuBar()->isHidden())
                _log << u"menu"_s;
            return _takeLog().join(u' ');
        };
        const auto push = &V::viewPush, pop = &V::viewPop, replace = &V::viewReplace;
        const auto pushAll = [&]()
        {
            QStringList seen;
            for (V::ViewId id : {A, B, C})
                seen << step(push, id);
            return seen.join(u' ');
        };

        // A push enters the new page and leaves the covered one entered; the menu bar goes.
        QCOMPARE(pushAll(), u"A:enter@0 now@2 B:enter@2 now@8 C:enter@8 now@9"_s);
        // One level back exits the top page only and enters nothing; back to the editor exits B then A.
        QCOMPARE(step(pop, previous), u"C:exit now@8"_s);
        QCOMPARE(step(pop, V::VIEW_ID_CONTENT_EDITOR), u"B:exit A:exit now@0 menu"_s);
        // The stack is now empty: popping does nothing at all.
        QCOMPARE(step(pop, previous), u"now@0 menu"_s);
        // Replacing a view, also with itself, exits it then enters the new one; the one history entry below
        // is where one level back returns.
        QCOMPARE(step(push, A), u"A:enter@0 now@2"_s);
        QCOMPARE(step(replace, A), u"A:exit A:enter@2 now@2"_s);
        QCOMPARE(step(replace, B), u"A:exit B:enter@2 now@8"_s);
        QCOMPARE(step(pop, previous), u"B:exit now@0 menu"_s);
        // A target that is not in the history unwinds everything down to the bottom view; one in the
        // middle stops there without entering it again.
        pushAll();
        QCOMPARE(step(pop, V::VIEW_ID_SETTINGS), u"C:exit B:exit A:exit now@0 menu"_s);
        pushAll();
        QCOMPARE(step(pop, A), u"C:exit B:exit now@2"_s);
        // Clearing forgets the history but keeps the current view.
        _editor->viewClear();
        QCOMPARE(step(pop, previous), u"now@2"_s);
    }

    void messageBoxShowsAndAnswers()
    {
        _installRecordingPage(V::VIEW_ID_PASSWORD_INFORMATION, u"A"_s);
        _editor->viewReplace(V::VIEW_ID_CONTENT_EDITOR);
        _editor->show();
        QVERIFY(QTest::qWaitForWindowActive(_editor.get()));
        auto* box = static_cast<Box*>(_editor->viewGetContent(V::VIEW_ID_MESSAGE_BOX_DIALOG));
        auto* label = box->findChild<QLabel*>(u"labelText"_s);
        auto* icon = box->findChild<QSvgWidget*>(u"svgWidgetIcon"_s);
        // Button bits and icons in the order of their values: 1, 2, 4, 8 and 0 to 3.
        QList<QPushButton*> buttons;
        for (const char* name : {"pushButtonOk", "pushButtonYes", "pushButtonNo", "pushButtonCancel"})
            buttons << box->findChild<QPushButton*>(QLatin1String(name));
        const QStringList icons = {u"Success"_s, u"Error"_s, u"Information"_s, u"Question"_s};
        // A question answered before any workflow asked one starts nothing.
        _editor->viewPushMessageBoxDialog(Box::ICON_QUESTION, u"Question"_s, u"Sure?"_s,
                                          Box::BUTTON_YES | Box::BUTTON_NO, Box::BUTTON_YES);
        QTRY_COMPARE(_editor->viewGetCurrent(), V::VIEW_ID_MESSAGE_BOX_DIALOG);
        QTest::mouseClick(buttons[1], Qt::LeftButton);
        QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);

        // From here the page alone: which workflow an answer goes to is the main window's dispatch. Each
        // answer is noted with the view current when it came.
        QObject::disconnect(box, &Box::dialogExited, _editor.get(), nullptr);
        QStringList answers;
        connect(box, &Box::dialogExited, this,
                [&](Box::Button answer)
                { answers << u"%1@%2"_s.arg(answer).arg(_editor->viewGetCurrent()); });
        // The buttons shown (or default) as bits.
        const auto mask = [&buttons](bool (QPushButton::*property)() const)
        {
            int bits = 0;
            for (int j = 0; j < 4; j++)
                bits |= (buttons[j]->*property)() << j;
            return bits;
        };

        for (int i = 0; i < 4; i++)
        {
            // A slot that asks for a message box and then pops its own page: the pop happens first and
            // the message box covers the view that the pop revealed.
            const int shown = 0xF & ~(1 << (i + 1) % 4);
            const QString title = u"Title %1"_s.arg(i);
            _editor->viewPush(V::VIEW_ID_PASSWORD_INFORMATION);
            _editor->viewPushMessageBoxDialog(static_cast<Box::Icon>(i), title, title + u" message"_s, shown,
                                              static_cast<Box::Button>(1 << i));
            _editor->viewPop(V::VIEW_ID_PREVIOUS);
            QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);
            QTRY_COMPARE(_editor->viewGetCurrent(), V::VIEW_ID_MESSAGE_BOX_DIALOG);
            QCOMPARE(_editor->viewGetFrame(V::VIEW_ID_MESSAGE_BOX_DIALOG)->title() + u'|' + label->text(),
                     title + u'|' + title + u" message"_s);

            // Exactly the requested buttons, the requested one focused and default; the requested icon.
            QCOMPARE(mask(&QPushButton::isVisible), shown);
            QCOMPARE(mask(&QPushButton::isDefault), 1 << i);
            QCOMPARE(QApplication::focusWidget(), buttons[i]);
            QSvgRenderer expectedIcon(u":/Images/%1.svg"_s.arg(icons[i]));
            expectedIcon.setAspectRatioMode(Qt::KeepAspectRatio);
            QCOMPARE(picture(*icon->renderer()), picture(expectedIcon));

            // Each button answers with its own bit, after the box is gone.
            QTest::mouseClick(buttons[i], Qt::LeftButton);
            QCOMPARE(answers.takeFirst(), u"%1@0"_s.arg(1 << i));
            QVERIFY(answers.isEmpty() && _editor->viewGetCurrent() == V::VIEW_ID_CONTENT_EDITOR);
        }

        // A message of 1024 pixels or more wraps within a 1024-pixel minimum width; a narrower one neither.
        const QFontMetricsF metrics(QApplication::font());
        for (const int width : {1023, 1024})
        {
            QString message;
            for (int count = 0; count < 400 * 64 && int(metrics.horizontalAdvance(message)) != width; count++)
                message = QString(count / 64, u'W') + QString(count % 64, u'i');
            QCOMPARE(int(metrics.horizontalAdvance(message)), width);
            box->setDialogContent(Box::ICON_INFORMATION, message, Box::BUTTON_OK, Box::BUTTON_OK);
            QCOMPARE(label->text(), message);
            QCOMPARE(label->wordWrap(), width == 1024);
            QCOMPARE(label->minimumWidth(), width == 1024 ? 1024 : 0);
        }

        // An empty set shows no button: only code can take such a notice away.
        _editor->viewPushMessageBoxDialog(Box::ICON_INFORMATION, u"Searching"_s, u"Searching..."_s, 0,
                                          Box::BUTTON_OK);
        QTRY_COMPARE(_editor->viewGetCurrent(), V::VIEW_ID_MESSAGE_BOX_DIALOG);
        QCOMPARE(mask(&QPushButton::isVisible), 0);
    }

    void lineInputOkRule()
    {
        _editor->viewReplace(V::VIEW_ID_CONTENT_EDITOR);
        auto* input =
            static_cast<ViewContentLineInputDialog*>(_editor->viewGetContent(V::VIEW_ID_LINE_INPUT_DIALOG));
        auto* lineEdit = input->findChild<QLineEdit*>(u"lineEdit"_s);
        auto* ok = input->findChild<QPushButton*>(u"pushButtonOk"_s);
        QObject::disconnect(input, &ViewContentLineInputDialog::insertionFinished, _editor.get(), nullptr);
        QSignalSpy finished(input, &ViewContentLineInputDialog::insertionFinished);

        // Opening with an empty text: OK stays disabled and Return does nothing.
        _editor->viewPushLineInputDialog(u"Insert tab name"_s, u"Enter the tab name:"_s, QString());
        QCOMPARE(_editor->viewGetFrame(V::VIEW_ID_LINE_INPUT_DIALOG)->title() + u'|' +
                     input->findChild<QLabel*>(u"labelText"_s)->text(),
                 u"Insert tab name|Enter the tab name:"_s);
        QVERIFY(!ok->isEnabled());
        QTest::keyClick(lineEdit, Qt::Key_Return);
        QVERIFY(finished.isEmpty() && _editor->viewGetCurrent() == V::VIEW_ID_LINE_INPUT_DIALOG);

        // One character enables OK; erasing it disables OK again; Return then accepts the text as typed.
        QTest::keyClicks(lineEdit, u"x"_s);
        QVERIFY(ok->isEnabled() && ok->isDefault());
        QTest::keyClick(lineEdit, Qt::Key_Backspace);
        QVERIFY(!ok->isEnabled());
        QTest::keyClicks(lineEdit, u" Bank "_s);
        QTest::keyClick(lineEdit, Qt::Key_Return);
        QCOMPARE(finished.takeFirst(), QVariantList({true, u" Bank "_s}));
        QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);

        // An initial text is selected whole and OK starts enabled; Cancel gives an empty text.
        _editor->viewPushLineInputDialog(u"Insert new name"_s, u"New tab name:"_s, u"New tab"_s);
        QVERIFY(lineEdit->selectedText() == u"New tab"_s && ok->isEnabled());
        QTest::mouseClick(input->findChild<QPushButton*>(u"pushButtonCancel"_s), Qt::LeftButton);
        QCOMPARE(finished.takeFirst(), QVariantList({false, QString()}));
        QCOMPARE(_editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);
    }
};

QTEST_MAIN(TestViewStack)
#include "tst_view_stack.moc"
