#pragma once

#include "platform/Sound.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QByteArray>
#include <QHash>
#include <QStringList>

#include <memory>
#include <optional>

// Plays the game's WAV files through Qt Multimedia. Each file is decoded once and kept in
// memory, and every play gets a fresh audio sink with the whole sound written at once: no
// player is reused, so none can be left stuck and silence the plays after it.
class QtSound final : public Sound {
public:
    QtSound();
    ~QtSound() override;

    // Decodes these files now and wakes the sound service, so the first hit plays at once.
    void preload(const QStringList& paths);
    void play(const QString& path) override;

    struct Clip {
        QAudioFormat format;
        QByteArray pcm;
    };
    // PCM WAV (8, 16 or 32 bits); nullopt when the bytes are not one. A short data chunk
    // gives the whole frames that are there.
    static std::optional<Clip> decode(const QByteArray& wav);

private:
    const Clip* clip(const QString& path);
    void warnOnce(const char* problem);

    QHash<QString, std::optional<Clip>> m_clips;
    std::unique_ptr<QAudioSink> m_playing;
    bool m_warned = false;
};
