#include "play/BackgroundClick.h"

#include "game/Game.h"
#include "platform/Int16.h"
#include "platform/NumberText.h"

void BackgroundClick::Form_Click() {
    Board& board = m_game.board;
    Random& random = m_game.random();

    board.lblMessage.setCaption({});
    random.reseedFromTime();
    qint16 first = 0;
    do {
        first = toInt16(intPart(random.next() * 10.0));
    } while (first == 0);
    const qint16 second = toInt16(intPart(random.next() * 10.0));
    board.lblNum1.setCaption(NumberText::atLeastOneDigit(first));
    board.lblNum2.setCaption(NumberText::atLeastOneDigit(second));
    m_game.suona(m_game.applicationFolder() + QLatin1String(Sounds::laser));
    m_game.questionBoard.paintGradient(first, second);
    board.Timer2.setEnabled(true);
    m_game.shuffle.Timer2_Timer();
}
