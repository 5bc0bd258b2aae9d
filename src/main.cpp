#include "desktop/QtDialogs.h"
#include "desktop/QtSound.h"
#include "desktop/Tavola.h"
#include "platform/RandomGenerator.h"
#include "platform/SystemFolders.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
        !std::getenv("WAYLAND_DISPLAY")) {
        std::fputs("zenobra: no display found; to play without one run: xvfb-run -a zenobra\n",
                   stderr);
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zenobra"));
    QGuiApplication::setDesktopFileName(QStringLiteral("it.zenobra.zenobra"));
    QApplication::setQuitOnLastWindowClosed(false);

    SystemTimeSource time;
    RandomGenerator random(time);
    QtDialogs dialogs;
    QtSound sound;
    StandardFolders folders;
    Tavola tavola(dialogs, sound, random, folders, time, [] { QCoreApplication::exit(0); });
    dialogs.setParent(&tavola);
    // Start-up runs its boxes in their own event loops: the name prompt does not wait for the
    // main loop, and a program that ended during start-up never enters it.
    // The sounds load inside the name prompt's event loop: ready for the first hit, without
    // keeping the prompt waiting.
    QTimer::singleShot(0, &tavola, [&sound] {
        const QString folder = QCoreApplication::applicationDirPath();
        sound.preload({folder + QLatin1String(Sounds::shot),
                       folder + QLatin1String(Sounds::explosion),
                       folder + QLatin1String(Sounds::laser)});
    });
    tavola.start();
    // The record is written and synced by now.
    return sound.finish(tavola.game().hasEnded() ? 0 : application.exec());
}
