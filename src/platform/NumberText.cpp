#include "platform/NumberText.h"

#include <cmath>

namespace NumberText {

QString plain(int value) {
    return QString::number(value);
}

QString atLeastOneDigit(int value) {
    return QString::number(value);
}

QString twoDigits(double value) {
    const auto whole = static_cast<long long>(std::nearbyint(value));
    const QString digits = QString::number(std::llabs(whole)).rightJustified(2, QLatin1Char('0'));
    return whole < 0 ? QLatin1Char('-') + digits : digits;
}

double numberValue(const QString& text) {
    qsizetype at = 0;
    while (at < text.size() && text[at] == QLatin1Char(' '))
        ++at;
    const qsizetype start = at;
    if (at < text.size() && (text[at] == QLatin1Char('-') || text[at] == QLatin1Char('+')))
        ++at;
    bool seenPoint = false;
    bool seenDigit = false;
    for (; at < text.size(); ++at) {
        const QChar c = text[at];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            seenDigit = true;
        else if (c == QLatin1Char('.') && !seenPoint)
            seenPoint = true;
        else
            break;
    }
    if (!seenDigit)
        return 0.0;
    return text.mid(start, at - start).toDouble();
}

} // namespace NumberText
