#ifndef VIEWCONTENTINSERTREADINGMASTERPASSWORD_H
#define VIEWCONTENTINSERTREADINGMASTERPASSWORD_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentInsertReadingMasterPassword;
}

class ViewContentInsertReadingMasterPassword : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentInsertReadingMasterPassword(QWidget* parent = nullptr);
    ~ViewContentInsertReadingMasterPassword() override;

    void enterView() override;

private:
    Ui::ViewContentInsertReadingMasterPassword* ui;
};

#endif
