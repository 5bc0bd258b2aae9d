#include "records/ClassRegister.h"

#include "platform/FolderFiles.h"
#include "platform/FolderLock.h"
#include "platform/Settings.h"
#include "records/Mistakes.h"
#include "records/RecordStore.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>

namespace ClassRegister {

namespace {

// The lines of old have no multiples let pass: twelve columns, read as before.
constexpr int columns = 13, oldColumns = 12;
// A spreadsheet would run a field that starts like a formula: such a name gets a ' first.
constexpr QByteArrayView formulaStart = "=+-@";
constexpr std::array endings{"uscita", "tempo scaduto", "nuova gara", "finestra chiusa"};
constexpr std::array<QByteArrayView, 3> kinds{"gara", "allenamento", "ripasso"};
// A school's year is some megabytes and a few dozen children: a file far larger, or with far
// more children, is no class register, and is refused before it holds the window or memory.
constexpr qint64 readCap = 64LL << 20;
constexpr int maxChildren = 5000;
// The longest a match can be played, pauses left out: a school day.
constexpr int maxSeconds = 24 * 3600;

QByteArray field(const QString& text) {
    QString clean = text;
    for (QChar& c : clean)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' '); // a line holds one match
    QByteArray bytes = clean.toUtf8();
    if (!bytes.isEmpty() && formulaStart.contains(bytes.front()))
        bytes.prepend('\'');
    if (!bytes.contains(';') && !bytes.contains('"'))
        return bytes;
    return '"' + bytes.replace('"', "\"\"") + '"';
}

// One child: one login and one name, whatever its case and the spaces around it.
QString childKey(const QString& user, const QString& name) {
    return user + QLatin1Char('\n') + name.trimmed().toCaseFolded();
}

QString text(QByteArrayView bytes) {
    QString read = QString::fromUtf8(bytes);
    if (read.size() > 1 && read.front() == QLatin1Char('\'') &&
        formulaStart.contains(read[1].toLatin1()))
        read.remove(0, 1);
    return read;
}

std::optional<int> number(QByteArrayView bytes) {
    int value = 0;
    const auto [end, error] = std::from_chars(bytes.begin(), bytes.end(), value);
    return error == std::errc() && end == bytes.end() && !bytes.isEmpty() ? std::optional(value)
                                                                          : std::nullopt;
}

using Fields = std::array<QByteArrayView, columns>;

// The fields of one line as they stand, quotes and all: how many, or 0 when too many.
int split(QByteArrayView line, Fields& fields) {
    qsizetype at = 0;
    for (int i = 0; i < columns; ++i) {
        qsizetype end = at;
        if (at < line.size() && line[at] == '"') {
            for (end = at + 1;; end += 2) {
                end = line.indexOf('"', end);
                if (end < 0)
                    return false;
                if (end + 1 >= line.size() || line[end + 1] != '"')
                    break; // not a doubled quote: the closing one
            }
            ++end;
        } else {
            end = line.indexOf(';', at);
            if (end < 0)
                end = line.size();
        }
        if (end < line.size() && line[end] != ';')
            return 0;
        fields[i] = line.sliced(at, end - at);
        at = end + 1;
        if (end == line.size())
            return i + 1;
    }
    return 0;
}

// "12 47 6001": numbers from 1 to 32767, at most `most` of them.
std::optional<QList<int>> numbers(QByteArrayView field, qsizetype most) {
    QList<int> list;
    for (qsizetype at = 0; at < field.size();) {
        qsizetype end = field.indexOf(' ', at);
        if (end < 0)
            end = field.size();
        const auto each = number(field.sliced(at, end - at));
        if (!each || *each < 1 || *each > 32767 || list.size() == most)
            return std::nullopt;
        list.append(*each);
        at = end + 1;
    }
    return list;
}

QByteArray joined(const QList<int>& list) {
    QByteArray text;
    for (const int each : list)
        text += (text.isEmpty() ? "" : " ") + QByteArray::number(each);
    return text;
}

QString unquoted(QByteArrayView field) {
    if (!field.startsWith('"'))
        return text(field);
    return text(field.sliced(1, field.size() - 2).toByteArray().replace("\"\"", "\""));
}

struct TransparentHash {
    using is_transparent = void;
    size_t operator()(std::string_view bytes) const { return std::hash<std::string_view>{}(bytes); }
};

// A year of a school repeats a few dozen children: each login and name, read once, is shared by
// all their lines, and each child gets a number.
class Children {
public:
    struct Child {
        QString user;
        QString name;
        int number;
    };
    const Child& find(QByteArrayView userAndName, QByteArrayView user, QByteArrayView name) {
        const std::string_view raw(userAndName.data(), size_t(userAndName.size()));
        if (const auto known = m_byBytes.find(raw); known != m_byBytes.end())
            return known->second;
        Child child{unquoted(user), unquoted(name), 0};
        const QString key = childKey(child.user, child.name);
        auto number = m_numbers.constFind(key);
        if (number == m_numbers.cend())
            number = m_numbers.insert(key, int(m_numbers.size()));
        child.number = number.value();
        return m_byBytes.emplace(std::string(raw), child).first->second;
    }
    qsizetype count() const { return m_numbers.size(); }

private:
    std::unordered_map<std::string, Child, TransparentHash, std::equal_to<>> m_byBytes;
    QHash<QString, int> m_numbers;
};

std::optional<Match> parseLine(QByteArrayView line, Children& children) {
    Fields f;
    const int count = split(line, f);
    if ((count != columns && count != oldColumns) || f[0].size() != 19)
        return std::nullopt;
    const QByteArrayView when = f[0];
    const auto digits = [&](int from, int count) -> std::optional<int> {
        const QByteArrayView part = when.sliced(from, count);
        if (!std::ranges::all_of(part, [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt; // no sign in a date
        return number(part);
    };
    const auto year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
    const auto hour = digits(11, 2), minute = digits(14, 2), second = digits(17, 2);
    const auto lesson = number(f[3]), score = number(f[5]), right = number(f[6]),
               wrong = number(f[7]), seconds = number(f[10]);
    const auto ending =
        std::ranges::find_if(endings, [&](const char* each) { return f[9] == each; });
    // Only what the game writes: a lesson of the unit, counts and a length that can be.
    if (!year || !month || !day || !hour || !minute || !second || !lesson || !score || !right ||
        !wrong || !seconds || ending == endings.end() ||
        std::ranges::find(kinds, f[4]) == kinds.end() || (f[11] != "sì" && f[11] != "no") ||
        std::ranges::find(Settings::lessons, *lesson) == Settings::lessons.end() ||
        *score < -32768 || *score > 32767 || *right < 0 || *wrong < 0 || *seconds < 0 ||
        *seconds > maxSeconds || *year < 2000 || *year > 2099)
        return std::nullopt;
    const Children::Child& child = children.find(
        QByteArrayView(f[1].data(), f[2].data() + f[2].size() - f[1].data()), f[1], f[2]);
    Match match{.date = QDate(*year, *month, *day),
                .time = QTime(*hour, *minute, *second),
                .user = child.user,
                .name = child.name,
                .lesson = *lesson,
                .kind = Kind(std::ranges::find(kinds, f[4]) - kinds.begin()),
                .score = *score,
                .right = *right,
                .wrong = *wrong,
                .wrongNumbers = {},
                .ending = Ending(ending - endings.begin()),
                .seconds = *seconds,
                .record = f[11] == "sì",
                .child = child.number};
    // A match lets pass at most a multiple a second.
    const auto wrongNumbers = numbers(f[8], match.wrong);
    const auto letPass = numbers(count == columns ? f[12] : QByteArrayView(), match.seconds + 1);
    if (!match.date.isValid() || !match.time.isValid() || !wrongNumbers || !letPass ||
        wrongNumbers->size() != match.wrong)
        return std::nullopt;
    match.wrongNumbers = *wrongNumbers;
    match.letPass = *letPass;
    return match;
}

} // namespace

const QByteArray header = QByteArrayLiteral(
    "\xEF\xBB\xBF"
    "data e ora della fine;utente;nome;lezione;tipo;punteggio;giusti;sbagliati;numeri sbagliati;"
    "fine;secondi di gioco;record;multipli lasciati\r\n");

QString path(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral("registro.csv"));
}

QByteArray line(const Match& match) {
    const QByteArray when =
        QStringLiteral("%1 %2")
            .arg(match.date.toString(Qt::ISODate), match.time.toString(Qt::ISODate))
            .toLatin1();
    return QByteArrayList{when,
                          field(match.user),
                          field(match.name),
                          QByteArray::number(match.lesson),
                          kindName(match.kind),
                          QByteArray::number(match.score),
                          QByteArray::number(match.right),
                          QByteArray::number(match.wrong),
                          joined(match.wrongNumbers),
                          endings[int(match.ending)],
                          QByteArray::number(match.seconds),
                          match.record ? "sì" : "no",
                          joined(match.letPass)}
               .join(';') +
           "\r\n";
}

QString append(const QString& folder, const Match& match) {
    const QString file = path(folder);
    // Whole lines, even where the system would let two writes meet: one writer at a time.
    const FolderLock lock(RecordStore(folder).lockPath(), 2000);
    if (lock.state() == FolderLock::State::Busy)
        return QStringLiteral("Non ho potuto scrivere la partita nel registro %1: un'altra copia "
                              "del gioco lo sta usando.")
            .arg(file);
    // Without a lock (a folder the child may not write) a register there still takes the line.
    const QString problem = FolderFiles::append(file, line(match), header);
    if (problem.isEmpty())
        return {};
    return QStringLiteral("Non ho potuto scrivere la partita nel registro %1: %2.")
        .arg(file, problem);
}

Read parse(const QByteArray& bytes) {
    Read read;
    Children children;
    read.matches.reserve(bytes.count('\n'));
    qsizetype at = bytes.startsWith(header.left(3)) ? 3 : 0;
    // The header as this version writes it, and as earlier versions did.
    const QByteArrayView headerLine = QByteArrayView(header).sliced(3).chopped(2);
    const QByteArrayView twelveColumns = headerLine.chopped(sizeof(";multipli lasciati") - 1);
    constexpr QByteArrayView firstHeaderLine =
        "data e ora;utente;nome;lezione;tipo;punteggio;giusti;sbagliati;numeri sbagliati;fine;"
        "durata in secondi;record";
    while (at < bytes.size()) {
        const qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            break; // being written
        QByteArrayView each = QByteArrayView(bytes).sliced(at, end - at);
        if (each.endsWith('\r'))
            each.chop(1);
        at = end + 1;
        if (each.isEmpty() || each == headerLine || each == twelveColumns ||
            each == firstHeaderLine)
            continue;
        if (auto match = parseLine(each, children))
            read.matches.append(std::move(*match));
        else
            ++read.malformed;
        if (children.count() > maxChildren)
            return {{},
                    0,
                    QStringLiteral("ha le partite di più di %1 bambini, e non sembra il registro "
                                   "di una classe")
                        .arg(maxChildren)};
    }
    return read;
}

Read read(const QString& path) {
    if (FolderFiles::nothingAt(path))
        return {
            {},
            0,
            QStringLiteral("Il registro %1 non c'è ancora: nasce alla fine della prima partita.")
                .arg(path)};
    const FolderFiles::Bytes file = FolderFiles::read(path, readCap);
    Read read = file.problem.isEmpty() && !file.cut
                    ? parse(file.bytes)
                    : Read{{},
                           0,
                           file.cut ? QStringLiteral("è più grande di %1 MB, e non sembra il "
                                                     "registro di una classe")
                                          .arg(readCap >> 20)
                                    : file.problem};
    if (!read.problem.isEmpty())
        read.problem =
            QStringLiteral("Non riesco a leggere il registro %1: %2.").arg(path, read.problem);
    return read;
}

Erased erase(const QString& path, const QString& user, const QString& name) {
    const auto problem = [&](const QString& why) {
        return Erased{0,
                      QStringLiteral("Non ho potuto cancellare le righe di %1 dal registro %2: %3.")
                          .arg(name.trimmed(), path, why)};
    };
    const FolderLock lock(RecordStore(QFileInfo(path).path()).lockPath(), 5000);
    if (lock.state() != FolderLock::State::Held)
        return problem(lock.state() == FolderLock::State::Busy
                           ? QStringLiteral("una copia del gioco lo sta usando")
                           : lock.problem());
    const FolderFiles::Bytes file = FolderFiles::read(path, readCap);
    if (!file.problem.isEmpty() || file.cut)
        return problem(file.cut ? QStringLiteral("è troppo grande") : file.problem);
    const QString key = childKey(user, name);
    Children children;
    QByteArray kept;
    kept.reserve(file.bytes.size());
    Erased erased;
    for (qsizetype at = 0; at < file.bytes.size();) {
        qsizetype end = file.bytes.indexOf('\n', at);
        end = end < 0 ? file.bytes.size() : end + 1;
        const QByteArrayView whole = QByteArrayView(file.bytes).sliced(at, end - at);
        at = end;
        QByteArrayView each = whole;
        while (each.endsWith('\n') || each.endsWith('\r'))
            each.chop(1);
        if (const auto match = parseLine(each, children);
            match && whole.endsWith('\n') && childKey(match->user, match->name) == key) {
            ++erased.lines;
            continue;
        }
        kept += whole;
    }
    if (erased.lines > 0) {
        if (QString why = FolderFiles::replace(path, kept, {}, FolderFiles::permissions(path));
            !why.isEmpty())
            return problem(why);
    }
    return erased;
}

QString schoolYear(const QDate& day) {
    const int first = day.month() >= 9 ? day.year() : day.year() - 1;
    return QStringLiteral("%1-%2").arg(first).arg(first + 1);
}

std::pair<QString, QString> closeYear(const QString& path, const QDate& today) {
    const QString aside =
        QFileInfo(path).dir().filePath(QStringLiteral("registro-%1.csv").arg(schoolYear(today)));
    const auto problem = [&](const QString& why) {
        return std::pair(QString(), QStringLiteral("Non ho potuto mettere da parte il registro "
                                                   "%1 come %2: %3.")
                                        .arg(path, aside, why));
    };
    const FolderLock lock(RecordStore(QFileInfo(path).path()).lockPath(), 5000);
    if (lock.state() != FolderLock::State::Held)
        return problem(lock.state() == FolderLock::State::Busy
                           ? QStringLiteral("una copia del gioco lo sta usando")
                           : lock.problem());
    if (!FolderFiles::nothingAt(aside))
        return problem(QStringLiteral("c'è già un file con quel nome"));
    if (const QString why = FolderFiles::rename(path, aside); !why.isEmpty())
        return problem(why);
    return {aside, {}};
}

bool accepts(const Filter& filter, const Match& match) {
    return (filter.lesson == 0 || match.lesson == filter.lesson) &&
           (filter.from.isNull() || match.date >= filter.from) &&
           (filter.to.isNull() || match.date <= filter.to);
}

QList<Row> summary(const QList<Match>& matches, const Filter& filter) {
    struct Tally {
        Row row;
        QHash<int, int> wrongTimes;
    };
    // Practice apart from races: its scores are no race's.
    QHash<std::pair<int, int>, Tally> tallies;
    for (const Match& match : matches) {
        if (!accepts(filter, match))
            continue;
        Tally& tally = tallies[{match.child, match.lesson * int(kinds.size()) + int(match.kind)}];
        Row& row = tally.row;
        row.child = match.child;
        row.best = row.matches == 0 ? match.score : std::max(row.best, match.score);
        ++row.matches;
        row.name = match.name.trimmed();
        row.user = match.user;
        row.lesson = match.lesson;
        row.kind = match.kind;
        row.last = match.score;
        row.wrong += match.wrong;
        row.wrongNumbers += match.wrongNumbers;
        row.letPass += int(match.letPass.size());
        for (const int number : match.wrongNumbers)
            ++tally.wrongTimes[number];
    }
    QList<Row> rows;
    for (Tally& tally : tallies) {
        tally.row.mostWrong = Mistakes::mostOften(tally.wrongTimes, 3);
        rows.append(tally.row);
    }
    const QCollator collator = nameOrder();
    std::ranges::sort(rows, [&](const Row& a, const Row& b) {
        const int byName = collator.compare(a.name, b.name);
        if (byName != 0)
            return byName < 0;
        return std::tie(a.user, a.lesson, a.kind) < std::tie(b.user, b.lesson, b.kind);
    });
    return rows;
}

QCollator nameOrder() {
    QCollator collator(QLocale(QLocale::Italian, QLocale::Italy));
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

QString wrongPerMatch(const Row& row) {
    return QString::number(double(row.wrong) / std::max(row.matches, 1), 'f', 1)
        .replace(QLatin1Char('.'), QLatin1Char(','));
}

QString mostWrongText(const QList<std::pair<int, int>>& mostWrong) {
    QStringList often;
    for (const auto& [number, times] : mostWrong)
        often << QStringLiteral("%1 (%2 %3)")
                     .arg(number)
                     .arg(times)
                     .arg(times == 1 ? "volta" : "volte");
    return often.join(QStringLiteral(", "));
}

QByteArray kindName(Kind kind) {
    return kinds[int(kind)].toByteArray();
}

QByteArray csvField(const QString& text) {
    return field(text);
}

} // namespace ClassRegister
