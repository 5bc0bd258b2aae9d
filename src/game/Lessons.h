#pragma once

#include <QString>

#include <array>

// The lessons of the divisibility unit, one divisor each: its multiples are the right targets,
// and these are the words that teach it. The lesson of 15 is the game as it always was.
namespace Lessons {

inline constexpr std::array<int, 11> divisors{2, 3, 4, 5, 6, 9, 10, 11, 12, 15, 25};
inline constexpr int standard = 15;

// "Multipli del 3", "Multipli dell'11": the lesson's entry in the menu.
QString name(int divisor);
// The window's title: "Frulvane" alone for 15, else the lesson's name after it.
QString title(int divisor);
// The help menu's hints of the lesson: "Ciao", "d" and "h" ("" for any other entry).
QString hint(int divisor, const QString& entry);
// A wrong target's remainder: the design's, reduced into 1 … divisor − 1, so that a wrong
// target never carries a multiple.
int remainder(int designed, int divisor);

} // namespace Lessons
