#pragma once

#include "platform/Sound.h"

#include <QHash>
#include <QPointer>
#include <QSoundEffect>

#include <memory>

// Plays through QSoundEffect; each new sound cuts off the one still playing.
class QtSound final : public Sound {
public:
    QtSound();
    ~QtSound() override;
    void play(const QString& path) override;

private:
    std::unique_ptr<QObject> m_owner;
    QHash<QString, QSoundEffect*> m_effects;
    QPointer<QSoundEffect> m_playing;
};
