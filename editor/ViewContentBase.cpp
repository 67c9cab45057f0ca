#include "ViewContentBase.h"

#include <QLineEdit>
#include <QPushButton>

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
