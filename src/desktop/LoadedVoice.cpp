#include "desktop/LoadedVoice.h"

#include "desktop/QtSound.h"

#include <QCoreApplication>
#include <QTimer>

namespace {
using MakeVoice = Voice* (*)();
}

LoadedVoice::LoadedVoice(const QtSound* sound, QString library)
    : m_sound(sound)
    , m_library(library.isEmpty()
                    ? QCoreApplication::applicationDirPath() + QStringLiteral("/libzenobra-voce.so")
                    : library) {}

LoadedVoice::~LoadedVoice() {
    m_voice.reset(); // before its library goes
}

bool LoadedVoice::load() {
    if (m_voice || !m_problem.isEmpty())
        return bool(m_voice);
    const auto make = reinterpret_cast<MakeVoice>(m_library.resolve("zenobraVoice"));
    if (make)
        m_voice.reset(make());
    if (!m_voice)
        m_problem = QStringLiteral("Non posso leggere ad alta voce: manca la voce del gioco (%1). "
                                   "Si gioca senza.")
                        .arg(m_library.errorString());
    return bool(m_voice);
}

void LoadedVoice::say(const QString& text) {
    if (!load())
        return;
    m_voice->stop();
    const int waiting = ++m_waiting;
    QTimer::singleShot(m_sound ? m_sound->msLeft() : 0, &m_waits, [this, waiting, text] {
        if (waiting == m_waiting)
            m_voice->say(text);
    });
}

void LoadedVoice::stop() {
    ++m_waiting;
    if (m_voice)
        m_voice->stop();
}

QString LoadedVoice::problem() const {
    return m_voice ? m_voice->problem() : m_problem;
}
