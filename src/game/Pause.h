#pragma once

#include <QString>

#include <vector>

class Control;
class Game;

// The pause: the player stops the match and takes it up again as it was. Both timers stop, so
// the clock loses no second, and the numbers in sight hide, so nobody can look ahead.
class Pause {
public:
    explicit Pause(Game& game)
        : m_game(game) {}

    // The menu's entry and the P key: a pause, or the match again.
    void toggle();
    void resume();

private:
    void start();

    Game& m_game;
    bool m_clockRan = false;
    bool m_shuffleRan = false;
    std::vector<Control*> m_inSight;
    QString m_message;
};
