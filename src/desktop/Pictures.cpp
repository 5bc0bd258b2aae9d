#include "desktop/Pictures.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace Pictures {

QCursor cursor(const QString& resource, QPoint hotSpot, qreal devicePixelRatio) {
    QPixmap pixmap(QSize(32, 32) * devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(devicePixelRatio);
    // The hot spot is in design pixels; the picture is drawn at the screen's ratio.
    return QCursor(pixmap, qRound(hotSpot.x() * devicePixelRatio),
                   qRound(hotSpot.y() * devicePixelRatio));
}

} // namespace Pictures
