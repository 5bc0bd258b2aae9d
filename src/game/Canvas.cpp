#include "game/Canvas.h"

#include "game/TavolaDesign.h"

namespace {
// The window's own colour, seen only until the first gradient.
const QColor windowColour(0xF0, 0xF0, 0xF0);
} // namespace

Canvas::Canvas() {
    setDevicePixelRatio(1.0);
}

void Canvas::setDevicePixelRatio(qreal ratio) {
    if (!m_image.isNull() && qFuzzyCompare(m_image.devicePixelRatio(), ratio))
        return;
    const QSize logical(TavolaDesign::clientWidth, TavolaDesign::clientHeight);
    QImage sharper(logical * ratio, QImage::Format_RGB32);
    sharper.setDevicePixelRatio(ratio);
    if (m_image.isNull()) {
        sharper.fill(windowColour);
    } else {
        QPainter painter(&sharper);
        painter.drawImage(QRect(QPoint(0, 0), logical), m_image);
    }
    m_image = std::move(sharper);
    changed();
}

void Canvas::clear() {
    m_image.fill(windowColour);
    changed();
}

Canvas::Drawing::Drawing(Canvas& canvas, int penWidth)
    : m_canvas(canvas)
    , m_painter(&canvas.m_image)
    , m_penWidth(penWidth) {}

Canvas::Drawing::~Drawing() {
    m_painter.end();
    m_canvas.changed();
}

void Canvas::Drawing::rectangle(QPointF corner, QPointF oppositeCorner, QColor colour) {
    constexpr double pixelsPerUnit =
        static_cast<double>(TavolaDesign::clientHeight) / TavolaDesign::scaleHeight;
    const QRectF box = QRectF(QPointF(corner.x(), corner.y() * pixelsPerUnit),
                              QPointF(oppositeCorner.x(), oppositeCorner.y() * pixelsPerUnit))
                           .normalized();
    // Inside frame: the pen's whole width lies within the rectangle, so where the box is no
    // taller than two pens its top and bottom sides meet.
    const double pen = m_penWidth;
    const double across = std::min(pen, box.height());
    const double down = std::min(pen, box.width());
    m_painter.fillRect(QRectF(box.left(), box.top(), box.width(), across), colour);
    m_painter.fillRect(QRectF(box.left(), box.bottom() - across, box.width(), across), colour);
    m_painter.fillRect(QRectF(box.left(), box.top(), down, box.height()), colour);
    m_painter.fillRect(QRectF(box.right() - down, box.top(), down, box.height()), colour);
}
