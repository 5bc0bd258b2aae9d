#pragma once

class Game;

// A click on the window's own surface: a new question of its own, the laser, and the targets
// set moving.
class BackgroundClick {
public:
    explicit BackgroundClick(Game& game)
        : m_game(game) {}

    void Form_Click();

private:
    Game& m_game;
};
