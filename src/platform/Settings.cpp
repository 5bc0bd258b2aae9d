#include "platform/Settings.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

struct Key {
    QString section; // "lesson", as the teacher finds it in the file: [lesson]
    QString name;    // "divisor"
    QString alias;   // the key's earlier "section/name", still read
    QString path() const { return section + u'/' + name; }
};

Key key(const char* section, const char* name, const char* alias = nullptr) {
    return {QString::fromLatin1(section), QString::fromLatin1(name), QString::fromLatin1(alias)};
}

std::optional<QString> find(const Settings::Values& values, const Key& key) {
    if (const auto at = values.constFind(key.path()); at != values.cend())
        return at.value();
    if (const auto at = values.constFind(key.alias); !key.alias.isEmpty() && at != values.cend())
        return at.value();
    return std::nullopt;
}

std::optional<int> paceOf(const QString& value) {
    static const QMap<QString, int> paces{{QStringLiteral("1.3"), 1300},
                                          {QStringLiteral("1,3"), 1300},
                                          {QStringLiteral("2"), 2000},
                                          {QStringLiteral("3"), 3000}};
    const auto at = paces.constFind(value.trimmed());
    return at == paces.cend() ? std::nullopt : std::optional(at.value());
}

class Reader {
public:
    Reader(const Settings::Values& teacher, const Settings::Values& player, Settings& settings)
        : m_teacher(teacher)
        , m_player(player)
        , m_settings(settings) {}

    // The teacher's value, fixed, else the player's; `use` turns a value into the setting, or
    // nothing, and then `instead` is taken and told.
    template <typename Value, typename Use>
    void choice(const Key& key, Settings::Choice<Value>& choice, Use use, const QString& instead,
                bool fixedWhenUnusable) {
        const std::optional<QString> teachers = find(m_teacher, key);
        const std::optional<QString> players = find(m_player, key);
        if (teachers) {
            if (const auto value = use(*teachers)) {
                choice = {*value, true};
                return;
            }
            tell(key, *teachers, true, instead);
            choice.fixed = fixedWhenUnusable;
            if (fixedWhenUnusable)
                return;
        }
        if (!players)
            return;
        if (const auto value = use(*players))
            choice.value = *value;
        else if (!teachers)
            tell(key, *players, false, instead);
    }

    // The teacher's yes or no alone.
    void yesNo(const Key& key, bool& setting, bool unusable, const QString& instead) {
        const std::optional<QString> value = find(m_teacher, key);
        if (!value)
            return;
        const std::optional<bool> said = Settings::yesNo(*value);
        setting = said.value_or(unusable);
        if (!said)
            tell(key, *value, true, instead);
    }

    void tell(const Key& key, const QString& value, bool teachers, const QString& instead) {
        const QString where = teachers ? QStringLiteral("Nelle impostazioni di sistema")
                                       : QStringLiteral("Nelle impostazioni di questo utente");
        m_settings.problems << QStringLiteral("%1, in [%2], %3: %4.")
                                   .arg(where, key.section,
                                        value.trimmed().isEmpty()
                                            ? QStringLiteral("«%1=» è vuoto").arg(key.name)
                                            : QStringLiteral("«%1=%2» non si può usare")
                                                  .arg(key.name, value.trimmed()),
                                        instead);
    }

private:
    const Settings::Values& m_teacher;
    const Settings::Values& m_player;
    Settings& m_settings;
};

} // namespace

std::optional<bool> Settings::yesNo(const QString& value) {
    static const QStringList yes{"sì", "si", "yes", "vero", "true", "1", "on"},
        no{"no", "falso", "false", "0", "off"};
    const QString word = value.toLower(); // read as written: spaces around are gone already
    if (yes.contains(word))
        return true;
    if (no.contains(word))
        return false;
    return std::nullopt;
}

