// Runs the record store in a process of its own, so tests can run it as another user or kill
// it in the middle of a save:
//   record_tool load <folder>                          the problem or "ok", then the pair read
//   record_tool save <folder> <score> <name> [<step>]  with a step: killed outright after it
#include "records/RecordStore.h"

#include <QCoreApplication>
#include <QTextStream>

#include <signal.h>

namespace {
class KillAfter final : public RecordStore::Faults {
public:
    explicit KillAfter(int step)
        : m_step(step) {}
    void after(RecordStore::Step step) override {
        if (static_cast<int>(step) == m_step)
            ::raise(SIGKILL);
    }

private:
    int m_step;
};
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QTextStream out(stdout);
    if (args.size() == 3 && args[1] == QLatin1String("load")) {
        const RecordStore::Loaded loaded = RecordStore(args[2], nullptr, 200).load();
        out << (loaded.problem.isEmpty() ? QStringLiteral("ok") : loaded.problem) << '\n'
            << loaded.record.score.toUtf8().toPercentEncoding() << '|'
            << loaded.record.name.toUtf8().toPercentEncoding() << '\n';
        return 0;
    }
    if (args.size() >= 5 && args[1] == QLatin1String("save")) {
        KillAfter kill(args.size() == 6 ? args[5].toInt() : -1);
        const auto saved = RecordStore(args[2], &kill).save(args[3], args[4]);
        const char* outcomes[] = {"written", "beaten", "failed: "};
        out << outcomes[static_cast<int>(saved.outcome)] << saved.error << '\n';
        return 0;
    }
    return 2;
}
