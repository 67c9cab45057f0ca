#ifndef VIEWCONTENTAPPLICATIONLOCKED_H
#define VIEWCONTENTAPPLICATIONLOCKED_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentApplicationLocked;
}

class ViewContentApplicationLocked : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentApplicationLocked(QWidget* parent = nullptr);
    ~ViewContentApplicationLocked() override;

    void enterView() override;

private:
    Ui::ViewContentApplicationLocked* ui;
};

#endif
