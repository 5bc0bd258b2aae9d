#pragma once

#include <QWidget>

class Game;
class QAccessibleInterface;
class QMainWindow;

// The client area: the persistent drawing, and the clicks and keys on the background. Space or
// Return with no modifier, not repeated by a key held down, is a click too; in a pause, so is
// any key that types.
class PlaySurface final : public QWidget {
public:
    PlaySurface(QWidget* parent, Game& game);
    QSize sizeHint() const override;

    // What assistive tools are offered of it: its shown controls only.
    static QAccessibleInterface* accessible(const QString& className, QObject* object);
    // Puts the surface, at its designed size, in the middle of the window, and gives the window
    // its size rule: fixed, as the window system is told, or, under Wayland, at least that.
    void placeIn(QMainWindow& window);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Game& m_game;
    bool m_pressed = false;
};
