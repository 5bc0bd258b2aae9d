#include "platform/SystemFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString withSeparator(QString folder) {
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

QString StandardFolders::applicationFolder() {
    return QCoreApplication::applicationDirPath();
}

QString StandardFolders::classFolder() {
    // Only the system's configuration folders: the class record is the teacher's choice, so
    // the player's own configuration cannot move it.
    QStringList folders =
        qEnvironmentVariable("XDG_CONFIG_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (folders.isEmpty())
        folders << QStringLiteral("/etc/xdg");
    for (const QString& folder : folders) {
        const QString file = folder + QStringLiteral("/zenobra/zenobra.conf");
        if (!QFileInfo(file).isFile())
            continue;
        const QString named =
            QSettings(file, QSettings::IniFormat).value(QStringLiteral("record/folder")).toString();
        if (!named.trimmed().isEmpty())
            return named.trimmed();
    }
    return {};
}

QString StandardFolders::systemDir() {
    // A class folder is the teacher's to make: it is never created here, and a missing one is
    // reported rather than replaced by another folder.
    if (const QString shared = classFolder(); !shared.isEmpty())
        return withSeparator(shared);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return {};
    return withSeparator(folder);
}
