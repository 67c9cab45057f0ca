// Every page of the main window, in English and in French: fits a 1024-pixel screen, names each control
// it lets the keyboard reach, and answers Escape and Return.
#include "Configuration.h"
#include "FormContentEditor.h"
#include "StyleSheet.h"
#include "ViewBase.h"
#include "ViewContentBase.h"
#include "ViewContentPasswordInformation.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTranslator>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;
using V = FormContentEditor;

class TestUsability : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Configuration::initialize();
        Configuration::pointerSettings->clear();
        // As the application runs: its focus frame is part of every page's size.
        StyleSheet::install(qApp);
    }
    void everyPageInBothLanguages();
};

namespace
{
// With PAVISOR_SCREENSHOTS_DIR set, the window as it looks now, for a person to look at.
void saveScreenshot(QWidget* window, const QString& name)
{
    const QString directory = qEnvironmentVariable("PAVISOR_SCREENSHOTS_DIR");
    if (!directory.isEmpty())
        QVERIFY(window->grab().save(directory + u'/' + name + u".png"_s));
}

// The controls of `root` that Tab reaches (shown or not yet) whose accessible name is empty, by class
// and object name.
QStringList unnamedFocusableControls(QWidget* root)
{
    QStringList unnamed;
    const QList<QWidget*> widgets = root->findChildren<QWidget*>();
    for (QWidget* widget : widgets)
    {
        if (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisibleTo(root) ||
            widget->focusProxy() != nullptr)
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        if (accessible == nullptr || accessible->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << QLatin1String(widget->metaObject()->className()) + u':' + widget->objectName();
    }
    return unnamed;
}

QPushButton* defaultButton(QWidget* page)
{
    const QList<QPushButton*> buttons = page->findChildren<QPushButton*>();
    for (QPushButton* button : buttons)
    {
        if (button->isDefault() && button->isVisibleTo(page))
            return button;
    }
    return nullptr;
}
} // namespace

void TestUsability::everyPageInBothLanguages()
{
    for (const QString& language : {u"en"_s, u"fr"_s})
    {
        QTranslator translator;
        if (language == u"fr"_s)
        {
            QVERIFY(translator.load(u":/Translations/fr.qm"_s));
            QVERIFY(QCoreApplication::installTranslator(&translator));
        }
        auto editor = std::make_unique<FormContentEditor>();
        pointerFormContentEditor = editor.get();
        editor->viewReplace(V::VIEW_ID_CONTENT_EDITOR);
        editor->resize(1024, 768);
        editor->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor.get()));

        // One tab with one record, made with the keyboard: the editor page then shows its tab bar and a
        // password cell.
        editor->findChild<QPushButton*>(u"pushButtonNewTab"_s)->click();
        QCOMPARE(editor->viewGetCurrent(), V::VIEW_ID_LINE_INPUT_DIALOG);
        QTest::keyClicks(QApplication::focusWidget(), u"Bank"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        editor->findChild<QPushButton*>(u"pushButtonNewPassword"_s)->click();
        QCOMPARE(editor->viewGetCurrent(), V::VIEW_ID_PASSWORD_INFORMATION);
        QTest::keyClicks(QApplication::focusWidget(), u"Mail"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), u"secret"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);
        auto* table = editor->findChild<QTableWidget*>(u"tableWidget"_s);
        QVERIFY(table != nullptr && table->rowCount() == 1);
        QCOMPARE(table->item(0, 0)->text(), u"Mail"_s);
        saveScreenshot(editor.get(), language + u"-editor"_s);

        // Delete on the table asks first; Escape answers the question with No and keeps the record.
        table->setFocus();
        table->setCurrentCell(0, 0);
        QTest::keyClick(table, Qt::Key_Delete);
        QTRY_COMPARE(editor->viewGetCurrent(), V::VIEW_ID_MESSAGE_BOX_DIALOG);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(editor->viewGetCurrent(), V::VIEW_ID_CONTENT_EDITOR);
        QCOMPARE(table->rowCount(), 1);

