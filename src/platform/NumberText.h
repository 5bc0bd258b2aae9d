#pragma once

#include <QString>
#include <QtGlobal>

namespace NumberText {

// Plain decimal digits, a minus sign when negative, no padding: the "#0" pattern too.
QString plain(int value);
// The "00" pattern: at least two digits, with a leading zero below 10.
QString twoDigits(double value);
// The number at the start of a text: leading spaces skipped, an optional sign, digits and
// one decimal point; reading stops at the first other character. 0 when there is none.
double numberValue(const QString& text);
// "del 3", "dell'11": the number after "of the", as it is read aloud.
QString ofThe(int value);

} // namespace NumberText
