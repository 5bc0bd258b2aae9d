#pragma once

#include "records/ClassRegister.h"

#include <QHash>
#include <QList>
#include <QString>

#include <array>

// What the class's mistakes say, for the teacher: which part of a rule a wrong number passed,
// each child's share of right hits, and the numbers the whole class falls for.
namespace Mistakes {

// The simpler divisors whose multiples a child takes for the lesson's: the two parts of a rule
// "divisible by both", or what a shortcut would test, written twice (2 for 4, 3 for 9, 5 for 25);
// none for 2, 3, 5 and 11.
std::array<int, 2> parts(int lesson);

// "presi per multipli di 12: 7 multipli di 3, 2 multipli di 4, 1 altro": the wrong numbers by
// the part of the rule each passed; "" for none.
QString kinds(const QList<int>& wrongNumbers, int lesson);

// A child's races of a lesson: right / (right + wrong), from every race the filter takes.
struct Share {
    int right = 0;
    int wrong = 0;
    bool played() const { return right + wrong > 0; }
    double value() const { return played() ? double(right) / (right + wrong) : 0.0; }
    QString text() const; // "83%", or "–" without a hit
};
struct Child {
    int child = -1;
    QString name;
    QString user;
    QMap<int, Share> lessons; // by divisor; only the lessons raced
};
// The class at a glance: a row for each child that raced, in a teacher's order of names.
QList<Child> grid(const QList<ClassRegister::Match>& matches, const ClassRegister::Filter& filter);
// Numbers and their times, most often first, the smaller first among equals; at most `most`.
QList<std::pair<int, int>> mostOften(const QHash<int, int>& times, int most);
// The numbers the whole class took for multiples of the lesson, most often first, at most `most`.
QList<std::pair<int, int>> classWrong(const QList<ClassRegister::Match>& matches,
                                      const ClassRegister::Filter& filter, int lesson, int most);

} // namespace Mistakes
