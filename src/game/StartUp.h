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
    // The lesson the settings name, or 15; a setting that names no lesson is told.
    void chooseLesson();
    // A practice match, and the pace, as the settings say; a value that cannot be used is told.
    void chooseMatch();

    Game& m_game;
};