        // Ctrl+S is Save, shown in the File menu (only the key is under test: no device here).
        QAction* save = nullptr;
        for (QAction* action : editor->findChild<QMenu*>(u"menuFile"_s)->actions())
        {
            if (action->shortcut() == QKeySequence::Save)
                save = action;
        }
        QVERIFY(save != nullptr);
        QObject::disconnect(save, nullptr, editor.get(), nullptr);
        save->setEnabled(true);
        QSignalSpy saved(save, &QAction::triggered);
        QTest::keyClick(table, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(saved.count(), 1);

        // The advanced generation options shown: the widest state of the password editor.
        editor->viewPush(V::VIEW_ID_PASSWORD_INFORMATION);
        auto* page = editor->viewGetContent(V::VIEW_ID_PASSWORD_INFORMATION);
        page->findChild<QComboBox*>(u"comboBoxPasswordGenerationMode"_s)->setCurrentIndex(1);
        QVERIFY(page->findChild<QWidget*>(u"widgetAdvancedPasswordGeneration"_s)->isVisible());
        saveScreenshot(editor.get(), language + u"-password-editor"_s);
        editor->viewPop(V::VIEW_ID_CONTENT_EDITOR);

        auto* stack = editor->findChild<QStackedWidget*>(u"stackedWidget"_s);
        QVERIFY(stack != nullptr);
        QStringList tooWide;
        QStringList unnamed;
        for (int id = V::VIEW_ID_CONTENT_EDITOR; id < V::VIEW_ID_PREVIOUS; id++)
        {
            // The editor page is the stacked widget's first page, not a frame of its own.
            QWidget* root = id == V::VIEW_ID_CONTENT_EDITOR
                                ? stack->widget(0)
                                : editor->viewGetFrame(static_cast<V::ViewId>(id));
            if (root->minimumSizeHint().width() > 1000)
                tooWide << u"%1:%2"_s.arg(id).arg(root->minimumSizeHint().width());
            for (const QString& control : unnamedFocusableControls(root))
                unnamed << u"%1:%2"_s.arg(id).arg(control);
        }
        QVERIFY2(tooWide.isEmpty(), qPrintable(language + u" too wide: "_s + tooWide.join(u", "_s)));
        // The whole window, menu bar included, within a 1024x768 screen less its panel and title bar.
        QVERIFY2(editor->minimumSizeHint().width() <= 1000 && editor->minimumSizeHint().height() <= 728,
                 qPrintable(language + u" window: "_s + QString::number(editor->minimumSizeHint().width()) +
                            u'x' + QString::number(editor->minimumSizeHint().height())));
        QVERIFY2(unnamed.isEmpty(), qPrintable(language + u" unnamed: "_s + unnamed.join(u", "_s)));

        // The focus frame stands out from the window, light or dark.
        for (const QColor& window : {editor->palette().color(QPalette::Window), QColor(0x2d, 0x2d, 0x2d)})
            QVERIFY(StyleSheet::contrastRatio(StyleSheet::focusColor(window), window) >= 3.0);

        int returnClicks = 0;
        // Escape leaves each page that can be left; Return clicks its default button once, from any field.
        for (const V::ViewId id :
             {V::VIEW_ID_PASSWORD_INFORMATION, V::VIEW_ID_INSERT_READING_MASTER_PASSWORD,
              V::VIEW_ID_INSERT_WRITING_MASTER_PASSWORD, V::VIEW_ID_SETTINGS, V::VIEW_ID_CHANGE_DEVICE_NAME,
              V::VIEW_ID_IMPORT_CSV_FILE, V::VIEW_ID_DEVICE_SELECTION})
        {
            ViewContentBase* content = editor->viewGetContent(id);
            // Only the keys are under test here, not the workflows that the buttons start.
            QObject::disconnect(content, nullptr, editor.get(), nullptr);
            editor->viewPush(id);
            QWidget* focused = QApplication::focusWidget();
            QVERIFY2(focused != nullptr && content->isAncestorOf(focused), qPrintable(QString::number(id)));
            if (id == V::VIEW_ID_DEVICE_SELECTION)
                saveScreenshot(editor.get(), language + u"-device-selection"_s);
            QTest::keyClick(focused, Qt::Key_Escape);
            QVERIFY2(editor->viewGetCurrent() == V::VIEW_ID_CONTENT_EDITOR, qPrintable(QString::number(id)));

            editor->viewPush(id);
            QPushButton* button = defaultButton(content);
            QVERIFY2(button != nullptr, qPrintable(QString::number(id)));
            // A page that starts on another button ("Select file...") gives Return to that button.
            if (qobject_cast<QPushButton*>(QApplication::focusWidget()) != nullptr &&
                QApplication::focusWidget() != button)
            {
                editor->viewPop(V::VIEW_ID_CONTENT_EDITOR);
                continue;
            }
            // A field typed into, so that a page whose default button waits for text can offer it.
            if (qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr)
                QTest::keyClicks(QApplication::focusWidget(), u"Name 1"_s);
            QSignalSpy clicked(button, &QPushButton::clicked);
            const bool isEnabled = button->isEnabled();
            returnClicks += isEnabled ? 1 : 0;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QVERIFY2(clicked.count() == (isEnabled ? 1 : 0),
                     qPrintable(u"%1 %2 %3"_s.arg(id).arg(button->objectName()).arg(clicked.count())));
            if (editor->viewGetCurrent() == id)
                editor->viewPop(V::VIEW_ID_CONTENT_EDITOR);
        }

        QVERIFY(returnClicks >= 3);

        editor.reset();
        pointerFormContentEditor = nullptr;
        QCoreApplication::removeTranslator(&translator);
    }
}

QTEST_MAIN(TestUsability)
#include "tst_usability.moc"
