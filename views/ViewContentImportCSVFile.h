#ifndef VIEWCONTENTIMPORTCSVFILE_H
#define VIEWCONTENTIMPORTCSVFILE_H

#include "CSV.h"
#include "ViewContentBase.h"

#include <QChar>
#include <QList>
#include <QString>

namespace Ui
{
class ViewContentImportCSVFile;
}

// Chooses the CSV file to import, its field separator and the tab that receives its records, and
// shows what the file holds before anything is imported.
class ViewContentImportCSVFile : public ViewContentBase
{
    Q_OBJECT

public:
    explicit ViewContentImportCSVFile(QWidget* parent = nullptr);
    ~ViewContentImportCSVFile() override;

    // The folder the file dialog starts in, the names of all tabs in tab order and the current tab.
    void setContent(QString lastCSVDirectory, QList<QString> tabNames, int currentTabIndex);
    void enterView() override;
    void exitView() override;
    // Reads the file and shows its preview, as choosing it in the file dialog does.
    void selectFile(const QString& completeFileName);

signals:
    // After "OK", once the page has popped itself, with the records the preview showed. A new tab is
    // asked for by a non-empty name (the index is then -1); otherwise the name is empty and the
    // index names an existing tab. With isOneTabPerFolder, records with a folder go to the tab of
    // that name instead.
    void fileSelected(QString completeFileName, const CSV::FileContent& content, QString newTabName,
                      int selectedExistingTabIndex, bool areExistingPasswordsReplaced,
                      bool isOneTabPerFolder);

private:
    Ui::ViewContentImportCSVFile* ui;
    QString _lastCSVDirectory;
    QString _selectedFileName;
    // What the selected file holds, read with the current separator; plaintext, wiped on leaving.
    CSV::FileContent _fileContent;

    QChar _getFieldsSeparatorCharacter();
    void _readSelectedFile();
    void _showPreview(const QString& errorText);
    void _clearPreview();
    void _updateOkButton();

private slots:
    void _slotPushButtonSelectFileClicked(bool);
    void _slotPushButtonOkClicked(bool);
    void _slotPushButtonCancelClicked(bool);
    void _slotRadioButtonCreateNewTabClicked();
    void _slotRadioButtonImportToExistingTabClicked();
    void _slotLineEditCreateTabNameEdited();
    void _slotComboBoxFieldsSeparatorCurrentIndexChanged(int);
    void _slotLabelHelpLinkActivated(const QString& referenceDocumentFileName);
};

#endif
