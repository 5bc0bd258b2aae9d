#include "desktop/GraphicButton.h"

#include <QKeyEvent>
#include <QPainter>
#include <qdrawutil.h>

void GraphicButton::setColour(QColor colour) {
    if (colour == m_colour)
        return;
    m_colour = colour;
    update();
}

void GraphicButton::setPictures(const QIcon& normal, const QIcon& pressed, const QIcon& disabled) {
    m_normal = normal;
    m_pressed = pressed.isNull() ? normal : pressed;
    m_disabled = disabled.isNull() ? normal : disabled;
    update();
}

void GraphicButton::keyPressEvent(QKeyEvent* event) {
    // Return presses a focused button as Space does: what a child expects of a button.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

QFont GraphicButton::fittingFont(int width) const {
    // The designed font whenever the caption fits; else just small enough that a child reads
    // every digit of a long number, rather than half of it.
    QFont fitting = font();
    const QString caption = QString(text()).remove(QLatin1Char('&'));
    // The design's fonts are sized in pixels.
    for (int size = fitting.pixelSize();
         size > 6 && QFontMetrics(fitting).boundingRect(caption).width() > width; --size)
        fitting.setPixelSize(size - 1);
    return fitting;
}

void GraphicButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool sunken = isDown();
    const QRect frame = rect();
    painter.fillRect(frame, m_colour);
    qDrawWinButton(&painter, frame, palette(), sunken);

    QRect inside = frame.adjusted(3, 3, -3, -3);
    if (sunken)
        inside.translate(1, 1);
    const QIcon& picture = !isEnabled() ? m_disabled : sunken ? m_pressed : m_normal;
    if (!picture.isNull()) {
        // Picture above, caption below, as graphical buttons have always looked.
        const int side = std::min(32, inside.height() - fontMetrics().height());
        if (side > 8) {
            const QRect pictureBox(inside.center().x() - side / 2, inside.top(), side, side);
            picture.paint(&painter, pictureBox);
            inside.setTop(pictureBox.bottom() + 1);
        }
    }
    painter.setFont(fittingFont(inside.width()));
    if (isEnabled()) {
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(inside, Qt::AlignCenter | Qt::TextShowMnemonic, text());
        if (hasFocus()) {
            // A frame a child sees on any colour: black, 3 pixels, and white inside it.
            const QRectF ring = QRectF(frame).adjusted(3.5, 3.5, -3.5, -3.5);
            painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            painter.drawRect(ring);
            painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            painter.drawRect(ring.adjusted(2.5, 2.5, -2.5, -2.5));
        }
    } else {
        // The engraved grey of a disabled caption.
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(inside.translated(1, 1), Qt::AlignCenter | Qt::TextShowMnemonic, text());
        painter.setPen(palette().color(QPalette::Disabled, QPalette::ButtonText));
        painter.drawText(inside, Qt::AlignCenter | Qt::TextShowMnemonic, text());
    }
}
