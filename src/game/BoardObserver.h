#pragma once

class Control;
class GameTimer;
class QString;

enum class ControlChange { Caption, Visible, Position, Background };

// How the board tells its window what changed. One interface for every part of the board:
// the window is the board's only listener, and a virtual call is all the hit path can afford
// (the flash loops set properties thousands of times).
class BoardObserver {
public:
    virtual ~BoardObserver() = default;
    virtual void controlChanged(const Control& /*control*/, ControlChange /*change*/) {}
    virtual void timerChanged(const GameTimer& /*timer*/) {}
    virtual void captionChanged(const QString& /*caption*/) {}
    virtual void canvasChanged() {}
    virtual void pauseChanged(bool /*paused*/) {}
    virtual void menuCaptionChanged(const QString& /*name*/) {}
    // Every control is back in its design state.
    virtual void boardReset() {}
};
