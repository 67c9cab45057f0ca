#ifndef VIEWCONTENTPASSWORDINFORMATION_H
#define VIEWCONTENTPASSWORDINFORMATION_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentPasswordInformation;
}

class ViewContentPasswordInformation : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentPasswordInformation(QWidget* parent = nullptr);
    ~ViewContentPasswordInformation() override;

    void enterView() override;

private:
    Ui::ViewContentPasswordInformation* ui;
};

#endif
