// Renders an SVG icon to square PNG files: pavisor_icon_render ICON.svg SIZE OUT.png [SIZE OUT.png ...]
// Used by the install rules for the Linux icon theme and the macOS icon set.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[])
{
    // No window is shown: the offscreen platform keeps the tool working without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 4 || arguments.size() % 2 != 0)
    {
        std::fprintf(stderr, "Usage: pavisor_icon_render ICON.svg SIZE OUT.png [SIZE OUT.png ...]\n");
        return 1;
    }
    QSvgRenderer renderer(arguments.at(1));
    if (!renderer.isValid())
    {
        std::fprintf(stderr, "pavisor_icon_render: cannot read %s\n", qPrintable(arguments.at(1)));
        return 2;
    }
    for (int index = 2; index < arguments.size(); index += 2)
    {
        bool isNumber = false;
        const int size = arguments.at(index).toInt(&isNumber);
        const QString output = arguments.at(index + 1);
        if (!isNumber || size < 1 || size > 4096)
        {
            std::fprintf(stderr, "pavisor_icon_render: bad size %s\n", qPrintable(arguments.at(index)));
            return 1;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        if (!QDir().mkpath(QFileInfo(output).absolutePath()) || !image.save(output, "PNG"))
        {
            std::fprintf(stderr, "pavisor_icon_render: cannot write %s\n", qPrintable(output));
            return 2;
        }
    }
    return 0;
}
