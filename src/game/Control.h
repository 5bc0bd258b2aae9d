#pragma once

#include "game/BoardObserver.h"
#include "game/TavolaDesign.h"

#include <QRect>
#include <QRgb>
#include <QString>

// One control of the game window as the rules see it. Setting a property to the value it
// already has does nothing, so the hit handlers' flash loops stay cheap.
class Control {
public:
    explicit Control(const TavolaDesign::ControlDesign& design);

    const TavolaDesign::ControlDesign& design() const { return *m_design; }
    QString name() const { return QString::fromLatin1(m_design->name); }

    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption) { set(m_caption, caption, ControlChange::Caption); }

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible) { set(m_visible, visible, ControlChange::Visible); }
    void show() { setVisible(true); }
    void hide() { setVisible(false); }

    QRgb background() const { return m_background; }
    void setBackground(QRgb rgb) { set(m_background, rgb, ControlChange::Background); }

    // Left in pixels; top in the board's units, scaleHeight of them down the client height.
    void setLeft(int units) { setPosition({units, m_position.y()}); }
    void setTop(int units);
    QPoint position() const { return m_position; }
    QRect designGeometry() const { return TavolaDesign::pixelGeometry(*m_design); }

    void reset();
    void setObserver(BoardObserver* observer) { m_observer = observer; }

private:
    template <typename Value> void set(Value& property, const Value& value, ControlChange change) {
        if (property == value)
            return;
        property = value;
        if (m_observer)
            m_observer->controlChanged(*this, change);
    }
    void setPosition(QPoint pixels) { set(m_position, pixels, ControlChange::Position); }

    const TavolaDesign::ControlDesign* m_design;
    QString m_caption;
    bool m_visible = true;
    QRgb m_background = 0;
    QPoint m_position;
    BoardObserver* m_observer = nullptr;
};
