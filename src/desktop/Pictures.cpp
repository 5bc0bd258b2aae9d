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
    return QCursor(pixmap, hotSpot.x(), hotSpot.y());
}

} // namespace Pictures
