// The teacher's window on the class register, which `zenobra --registro [FILE]` starts: the
// register of the record's folder, or FILE. With --stampa FOLDER, no window: a page for the
// parents of each child, as PDF files in FOLDER.
#include "platform/SystemFolders.h"
#include "teacher/RegisterWindow.h"
#include "teacher/Report.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

#include <algorithm>
#include <cstdio>
#include <string_view>

int main(int argc, char* argv[]) {
    const bool printing = std::any_of(argv + 1, argv + argc, [](const char* argument) {
        return std::string_view(argument) == "--stampa";
    });
    if (printing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen"); // the pages need no screen, nor a window
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zenobra"));
    QGuiApplication::setDesktopFileName(QStringLiteral("it.zenobra.registro"));
    // Qt's own words in Italian too: the file dialog of "Esporta", the message box's buttons.
    QTranslator qtWords;
    if (qtWords.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtWords);
    // A file the teacher names is read where its links lead; the folder's own, never.
    QStringList arguments = QApplication::arguments().mid(1);
    const qsizetype stampa = arguments.indexOf(QStringLiteral("--stampa"));
    const QString pages = stampa >= 0 ? arguments.value(stampa + 1) : QString();
    if (stampa >= 0)
        arguments.remove(stampa, std::min<qsizetype>(2, arguments.size() - stampa));
    QString path = arguments.value(0);
    if (const QString real = QFileInfo(path).canonicalFilePath(); !real.isEmpty())
        path = real;
    StandardFolders folders;
    if (stampa >= 0) {
        if (pages.isEmpty() || !QFileInfo(pages).isDir()) {
            std::fprintf(stderr, "zenobra-registro: --stampa vuole una cartella che c'è già\n");
            return 2;
        }
        if (path.isEmpty() && !folders.systemDir().isEmpty())
            path = ClassRegister::path(folders.systemDir());
        const ClassRegister::Read read = ClassRegister::read(path);
        const QString problem =
            read.problem.isEmpty() ? Report::writeClass(read.matches, pages) : read.problem;
        std::fprintf(problem.isEmpty() ? stdout : stderr, "zenobra-registro: %s\n",
                     qPrintable(problem.isEmpty()
                                    ? QStringLiteral("le pagine sono in %1").arg(pages)
                                    : problem));
        return problem.isEmpty() ? 0 : 1;
    }
    RegisterWindow window;
    const QString problem = path.isEmpty() ? window.loadClassRegister(folders) : window.load(path);
    window.show();
    if (!problem.isEmpty())
        QMessageBox::warning(&window, window.windowTitle(), problem);
    return application.exec();
}
