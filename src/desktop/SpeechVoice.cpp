// The game's voice: Qt's speech through speech-dispatcher, in Italian. A library of its own,
// loaded only when a child wants the reading.
#include "platform/Voice.h"

#include <QTextToSpeech>

namespace {

class SpeechVoice final : public Voice {
public:
    SpeechVoice()
        : m_speech(QStringLiteral("speechd")) {
        m_speech.setLocale(QLocale(QLocale::Italian, QLocale::Italy));
    }
    void say(const QString& text) override { m_speech.say(text); }
    void stop() override { m_speech.stop(); }
    QString problem() const override {
        if (m_speech.state() != QTextToSpeech::Error)
            return {};
        return QStringLiteral("Non posso leggere ad alta voce: la sintesi vocale "
                              "(speech-dispatcher) non risponde. Si gioca senza.");
    }

private:
    QTextToSpeech m_speech;
};

} // namespace

extern "C" Q_DECL_EXPORT Voice* zenobraVoice() {
    return new SpeechVoice;
}
