#pragma once

class Game;

// How a match begins: initialization, the load of the window, its activation, and resizing.
class StartUp {
public:
    explicit StartUp(Game& game)
        : m_game(game) {}

    void Form_Initialize();
    void Form_Load();
    void Form_Activate();
    void Form_Resize(bool minimized);

private:
    // The lesson, a practice match or a race, and the pace, as the settings say; a value that
    // cannot be used is told.
    void readSettings();

    Game& m_game;
};
