#include "StyleSheet.h"

#include <QApplication>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QtMath>

#include <algorithm>

namespace
{
double relativeLuminance(const QColor& color)
{
    const auto linear = [](double channel)
    { return channel <= 0.04045 ? channel / 12.92 : qPow((channel + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) + 0.0722 * linear(color.blueF());
}
// The platform's style, with push buttons wide enough that their text (longer in French) and their menu
// arrow never touch each other or the button's edges.
class RoomyButtonStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contentsSize,
                           const QWidget* widget) const override
    {
        QSize size = QProxyStyle::sizeFromContents(type, option, contentsSize, widget);
        if (type == CT_PushButton)
        {
            const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
            const bool hasMenu = button != nullptr && button->features & QStyleOptionButton::HasMenu;
            size.rwidth() +=
                2 * StyleSheet::BUTTON_EXTRA_PADDING + (hasMenu ? StyleSheet::MENU_ARROW_ROOM : 0);
        }
        return size;
    }
};
} // namespace

double StyleSheet::contrastRatio(const QColor& first, const QColor& second)
{
    const double a = relativeLuminance(first);
    const double b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor StyleSheet::focusColor(const QColor& windowColor)
{
    const QColor darkBlue(0x1a, 0x5f, 0xb4);
    const QColor lightBlue(0x99, 0xc1, 0xf1);
    return contrastRatio(darkBlue, windowColor) >= contrastRatio(lightBlue, windowColor) ? darkBlue
                                                                                         : lightBlue;
}

QString StyleSheet::text(const QColor& windowColor)
{
    // Only the focused state is styled, so that every other state keeps the platform's drawing. A
    // button drawn by the style sheet needs its own background and padding to stay a button.
    const QString color = focusColor(windowColor).name();
    const QString border =
        QStringLiteral("border: %1px solid %2; border-radius: 3px;").arg(FOCUS_FRAME_WIDTH).arg(color);
    // Lists, tables and the note field lay out their contents inside the frame width of their
    // unfocused state: that state gets the same width (a thin line and padding) so that the focused
    // frame is not drawn under the contents. Table headers are item views too, but frameless.
    return QStringLiteral(
               "QLineEdit:focus, QAbstractSpinBox:focus, QComboBox:focus, QTabBar:focus, QLabel:focus,"
               " QCheckBox:focus, QRadioButton:focus { %1 }\n"
               "QAbstractItemView, QPlainTextEdit { border: 1px solid palette(mid); padding: 1px; }\n"
               "QAbstractItemView:focus, QPlainTextEdit:focus { %1 padding: 0px; }\n"
               "QHeaderView { border: none; padding: 0px; }\n"
               "QPushButton:focus { %1 background-color: palette(button); padding: 3px 10px; }\n")
        .arg(border);
}

void StyleSheet::install(QApplication* application)
{
    if (qobject_cast<QProxyStyle*>(application->style()) == nullptr)
        QApplication::setStyle(new RoomyButtonStyle(QStyleFactory::create(application->style()->name())));
    application->setStyleSheet(text(application->palette().color(QPalette::Window)));
}
