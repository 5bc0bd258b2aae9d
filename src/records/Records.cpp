#include "records/Records.h"

#include "game/Game.h"
#include "platform/Int16.h"
#include "platform/NumberText.h"

RecordStore Records::store() const {
    return RecordStore(m_game.state.windir, m_game.recordFaults());
}

RecordStore::Read Records::Leggifiletxt(const QString& nomefile) const {
    return RecordStore::read(nomefile);
}

void Records::showRecord() {
    Board& board = m_game.board;
    const RecordStore files = store();
    m_game.state.nfile = 1;
    QString problem = files.prepare();
    RecordStore::Read score;
    RecordStore::Read name;
    if (problem.isEmpty()) {
        score = Leggifiletxt(files.scorePath());
        name = Leggifiletxt(files.namePath());
        problem = score.ok() ? name.error : score.error;
    }
    if (!problem.isEmpty()) {
        // The game goes on without a record to show.
        board.lblpunti.setCaption({});
        board.lblnome.setCaption({});
        m_game.messageBox({problem});
        return;
    }
    board.lblpunti.setCaption(score.text);
    board.lblnome.setCaption(name.text);
}

void Records::cmdExit_Click() {
    if (m_exiting)
        throw ProgramEnded{};
    m_exiting = true;
    // Held from here on: a tick cannot start the exit sequence again inside its own boxes.
    Board& board = m_game.board;
    GameState& state = m_game.state;
    board.Timer1.setEnabled(false);
    board.Timer2.setEnabled(false);

    m_game.messageBox({QStringLiteral("              Ciao a presto.")});
    for (state.attesa = 1; state.attesa <= 1000; state.attesa = add16(state.attesa, 1)) {
    }
    const double record = NumberText::numberValue(board.lblpunti.caption());
    const double score = NumberText::numberValue(board.Punteggio.caption());
    if (record >= score)
        m_game.endProgram();

    state.nfile = 1;
    state.riga = board.Punteggio.caption();
    const RecordStore::Saved saved = store().save(state.riga, board.lblnome1.caption());
    state.riga = board.lblnome1.caption();
    if (saved.outcome == RecordStore::Saved::Outcome::Written)
        m_game.messageBox({QStringLiteral("Ok ho registrato il tuo record, C A M P I O N E\"")});
    else if (saved.outcome == RecordStore::Saved::Outcome::Failed)
        m_game.messageBox({saved.error});
    m_game.endProgram();
}
