#ifndef VIEWCONTENTIMPORTCSVFILE_H
#define VIEWCONTENTIMPORTCSVFILE_H

#include "ViewContentBase.h"

namespace Ui
{
class ViewContentImportCSVFile;
}

class ViewContentImportCSVFile : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentImportCSVFile(QWidget* parent = nullptr);
    ~ViewContentImportCSVFile() override;

    void enterView() override;

private:
    Ui::ViewContentImportCSVFile* ui;
};

#endif
