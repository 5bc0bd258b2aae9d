#include "desktop/QtSound.h"

#include <QAudioSink>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaDevices>
#include <QThread>
#include <QtEndian>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace {
// Far larger than any sound of the game; a bigger file is not read whole.
constexpr qint64 largestFile = 16 * 1024 * 1024;

quint16 u16(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}
quint32 u32(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}
QtMessageHandler nextHandler = nullptr;

// Qt's PulseAudio service reports each lost stream and failed reconnection; the game says
// it once, itself.
void withoutSoundServiceChatter(QtMsgType type, const QMessageLogContext& context,
                                const QString& text) {
    QStringView line = text;
    if (line.startsWith(u'"'))
        line = line.mid(1); // a QDebug stream quotes it
    if (!line.startsWith(u"PulseAudioService:") && !line.startsWith(u"Stream error:"))
        nextHandler(type, context, text);
}

// Said once, whichever thread says it.
using Warned = std::shared_ptr<std::atomic<bool>>;
void warnOnce(const Warned& warned, const char* problem) {
    if (!warned->exchange(true))
        qWarning("zenobra: %s; the game plays on silently", problem);
}

// A play that has not come back within this time is given up, with its thread.
constexpr qint64 stuckAfterMs = 2000;
} // namespace

// Lives on the sound thread: every sink is made, fed and ended there.
class QtSound::Player final : public QObject {
public:
    explicit Player(Warned warned)
        : m_warned(std::move(warned)) {
        m_clock.start();
    }
    void play(const Clip& sound) {
        whileBusy([&] {
            // A new sound cuts off the one still playing.
            m_playing.reset();
            start(sound);
        });
    }
    void wake() {
        whileBusy([&] {
            // The first call connects to the sound server: better now than at the first hit.
            if (QMediaDevices::defaultAudioOutput().isNull())
                warnOnce(m_warned, "no sound output");
        });
    }
    void stop() { m_playing.reset(); }
    bool stuck() const {
        const qint64 since = m_busySince;
        return since != 0 && m_clock.elapsed() + 1 - since > stuckAfterMs;
    }

private:
    // Marks the time a call into Qt's sound service began, for stuck() to see from outside.
    template <typename Call> void whileBusy(const Call& call) {
        m_busySince = m_clock.elapsed() + 1;
        call();
        m_busySince = 0;
    }
    void start(const Clip& sound) {
        const QAudioDevice output = QMediaDevices::defaultAudioOutput();
        if (output.isNull())
            return warnOnce(m_warned, "no sound output");
        auto sink = std::make_unique<QAudioSink>(output, sound.format);
        // Room for the whole sound, written at once: nothing more to feed while it plays.
        sink->setBufferSize(sound.pcm.size());
        QIODevice* stream = sink->start();
        if (!stream || sink->error() != QAudio::NoError)
            return warnOnce(m_warned, "the sound server did not take the sound");
        stream->write(sound.pcm);
        // Played to its end: the stream goes back to the server instead of idling until the
        // next.
        connect(sink.get(), &QAudioSink::stateChanged, sink.get(), [this, done = sink.get()] {
            if (done->state() == QAudio::IdleState && m_playing.get() == done)
                m_playing.release()->deleteLater();
        });
        m_playing = std::move(sink);
    }

    QElapsedTimer m_clock;
    Warned m_warned;
    std::atomic<qint64> m_busySince = 0; // 1 + the clock's time when the current call began
    std::unique_ptr<QAudioSink> m_playing;
};

QtSound::QtSound() {
    static std::once_flag installed;
    std::call_once(installed,
                   [] { nextHandler = qInstallMessageHandler(withoutSoundServiceChatter); });
}

QtSound::~QtSound() {
    if (stop()) {
        delete m_player;
        delete m_thread;
    }
}

bool QtSound::stop() {
    if (!m_thread)
        return !m_givenUp || m_givenUp->isFinished();
    QMetaObject::invokeMethod(m_player, [player = m_player] { player->stop(); });
    m_thread->quit();
    return m_thread->wait(500) && (!m_givenUp || m_givenUp->isFinished());
}

int QtSound::finish(int status) {
    if (!stop()) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}

QtSound::Player* QtSound::player() {
    if (m_thread && m_player->stuck()) {
        warnOnce(m_warned, "the sound server did not answer");
        if (m_givenUp && !m_givenUp->isFinished())
            return nullptr; // silent until one of the two comes back
        delete m_givenUp;
        m_givenUp = m_thread;
        m_givenUp->quit();
        m_thread = nullptr;
    }
    if (!m_thread) {
        m_thread = new QThread;
        m_thread->setObjectName(QStringLiteral("zenobra sound"));
        m_player = new Player(m_warned);
        m_player->moveToThread(m_thread);
        m_thread->start();
    }
    return m_player;
}

std::optional<QtSound::Clip> QtSound::decode(const QByteArray& wav) {
    if (wav.size() < 12 || !wav.startsWith("RIFF") || wav.mid(8, 4) != "WAVE")
        return std::nullopt;
    std::optional<QAudioFormat> format;
    for (qsizetype at = 12; at + 8 <= wav.size();) {
        const QByteArray id = wav.mid(at, 4);
        const qint64 size = u32(wav, at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt " && size >= 16 && body + 16 <= wav.size()) {
            const int bits = u16(wav, body + 14);
            QAudioFormat f;
            f.setChannelCount(u16(wav, body + 2));
            f.setSampleRate(static_cast<int>(u32(wav, body + 4)));
            f.setSampleFormat(bits == 8    ? QAudioFormat::UInt8
                              : bits == 16 ? QAudioFormat::Int16
                              : bits == 32 ? QAudioFormat::Int32
                                           : QAudioFormat::Unknown);
            if (u16(wav, body) != 1 || !f.isValid())
                return std::nullopt; // not plain PCM
            format = f;
        } else if (id == "data" && format) {
            const qsizetype frame = format->bytesPerFrame();
            const qsizetype there = std::min<qint64>(size, wav.size() - body);
            const QByteArray pcm = wav.mid(body, there - there % frame);
            if (pcm.isEmpty())
                return std::nullopt;
            return Clip{*format, pcm};
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

void QtSound::preload(const QStringList& paths) {
    for (const QString& path : paths)
        clip(path);
    if (Player* target = player())
        QMetaObject::invokeMethod(target, [target] { target->wake(); });
}

const QtSound::Clip* QtSound::clip(const QString& path) {
    auto known = m_clips.find(path);
    if (known == m_clips.end()) {
        QFile file(path);
        std::optional<Clip> decoded;
        if (file.size() <= largestFile && file.open(QIODevice::ReadOnly))
            decoded = decode(file.readAll());
        known = m_clips.insert(path, decoded);
    }
    return known->has_value() ? &**known : nullptr;
}

void QtSound::play(const QString& path) {
    const Clip* sound = clip(path);
    if (!sound)
        return warnOnce(m_warned, "a sound file is missing or is not a PCM WAV file");
    if (Player* target = player())
        QMetaObject::invokeMethod(target, [target, sound = *sound] { target->play(sound); });
    m_playing.start();
    m_playingMs = int(sound->format.durationForBytes(int(sound->pcm.size())) / 1000);
}

int QtSound::msLeft() const {
    return m_playing.isValid() ? int(std::max<qint64>(0, m_playingMs - m_playing.elapsed())) : 0;
}
