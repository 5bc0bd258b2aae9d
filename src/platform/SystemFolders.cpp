#include "platform/SystemFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

QString StandardFolders::applicationFolder() {
    return QCoreApplication::applicationDirPath();
}

QString StandardFolders::systemDir() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return {};
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}
