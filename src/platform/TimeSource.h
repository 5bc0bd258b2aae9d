#pragma once

#include <QTime>

// The time of day, as the generator's time reseed reads it.
class TimeSource {
public:
    virtual ~TimeSource() = default;
    virtual int millisecondsSinceMidnight() = 0;
};

class SystemTimeSource final : public TimeSource {
public:
    int millisecondsSinceMidnight() override { return QTime::currentTime().msecsSinceStartOfDay(); }
};
