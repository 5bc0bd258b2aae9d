// The teacher's window on the class register, which `zenobra --registro [FILE]` starts: the
// register of the record's folder, or FILE.
#include "platform/SystemFolders.h"
#include "teacher/RegisterWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zenobra"));
    QGuiApplication::setDesktopFileName(QStringLiteral("it.zenobra.registro"));
    // Qt's own words in Italian too: the file dialog of "Esporta", the message box's buttons.
    QTranslator qtWords;
    if (qtWords.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtWords);
    // A file the teacher names is read where its links lead; the folder's own, never.
    QString path = QApplication::arguments().value(1);
    if (const QString real = QFileInfo(path).canonicalFilePath(); !real.isEmpty())
        path = real;
    RegisterWindow window;
    StandardFolders folders;
    const QString problem = path.isEmpty() ? window.loadClassRegister(folders) : window.load(path);
    window.show();
    if (!problem.isEmpty())
        QMessageBox::warning(&window, window.windowTitle(), problem);
    return application.exec();
}
