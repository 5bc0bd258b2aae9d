#pragma once

#include <QDateTime>
#include <QString>

#include <vector>

class Control;
class Game;

// The pause: the player stops the match and takes it up again as it was. Both timers are held, so
// the clock loses no part of a second, and the numbers in sight hide, so nobody can look ahead.
class Pause {
public:
    explicit Pause(Game& game)
        : m_game(game) {}

    // The menu's entry and the P key: a pause, or the match again.
    void toggle();
    void resume();
    // How long the pause under way has lasted by now; 0 outside a pause.
    qint64 pausedMs();

private:
    void start();

    Game& m_game;
    std::vector<Control*> m_inSight;
    QString m_message;
    QDateTime m_since;
};
