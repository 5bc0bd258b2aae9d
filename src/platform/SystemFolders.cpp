#include "platform/SystemFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include <memory>
#include <pwd.h>
#include <unistd.h>

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

// A yes-or-no of the teacher's that holds unless it says "no", in any case.
bool unlessNo(const QSettings& setting, const QString& key) {
    return setting.value(key).toString().compare(u"no", Qt::CaseInsensitive) != 0;
}

const QString unreadableSetting =
    QStringLiteral("Non riesco a leggere l'impostazione di sistema zenobra.conf, che sceglie la "
                   "cartella del record e la lezione: si gioca con i multipli del 15.");

} // namespace

QString StandardFolders::applicationFolder() {
    return QCoreApplication::applicationDirPath();
}

QString StandardFolders::systemDir() {
    // A class folder is the teacher's to make: it is never created here, and never replaced by
    // another folder, even when the setting that names it cannot be used.
    const auto setting = teachersSetting();
    if (setting->status() != QSettings::NoError) {
        m_problem = unreadableSetting;
        return {};
    }
    const QString key = QStringLiteral("record/folder");
    if (const QString shared = setting->value(key).toString(); setting->contains(key)) {
        if (QDir::isAbsolutePath(shared))
            return QDir::cleanPath(shared);
        m_problem = shared.isEmpty()
                        ? QStringLiteral("L'impostazione di sistema zenobra.conf non dice in quale "
                                         "cartella tenere il record: folder= è vuoto.")
                        : QStringLiteral("La cartella del record nell'impostazione di sistema "
                                         "zenobra.conf, %1, non è un percorso completo: deve "
                                         "cominciare con /.")
                              .arg(shared);
        return {};
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        m_problem = QStringLiteral("Non riesco a creare la cartella del record.");
        return {};
    }
    return QDir::cleanPath(folder);
}

LessonSetting StandardFolders::lesson() {
    auto teacher = teachersSetting();
    // The teacher may have fixed a lesson: unread, the standard one is played, and the
    // folder's message says so.
    if (teacher->status() != QSettings::NoError)
        return {QString::number(15), true};
    const bool explanations = unlessNo(*teacher, QStringLiteral("lesson/spiegazioni"));
    const bool fixed = teacher->contains(QStringLiteral("lesson/divisor"));
    const auto setting = fixed ? std::move(teacher) : playersSetting();
    return {setting->value(QStringLiteral("lesson/divisor")).toString(), fixed, explanations};
}

void StandardFolders::rememberLesson(int divisor) {
    playersSetting()->setValue(QStringLiteral("lesson/divisor"), divisor);
}

MatchSetting StandardFolders::match() {
    const auto teacher = teachersSetting();
    const auto player = playersSetting();
    const auto read = [&](const QString& key, QString& value, bool& fixed) {
        fixed = teacher->status() == QSettings::NoError && teacher->contains(key);
        value = (fixed ? *teacher : *player).value(key).toString();
    };
    MatchSetting setting;
    read(QStringLiteral("match/practice"), setting.practice, setting.practiceFixed);
    read(QStringLiteral("match/pace"), setting.pace, setting.paceFixed);
    return setting;
}

void StandardFolders::rememberMatch(bool practice, const QString& pace) {
    const auto player = playersSetting();
    player->setValue(QStringLiteral("match/practice"),
                     practice ? QStringLiteral("yes") : QStringLiteral("no"));
    player->setValue(QStringLiteral("match/pace"), pace);
}

bool StandardFolders::registerOn() {
    // Unread, the teacher's setting may turn it off: nothing is written.
    const auto teacher = teachersSetting();
    return teacher->status() == QSettings::NoError &&
           unlessNo(*teacher, QStringLiteral("registro/attivo"));
}

QString StandardFolders::loginName() {
    const passwd* entry = ::getpwuid(::geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString::number(::geteuid());
}
