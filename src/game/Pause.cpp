#include "game/Pause.h"

#include "game/Game.h"

void Pause::toggle() {
    if (m_game.board.isPaused())
        resume();
    else
        start();
}

void Pause::start() {
    Board& board = m_game.board;
    board.holdTimers();
    m_inSight.clear();
    for (Control* number : {&board.paricmd, &board.paricmd1, &board.paricmd2, &board.disparicmd,
                            &board.disparicmd1, &board.disparicmd2})
        if (number->isVisible()) {
            m_inSight.push_back(number);
            number->hide();
        }
    m_message = board.lblMessage.caption();
    board.lblMessage.setCaption(QStringLiteral("Pausa"));
    board.lblMessage.show();
    board.setPaused(true);
    m_since = m_game.time().now();
}

qint64 Pause::pausedMs() {
    return m_game.board.isPaused() ? m_since.msecsTo(m_game.time().now()) : 0;
}

void Pause::resume() {
    Board& board = m_game.board;
    if (!board.isPaused())
        return;
    m_game.state.awayMs += pausedMs();
    board.setPaused(false);
    board.lblMessage.hide();
    board.lblMessage.setCaption(m_message);
    for (Control* number : m_inSight)
        number->show();
    board.releaseTimers();
}
