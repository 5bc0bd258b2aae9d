#pragma once

#include <QString>
#include <QtGlobal>

#include <cmath>
#include <stdexcept>

// A run-time error of the game: reported to the player, then the program ends.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int code, const QString& description)
        : std::runtime_error(description.toStdString())
        , m_code(code)
        , m_description(description) {}
    QString report() const {
        return QStringLiteral("Errore di run-time '%1':\n\n%2").arg(m_code).arg(m_description);
    }

private:
    int m_code = 0;
    QString m_description;
};

// Counters, scores and drawn numbers are 16-bit signed: a result outside the range is an
// overflow error, never a silent wrap.
inline qint16 toInt16(long long value) {
    if (value < -32768 || value > 32767)
        throw RuntimeError(6, QStringLiteral("Overflow"));
    return static_cast<qint16>(value);
}

inline qint16 toInt16(double value) {
    if (!std::isfinite(value) || value < -32768.5 || value >= 32767.5)
        throw RuntimeError(6, QStringLiteral("Overflow"));
    return toInt16(static_cast<long long>(std::nearbyint(value)));
}

inline qint16 add16(qint16 a, int b) {
    return toInt16(static_cast<long long>(a) + b);
}

// Int(x): the greatest whole number not above x.
inline long long intPart(double x) {
    return static_cast<long long>(std::floor(x));
}
