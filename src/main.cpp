#include "desktop/LoadedVoice.h"
#include "desktop/QtDialogs.h"
#include "desktop/QtSound.h"
#include "desktop/Tavola.h"
#include "platform/ProgramBeside.h"
#include "platform/RandomGenerator.h"
#include "platform/SystemFolders.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string_view>

int main(int argc, char* argv[]) {
    // The teacher's window is a program of its own beside this one: a match never loads the
    // libraries that only it needs.
    if (argc >= 2 && std::string_view(argv[1]) == "--registro") {
        runProgramBeside("zenobra-registro", argv + 1);
        return 1;
    }
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
    LoadedVoice voice(&sound); // its library loaded when it first speaks
    Tavola tavola({dialogs, sound, random, folders, time, voice},
                  [] { QCoreApplication::exit(0); });
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
