// The clock on the real window with its real timers while a child pauses and resumes over and
// over: P twice every 0.6 s for 12 s. The clock should run down by the time not paused.
#include "WindowFixture.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    WindowFixture f;
    f.start();
    QApplication::setActiveWindow(&f.tavola);
    if (!QTest::qWaitForWindowActive(&f.tavola))
        return 1;
    QElapsedTimer wall, paused;
    wall.start();
    qint64 pausedMs = 0;
    int pauses = 0;
    while (wall.elapsed() < 12000) {
        QTest::keyClick(f.tavola.surface(), Qt::Key_P);
        paused.start();
        QTest::keyClick(f.tavola.surface(), Qt::Key_P);
        pausedMs += paused.elapsed();
        ++pauses;
        QTest::qWait(600);
    }
    const qint64 played = wall.elapsed() - pausedMs;
    std::printf("%d pauses over %.1f s (%.1f s played): the clock reads %s, %d s gone\n", pauses,
                wall.elapsed() / 1000.0, played / 1000.0,
                qPrintable(f.game().board.lblconto.caption()), 300 - f.game().state.restanti);
    return 0;
}
