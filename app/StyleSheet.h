#ifndef STYLESHEET_H
#define STYLESHEET_H

#include <QColor>
#include <QString>

class QApplication;

// The application's style and style sheet: the platform's look, with roomier push buttons and a focus
// frame that keyboard users can see.
class StyleSheet
{
public:
    // The width of the focus frame, in pixels.
    static constexpr int FOCUS_FRAME_WIDTH = 2;
    // Room added on each side of a push button's text, and for the arrow of a button with a menu.
    static constexpr int BUTTON_EXTRA_PADDING = 4;
    static constexpr int MENU_ARROW_ROOM = 8;

    // Installs both, the style sheet for the palette the application has now.
    static void install(QApplication* application);
    // The colour of the focus frame over a window of colour `windowColor`: a dark blue on light
    // windows, a light blue on dark ones, so that it stands out at least 3:1 against either.
    static QColor focusColor(const QColor& windowColor);
    static QString text(const QColor& windowColor);
    // WCAG contrast ratio between two colours (1 to 21).
    static double contrastRatio(const QColor& first, const QColor& second);
};

#endif
