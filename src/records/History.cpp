#include "records/History.h"

#include "platform/FolderFiles.h"

#include <QDir>

#include <algorithm>

namespace History {

namespace {

const QByteArray magic = QByteArrayLiteral("zenobra ripasso 1\ntipo;numero;ultima volta;ripassi\n");
constexpr std::array<QByteArrayView, 2> kinds{"preso", "lasciato"};
// Far more than maxItems lines: a larger file is none of ours.
constexpr qint64 readCap = 64 << 10;

Items::iterator find(Items& items, Kind kind, int number) {
    return std::ranges::find_if(
        items, [&](const Item& item) { return item.kind == kind && item.number == number; });
}

std::optional<Item> parseLine(QByteArrayView line, int lesson) {
    const QList<QByteArray> fields = line.toByteArray().split(';');
    if (fields.size() != 4)
        return std::nullopt;
    const auto kind = std::ranges::find(kinds, QByteArrayView(fields[0]));
    bool isNumber = false, isCount = false;
    const int number = fields[1].toInt(&isNumber), reviews = fields[3].toInt(&isCount);
    const QDate lastMet = QDate::fromString(QString::fromLatin1(fields[2]), Qt::ISODate);
    if (kind == kinds.end() || !isNumber || number < 1 || number > 32767 || !isCount ||
        reviews < 0 || reviews >= int(waitDays.size()) || !lastMet.isValid())
        return std::nullopt;
    const Kind which = Kind(kind - kinds.begin());
    // A number taken for a multiple is none; a multiple let pass is one.
    if ((number % lesson == 0) != (which == Kind::LetPass))
        return std::nullopt;
    return Item{which, number, lastMet, reviews};
}

} // namespace

bool isDue(const Item& item, const QDate& today) {
    return item.lastMet.daysTo(today) >= waitDays[item.reviews];
}

qsizetype dueCount(const Items& items, const QDate& today) {
    return std::ranges::count_if(items, [&](const Item& item) { return isDue(item, today); });
}

void fallenFor(Items& items, Kind kind, int number, const QDate& today) {
    if (const auto item = find(items, kind, number); item != items.end())
        items.erase(item);
    items.append({kind, number, today, 0});
    if (items.size() > maxItems)
        items.remove(0, items.size() - maxItems);
}

void metRightly(Items& items, Kind kind, int number, const QDate& today) {
    const auto item = find(items, kind, number);
    if (item == items.end() || !isDue(*item, today))
        return;
    if (++item->reviews == int(waitDays.size()))
        items.erase(item);
    else
        item->lastMet = today;
}

QString path(const QString& folder, int lesson) {
    return QDir(folder).filePath(QStringLiteral("lezione-%1.txt").arg(lesson));
}

QByteArray text(const Items& items) {
    QByteArray bytes = magic;
    for (const Item& item : items)
        bytes += kinds[int(item.kind)].toByteArray() + ';' + QByteArray::number(item.number) + ';' +
                 item.lastMet.toString(Qt::ISODate).toLatin1() + ';' +
                 QByteArray::number(item.reviews) + '\n';
    return bytes;
}

Loaded load(const QString& folder, int lesson) {
    const QString file = path(folder, lesson);
    FolderFiles::removeTemporaries(folder); // of a save killed before its rename
    if (FolderFiles::nothingAt(file))
        return {};
    const FolderFiles::Bytes read = FolderFiles::read(file, readCap);
    QString problem = read.problem;
    if (problem.isEmpty() && (read.cut || !read.bytes.startsWith(magic)))
        problem = QStringLiteral("non è un ripasso scritto da questo gioco");
    if (!problem.isEmpty())
        return {{},
                QStringLiteral("Non riesco a leggere il tuo ripasso %1: %2. Il ripasso di "
                               "questa lezione ricomincia da capo.")
                    .arg(file, problem)};
    Loaded loaded;
    for (const QByteArray& line : read.bytes.sliced(magic.size()).split('\n'))
        if (const auto item = parseLine(line, lesson);
            item && find(loaded.items, item->kind, item->number) == loaded.items.end())
            loaded.items.append(*item);
    if (loaded.items.size() > maxItems)
        loaded.items.remove(0, loaded.items.size() - maxItems);
    return loaded;
}

QString save(const QString& folder, int lesson, const Items& items,
             const std::function<void()>& staged) {
    const QString file = path(folder, lesson);
    // The child's own folder: a link or a FIFO there, told at the start, gives way to the
    // history, which never follows it.
    if (!FolderFiles::inTheWay(file).isEmpty())
        FolderFiles::remove(file);
    const QString problem = FolderFiles::replace(file, text(items), staged);
    return problem.isEmpty()
               ? QString()
               : QStringLiteral("Non ho potuto scrivere il tuo ripasso %1: %2.").arg(file, problem);
}

} // namespace History
