#include "game/StartUp.h"

#include "game/Game.h"
#include "game/Lessons.h"
#include "platform/Int16.h"
#include "platform/NumberText.h"

void StartUp::Form_Initialize() {
    readSettings();
    // The question needs the window's controls, so the window is loaded first.
    Form_Load();
    m_game.questionBoard.cmdNext_Click();
}

void StartUp::Form_Load() {
    Board& board = m_game.board;
    GameState& state = m_game.state;

    board.Timer1.setEnabled(false);
    board.Timer2.setEnabled(false);
    board.setCaption(Lessons::title(state.divisor));
    for (const QString& entry : {QStringLiteral("Ciao"), QStringLiteral("d"), QStringLiteral("h")})
        board.setMenuCaption(entry, Lessons::hint(state.divisor, entry));
    const QString name =
        m_game.inputBox(QStringLiteral("Come ti chiami?"), QStringLiteral("Zenobra"), QString());
    m_game.messageBox(
        {.text = QStringLiteral(" ") + name + QStringLiteral(" vediamo se sei un vero campione  "),
         .spoken = true});
    board.lblnome1.setCaption(name);
    m_game.clock.Azzeraorologio();
    state.windir = m_game.GetSystemDir();
    m_game.exitSequence.showRecord();
    m_game.review.matchBegins();
    state.restanti = toInt16(static_cast<double>(state.secondi) + 300.0);
    board.lblconto.setCaption(m_game.clock.clockText());
    board.Timer2.setInterval(state.pace);
    if (state.isPractice()) { // no countdown, and no record at the end
        board.Timer1.setEnabled(false);
        board.lblconto.setCaption(QStringLiteral("--:--:--"));
        board.find(u"Label11")
            ->setCaption(state.review ? QStringLiteral("Ripasso") : QStringLiteral("Allenamento"));
    }
    m_game.questionBoard.cmdNext_Click();
}

void StartUp::Form_Activate() {
    Board& board = m_game.board;
    Random& random = m_game.random();
    const auto number = [&](Control& button, qint16 seed, double range, int remainder) {
        random.reseed(seed);
        const qint16 number = m_game.lessonNumber(range, 1, remainder);
        const qint16 drawn =
            remainder ? m_game.review.wrongTarget(number) : m_game.review.rightTarget(number);
        button.setCaption(NumberText::plain(drawn));
        return drawn;
    };

    number(board.disparicmd, 0, 100, 1);
    number(board.disparicmd1, 0, 100, 7);
    number(board.disparicmd2, 0, 100, 5);
    number(board.paricmd, 0, 100, 0);
    const qint16 paricmd1Number = number(board.paricmd1, 0, 150, 0);
    number(board.paricmd2, paricmd1Number, 800, 0);

    m_game.state.punti = 0;
    m_game.exitSequence.matchBegins();
    board.Punteggio.setCaption(QString() + NumberText::plain(m_game.state.punti));
    m_game.questionBoard.cmdNext_Click();
}

void StartUp::Form_Resize(bool minimized) {
    if (minimized)
        m_game.board.setCaption(Lessons::title(m_game.state.divisor));
}

void StartUp::readSettings() {
    GameState& state = m_game.state;
    const Settings& settings = m_game.folders().settings();
    state.divisor = qint16(settings.lesson.value);
    state.lessonFixed = settings.lesson.fixed;
    state.explanations = settings.explanations;
    state.practice = settings.practice.value;
    state.practiceFixed = settings.practice.fixed;
    state.pace = qint16(settings.pace.value);
    state.paceFixed = settings.pace.fixed;
    state.reviewOn = settings.reviewOn;
    state.review = state.reviewFixed = settings.reviewAlways;
    state.readAloud = settings.readAloud.value;
    state.readAloudFixed = settings.readAloud.fixed;
    // Told once, before the name is asked; a new match does not tell them again.
    for (const QString& problem : settings.problems)
        m_game.messageBoxWithTimersHeld({problem});
}
