#ifndef VIEWCONTENTLINEINPUTDIALOG_H
#define VIEWCONTENTLINEINPUTDIALOG_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentLineInputDialog;
}

// The in-window one-line input: OK is only possible with at least one character typed.
class ViewContentLineInputDialog : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentLineInputDialog(QWidget* parent = nullptr);
    ~ViewContentLineInputDialog() override;

    void enterView() override;
    void setDialogContent(const QString& labelText, const QString& text);

signals:
    void insertionFinished(bool isAccepted, QString text);

private:
    Ui::ViewContentLineInputDialog* ui;

private slots:
    void _slotPushButtonOkClicked();
    void _slotPushButtonCancelClicked();
    void _slotLineEditTextEdited(const QString& text);
};

#endif
