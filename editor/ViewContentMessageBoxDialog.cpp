#include "ViewContentMessageBoxDialog.h"
#include "ui_ViewContentMessageBoxDialog.h"

#include "FormContentEditor.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QSvgRenderer>

namespace
{
// Messages wider than this wrap instead of stretching the window.
const int MAXIMUM_UNWRAPPED_WIDTH = 1024;
} // namespace

ViewContentMessageBoxDialog::ViewContentMessageBoxDialog(QWidget* parent)
    : ViewContentBase(parent), ui(new Ui::ViewContentMessageBoxDialog)
{
    ui->setupUi(this);
    qRegisterMetaType<ViewContentMessageBoxDialog::Button>();
    connect(ui->pushButtonOk, &QPushButton::clicked, this,
            &ViewContentMessageBoxDialog::_slotPushButtonOkClicked);
    connect(ui->pushButtonYes, &QPushButton::clicked, this,
            &ViewContentMessageBoxDialog::_slotPushButtonYesClicked);
    connect(ui->pushButtonNo, &QPushButton::clicked, this,
            &ViewContentMessageBoxDialog::_slotPushButtonNoClicked);
    connect(ui->pushButtonCancel, &QPushButton::clicked, this,
            &ViewContentMessageBoxDialog::_slotPushButtonCancelClicked);
}

ViewContentMessageBoxDialog::~ViewContentMessageBoxDialog()
{
    delete ui;
}

void ViewContentMessageBoxDialog::enterView() {}

void ViewContentMessageBoxDialog::setDialogContent(Icon icon, const QString& message, int buttons,
                                                   Button defaultButton)
{
    const int width = static_cast<int>(QFontMetricsF(QApplication::font()).horizontalAdvance(message));
    if (width < MAXIMUM_UNWRAPPED_WIDTH)
    {
        ui->labelText->setMinimumWidth(0);
        ui->labelText->setWordWrap(false);
    }
    else
    {
        ui->labelText->setMinimumWidth(MAXIMUM_UNWRAPPED_WIDTH);
        ui->labelText->setWordWrap(true);
    }
    ui->labelText->setText(message);

    const struct
    {
        Button bit;
        QPushButton* button;
    } buttonsTable[] = {{BUTTON_OK, ui->pushButtonOk},
                        {BUTTON_YES, ui->pushButtonYes},
                        {BUTTON_NO, ui->pushButtonNo},
                        {BUTTON_CANCEL, ui->pushButtonCancel}};
    for (const auto& entry : buttonsTable)
    {
        entry.button->setVisible((buttons & entry.bit) != 0);
        entry.button->setDefault(false);
    }
    ui->pushButtonOk->setText(tr("OK"));
    ui->pushButtonYes->setText(tr("Yes"));
    ui->pushButtonNo->setText(tr("No"));
    ui->pushButtonCancel->setText(tr("Cancel"));
    for (const auto& entry : buttonsTable)
    {
        if (entry.bit == defaultButton)
        {
            entry.button->setFocus();
            entry.button->setDefault(true);
        }
    }

    static const char* const iconPaths[] = {":/Images/Success.svg", ":/Images/Error.svg",
                                            ":/Images/Information.svg", ":/Images/Question.svg"};
    if (icon >= ICON_SUCCESS && icon <= ICON_QUESTION)
        ui->svgWidgetIcon->load(QString::fromLatin1(iconPaths[icon]));
    ui->svgWidgetIcon->renderer()->setAspectRatioMode(Qt::KeepAspectRatio);
}

QPushButton* ViewContentMessageBoxDialog::_button(Button button) const
{
    switch (button)
    {
    case BUTTON_OK:
        return ui->pushButtonOk;
    case BUTTON_YES:
        return ui->pushButtonYes;
    case BUTTON_NO:
        return ui->pushButtonNo;
    default:
        return ui->pushButtonCancel;
    }
}

void ViewContentMessageBoxDialog::setButtonText(Button button, const QString& text)
{
    _button(button)->setText(text);
}

void ViewContentMessageBoxDialog::_exit(Button button)
{
    // Pop first, so the receiving slot runs with the message box already gone.
    pointerFormContentEditor->viewPop(FormContentEditor::VIEW_ID_PREVIOUS);
    emit dialogExited(button);
}

void ViewContentMessageBoxDialog::_slotPushButtonOkClicked(bool)
{
    _exit(BUTTON_OK);
}

void ViewContentMessageBoxDialog::_slotPushButtonYesClicked(bool)
{
    _exit(BUTTON_YES);
}

void ViewContentMessageBoxDialog::_slotPushButtonNoClicked(bool)
{
    _exit(BUTTON_NO);
}

void ViewContentMessageBoxDialog::_slotPushButtonCancelClicked(bool)
{
    _exit(BUTTON_CANCEL);
}
