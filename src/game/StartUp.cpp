#include "game/StartUp.h"

#include "game/Game.h"
#include "game/Lessons.h"
#include "platform/Int16.h"
#include "platform/NumberText.h"

#include <algorithm>

void StartUp::Form_Initialize() {
    chooseLesson();
    chooseMatch();
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
        {QStringLiteral(" ") + name + QStringLiteral(" vediamo se sei un vero campione  ")});
    board.lblnome1.setCaption(name);
    m_game.clock.Azzeraorologio();
    state.windir = m_game.GetSystemDir();
    m_game.records.showRecord();
    state.restanti = toInt16(static_cast<double>(state.secondi) + 300.0);
    board.lblconto.setCaption(m_game.clock.clockText());
    board.Timer2.setInterval(state.pace);
    if (state.isPractice()) { // no countdown, and no record at the end
        board.Timer1.setEnabled(false);
        board.lblconto.setCaption(QStringLiteral("--:--:--"));
        board.find(u"Label11")->setCaption(QStringLiteral("Allenamento"));
    }
    m_game.questionBoard.cmdNext_Click();
}

void StartUp::Form_Activate() {
    Board& board = m_game.board;
    Random& random = m_game.random();
    const auto number = [&](Control& button, qint16 seed, double range, int remainder) {
        random.reseed(seed);
        const qint16 drawn = m_game.lessonNumber(range, 1, remainder);
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
    m_game.records.matchBegins();
    board.Punteggio.setCaption(QString() + NumberText::plain(m_game.state.punti));
    m_game.questionBoard.cmdNext_Click();
}

void StartUp::Form_Resize(bool minimized) {
    if (minimized)
        m_game.board.setCaption(Lessons::title(m_game.state.divisor));
}

void StartUp::chooseLesson() {
    GameState& state = m_game.state;
    const LessonSetting setting = m_game.folders().lesson();
    state.lessonFixed = setting.fixed;
    state.explanations = setting.explanations;
    const int divisor = setting.divisor.toInt(); // 0 when it is no number
    const bool isLesson = std::ranges::find(Lessons::divisors, divisor) != Lessons::divisors.end();
    state.divisor = isLesson ? divisor : Lessons::standard;
    // The teacher's empty choice is told too: it fixes the lesson all the same.
    if ((setting.fixed || !setting.divisor.isEmpty()) && state.divisor != divisor)
        m_game.messageBoxWithTimersHeld(
            {(setting.divisor.isEmpty()
                  ? QStringLiteral("Nelle impostazioni la lezione (divisor=) è vuota")
                  : QStringLiteral("La lezione scelta nelle impostazioni, %1, non c'è")
                        .arg(setting.divisor)) +
             QStringLiteral(": si gioca con i multipli del 15.")});
}

void StartUp::chooseMatch() {
    GameState& state = m_game.state;
    const MatchSetting setting = m_game.folders().match();
    state.practiceFixed = setting.practiceFixed;
    state.paceFixed = setting.paceFixed;
    const QString practice = setting.practice.trimmed().toLower();
    state.practice = practice == u"yes" || practice == u"sì" || practice == u"si";
    static const QHash<QString, qint16> paces{{QStringLiteral("1.3"), 1300},
                                              {QStringLiteral("1,3"), 1300},
                                              {QStringLiteral("2"), 2000},
                                              {QStringLiteral("3"), 3000}};
    state.pace = paces.value(setting.pace.trimmed(), 1300);
    if (!practice.isEmpty() && !state.practice && practice != u"no")
        m_game.messageBoxWithTimersHeld(
            {QStringLiteral("Nelle impostazioni l'allenamento (practice=) è «%1», né yes né no: "
                            "si gioca una gara.")
                 .arg(setting.practice)});
    if (!setting.pace.isEmpty() && !paces.contains(setting.pace.trimmed()))
        m_game.messageBoxWithTimersHeld(
            {QStringLiteral("Nelle impostazioni il ritmo (pace=) è %1, che non c'è: i numeri "
                            "saltano ogni 1,3 secondi.")
                 .arg(setting.pace)});
}
