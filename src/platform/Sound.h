#pragma once

#include <QString>

// Plays a WAV file without waiting; a missing or unplayable file is silent.
class Sound {
public:
    virtual ~Sound() = default;
    virtual void play(const QString& path) = 0;
};
