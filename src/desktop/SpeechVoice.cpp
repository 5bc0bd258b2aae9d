// The game's voice: Qt's speech through speech-dispatcher, in Italian. A library of its own,
// loaded only when a child wants the reading.
#include "platform/Voice.h"

#include <QTextToSpeech>

#include <atomic>

namespace {

class SpeechVoice final : public Voice {
public:
    SpeechVoice()
        : m_speech(QStringLiteral("speechd")) {
        m_speech.setLocale(QLocale(QLocale::Italian, QLocale::Italy));
        // Read from the game's thread while the speech runs on this one.
        m_broken = m_speech.state() == QTextToSpeech::Error;
        QObject::connect(&m_speech, &QTextToSpeech::stateChanged, [this](auto state) {
            m_broken = m_broken || state == QTextToSpeech::Error;
        });
    }
    void say(const QString& text) override { m_speech.say(text); }
    void stop() override { m_speech.stop(); }
    QString problem() const override {
        if (!m_broken)
            return {};
        return QStringLiteral("Non posso leggere ad alta voce: la sintesi vocale "
                              "(speech-dispatcher) non risponde. Si gioca senza.");
    }

private:
    QTextToSpeech m_speech;
    std::atomic<bool> m_broken = false;
};

} // namespace

extern "C" Q_DECL_EXPORT Voice* zenobraVoice() {
    return new SpeechVoice;
}
