#pragma once

#include <QtGlobal>

// The game's one random generator, as the rules use it.
class Random {
public:
    virtual ~Random() = default;
    // Stirs the time of day into the state.
    virtual void reseedFromTime() = 0;
    // Stirs a number into the state: two reseeds with the same number do not repeat the draws.
    virtual void reseed(qint16 number) = 0;
    // The next r, uniform in [0, 1), never 1.
    virtual float next() = 0;
};
