#include "game/Clock.h"

#include "game/Game.h"
#include "platform/Int16.h"
#include "platform/NumberText.h"

QString Clock::clockText() const {
    const GameState& state = m_game.state;
    return NumberText::twoDigits(state.ore) + QLatin1Char(':') +
           NumberText::twoDigits(state.minuti) + QLatin1Char(':') +
           NumberText::twoDigits(state.secondi);
}

void Clock::Azzeraorologio() {
    GameState& state = m_game.state;
    m_game.board.Timer1.setEnabled(true);
    state.ore = 0;
    state.minuti = 5;
    state.secondi = 0.0f;
    state.restanti = toInt16(static_cast<double>(300.0f));
    m_game.board.lblconto.setCaption(clockText());
}

void Clock::Timer1_Timer() {
    GameState& state = m_game.state;
    // The exit sequence never returns.
    if (m_game.board.lblconto.caption() == QLatin1String("00:00:00"))
        m_game.exitSequence.cmdExit_Click(ClassRegister::Ending::TimeUp);
    if (state.restanti <= 0) {
        // Held while the box is open, so later ticks do not pile more boxes on it.
        m_game.board.Timer1.setEnabled(false);
        m_game.messageBox({QStringLiteral("Tempo scaduto")});
        m_game.exitSequence.cmdExit_Click(ClassRegister::Ending::TimeUp);
    }
    if (state.secondi == 0.0f) {
        if (state.minuti > 0) {
            state.minuti = add16(state.minuti, -1);
            state.secondi = 60.0f;
        } else if (state.ore > 0) {
            state.ore = add16(state.ore, -1);
            state.minuti = 59;
            state.secondi = 60.0f;
        }
    }
    state.secondi -= 1.0f;
    state.restanti = add16(state.restanti, -1);
    m_game.board.lblconto.setCaption(clockText());
}
