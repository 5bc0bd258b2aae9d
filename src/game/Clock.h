#pragma once

#include <QString>

class Game;

// The five-minute countdown shown in lblconto.
class Clock {
public:
    explicit Clock(Game& game)
        : m_game(game) {}

    void Azzeraorologio();
    void Timer1_Timer();
    // ore, minuti and secondi, two digits each, joined by ":".
    QString clockText() const;

private:
    Game& m_game;
};
