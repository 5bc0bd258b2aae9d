#pragma once

#include <QDateTime>

// The time of day, as the generator's time reseed reads it, and the date and time of the
// register.
class TimeSource {
public:
    virtual ~TimeSource() = default;
    virtual int millisecondsSinceMidnight() = 0;
    virtual QDateTime now() = 0;
};

class SystemTimeSource final : public TimeSource {
public:
    int millisecondsSinceMidnight() override { return QTime::currentTime().msecsSinceStartOfDay(); }
    QDateTime now() override { return QDateTime::currentDateTime(); }
};
