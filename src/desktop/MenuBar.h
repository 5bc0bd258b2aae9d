#pragma once

#include <QEvent>
#include <QMenuBar>

#include <memory>

class QKeyEvent;

// The window's menu bar as the keyboard drives it on the desktop the game comes from: F10 or
// Alt takes the keyboard to it, the entry the keyboard is on is shown marked (the base style
// marks only an open menu's entry), and Return on a plain entry such as "Nuovo gioco" triggers
// it, Escape lets it go, wherever the keyboard is; either gives the keyboard back to the play
// surface. An entry under a resting mouse is no choice of the player's: it takes neither key.
class MenuBar final : public QMenuBar {
public:
    MenuBar(QWidget* window, QWidget* playSurface);
    ~MenuBar() override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void actionEvent(QActionEvent* event) override;

private:
    class Style;

    void noteWhoMoves(QEvent::Type type);
    bool takeKey(const QKeyEvent& key);

    QWidget* m_playSurface;
    bool m_byKeyboard = false; // the highlight came from the keyboard
    std::unique_ptr<Style> m_style;
};
