#include "game/Shuffle.h"

#include "game/Game.h"
#include "platform/Int16.h"
#include "platform/NumberText.h"

#include <algorithm>

int Shuffle::draw(double range) {
    return static_cast<int>(intPart(m_game.random().next() * range));
}

void Shuffle::Timer2_Timer() {
    Board& board = m_game.board;
    board.paricmd1.show();
    board.disparicmd1.show();
    board.disparicmd2.show();
    m_game.random().reseedFromTime();
    const int k = draw(6) + 1;
    // Move k; the last one takes any other k, as the case after the fifth always has.
    static constexpr void (Shuffle::*moves[])() = {&Shuffle::move1, &Shuffle::move2,
                                                   &Shuffle::move3, &Shuffle::move4,
                                                   &Shuffle::move5, &Shuffle::move6};
    (this->*moves[std::min(k, 6) - 1])();
    m_game.review.jumped();
}

void Shuffle::move1() {
    Board& board = m_game.board;
    board.paricmd1.hide();
    board.disparicmd1.hide();
    board.disparicmd2.hide();
    board.disparicmd.setLeft(draw(450));
    board.disparicmd.setTop(draw(1100));
    board.paricmd.show();
    board.paricmd1.setLeft(draw(300));
    board.paricmd.setTop(draw(600));
    board.paricmd2.show();
}

void Shuffle::move2() {
    Board& board = m_game.board;
    GameState& state = m_game.state;
    board.paricmd.setLeft(draw(800));
    board.paricmd.setTop(draw(800));
    board.paricmd.show();
    board.paricmd1.setLeft(draw(300));
    board.paricmd1.setTop(draw(300));
    board.paricmd1.show();
    m_game.random().reseed(state.ndispari1);
    state.ndispari1 = m_game.review.wrongTarget(m_game.lessonNumber(200, 1, 8));
    board.disparicmd1.setCaption(NumberText::plain(state.ndispari1));
}

void Shuffle::move3() {
    Board& board = m_game.board;
    GameState& state = m_game.state;
    board.paricmd.hide();
    board.disparicmd.hide();
    board.paricmd2.setTop(draw(150));
    board.paricmd1.setTop(draw(300));
    board.disparicmd1.setTop(draw(300));
    board.disparicmd2.setTop(draw(150));
    board.disparicmd2.setLeft(draw(50));
    board.paricmd1.hide();
    board.disparicmd2.show();
    m_game.random().reseed(state.ndispari);
    state.ndispari = m_game.review.wrongTarget(m_game.lessonNumber(900, 1, 6));
    board.disparicmd.setCaption(NumberText::plain(state.ndispari));
}

void Shuffle::move4() {
    Board& board = m_game.board;
    board.disparicmd2.hide();
    board.disparicmd.show();
    board.disparicmd.setLeft(draw(300) + 1);
    board.disparicmd.setTop(draw(1000) + 1);
    board.paricmd1.setTop(draw(500));
    board.paricmd1.setLeft(draw(300));
    board.paricmd2.show();
}

void Shuffle::move5() {
    Board& board = m_game.board;
    board.paricmd.hide();
    board.disparicmd.hide();
    board.paricmd2.setTop(draw(200));
    board.paricmd1.setTop(draw(300));
    board.disparicmd1.setTop(draw(900));
    board.disparicmd2.setTop(draw(500));
    board.disparicmd.setTop(draw(300));
    board.paricmd1.hide();
    board.disparicmd2.hide();
}

void Shuffle::move6() {
    Board& board = m_game.board;
    GameState& state = m_game.state;
    board.paricmd1.hide();
    board.disparicmd1.hide();
    board.paricmd.setTop(draw(200));
    board.paricmd2.setTop(draw(30));
    board.disparicmd.setTop(draw(900));
    board.disparicmd1.setTop(draw(70));
    board.disparicmd2.setTop(draw(250));
    board.disparicmd1.setLeft(draw(300));
    board.disparicmd2.show();
    m_game.random().reseed(state.ndispari2);
    state.ndispari2 = m_game.review.wrongTarget(m_game.lessonNumber(80, 1, 3));
    board.disparicmd2.setCaption(NumberText::plain(state.ndispari2));
}
