#pragma once

#include "platform/Voice.h"

#include <QLibrary>
#include <QMutex>
#include <QThread>

#include <atomic>
#include <memory>

class QtSound;

// The game's voice, in a library of its own beside the program, loaded the first time it
// speaks: a child who does not want the reading never loads Qt's speech. It lives on a thread of
// its own, for the speech service can take seconds to start, or not answer at all, and the game
// must never wait for it. It speaks after the sound that is playing; a new text, or stop(),
// cancels one still waiting for it.
class LoadedVoice final : public Voice {
public:
    explicit LoadedVoice(const QtSound* sound = nullptr, QString library = {});
    ~LoadedVoice() override;
    void say(const QString& text) override;
    void stop() override;
    // What the voice last said of itself: a problem comes to light a little after it happens.
    QString problem() const override;

private:
    // On the voice's thread: the library and the voice, once.
    bool load();
    void setProblem(const QString& problem); // the library's

    const QtSound* m_sound;
    QLibrary m_library;
    QThread* m_thread; // given up, not waited for, when the speech service never answers
    QObject* m_worker; // on m_thread: what runs there runs through it
    std::unique_ptr<Voice> m_voice;
    std::atomic<const Voice*> m_ready = nullptr; // the voice, once loaded: its problem() is safe
    bool m_tried = false;
    mutable QMutex m_mutex;
    QString m_problem;              // why the library could not be loaded
    std::atomic<int> m_waiting = 0; // which text is waiting for the sound to end
};
