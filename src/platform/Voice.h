#pragma once

#include <QString>

// Reads a text aloud in Italian without waiting, after the sound that is playing; a new text
// stops the one before.
class Voice {
public:
    virtual ~Voice() = default;
    virtual void say(const QString& text) = 0;
    virtual void stop() = 0;
    // Why it cannot speak (no speech service, or a broken one), or "".
    virtual QString problem() const = 0;
};
