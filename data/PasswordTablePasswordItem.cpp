#include "PasswordTablePasswordItem.h"
#include "ui_PasswordTablePasswordItem.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QIcon>
#include <QStyle>

#include <QSet>
#include <QTimer>
#include <algorithm>

namespace
{
// The cells showing their password: what a lock masks.
QSet<PasswordTablePasswordItem*>& revealedItems()
{
    static QSet<PasswordTablePasswordItem*> items;
    return items;
}
} // namespace

PasswordTablePasswordItem::PasswordTablePasswordItem(const QString& password)
    : QWidget(nullptr), _password(password), ui(new Ui::PasswordTablePasswordItem)
{
    ui->setupUi(this);

    // Both texts are measured so that the cell keeps one width whichever of the two is shown.
    const QFontMetricsF fontMetrics(QApplication::font());
    _displayClearTextPassword(true);
    const int clearTextWidth = static_cast<int>(fontMetrics.horizontalAdvance(ui->label->text()));
    _displayClearTextPassword(false);
    const int maskedTextWidth = static_cast<int>(fontMetrics.horizontalAdvance(ui->label->text()));
    ui->label->setMinimumWidth(std::max(clearTextWidth, maskedTextWidth));

    // A square button: its height is the one its icon gives it.
    ui->pushButton->setFixedWidth(ui->pushButton->sizeHint().height());
    ui->pushButton->setEnabled(!_password.isEmpty());

    connect(ui->pushButton, &QPushButton::clicked, this, &PasswordTablePasswordItem::_slotPushButtonClicked);
}

PasswordTablePasswordItem::~PasswordTablePasswordItem()
{
    revealedItems().remove(this);
    delete ui;
}

void PasswordTablePasswordItem::maskAll()
{
    const QSet<PasswordTablePasswordItem*> items = revealedItems();
    for (PasswordTablePasswordItem* item : items)
        item->_setRevealed(false);
}

void PasswordTablePasswordItem::_setRevealed(bool isRevealed)
{
    _isClearTextDisplayed = isRevealed;
    _displayClearTextPassword(isRevealed);
    if (isRevealed)
    {
        if (_timerMask == nullptr)
        {
            _timerMask = new QTimer(this);
            _timerMask->setSingleShot(true);
            _timerMask->setInterval(REVEAL_DURATION_MS);
            connect(_timerMask, &QTimer::timeout, this, [this]() { _setRevealed(false); });
        }
        revealedItems().insert(this);
        _timerMask->start();
    }
    else
    {
        revealedItems().remove(this);
        if (_timerMask != nullptr)
            _timerMask->stop();
    }
}

void PasswordTablePasswordItem::_displayClearTextPassword(bool isClearTextDisplayed)
{
    // Every row of every table shows one of these: each icon is read from its picture once, then
    // shared (reading it again for each row took a third of the time of filling a table). Never
    // destroyed: their engine comes from a plugin that may be gone when statics are destroyed.
    static const QIcon& iconVisible = *new QIcon(QStringLiteral(":/Images/Password_Visible.svg"));
    static const QIcon& iconHidden = *new QIcon(QStringLiteral(":/Images/Password_Hidden.svg"));
    if (isClearTextDisplayed)
    {
        ui->label->setText(_password);
        ui->pushButton->setIcon(iconVisible);
    }
    else
    {
        // One masking character per UTF-16 code unit, the same character line edits use.
        const QChar maskCharacter(QApplication::style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter));
        ui->label->setText(QString(_password.size(), maskCharacter));
        ui->pushButton->setIcon(iconHidden);
    }
}

void PasswordTablePasswordItem::_slotPushButtonClicked()
{
    _setRevealed(!_isClearTextDisplayed);
}
