#pragma once

class Game;

// The target shuffle: at each tick one of six moves shows, hides, moves and renumbers the
// number buttons.
class Shuffle {
public:
    explicit Shuffle(Game& game)
        : m_game(game) {}

    void Timer2_Timer();

private:
    int draw(double range); // Int(r × range) with a fresh r
    void move1();
    void move2();
    void move3();
    void move4();
    void move5();
    void move6();

    Game& m_game;
};
