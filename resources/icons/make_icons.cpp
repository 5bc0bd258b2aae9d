// Renders the game's SVG icon as the PNG sizes the desktop's icon theme wants:
//   make_icons <icon.svg> <folder>   writes <folder>/<size>/zenobra.png for 32, 64, 128 and 256.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

int main(int argc, char* argv[]) {
    // No screen is needed to draw into an image.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 3)
        return 2;
    QSvgRenderer renderer(args[1]);
    if (!renderer.isValid())
        return 1;
    for (int size : {32, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        const QString folder = QStringLiteral("%1/%2").arg(args[2]).arg(size);
        if (!QDir().mkpath(folder) || !image.save(folder + QStringLiteral("/zenobra.png")))
            return 1;
    }
    return 0;
}
