#pragma once

#include "records/ClassRegister.h"

#include <QtGlobal>

#include <utility>

class Game;

// The multiplication question whose colours paint the window, and the new-match command.
class QuestionBoard {
public:
    explicit QuestionBoard(Game& game)
        : m_game(game) {}

    void cmdNext_Click();
    void Next_Click();
    // A lesson chosen in the menu: the new-match question, then a new match in that lesson.
    void chooseLesson(int divisor);
    // A practice match or a match, and the pace, chosen in the menu: the same question first.
    void chooseMatch(ClassRegister::Kind kind, int pace);
    // A new question, shown: the first factor from 1 to 9, the second from 0 to 9.
    std::pair<qint16, qint16> poseQuestion();
    // The 256-band gradient: red 20 × first, green 20 × second, blue from 0 down to 255.
    void paintGradient(qint16 first, qint16 second);

private:
    bool newMatchWanted();
    // The window closed and opened again on the same object, for a new match.
    void startAgain();

    Game& m_game;
};
