#include "platform/SystemFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool readAsWritten(QIODevice& device, QSettings::SettingsMap& settings) {
    const Settings::Values values = Settings::readConf(device.readAll());
    for (auto each = values.cbegin(); each != values.cend(); ++each)
        settings.insert(each.key(), each.value());
    return true;
}

// The system-wide setting: zenobra/zenobra.conf in each folder of $XDG_CONFIG_DIRS, never the
// player's own, for it is the teacher's choice.
std::unique_ptr<QSettings> teachersSetting() {
    static const QSettings::Format format = QSettings::registerFormat(
        QStringLiteral("conf"), readAsWritten, nullptr, Qt::CaseSensitive);
    return std::make_unique<QSettings>(format, QSettings::SystemScope, QStringLiteral("zenobra"),
                                       QStringLiteral("zenobra"));
}

// The player's own setting, where the lesson chosen last is kept.
std::unique_ptr<QSettings> playersSetting() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("zenobra"), QStringLiteral("zenobra"));
}

Settings::Values valuesOf(const QSettings& setting) {
    Settings::Values values;
    for (const QString& key : setting.allKeys())
        values.insert(key, setting.value(key).toString());
    return values;
}

const QString unreadableSetting =
    QStringLiteral("Non riesco a leggere l'impostazione di sistema zenobra.conf, che sceglie la "
                   "cartella del record e la lezione: si gioca con i multipli del 15.");

} // namespace

QString StandardFolders::applicationFolder() {
    return QCoreApplication::applicationDirPath();
}

const Settings& StandardFolders::settings() {
    if (!m_settings) {
        const auto teacher = teachersSetting();
        const bool unread = teacher->status() != QSettings::NoError;
        m_settings = Settings::parse(unread ? Settings::Values() : valuesOf(*teacher),
                                     valuesOf(*playersSetting()), unread);
    }
    return *m_settings;
}

QString StandardFolders::systemDir() {
    // A class folder is the teacher's to make: it is never created here, and never replaced by
    // another folder, even when the setting that names it cannot be used.
    if (settings().teacherUnread) {
        m_problem = unreadableSetting;
        return {};
    }
    if (const std::optional<QString> shared = settings().folder) {
        if (QDir::isAbsolutePath(*shared))
            return QDir::cleanPath(*shared);
        m_problem = shared->isEmpty()
                        ? QStringLiteral("L'impostazione di sistema zenobra.conf non dice in quale "
                                         "cartella tenere il record: folder= è vuoto.")
                        : QStringLiteral("La cartella del record nell'impostazione di sistema "
                                         "zenobra.conf, %1, non è un percorso completo: deve "
                                         "cominciare con /.")
                              .arg(*shared);
        return {};
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        m_problem = QStringLiteral("Non riesco a creare la cartella del record.");
        return {};
    }
    return QDir::cleanPath(folder);
}

void StandardFolders::rememberLesson(int divisor) {
    playersSetting()->setValue(QStringLiteral("lesson/divisor"), divisor);
}

void StandardFolders::rememberMatch(bool practice, const QString& pace) {
    const auto player = playersSetting();
    player->setValue(QStringLiteral("match/practice"),
                     practice ? QStringLiteral("yes") : QStringLiteral("no"));
    player->setValue(QStringLiteral("match/pace"), pace);
}

void StandardFolders::rememberReadAloud(bool on) {
    playersSetting()->setValue(QStringLiteral("voice/enabled"),
                               on ? QStringLiteral("yes") : QStringLiteral("no"));
}

QString StandardFolders::loginName() {
    const passwd* entry = ::getpwuid(::geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString::number(::geteuid());
}

QString StandardFolders::ownFolder() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty() || !QDir().mkpath(data))
        return {};
    const QByteArray folder = QFile::encodeName(QDir(data).filePath(QStringLiteral("ripasso")));
    ::mkdir(folder.constData(), 0700);
    // Ours, and a folder, not a link to one; then closed to everyone else, whatever it was.
    struct stat status {};
    if (::lstat(folder.constData(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != ::geteuid() || ::chmod(folder.constData(), 0700) != 0)
        return {};
    return QFile::decodeName(folder);
}
