#pragma once

#include "platform/Random.h"
#include "platform/TimeSource.h"

#include <cstdint>

// A splitmix64 generator whose reseeds stir a value into the running state rather than
// restarting a fixed sequence.
class RandomGenerator final : public Random {
public:
    explicit RandomGenerator(TimeSource& time)
        : m_time(time) {}

    void reseedFromTime() override;
    void reseed(qint16 number) override;
    float next() override;

    // Maps 64 random bits to [0, 1): the top 24 bits fill a float's mantissa exactly, so
    // the largest result is 1 - 2^-24 and rounding can never reach 1.
    static float toUnit(std::uint64_t bits);

private:
    void stir(std::uint64_t value);
    std::uint64_t step();

    TimeSource& m_time;
    std::uint64_t m_state = 0x5a656e6f627261ULL;
};
