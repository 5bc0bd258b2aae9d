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
    m_clockRan = board.Timer1.isEnabled();
    m_shuffleRan = board.Timer2.isEnabled();
    board.Timer1.setEnabled(false);
    board.Timer2.setEnabled(false);
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
}

void Pause::resume() {
    Board& board = m_game.board;
    if (!board.isPaused())
        return;
    board.setPaused(false);
    board.lblMessage.hide();
    board.lblMessage.setCaption(m_message);
    for (Control* number : m_inSight)
        number->show();
    board.Timer1.setEnabled(m_clockRan);
    board.Timer2.setEnabled(m_shuffleRan);
}
