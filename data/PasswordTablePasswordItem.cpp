#include "PasswordTablePasswordItem.h"
#include "ui_PasswordTablePasswordItem.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QIcon>
#include <QSet>
#include <QStyle>
#include <QTimer>
#include <algorithm>

const QString& PasswordTablePasswordItem::maskText()
{
    // Asked of the style once: every cell of every table shows it.
    static const QString mask(MASK_LENGTH,
                              QChar(QApplication::style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter)));
    return mask;
}

namespace
{
// The width of the mask in the application's font, the same for every cell.
int maskWidth()
{
    static const int width = static_cast<int>(
        QFontMetricsF(QApplication::font()).horizontalAdvance(PasswordTablePasswordItem::maskText()));
    return width;
}

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

    // The cell is as wide as the mask, which has one length for every password; a clear password
    // wider than its column is cut by the column.
    _displayClearTextPassword(false);
    ui->label->setMinimumWidth(maskWidth());
    ui->label->setSizePolicy(QSizePolicy::Ignored, ui->label->sizePolicy().verticalPolicy());

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

void PasswordTablePasswordItem::setTabReachable(bool isTabReachable, QWidget* table)
{
    ui->pushButton->setFocusPolicy(isTabReachable ? Qt::StrongFocus : Qt::ClickFocus);
    if (isTabReachable)
        QWidget::setTabOrder(table, ui->pushButton);
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
        ui->label->setAccessibleName(QString());
        ui->pushButton->setIcon(iconVisible);
        ui->pushButton->setToolTip(tr("Hide password"));
    }
    else
    {
        // The mask tells nothing of the password's length; an empty password shows nothing. Screen
        // readers hear the state, not the dots.
        ui->label->setText(_password.isEmpty() ? QString() : maskText());
        ui->label->setAccessibleName(_password.isEmpty() ? QString() : tr("password hidden"));
        ui->pushButton->setIcon(iconHidden);
        ui->pushButton->setToolTip(tr("Show password"));
    }
    // The button's name is what a click does, as its tool tip says.
    ui->pushButton->setAccessibleName(ui->pushButton->toolTip());
}

void PasswordTablePasswordItem::_slotPushButtonClicked()
{
    _setRevealed(!_isClearTextDisplayed);
}
