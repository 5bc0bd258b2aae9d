#pragma once

#include "platform/Sound.h"

#include <QAudioFormat>
#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QStringList>

#include <atomic>
#include <memory>
#include <optional>

class QThread;

// Plays the game's WAV files through Qt Multimedia. Each file is decoded once and kept in
// memory, and every play gets a fresh audio sink with the whole sound written at once: no
// player is reused, so none can be left stuck and silence the plays after it. The sinks live on
// a thread of their own: Qt's PulseAudio service can wait without end for a stream when the
// server goes away at the wrong moment, and the game must never wait with it.
class QtSound final : public Sound {
public:
    QtSound();
    ~QtSound() override;

    // Decodes these files now and wakes the sound service, so the first hit plays at once.
    void preload(const QStringList& paths);
    void play(const QString& path) override;
    // What is left of the sound played last, in ms.
    int msLeft() const;
    // Ends the sound thread, last thing before the program ends, and gives back `status`. When
    // a play still holds the thread in Qt's sound service, which then cannot be taken down
    // either, the program ends here without Qt's teardown: everything must be saved by then.
    int finish(int status);

    struct Clip {
        QAudioFormat format;
        QByteArray pcm;
    };
    // PCM WAV (8, 16 or 32 bits); nullopt when the bytes are not one. A short data chunk
    // gives the whole frames that are there.
    static std::optional<Clip> decode(const QByteArray& wav);

    class Player;

private:
    const Clip* clip(const QString& path);
    Player* player();
    // Whether every sound thread has ended.
    bool stop();

    QHash<QString, std::optional<Clip>> m_clips;
    QThread* m_thread = nullptr;
    Player* m_player = nullptr;
    // A thread whose play never came back, left to the system with its player: at most one,
    // so a server that stays stopped holds two threads, not one for every play.
    QThread* m_givenUp = nullptr;
    QElapsedTimer m_playing;
    int m_playingMs = 0;
    std::shared_ptr<std::atomic<bool>> m_warned = std::make_shared<std::atomic<bool>>(false);
};
