#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

class Game;
class Control;

// The six number buttons' click handlers: a click is judged by which button was clicked.
class Hits {
public:
    explicit Hits(Game& game)
        : m_game(game) {}

    void paricmd_Click();
    void paricmd1_Click();
    void paricmd2_Click();
    void disparicmd_Click();
    void disparicmd1_Click();
    void disparicmd2_Click();

private:
    using Renumber = std::function<qint16()>;
    void rightHit(Control& button, const Renumber& renumber);
    // The warning: the first piece, the number clicked, the second piece and the divisor.
    void wrongHit(Control& button, const QString& firstPiece, const QString& secondPiece,
                  const Renumber& renumber);
    // Draws Int(r × range) + offset until it is not a multiple of the lesson's divisor.
    qint16 drawWrongNumber(int range, int offset);

    Game& m_game;
};
