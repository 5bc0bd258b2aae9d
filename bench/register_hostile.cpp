// The teacher's window on registers no game writes: the time to read one and show the window,
// and the process's peak memory. The register is written by one run and opened by another, so
// that the peak is the window's own.
// Usage: register_hostile write names|stray|crowd|full|huge <register>
//        register_hostile open <register>
#include "platform/Settings.h"
#include "teacher/RegisterWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <cstdio>
#include <sys/resource.h>

namespace {
QByteArray line(const QByteArray& name, int lesson) {
    return "2026-10-01 09:00:00;alunno;" + name + ';' + QByteArray::number(lesson) +
           ";gara;1;1;0;;uscita;60;no\r\n";
}

QByteArray hostile(const QByteArray& kind) {
    QByteArray bytes = ClassRegister::header;
    if (kind == "names") {
        for (const char* name : {"<img src=/dev/zero>", "<b>x</b>", "<img src=/etc/passwd>"})
            bytes += line(name, 15);
    } else if (kind == "stray") { // 10,000 lessons for one child, and one real
        bytes += line("Anna", 3);
        for (int lesson = 100; lesson < 10100; ++lesson)
            bytes += line("Anna", lesson);
    } else if (kind == "crowd") { // 1,000,000 children
        for (int child = 0; child < 1000000; ++child)
            bytes += line(QByteArray::number(child), 15);
    } else if (kind == "full") { // all the reader takes: 5,000 children, 63 MB of matches
        for (int match = 0; bytes.size() < (63 << 20); ++match)
            bytes += line(QByteArray::number(match % 5000), Settings::lessons[size_t(match % 11)]);
    } else if (kind == "huge") { // a line, then past the reader's cap
        bytes += line("Anna", 3) + QByteArray(100 << 20, '\n');
    }
    return bytes;
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() == 4 && args[1] == u"write") {
        QFile file(args[3]);
        const QByteArray bytes = hostile(args[2].toLatin1());
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? 0 : 1;
    }
    if (args.size() != 3 || args[1] != u"open") {
        std::fputs("usage: register_hostile write names|stray|crowd|full|huge <register>\n"
                   "       register_hostile open <register>\n",
                   stderr);
        return 2;
    }
    const QString path = args[2];
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    QElapsedTimer clock;
    clock.start();
    RegisterWindow window;
    const QString problem = window.load(path);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    const double ms = clock.nsecsElapsed() / 1e6;
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    std::printf("%.1f MB: window in %.0f ms, peak memory %.0f MB (%.0f MB before reading); "
                "told: %s\n",
                QFile(path).size() / 1e6, ms, after.ru_maxrss / 1024.0, before.ru_maxrss / 1024.0,
                problem.isEmpty() ? "nothing" : qPrintable(problem.section(u':', 1).trimmed()));
    return 0;
}
