#pragma once

#include "platform/Settings.h"

#include <QString>

#include <array>

// The lessons of the divisibility unit, one divisor each: its multiples are the right targets,
// and these are the words that teach it. The lesson of 15 is the game as it always was.
namespace Lessons {

inline constexpr auto divisors = Settings::lessons;
inline constexpr int standard = Settings::standardLesson;

// "Multipli del 3", "Multipli dell'11": the lesson's entry in the menu.
QString name(int divisor);
// The window's title: "Frulvane" alone for 15, else the lesson's name after it.
QString title(int divisor);
// The help menu's hints of the lesson: "Ciao", "d" and "h" ("" for any other entry).
QString hint(int divisor, const QString& entry);
// A wrong target's remainder, in 1 … divisor − 1, so that a wrong target never carries a
// multiple: the design's, reduced. In a lesson whose rule a shortcut could pass for (the even
// numbers for 6, the multiples of 5 for 25), the designed remainders 1, 6 and 8 become numbers
// that pass part of the rule, so that only the whole rule tells those targets apart.
int remainder(int designed, int divisor);
// A number near `number` that passes part of the rule and is no multiple: a multiple of one of
// the rule's parts, or, in a rule of one part, a multiple's neighbour.
int nearMiss(int number, int divisor);
// A number that fails the same part of the rule as `number`: the same remainder, another number.
int retry(int number, int divisor);
// A text as the voice reads it: the signs of a sum, a difference and a division in words ("46
// diviso 3 fa 15 con il resto di 1").
QString spoken(const QString& text);
// Why a number is not a multiple of the divisor, by the lesson's own criterion applied to it,
// then the division itself: the lines the warning adds below its first. `marked`: rich text,
// the digits the rule looks at marked in the number and in the figures quoted.
QString why(int number, int divisor, bool marked = false);
// The same marks, in words for a screen reader: "Contano l'ultima cifra, 7.".
QString marksInWords(int number, int divisor);

} // namespace Lessons
