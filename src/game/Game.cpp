#include "game/Game.h"

#include "game/Lessons.h"
#include "platform/Int16.h"

#include <QScopeGuard>

Game::Game(Services services, WindowHost& host)
    : m_services(services)
    , m_host(host) {}

template <typename Handler> void Game::dispatch(Handler&& handler) {
    if (m_ended)
        return;
    try {
        handler();
    } catch (const ProgramEnded&) {
    } catch (const RuntimeError& error) {
        // A run-time error is reported, then ends the program, as it always has.
        try {
            messageBoxWithTimersHeld({error.report()});
            endProgram();
        } catch (const ProgramEnded&) {
        }
    }
}

void Game::start() {
    dispatch([this] { startUp.Form_Initialize(); });
    if (m_ended)
        return;
    m_host.showWindow();
    dispatch([this] { startUp.Form_Activate(); });
}

void Game::controlClicked(const Control& control) {
    dispatch([&] {
        if (&control == &board.paricmd)
            hits.paricmd_Click();
        else if (&control == &board.paricmd1)
            hits.paricmd1_Click();
        else if (&control == &board.paricmd2)
            hits.paricmd2_Click();
        else if (&control == &board.disparicmd)
            hits.disparicmd_Click();
        else if (&control == &board.disparicmd1)
            hits.disparicmd1_Click();
        else if (&control == &board.disparicmd2)
            hits.disparicmd2_Click();
        else if (&control == &board.cmdExit)
            exitSequence.cmdExit_Click();
        else if (&control == &board.cmdNext)
            questionBoard.cmdNext_Click();
    });
}

void Game::backgroundClicked() {
    if (board.isPaused())
        dispatch([this] { pause.resume(); });
    else
        dispatch([this] { backgroundClick.Form_Click(); });
}

void Game::pauseToggled() {
    dispatch([this] { pause.toggle(); });
}

void Game::menuClicked(QStringView name) {
    if (name == u"Next")
        dispatch([this] { questionBoard.Next_Click(); });
}

void Game::lessonChosen(int divisor) {
    dispatch([&] { questionBoard.chooseLesson(divisor); });
}

void Game::matchChosen(ClassRegister::Kind kind, int pace) {
    dispatch([&] { questionBoard.chooseMatch(kind, pace); });
}

void Game::readAloudChosen(bool on) {
    if (state.readAloudFixed)
        return;
    state.readAloud = on;
    m_services.folders.rememberReadAloud(on);
    if (!on)
        m_services.voice.stop();
}

void Game::speak(const QString& text) {
    if (!state.readAloud || m_voiceTold)
        return;
    m_services.voice.say(Lessons::spoken(text));
    if (const QString problem = m_services.voice.problem(); !problem.isEmpty()) {
        m_voiceTold = true; // then silent, as without sound
        messageBoxWithTimersHeld({problem});
    }
}

void Game::timerTicked(const GameTimer& timer) {
    if (!timer.isEnabled())
        return;
    if (&timer == &board.Timer1)
        dispatch([this] { clock.Timer1_Timer(); });
    else if (&timer == &board.Timer2)
        dispatch([this] { shuffle.Timer2_Timer(); });
}

void Game::resized(bool minimized) {
    dispatch([&] { startUp.Form_Resize(minimized); });
}

void Game::windowClosed() {
    dispatch([this] {
        exitSequence.matchLeft(ClassRegister::Ending::WindowClosed);
        endProgram();
    });
}

Answer Game::messageBox(const MessageBoxRequest& request) {
    const QDateTime opened = time().now();
    if (request.spoken)
        speak(request.text);
    ++m_boxesOpen;
    const auto closed = qScopeGuard([&] {
        --m_boxesOpen;
        if (request.spoken && state.readAloud)
            m_services.voice.stop(); // a box closed takes its reading with it
    });
    const Answer answer = m_services.dialogs.messageBox(request);
    if (m_ended)
        throw ProgramEnded{};
    away(opened);
    return answer;
}

void Game::away(const QDateTime& since) {
    if (!board.isPaused()) // a pause counts its own time
        state.awayMs += since.msecsTo(time().now());
}

Answer Game::messageBoxWithTimersHeld(const MessageBoxRequest& request) {
    board.holdTimers();
    const Answer answer = messageBox(request);
    board.releaseTimers();
    return answer;
}

QString Game::inputBox(const QString& prompt, const QString& title, const QString& defaultText) {
    const QDateTime opened = time().now();
    ++m_boxesOpen;
    const auto closed = qScopeGuard([this] { --m_boxesOpen; });
    QString text = m_services.dialogs.inputBox(prompt, title, defaultText);
    if (m_ended)
        throw ProgramEnded{};
    away(opened);
    return text;
}

qint16 Game::lessonNumber(double range, int offset, int remainder) {
    const int divisor = state.divisor;
    return toInt16(divisor * intPart(random().next() * range + offset) +
                   (remainder ? Lessons::remainder(remainder, divisor) : 0));
}

void Game::suona(const QString& path) {
    m_services.sound.play(path);
}

void Game::endProgram() {
    if (!m_ended) {
        m_ended = true;
        board.Timer1.setEnabled(false);
        board.Timer2.setEnabled(false);
        m_host.endProgram();
    }
    throw ProgramEnded{};
}
