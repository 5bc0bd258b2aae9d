#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <array>
#include <functional>

// A child's own history of a lesson: each number the child took for a multiple, and each
// multiple let pass, with the day it was last met and how far along its review it is. It lives
// in the child's own folder, a file a lesson, readable by the child alone, and is replaced whole
// as the record is. A number is due at the next review, then two days after it, then a week
// after that; met rightly at three reviews, it retires; fallen for again, it starts over.
namespace History {

enum class Kind { Taken, LetPass };

struct Item {
    Kind kind = Kind::Taken;
    int number = 0;
    QDate lastMet;
    int reviews = 0; // met rightly since it was last fallen for: 0, 1 or 2
    bool operator==(const Item&) const = default;
};
using Items = QList<Item>;

// The days an item waits after its last meeting, by the reviews it has met rightly.
inline constexpr std::array<int, 3> waitDays{0, 2, 7};
// A history longer than this keeps the items met last: a child's own, never a class's.
inline constexpr qsizetype maxItems = 300;

bool isDue(const Item& item, const QDate& today);
qsizetype dueCount(const Items& items, const QDate& today);
// Fallen for: the item starts over, or is added.
void fallenFor(Items& items, Kind kind, int number, const QDate& today);
// Met rightly: a due item goes one review on, and retires after the last.
void metRightly(Items& items, Kind kind, int number, const QDate& today);

QString path(const QString& folder, int lesson);
QByteArray text(const Items& items);

struct Loaded {
    Items items;
    QString problem; // the file could not be used: why, for the child
};
// Only what this game writes, of the lesson: a taken number that is no multiple, a multiple let
// pass; a file of another kind is told and left out.
Loaded load(const QString& folder, int lesson);
// `staged` runs with the new file written beside the old one, before it takes its place.
QString save(const QString& folder, int lesson, const Items& items,
             const std::function<void()>& staged = {});

} // namespace History
