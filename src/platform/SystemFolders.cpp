#include "platform/SystemFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {

// Each value as written, commas and all: a folder's name is no list.
bool readAsWritten(QIODevice& device, QSettings::SettingsMap& settings) {
    QString section;
    for (const QByteArray& bytes : device.readAll().split('\n')) {
        const QString line = QString::fromUtf8(bytes).trimmed();
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
            section = line.mid(1, line.size() - 2) + QLatin1Char('/');
        else if (equals > 0 && !line.startsWith(QLatin1Char('#')) &&
                 !line.startsWith(QLatin1Char(';')))
            settings.insert(section + line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return true;
}

} // namespace

QString StandardFolders::applicationFolder() {
    return QCoreApplication::applicationDirPath();
}

QString StandardFolders::systemDir() {
    // System scope reads zenobra/zenobra.conf in each folder of $XDG_CONFIG_DIRS and never the
    // player's own: the class record is the teacher's choice. A class folder is the teacher's
    // to make too: it is never created here, and never replaced by another folder.
    static const QSettings::Format format = QSettings::registerFormat(
        QStringLiteral("conf"), readAsWritten, nullptr, Qt::CaseSensitive);
    const QSettings setting(format, QSettings::SystemScope, QStringLiteral("zenobra"),
                            QStringLiteral("zenobra"));
    if (setting.status() != QSettings::NoError) {
        m_problem =
            QStringLiteral("Non riesco a leggere l'impostazione di sistema zenobra.conf, che "
                           "sceglie la cartella del record.");
        return {};
    }
    if (const QString shared = setting.value(QStringLiteral("record/folder")).toString();
        !shared.isEmpty())
        return QDir::cleanPath(shared) + u'/';
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        m_problem = QStringLiteral("Non riesco a creare la cartella del record.");
        return {};
    }
    return QDir::cleanPath(folder) + u'/';
}
