#ifndef VIEWCONTENTSETTINGS_H
#define VIEWCONTENTSETTINGS_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentSettings;
}

class ViewContentSettings : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentSettings(QWidget* parent = nullptr);
    ~ViewContentSettings() override;

    void enterView() override;

private:
    Ui::ViewContentSettings* ui;
};

#endif
