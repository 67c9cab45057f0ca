#include "FirstRunPrompt.h"

#include "Configuration.h"
#include "HelpViewer.h"

#include <QMessageBox>

void FirstRunPrompt::showIfNeeded(QWidget* parent)
{
    QSettings* settings = Configuration::pointerSettings;
    if (settings == nullptr || !settings->value(Configuration::SETTINGS_KEY_IS_FIRST_RUN, true).toBool())
        return;

    const QMessageBox::StandardButton answer =
        QMessageBox::information(parent, tr("Welcome"),
                                 tr("This is the first time you run the Pavisor application. Do you want to "
                                    "read the \"getting started\" "
                                    "documentation?\n\nYou can always access this documentation and much "
                                    "more from the application Help menu."),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        HelpViewer::display(QStringLiteral("getting_started_description.html"));

    settings->setValue(Configuration::SETTINGS_KEY_IS_FIRST_RUN, false);
    settings->sync();
}
