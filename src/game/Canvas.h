#pragma once

#include "game/BoardObserver.h"

#include <QColor>
#include <QImage>
#include <QPainter>

// The window's persistent drawing: kept in an image of the client area that lies under
// every control and is painted again whenever the window is uncovered.
class Canvas {
public:
    Canvas();

    const QImage& image() const { return m_image; }
    void setDevicePixelRatio(qreal ratio);
    void clear();
    void setObserver(BoardObserver* observer) { m_observer = observer; }

    // Outlines drawn with an inside-frame solid pen in copy mode. Coordinates are in the
    // board's units: one per pixel across, scaleHeight down the client height.
    class Drawing {
    public:
        Drawing(Canvas& canvas, int penWidth);
        ~Drawing();
        Drawing(const Drawing&) = delete;
        Drawing& operator=(const Drawing&) = delete;
        void rectangle(QPointF corner, QPointF oppositeCorner, QColor colour);

    private:
        Canvas& m_canvas;
        QPainter m_painter;
        int m_penWidth;
    };

private:
    void changed() {
        if (m_observer)
            m_observer->canvasChanged();
    }

    QImage m_image;
    BoardObserver* m_observer = nullptr;
};
