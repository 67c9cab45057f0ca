#ifndef PASSWORDTABLEPASSWORDITEM_H
#define PASSWORDTABLEPASSWORDITEM_H

#include <QString>
#include <QWidget>

class QTimer;

namespace Ui
{
class PasswordTablePasswordItem;
}

// The password cell of a table row: masked by default, switched to clear text by its eye button,
// and masked again after a while or when the application locks. It is as wide as the mask; a clear
// password wider than that is cut.
class PasswordTablePasswordItem : public QWidget
{
    Q_OBJECT

public:
    // Created without parent: the table takes it over as a cell widget.
    explicit PasswordTablePasswordItem(const QString& password);
    ~PasswordTablePasswordItem() override;

    // What a hidden password shows wherever it appears: one length for every password, in the
    // character line edits use.
    static constexpr int MASK_LENGTH = 8;
    static const QString& maskText();

    // How long a password stays revealed.
    static constexpr int REVEAL_DURATION_MS = 30000;
    // Masks every revealed password of every table.
    static void maskAll();

    // Whether Tab reaches the eye button, right after `table`; the table gives that to its current row
    // only, so that Tab leaves it after one stop instead of walking every row.
    void setTabReachable(bool isTabReachable, QWidget* table);

private:
    QString _password;
    bool _isClearTextDisplayed = false;
    // Made at the first reveal: a table holds thousands of cells that are never revealed.
    QTimer* _timerMask = nullptr;
    Ui::PasswordTablePasswordItem* ui;

    void _displayClearTextPassword(bool isClearTextDisplayed);
    void _setRevealed(bool isRevealed);

private slots:
    void _slotPushButtonClicked();
};

#endif
