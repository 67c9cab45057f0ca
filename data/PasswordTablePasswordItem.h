#ifndef PASSWORDTABLEPASSWORDITEM_H
#define PASSWORDTABLEPASSWORDITEM_H

#include <QString>
#include <QWidget>

namespace Ui
{
class PasswordTablePasswordItem;
}

// The password cell of a table row: masked by default, switched to clear text by its eye button. It is
// as wide as the mask; a clear password wider than that is cut.
class PasswordTablePasswordItem : public QWidget
{
    Q_OBJECT

public:
    // Created without parent: the table takes it over as a cell widget.
    explicit PasswordTablePasswordItem(const QString& password);
    ~PasswordTablePasswordItem() override;

    // Whether Tab reaches the eye button, right after `table`; the table gives that to its current row
    // only, so that Tab leaves it after one stop instead of walking every row.
    void setTabReachable(bool isTabReachable, QWidget* table);

private:
    QString _password;
    bool _isClearTextDisplayed = false;
    Ui::PasswordTablePasswordItem* ui;

    void _displayClearTextPassword(bool isClearTextDisplayed);

private slots:
    void _slotPushButtonClicked();
};

#endif
