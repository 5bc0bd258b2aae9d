#include "game/BackgroundClick.h"

#include "game/Game.h"

void BackgroundClick::Form_Click() {
    Board& board = m_game.board;
    board.lblMessage.setCaption({});
    const auto [first, second] = m_game.questionBoard.poseQuestion();
    m_game.suona(m_game.applicationFolder() + QLatin1String(Sounds::laser));
    m_game.questionBoard.paintGradient(first, second);
    board.Timer2.setEnabled(true);
    m_game.shuffle.Timer2_Timer();
}
