// The record store in a process of its own, to run as another user or to kill mid-save:
//   record_tool load <folder> [<lesson>]               the problem or "ok", then the pair read
//   record_tool save <folder> <score> <name> [<step>]  with a step: killed outright after it
//   record_tool folder        the record folder|why there is none|the lesson named|"fixed"
//   record_tool class <folder> <seconds> <seed>        a child of a class (a third killed
//     mid-save), loading and saving at random: "load bad" for a pair not whole; "start", outcome;
//     then the match's line in the register, and "registered" with its score
//   record_tool append <folder> <name> [<count>]       a match's line, or count of them: "ok" or
//                                                      the problem
//   record_tool history <folder> <step>   the lesson of 15's history: "ok" or the problem, then 47
//     taken and "saved"; killed outright at step 1 (the new file staged) or 2 (renamed)
//   record_tool own                       the child's own folder, or ""
#include "platform/SystemFolders.h"
#include "records/ClassRegister.h"
#include "records/History.h"
#include "records/RecordStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>

#include <cstdio>
#include <signal.h>

namespace {
// Killed outright after one step; or each step slowed, so that a kill from outside lands in one.
class KillAfter final : public RecordStore::Faults {
public:
    explicit KillAfter(int step, int pause = 0)
        : m_step(step)
        , m_pause(pause) {}
    void after(RecordStore::Step step) override {
        if (static_cast<int>(step) == m_step)
            ::raise(SIGKILL);
        QThread::msleep(m_pause);
    }

private:
    int m_step, m_pause;
};

QByteArray encoded(const RecordStore::Record& record) {
    return record.score.toUtf8().toPercentEncoding() + '|' +
           record.name.toUtf8().toPercentEncoding();
}

void say(const QByteArray& line) {
    std::fputs((line + '\n').constData(), stdout);
    std::fflush(stdout); // a kill must not take the line with it
}

const char* outcomes[] = {"written", "beaten", "failed: "};
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zenobra")); // as the game does
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 3 && args[1] == QLatin1String("load")) {
        const RecordStore::Loaded loaded =
            RecordStore(args[2], {.lesson = args.value(3, "15").toInt(), .lockWaitMs = 200}).load();
        say(loaded.problem.isEmpty() ? "ok" : loaded.problem.toUtf8());
        say(encoded(loaded.record));
        return 0;
    }
    if (args.size() == 2 && args[1] == QLatin1String("folder")) {
        StandardFolders folders;
        const QString folder = folders.systemDir();
        const Settings& settings = folders.settings();
        say((folder + '|' + folders.systemDirProblem() + '|' +
             QString::number(settings.lesson.value) + '|' + (settings.lesson.fixed ? "fixed" : "") +
             (settings.explanations ? "" : "|plain") + (settings.registerOn ? "" : "|off"))
                .toUtf8());
        return 0;
    }
    if (args.size() >= 5 && args[1] == QLatin1String("save")) {
        KillAfter kill(args.size() == 6 ? args[5].toInt() : -1);
        const auto saved = RecordStore(args[2], {.faults = &kill}).save(args[3], args[4]);
        say(outcomes[static_cast<int>(saved.outcome)] + saved.problem.toUtf8());
        return 0;
    }
    if (args.size() == 5 && args[1] == QLatin1String("class")) {
        const uint seed = args[4].toUInt();
        QRandomGenerator draw(seed);
        // A third of the class is killed outright after a random step of a save, from its 3rd to
        // its 57th save on (a save that another copy's record beats stops before most steps).
        const int killedFrom = seed % 3 ? 0 : 3 + int(seed % 7) * 9;
        QElapsedTimer clock;
        clock.start();
        for (int save = 1; clock.elapsed() < args[3].toInt() * 1000; ++save) {
            QThread::msleep(draw.bounded(400));
            // Whole: the name says the score. A problem other than another copy's save is bad.
            const RecordStore::Loaded loaded = RecordStore(args[2], {.lockWaitMs = 300}).load();
            const RecordStore::Record& seen = loaded.record;
            const bool whole =
                seen.name ==
                (seen.score.isEmpty() ? QString() : 'c' + seen.score.trimmed() + "\r\n");
            if (!whole || !(loaded.problem.isEmpty() || loaded.problem.contains("sta salvando")))
                say("load bad " + encoded(seen) + ' ' + loaded.problem.toUtf8());
            // Scores grow with time, so that many saves beat the record of the moment.
            const QByteArray score =
                QByteArray::number(clock.elapsed() / 20 + draw.bounded(1, 100));
            say("start " + score);
            KillAfter fault(killedFrom && save >= killedFrom ? int(draw.bounded(8)) : -1, 3);
            const auto saved = RecordStore(args[2], {.faults = &fault, .lockWaitMs = 2000})
                                   .save(' ' + score, 'c' + score);
            say(QByteArray(outcomes[static_cast<int>(saved.outcome)]).trimmed() + ' ' + score);
            const ClassRegister::Match match{.date = QDate::currentDate(),
                                             .time = QTime::currentTime(),
                                             .user = StandardFolders().loginName(),
                                             .name = 'c' + score,
                                             .score = score.toInt(),
                                             .wrongNumbers = {},
                                             .record = saved.outcome ==
                                                       RecordStore::Saved::Outcome::Written};
            if (ClassRegister::append(args[2], match).isEmpty())
                say("registered " + score);
        }
        return 0;
    }
    if (args.size() >= 4 && args[1] == QLatin1String("append")) {
        const ClassRegister::Match match{.date = {2026, 12, 8},
                                         .time = {9, 0},
                                         .user = "alunno",
                                         .name = args[3],
                                         .wrongNumbers = {}};
        QString problem;
        for (int line = 0; line < args.value(4, "1").toInt() && problem.isEmpty(); ++line)
            problem = ClassRegister::append(args[2], match);
        say(problem.isEmpty() ? "ok" : problem.toUtf8());
        return 0;
    }
    if (args.size() == 4 && args[1] == QLatin1String("history")) {
        const History::Loaded loaded = History::load(args[2], 15);
        say(loaded.problem.isEmpty() ? "ok" : loaded.problem.toUtf8());
        History::Items items = loaded.items;
        History::fallenFor(items, History::Kind::Taken, 47, {2026, 12, 8});
        const int step = args[3].toInt();
        const QString problem = History::save(args[2], 15, items, [step] {
            if (step == 1)
                ::raise(SIGKILL);
        });
        if (step == 2)
            ::raise(SIGKILL);
        say(problem.isEmpty() ? "saved" : problem.toUtf8());
        return 0;
    }
    if (args.size() == 2 && args[1] == QLatin1String("own")) {
        say(StandardFolders().ownFolder().toUtf8());
        return 0;
    }
    return 2;
}
