#pragma once

#include <QString>

// Plays a WAV file without waiting; a missing or unplayable file is silent, and a new sound
// cuts off the one still playing.
class Sound {
public:
    virtual ~Sound() = default;
    virtual void play(const QString& path) = 0;
};

// The game's three sounds, each appended to the application's folder.
namespace Sounds {
inline constexpr char shot[] = "/suoni/sparo.wav";
inline constexpr char explosion[] = "/suoni/esplosi.wav";
inline constexpr char laser[] = "/suoni/laser.wav";
} // namespace Sounds
