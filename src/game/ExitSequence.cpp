#include "game/ExitSequence.h"

#include "game/Game.h"
#include "platform/Int16.h"
#include "platform/NumberText.h"

#include <algorithm>

namespace {
QString holderOf(const RecordStore::Record& record) {
    const QString holder = record.name.trimmed();
    return holder.isEmpty() ? QStringLiteral("un altro giocatore") : holder;
}
} // namespace

QString ExitSequence::beatenMeanwhile(const RecordStore::Record& higher) {
    return QStringLiteral(
               "Mentre giocavi, %1 ha fatto un record di %2 punti: il tuo punteggio non lo supera.")
        .arg(holderOf(higher), higher.score.trimmed());
}

QString ExitSequence::higherThanTheScore(const RecordStore::Record& higher) {
    return QStringLiteral("Il record è di %1 con %2 punti: il tuo punteggio non lo supera.")
        .arg(holderOf(higher), higher.score.trimmed());
}

RecordStore ExitSequence::store() const {
    return RecordStore(m_game.state.windir, {.lesson = m_game.state.divisor});
}

void ExitSequence::showRecord() {
    Board& board = m_game.board;
    m_game.state.nfile = 1;
    const RecordStore::Loaded loaded = m_game.state.windir.isEmpty()
                                           ? RecordStore::Loaded{{}, m_game.systemDirProblem()}
                                           : store().load();
    board.lblpunti.setCaption(loaded.record.score);
    board.lblnome.setCaption(loaded.record.name);
    m_recordShown = loaded.problem.isEmpty();
    // The clock has started: it waits while the player reads this.
    if (!loaded.problem.isEmpty())
        m_game.messageBoxWithTimersHeld({loaded.problem});
}

void ExitSequence::matchBegins() {
    GameState& state = m_game.state;
    state.matchStart = m_game.time().now();
    state.rightHits = 0;
    state.wrongNumbers.clear();
    state.letPass.clear();
    state.awayMs = 0;
}

QString ExitSequence::registerMatch(ClassRegister::Ending ending, bool record) {
    GameState& state = m_game.state;
    const QDateTime start = std::exchange(state.matchStart, {});
    if (start.isNull())
        return {};
    const QString historyProblem = m_game.review.matchEnds();
    if (state.windir.isEmpty() || !m_game.folders().settings().registerOn)
        return historyProblem;
    const QDateTime now = m_game.time().now();
    const qint64 played = start.msecsTo(now) - state.awayMs - m_game.pause.pausedMs();
    const QString registerProblem =
        ClassRegister::append(state.windir, {.date = now.date(),
                                             .time = now.time(),
                                             .user = m_game.folders().loginName(),
                                             .name = m_game.board.lblnome1.caption(),
                                             .lesson = state.divisor,
                                             .kind = state.kind(),
                                             .score = state.punti,
                                             .right = state.rightHits,
                                             .wrong = int(state.wrongNumbers.size()),
                                             .wrongNumbers = state.wrongNumbers,
                                             .ending = ending,
                                             .seconds = int(std::max<qint64>(played, 0) / 1000),
                                             .record = record,
                                             .letPass = state.letPass});
    return QStringList{historyProblem, registerProblem}.join(u' ').trimmed();
}

void ExitSequence::matchLeft(ClassRegister::Ending ending) {
    if (const QString problem = registerMatch(ending, false); !problem.isEmpty())
        m_game.messageBoxWithTimersHeld({problem});
}

void ExitSequence::cmdExit_Click(ClassRegister::Ending ending) {
    if (m_exiting)
        throw ProgramEnded{};
    m_exiting = true;
    // Held from here on: a tick cannot start the exit sequence again inside its own boxes.
    Board& board = m_game.board;
    GameState& state = m_game.state;
    board.Timer1.setEnabled(false);
    board.Timer2.setEnabled(false);

    m_game.messageBox({.text = QStringLiteral("              Ciao a presto."), .spoken = true});
    for (state.attesa = 1; state.attesa <= 1000; state.attesa = add16(state.attesa, 1)) {
    }
    const double record = NumberText::numberValue(board.lblpunti.caption());
    const double score = NumberText::numberValue(board.Punteggio.caption());
    if (state.isPractice() || record >= score) { // a practice match keeps no record
        matchLeft(ending);
        m_game.endProgram();
    }

    state.nfile = 1;
    state.riga = board.Punteggio.caption();
    using Outcome = RecordStore::Saved::Outcome;
    const RecordStore::Saved saved =
        state.windir.isEmpty()
            ? RecordStore::Saved{Outcome::Failed,
                                 m_game.systemDirProblem() + RecordStore::notSaved,
                                 {}}
            : store().save(state.riga, board.lblnome1.caption());
    state.riga = board.lblnome1.caption();
    // The record first: a register that fails cannot cost it.
    const QString registerProblem = registerMatch(ending, saved.outcome == Outcome::Written);
    if (saved.outcome == Outcome::Written)
        m_game.messageBox({QStringLiteral("Ok ho registrato il tuo record, C A M P I O N E\"")});
    else if (saved.outcome == Outcome::Failed)
        m_game.messageBox({saved.problem});
    else if (m_recordShown)
        m_game.messageBox({beatenMeanwhile(saved.higher)});
    else
        m_game.messageBox({higherThanTheScore(saved.higher)});
    if (!registerProblem.isEmpty())
        m_game.messageBox({registerProblem});
    m_game.endProgram();
}
