#pragma once

#include "FakeFolders.h"
#include "game/Game.h"
#include "platform/RandomGenerator.h"

#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <functional>
#include <unistd.h>
#include <vector>

// A test that needs root: skipped with its reason for a developer, failed under CI (root).
#define NEEDS_ROOT(why)                                                                            \
    if (::geteuid() != 0 && qEnvironmentVariableIsSet("CI"))                                       \
        QFAIL(why);                                                                                \
    else if (::geteuid() != 0)                                                                     \
    QSKIP(why)

// The register's first bytes: the UTF-8 mark, then the header.
const QByteArray registerHeader = "\xEF\xBB\xBF"
                                  "data e ora della fine;utente;nome;lezione;tipo;punteggio;giusti;"
                                  "sbagliati;numeri sbagliati;fine;secondi di gioco;record;"
                                  "multipli lasciati\r\n";

// Boxes answered from a script, a reply running code "while the box is open"; names typed and
// answers are two queues. Unscripted boxes get their default answer, the input box "".
class ScriptedDialogs final : public Dialogs {
public:
    struct Reply {
        Answer answer = Answer::Ok;
        std::function<void()> whileOpen;
    };
    struct Shown {
        bool input = false;
        MessageBoxRequest request; // for an input box: text is the prompt
    };

    void answer(Answer answer, std::function<void()> whileOpen = {}) {
        replies.push_back({answer, std::move(whileOpen)});
    }
    void type(const QString& text) { typed.push_back(text); }
    QStringList texts() const {
        QStringList all;
        for (const Shown& box : shown)
            all << box.request.text;
        return all;
    }
    // "Title: text", after "input " for an input box, before " [Sì/No, ?, No]" for a question.
    QStringList boxes() const {
        QStringList all;
        for (const auto& [input, box] : shown)
            all << (input ? "input " : "") + box.title + ": " + box.text +
                       (box.yesNo ? QStringLiteral(" [Sì/No%1, %2]")
                                        .arg(box.questionIcon ? ", ?" : "",
                                             box.defaultButton == Answer::Yes ? "Sì" : "No")
                        : box.questionIcon ? " [?]"
                                           : "");
        return all;
    }

    Answer messageBox(const MessageBoxRequest& request) override {
        shown.push_back({false, request});
        Reply reply{request.defaultButton, {}};
        if (!replies.empty()) {
            reply = replies.front();
            replies.pop_front();
        }
        if (reply.whileOpen)
            reply.whileOpen();
        return reply.answer;
    }
    QString inputBox(const QString& prompt, const QString& title, const QString&) override {
        shown.push_back({true, {.text = prompt, .title = title}});
        if (typed.empty())
            return {};
        const QString text = typed.front();
        typed.pop_front();
        return text;
    }

    std::deque<Reply> replies;
    std::deque<QString> typed;
    std::vector<Shown> shown;
};

class FakeSound final : public Sound {
public:
    void play(const QString& path) override { played << path; }
    QStringList played;
};

class FixedTime final : public TimeSource {
public:
    int millisecondsSinceMidnight() override { return msecs; }
    QDateTime now() override { return QDateTime(day, QTime::fromMSecsSinceStartOfDay(msecs)); }
    int msecs = 12 * 3600 * 1000;
    QDate day{2026, 12, 8};
};

// The real generator, with draws a test can script and reseeds it can read.
class ScriptedRandom final : public Random {
public:
    static constexpr int timeReseed = 1 << 20; // marks a reseed from the time of day
    explicit ScriptedRandom(TimeSource& time)
        : m_real(time) {}
    void reseedFromTime() override {
        reseeds.push_back(timeReseed);
        m_real.reseedFromTime();
    }
    void reseed(qint16 number) override {
        reseeds.push_back(number);
        m_real.reseed(number);
    }
    float next() override {
        ++draws;
        if (script.empty())
            return m_real.next();
        const float r = script.front();
        script.pop_front();
        return r;
    }
    std::deque<float> script;
    std::vector<int> reseeds;
    int draws = 0;

private:
    RandomGenerator m_real;
};

class FakeHost final : public WindowHost {
public:
    void showWindow() override { ++shows; }
    void hideWindow() override { ++hides; }
    void endProgram() override { ++ends; }
    int shows = 0, hides = 0, ends = 0;
};

// A voice that keeps what it was told to say, and a problem to report.
class FakeVoice final : public Voice {
public:
    void say(const QString& text) override { said << text; }
    void stop() override { said << QStringLiteral("(stop)"); }
    QString problem() const override { return broken; }
    QStringList said;
    QString broken;
};

struct ScriptedServices {
    FakeVoice voice;
    ScriptedDialogs dialogs;
    FakeSound sound;
    FixedTime time;
    ScriptedRandom random{time};
    FakeFolders folders;
};

// A whole game with scripted services and no screen.
struct TestGame : ScriptedServices {
    TestGame()
        : game(Services{dialogs, sound, random, folders, time, voice}, host) {}
    // Start-up with a name typed and the greeting closed.
    void start(const QString& name = QStringLiteral("Anna")) {
        dialogs.type(name);
        game.start();
    }
    QString recordFile(const char* name) const { return folders.dir.filePath(QLatin1String(name)); }

    FakeHost host;
    Game game;
};
