#ifndef VIEWCONTENTSHOWDEVICEINFORMATION_H
#define VIEWCONTENTSHOWDEVICEINFORMATION_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentShowDeviceInformation;
}

// Shows the selected device's name, serial number and versions, read when the page is entered, and
// the state of its two memories as far as this session knows it.
// The device is released before the page can be left, whatever the reads gave.
class ViewContentShowDeviceInformation : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentShowDeviceInformation(QWidget* parent = nullptr);
    ~ViewContentShowDeviceInformation() override;

    void enterView() override;

private:
    Ui::ViewContentShowDeviceInformation* ui;

    void _fail(const QString& message);

private slots:
    void _slotPushButtonOkClicked(bool isChecked);
};

#endif
