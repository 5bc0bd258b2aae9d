#include "game/Control.h"

#include <cmath>

Control::Control(const TavolaDesign::ControlDesign& design)
    : m_design(&design) {
    reset();
}

void Control::setTop(int units) {
    const double pixels = double(units) * TavolaDesign::clientHeight / TavolaDesign::scaleHeight;
    setPosition({m_position.x(), static_cast<int>(std::lround(pixels))});
}

void Control::reset() {
    setCaption(QString::fromUtf8(m_design->text));
    setVisible(!m_design->has(TavolaDesign::Hidden));
    setBackground(m_design->background.isValid() ? m_design->background.rgb() : 0);
    setPosition(designGeometry().topLeft());
}
