#ifndef VIEWCONTENTINSERTWRITINGMASTERPASSWORD_H
#define VIEWCONTENTINSERTWRITINGMASTERPASSWORD_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentInsertWritingMasterPassword;
}

class ViewContentInsertWritingMasterPassword : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentInsertWritingMasterPassword(QWidget* parent = nullptr);
    ~ViewContentInsertWritingMasterPassword() override;

    void enterView() override;

signals:
    // Confirmed flag and the chosen password (empty when cancelled).
    void insertionFinished(bool isConfirmed, QString password);

private:
    Ui::ViewContentInsertWritingMasterPassword* ui;
};

#endif
