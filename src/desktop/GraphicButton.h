#pragma once

#include <QAbstractButton>
#include <QIcon>

// A graphical push button: its own background colour and pictures instead of the system look.
// Changing the colour only schedules a repaint.
class GraphicButton final : public QAbstractButton {
public:
    explicit GraphicButton(QWidget* parent = nullptr)
        : QAbstractButton(parent) {}

    void setColour(QColor colour);
    QColor colour() const { return m_colour; }
    void setPictures(const QIcon& normal, const QIcon& pressed, const QIcon& disabled);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QFont fittingFont(int width) const;

    QColor m_colour;
    QIcon m_normal;
    QIcon m_pressed;
    QIcon m_disabled;
};