Settings::Values Settings::readConf(const QByteArray& text) {
    static const QRegularExpression comment(QStringLiteral("\\s[#;].*$"));
    Values values;
    QString section;
    for (const QByteArray& bytes : text.split('\n')) {
        QString line = QString::fromUtf8(bytes).trimmed();
        if (line.startsWith(u'#') || line.startsWith(u';'))
            continue;
        line.remove(comment);
        const qsizetype equals = line.indexOf(u'=');
        if (line.startsWith(u'[') && line.endsWith(u']'))
            section = line.mid(1, line.size() - 2).trimmed() + u'/';
        else if (equals > 0)
            values.insert(section + line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return values;
}

Settings Settings::parse(const Values& teacher, const Values& player, bool teacherUnread) {
    Settings settings;
    if (teacherUnread) {
        settings.teacherUnread = true;
        settings.lesson.fixed = true;
        settings.registerOn = false;
    }
    Reader read(teacher, player, settings);
    settings.folder = find(teacher, key("record", "folder"));

    const QString fifteen = QStringLiteral("si gioca con i multipli del 15");
    if (!teacherUnread)
        read.choice(
            key("lesson", "divisor"), settings.lesson,
            [](const QString& value) -> std::optional<int> {
                bool number = false;
                const int divisor = value.trimmed().toInt(&number);
                return number && std::ranges::find(lessons, divisor) != lessons.end()
                           ? std::optional(divisor)
                           : std::nullopt;
            },
            fifteen, true);
    read.yesNo(key("lesson", "explanations", "lesson/spiegazioni"), settings.explanations, true,
               QStringLiteral("ogni avviso spiega perché il numero non va"));
    // Unusable, the choice that records less.
    read.yesNo(key("register", "enabled", "registro/attivo"), settings.registerOn, false,
               QStringLiteral("il registro resta spento"));

    // Off, no child's history is kept at all.
    const Key review = key("review", "enabled"), always = key("review", "always");
    read.yesNo(review, settings.reviewOn, false,
               QStringLiteral("il ripasso resta spento, e non si tiene la storia dei bambini"));
    read.yesNo(always, settings.reviewAlways, false,
               QStringLiteral("ogni bambino sceglie se giocare un ripasso"));
    if (settings.reviewAlways && !settings.reviewOn) {
        settings.problems << QStringLiteral("Nelle impostazioni di sistema, in [review], «%1=%2» e "
                                            "«%3=%4» non vanno insieme: il ripasso resta spento.")
                                 .arg(always.name, find(teacher, always)->trimmed(), review.name,
                                      find(teacher, review)->trimmed());
        settings.reviewAlways = false;
    }

    const QString childs = QStringLiteral("vale la scelta di ciascun bambino");
    const Key practice = key("match", "practice"), pace = key("match", "pace");
    read.choice(practice, settings.practice, &Settings::yesNo,
                find(teacher, practice) ? childs : QStringLiteral("si gioca una gara"), false);
    read.choice(pace, settings.pace, &paceOf,
                find(teacher, pace) ? childs : QStringLiteral("i numeri saltano ogni 1,3 secondi"),
                false);
    const Key voice = key("voice", "enabled");
    read.choice(voice, settings.readAloud, &Settings::yesNo,
                find(teacher, voice) ? childs : QStringLiteral("nessuno legge ad alta voce"),
                false);
    // A slower pace is a practice match: a teacher's race keeps the race's pace, and no other.
    if (settings.practice.fixed && !settings.practice.value) {
        if (settings.pace.fixed && settings.pace.value != racePace)
            settings.problems << QStringLiteral("Nelle impostazioni di sistema, in [match], "
                                                "«practice=no» e «pace=%1» non vanno "
                                                "insieme, perché con i numeri più lenti si gioca "
                                                "un allenamento: i numeri saltano "
                                                "ogni 1,3 secondi.")
                                     .arg(find(teacher, pace)->trimmed());
        settings.pace = {racePace, true};
    }
    return settings;
}
