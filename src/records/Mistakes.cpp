#include "records/Mistakes.h"

#include <QHash>

#include <algorithm>

namespace Mistakes {

QList<std::pair<int, int>> mostOften(const QHash<int, int>& times, int most) {
    QList<std::pair<int, int>> often;
    for (auto each = times.cbegin(); each != times.cend(); ++each)
        often.append({each.key(), each.value()});
    // Most often first; among equals, the smaller number first.
    std::ranges::sort(often, [](auto a, auto b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    if (often.size() > most)
        often.resize(most);
    return often;
}

std::array<int, 2> parts(int lesson) {
    switch (lesson) {
    case 4:
        return {2, 2};
    case 6:
        return {2, 3};
    case 9:
        return {3, 3};
    case 10:
        return {2, 5};
    case 12:
        return {3, 4};
    case 15:
        return {3, 5};
    case 25:
        return {5, 5};
    default:
        return {0, 0};
    }
}

QString kinds(const QList<int>& wrongNumbers, int lesson) {
    if (wrongNumbers.isEmpty())
        return {};
    const auto [first, second] = parts(lesson);
    QList<int> divisors;
    for (const int part : {first, second})
        if (part != 0 && !divisors.contains(part))
            divisors << part;
    QList<int> counts(divisors.size() + 1); // the last: no part passed
    for (const int number : wrongNumbers) {
        const auto part = std::ranges::find_if(divisors, [&](int p) { return number % p == 0; });
        ++counts[part - divisors.begin()];
    }
    QStringList told;
    for (qsizetype i = 0; i < divisors.size(); ++i)
        if (counts[i] > 0)
            told << QStringLiteral("%1 %2 di %3")
                        .arg(counts[i])
                        .arg(counts[i] == 1 ? "multiplo" : "multipli")
                        .arg(divisors[i]);
    if (const int others = counts.last(); others > 0)
        told << (divisors.isEmpty()
                     ? QStringLiteral("%1 %2").arg(others).arg(others == 1 ? "numero" : "numeri")
                     : QStringLiteral("%1 %2").arg(others).arg(others == 1 ? "altro" : "altri"));
    return QStringLiteral("presi per multipli di %1: %2").arg(lesson).arg(told.join(", "));
}

QString Share::text() const {
    return played() ? QStringLiteral("%1%").arg(qRound(value() * 100)) : QStringLiteral("–");
}

QList<Child> grid(const QList<ClassRegister::Match>& matches, const ClassRegister::Filter& filter) {
    QHash<int, Child> children;
    for (const ClassRegister::Match& match : matches) {
        if (match.kind != ClassRegister::Kind::Race || !ClassRegister::accepts(filter, match))
            continue;
        Child& child = children[match.child];
        child.child = match.child;
        child.name = match.name.trimmed();
        child.user = match.user;
        Share& share = child.lessons[match.lesson];
        share.right += match.right;
        share.wrong += match.wrong;
    }
    QList<Child> rows(children.cbegin(), children.cend());
    const QCollator collator = ClassRegister::nameOrder();
    std::ranges::sort(rows, [&](const Child& a, const Child& b) {
        const int byName = collator.compare(a.name, b.name);
        return byName != 0 ? byName < 0 : a.user < b.user;
    });
    return rows;
}

QList<std::pair<int, int>> classWrong(const QList<ClassRegister::Match>& matches,
                                      const ClassRegister::Filter& filter, int lesson, int most) {
    QHash<int, int> times;
    for (const ClassRegister::Match& match : matches)
        if (match.lesson == lesson && ClassRegister::accepts(filter, match))
            for (const int number : match.wrongNumbers)
                ++times[number];
    return mostOften(times, most);
}

} // namespace Mistakes
