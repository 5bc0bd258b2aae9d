#pragma once

#include "game/BackgroundClick.h"
#include "game/Board.h"
#include "game/Clock.h"
#include "game/ExitSequence.h"
#include "game/GameState.h"
#include "game/Hits.h"
#include "game/Pause.h"
#include "game/QuestionBoard.h"
#include "game/Review.h"
#include "game/Shuffle.h"
#include "game/StartUp.h"
#include "platform/Dialogs.h"
#include "platform/Random.h"
#include "platform/Sound.h"
#include "platform/SystemFolders.h"
#include "platform/TimeSource.h"
#include "platform/Voice.h"
#include "records/RecordStore.h"

// What the game window does outside the rules: showing, hiding and ending.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    virtual void showWindow() = 0;
    virtual void hideWindow() = 0;
    // Closes the window, its open boxes included, and leaves the program.
    virtual void endProgram() = 0;
};

struct Services {
    Dialogs& dialogs;
    Sound& sound;
    Random& random;
    SystemFolders& folders;
    TimeSource& time;
    Voice& voice;
};

// Thrown to unwind a handler once the program has ended: no handler code runs after the end.
struct ProgramEnded {};

// The game window object: its controls, its variables and its handlers.
class Game {
public:
    Game(Services services, WindowHost& host);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    Board board;
    GameState state;
    QuestionBoard questionBoard{*this};
    Shuffle shuffle{*this};
    Hits hits{*this};
    BackgroundClick backgroundClick{*this};
    Clock clock{*this};
    ExitSequence exitSequence{*this};
    StartUp startUp{*this};
    Pause pause{*this};
    Review review{*this};

    // Events, as the window delivers them.
    void start();
    void controlClicked(const Control& control);
    // A click on the background; in a pause, it takes the match up again.
    void backgroundClicked();
    void pauseToggled();
    void menuClicked(QStringView name);
    void lessonChosen(int divisor);
    void matchChosen(ClassRegister::Kind kind, int pace);
    void readAloudChosen(bool on);
    void timerTicked(const GameTimer& timer);
    void resized(bool minimized);
    void windowClosed();

    // Services the handlers use.
    Answer messageBox(const MessageBoxRequest& request);
    // A box that neither timer ticks under: for boxes the rules do not time.
    Answer messageBoxWithTimersHeld(const MessageBoxRequest& request);
    QString inputBox(const QString& prompt, const QString& title, const QString& defaultText);
    // The time since then was spent away from play, in a box: the register leaves it out.
    void away(const QDateTime& since);
    bool inBox() const { return m_boxesOpen > 0; }
    void suona(const QString& path);
    QString applicationFolder() { return m_services.folders.applicationFolder(); }
    QString GetSystemDir() { return m_services.folders.systemDir(); }
    SystemFolders& folders() { return m_services.folders; }
    QString systemDirProblem() const { return m_services.folders.systemDirProblem(); }
    Random& random() { return m_services.random; }
    TimeSource& time() { return m_services.time; }
    // The lesson's number: divisor × Int(r × range + offset), with a fresh r, plus the design's
    // remainder (0 for a right target) reduced into 1 … divisor − 1.
    qint16 lessonNumber(double range, int offset, int remainder = 0);
    WindowHost& host() { return m_host; }

    // Closes the window and stops both timers at once; nothing after it runs.
    [[noreturn]] void endProgram();
    bool hasEnded() const { return m_ended; }

private:
    template <typename Handler> void dispatch(Handler&& handler);

    Services m_services;
    WindowHost& m_host;
    // Reads a box's text aloud, when the player wants it; a voice that cannot is told once.
    void speak(const QString& text);

    bool m_ended = false;
    int m_boxesOpen = 0;
    bool m_voiceTold = false;
};
