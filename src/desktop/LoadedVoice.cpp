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
                    : library)
    , m_thread(new QThread)
    , m_worker(new QObject) {
    m_worker->moveToThread(m_thread);
    QObject::connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
}

LoadedVoice::~LoadedVoice() {
    if (!m_thread->isRunning()) {
        delete m_worker;
        delete m_thread;
        return;
    }
    // The voice goes on its own thread. A speech service that never answers holds that thread:
    // it is left to the system, and the program ends without waiting for it.
    m_ready = nullptr;
    QMetaObject::invokeMethod(m_worker, [voice = m_voice.release()] { delete voice; });
    m_thread->quit();
    if (m_thread->wait(5000))
        delete m_thread;
}

void LoadedVoice::setProblem(const QString& problem) {
    const QMutexLocker lock(&m_mutex);
    m_problem = problem;
}

QString LoadedVoice::problem() const {
    if (const Voice* voice = m_ready)
        return voice->problem();
    const QMutexLocker lock(&m_mutex);
    return m_problem;
}

bool LoadedVoice::load() {
    if (std::exchange(m_tried, true))
        return bool(m_voice);
    if (const auto make = reinterpret_cast<MakeVoice>(m_library.resolve("zenobraVoice")))
        m_voice.reset(make());
    m_ready = m_voice.get();
    if (!m_voice)
        setProblem(QStringLiteral("Non posso leggere ad alta voce: manca la voce del gioco (%1). "
                                  "Si gioca senza.")
                       .arg(m_library.errorString()));
    return bool(m_voice);
}

void LoadedVoice::say(const QString& text) {
    if (!m_thread->isRunning())
        m_thread->start();
    const int waiting = ++m_waiting;
    const int after = m_sound ? m_sound->msLeft() : 0;
    QMetaObject::invokeMethod(m_worker, [this, text, waiting, after] {
        if (!load())
            return;
        m_voice->stop();
        QTimer::singleShot(after, m_worker, [this, text, waiting] {
            if (waiting == m_waiting)
                m_voice->say(text);
        });
    });
}

void LoadedVoice::stop() {
    ++m_waiting;
    if (m_thread->isRunning())
        QMetaObject::invokeMethod(m_worker, [this] {
            if (m_voice)
                m_voice->stop();
        });
}
