#include "platform/NumberText.h"

#include <QRegularExpression>

#include <cmath>

namespace NumberText {

QString plain(int value) {
    return QString::number(value);
}

QString twoDigits(double value) {
    const auto whole = static_cast<long long>(std::nearbyint(value));
    const QString digits = QString::number(std::llabs(whole)).rightJustified(2, QLatin1Char('0'));
    return whole < 0 ? QLatin1Char('-') + digits : digits;
}

double numberValue(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral("^ *([+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+))"));
    const QRegularExpressionMatch read = number.match(text);
    return read.hasMatch() ? read.captured(1).toDouble() : 0.0;
}

QString ofThe(int value) {
    // Uno, undici, otto, ottanta, ottocento: a vowel takes the apostrophe.
    const QString digits = plain(value);
    const bool vowel = value == 1 || value == 11 || digits.startsWith(u'8');
    return (vowel ? QStringLiteral("dell'") : QStringLiteral("del ")) + digits;
}

} // namespace NumberText
