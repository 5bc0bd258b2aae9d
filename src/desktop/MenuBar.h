#pragma once

#include <QMenuBar>
#include <QPointer>

#include <memory>

// The window's menu bar as the keyboard drives it on the desktop the game comes from: Alt, or
// F10, takes the keyboard to it, the entry the keyboard is on is shown marked (the base style
// marks only an open menu's entry), Return triggers a plain entry such as "Nuovo gioco" and
// Escape lets it go, and either gives the keyboard back to where it was. An entry under a
// resting mouse has not the keyboard, and takes neither key.
class MenuBar final : public QMenuBar {
public:
    explicit MenuBar(QWidget* window);
    ~MenuBar() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void actionEvent(QActionEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Style;

    std::unique_ptr<Style> m_style;
    QPointer<QWidget> m_returnTo; // where F10 took the keyboard from
};
