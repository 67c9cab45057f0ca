#ifndef VIEWCONTENTIMPORTCSVFILE_H
#define VIEWCONTENTIMPORTCSVFILE_H

#include "ViewContentBase.h"

#include <QChar>
#include <QList>
#include <QString>

namespace Ui
{
class ViewContentImportCSVFile;
}

// Chooses the CSV file to import, its field separator and the tab that receives its records.
class ViewContentImportCSVFile : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentImportCSVFile(QWidget* parent = nullptr);
    ~ViewContentImportCSVFile() override;

    // The folder the file dialog starts in, the names of all tabs in tab order and the current tab.
    void setContent(QString lastCSVDirectory, QList<QString> tabNames, int currentTabIndex);
    void enterView() override;

signals:
    // After "OK", once the page has popped itself. A new tab is asked for by a non-empty name (the
    // index is then -1); otherwise the name is empty and the index names an existing tab.
    void fileSelected(QString completeFileName, QChar fieldsSeparatorCharacter, QString newTabName,
                      int selectedExistingTabIndex, bool areExistingPasswordsReplaced);

private:
    Ui::ViewContentImportCSVFile* ui;
    QString _lastCSVDirectory;
    QString _selectedFileName;

    QChar _getFieldsSeparatorCharacter();

private slots:
    void _slotPushButtonSelectFileClicked(bool);
    void _slotPushButtonOkClicked(bool);
    void _slotPushButtonCancelClicked(bool);
    void _slotRadioButtonCreateNewTabClicked();
    void _slotRadioButtonImportToExistingTabClicked();
    void _slotLineEditCreateTabNameEdited();
    void _slotLabelHelpLinkActivated(const QString& referenceDocumentFileName);
};

#endif
