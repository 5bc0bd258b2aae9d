#include "game/Control.h"

#include <cmath>

Control::Control(const TavolaDesign::ControlDesign& design)
    : m_design(&design) {
    reset();
}

void Control::setCaption(const QString& caption) {
    if (caption == m_caption)
        return;
    m_caption = caption;
    changed(ControlChange::Caption);
}

void Control::setVisible(bool visible) {
    if (visible == m_visible)
        return;
    m_visible = visible;
    changed(ControlChange::Visible);
}

void Control::setBackground(QRgb rgb) {
    if (rgb == m_background)
        return;
    m_background = rgb;
    changed(ControlChange::Background);
}

void Control::setLeft(int units) {
    if (units == m_position.x())
        return;
    m_position.setX(units);
    changed(ControlChange::Position);
}

void Control::setTop(int units) {
    const int pixels = static_cast<int>(std::lround(
        static_cast<double>(units) * TavolaDesign::clientHeight / TavolaDesign::scaleHeight));
    if (pixels == m_position.y())
        return;
    m_position.setY(pixels);
    changed(ControlChange::Position);
}

void Control::reset() {
    setCaption(QString::fromUtf8(m_design->text));
    setVisible(!m_design->hidden);
    setBackground(m_design->background.isValid() ? m_design->background.rgb() : 0);
    const QPoint designPosition = designGeometry().topLeft();
    if (designPosition != m_position) {
        m_position = designPosition;
        changed(ControlChange::Position);
    }
}
