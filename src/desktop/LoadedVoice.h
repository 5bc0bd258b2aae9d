#pragma once

#include "platform/Voice.h"

#include <QLibrary>
#include <QObject>

#include <memory>

class QtSound;

// The game's voice, in a library of its own beside the program, loaded the first time it
// speaks: a child who does not want the reading never loads Qt's speech. It speaks after the
// sound that is playing, and a new text, or stop(), cancels one still waiting for it.
class LoadedVoice final : public Voice {
public:
    explicit LoadedVoice(const QtSound* sound = nullptr, QString library = {});
    ~LoadedVoice() override;
    void say(const QString& text) override;
    void stop() override;
    QString problem() const override;

private:
    bool load();

    const QtSound* m_sound;
    QLibrary m_library;
    std::unique_ptr<Voice> m_voice;
    QString m_problem;
    int m_waiting = 0; // which text is waiting for the sound to end
    QObject m_waits;   // the waits, gone with the voice
};
