#include "ViewContentStartMenu.h"
#include "ui_ViewContentStartMenu.h"

#include "FormContentEditor.h"
#include "HelpViewer.h"

#include <QCoreApplication>
#include <QSvgRenderer>
#include <QTimer>

ViewContentStartMenu::ViewContentStartMenu(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentStartMenu)
{
    ui->setupUi(this);
    ui->svgWidgetLogo->load(QStringLiteral(":/Icon.svg"));
    ui->svgWidgetLogo->renderer()->setAspectRatioMode(Qt::KeepAspectRatio);
    ui->labelGettingStarted->setText(QStringLiteral("<a href=\"getting_started_description.html\">%1</a>")
                                         .arg(tr("Open the Getting started tutorial")));
    ui->labelDeviceInitialization->setText(
        QStringLiteral("<a href=\"unused_link\">%1</a>").arg(tr("start initializing your Pavisor")));

    connect(ui->pushButtonOpenDevice, &QPushButton::clicked, this,
            &ViewContentStartMenu::_slotPushButtonOpenDeviceClicked);
    connect(ui->pushButtonOpenBackupFile, &QPushButton::clicked, this,
            &ViewContentStartMenu::openBackupFileClicked);
    // exit() rather than quit(): since Qt 6 quit() first asks every window to close, and this button
    // leaves without the window-close questions.
    connect(ui->pushButtonQuit, &QPushButton::clicked, qApp, []() { QCoreApplication::exit(0); });
    connect(ui->labelGettingStarted, &QLabel::linkActivated, this,
            &ViewContentStartMenu::_slotLabelGettingStartedLinkActivated);
    connect(ui->labelDeviceInitialization, &QLabel::linkActivated, this,
            &ViewContentStartMenu::_slotLabelDeviceInitializationLinkActivated);
}

ViewContentStartMenu::~ViewContentStartMenu()
{
    delete ui;
}

void ViewContentStartMenu::enterView()
{
    ui->pushButtonOpenDevice->setFocus();
    // The first entry happens in the main window's constructor: the check waits for the event loop.
    if (_isApplicationUpdateChecked)
        return;
    QTimer::singleShot(0, this, &ViewContentStartMenu::_slotTimerCheckForApplicationUpdateTimeout);
    _isApplicationUpdateChecked = true;
}

void ViewContentStartMenu::_slotTimerCheckForApplicationUpdateTimeout()
{
    if (pointerFormContentEditor != nullptr)
        pointerFormContentEditor->checkForApplicationUpdate();
}

void ViewContentStartMenu::_slotPushButtonOpenDeviceClicked()
{
    emit openDeviceClicked();
}

void ViewContentStartMenu::_slotLabelGettingStartedLinkActivated(const QString& link)
{
    HelpViewer::display(link);
}

void ViewContentStartMenu::_slotLabelDeviceInitializationLinkActivated(const QString&)
{
    emit initializeDeviceClicked();
}
