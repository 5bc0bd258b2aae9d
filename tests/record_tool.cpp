// Runs the record store from the command line, so tests can run it as another user:
//   record_tool prepare <folder>
//   record_tool save <folder> <score> <name>
#include "records/RecordStore.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QTextStream out(stdout);
    if (args.size() == 3 && args[1] == QLatin1String("prepare")) {
        const QString problem = RecordStore(args[2]).prepare();
        out << (problem.isEmpty() ? QStringLiteral("ok") : problem) << '\n';
        return 0;
    }
    if (args.size() == 5 && args[1] == QLatin1String("save")) {
        const auto saved = RecordStore(args[2]).save(args[3], args[4]);
        switch (saved.outcome) {
        case RecordStore::Saved::Outcome::Written:
            out << "written\n";
            break;
        case RecordStore::Saved::Outcome::BeatenMeanwhile:
            out << "beaten\n";
            break;
        case RecordStore::Saved::Outcome::Failed:
            out << "failed: " << saved.error << '\n';
            break;
        }
        return 0;
    }
    return 2;
}
