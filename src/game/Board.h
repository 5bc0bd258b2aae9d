#pragma once

#include "game/Canvas.h"
#include "game/Control.h"
#include "game/GameTimer.h"

#include <QHash>
#include <QString>

#include <array>
#include <deque>

// Everything the game window holds, as the rules see it: the controls in their stored order,
// the two timers, the caption and the persistent drawing.
class Board {
public:
    Board();
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    const std::deque<Control>& controls() const { return m_controls; }
    Control* find(QStringView name);

    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption);
    // A menu entry's caption: the design's, until a handler sets another.
    QString menuCaption(const QString& name) const;
    void setMenuCaption(const QString& name, const QString& caption);

    // A match the player paused: nothing moves or counts until it is taken up again.
    bool isPaused() const { return m_paused; }
    void setPaused(bool paused);

    // Both timers held for a box or a pause, and released again: see GameTimer::hold.
    void holdTimers() {
        Timer1.hold();
        Timer2.hold();
    }
    void releaseTimers() {
        Timer1.release();
        Timer2.release();
    }

    // The six number buttons, the right targets first.
    std::array<const Control*, 6> targets() const {
        return {&paricmd, &paricmd1, &paricmd2, &disparicmd, &disparicmd1, &disparicmd2};
    }

    // Back to the design state, as when the window is loaded again; no pause.
    void reset();
    void setObserver(BoardObserver* observer);

    // The window's outer width in twips, as the gradient reads it.
    int outerWidthTwips = (TavolaDesign::clientWidth + 16) * TavolaDesign::twipsPerPixel;

private:
    Control& at(const char* name);

    std::deque<Control> m_controls; // never resized, so the references below stay valid
    QString m_caption;
    QHash<QString, QString> m_menuCaptions; // those set by a handler
    BoardObserver* m_observer = nullptr;
    bool m_paused = false;

public:
    // The design's names: "pari" buttons carry the right targets, the lesson's multiples, and
    // "dispari" ones the wrong targets; not even and odd numbers (in the lesson of 3, 4 is a
    // "dispari" number).
    Control& disparicmd2;
    Control& disparicmd1;
    Control& paricmd2;
    Control& paricmd1;
    Control& cmdExit;
    Control& cmdNext;
    Control& paricmd;
    Control& disparicmd;
    Control& lblMessage;
    Control& Punteggio;
    Control& lblpunti;
    Control& lblnome;
    Control& lblnome1;
    Control& lblconto;
    Control& lblNum1;
    Control& lblNum2;
    GameTimer Timer1{TavolaDesign::timer1};
    GameTimer Timer2{TavolaDesign::timer2};
    Canvas canvas;
};
