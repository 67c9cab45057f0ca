#include "ViewContentBase.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace
{
// Shown on the page (whether the page itself is on screen or not) and enabled.
bool isClickable(const QPushButton* button, const QWidget* page)
{
    return button != nullptr && button->isVisibleTo(page) && button->isEnabled();
}
} // namespace

void ViewContentBase::keyPressEvent(QKeyEvent* event)
{
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (event->modifiers() & ~Qt::KeypadModifier || (!isReturn && event->key() != Qt::Key_Escape))
    {
        QWidget::keyPressEvent(event);
        return;
    }
    QPushButton* target = nullptr;
    if (!isReturn)
        target = escapeButton();
    else if (auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
             focused && isAncestorOf(focused))
        target = focused;
    else
    {
        const QList<QPushButton*> buttons = findChildren<QPushButton*>();
        for (QPushButton* button : buttons)
        {
            if (button->isDefault() && isClickable(button, this))
                target = button;
        }
    }
    if (!isClickable(target, this))
    {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    target->click();
}

QPushButton* ViewContentBase::escapeButton() const
{
    for (const char* name : {"pushButtonCancel", "pushButtonExit", "pushButtonNo"})
    {
        auto* button = findChild<QPushButton*>(QLatin1String(name));
        if (isClickable(button, this))
            return button;
    }
    QPushButton* only = nullptr;
    const QList<QPushButton*> buttons = findChildren<QPushButton*>();
    for (QPushButton* button : buttons)
    {
        if (!button->isVisibleTo(this))
            continue;
        if (only != nullptr)
            return nullptr;
        only = button;
    }
    return only;
}

void ViewContentBase::togglePasswordVisibility(QLineEdit* field, QPushButton* button)
{
    const bool isMasked = field->echoMode() == QLineEdit::Password;
    field->setEchoMode(isMasked ? QLineEdit::Normal : QLineEdit::Password);
    button->setText(isMasked ? tr("Hide") : tr("Show"));
}

void ViewContentBase::maskPasswordField(QLineEdit* field, QPushButton* button)
{
    field->setEchoMode(QLineEdit::Password);
    button->setText(tr("Show"));
}
