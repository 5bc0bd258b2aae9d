#include "desktop/QtSound.h"

#include <QFile>
#include <QMediaDevices>
#include <QtEndian>

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
} // namespace

QtSound::QtSound() {
    static std::once_flag installed;
    std::call_once(installed,
                   [] { nextHandler = qInstallMessageHandler(withoutSoundServiceChatter); });
}
QtSound::~QtSound() = default;

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
    // The first call connects to the sound server: better now than at the first hit.
    if (QMediaDevices::defaultAudioOutput().isNull())
        warnOnce("no sound output");
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
    // A new sound cuts off the one still playing.
    m_playing.reset();
    const Clip* sound = clip(path);
    if (!sound)
        return warnOnce("a sound file is missing or is not a PCM WAV file");
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull())
        return warnOnce("no sound output");
    auto sink = std::make_unique<QAudioSink>(output, sound->format);
    // Room for the whole sound, written at once: nothing more to feed while it plays.
    sink->setBufferSize(sound->pcm.size());
    QIODevice* stream = sink->start();
    if (!stream || sink->error() != QAudio::NoError)
        return warnOnce("the sound server did not take the sound");
    stream->write(sound->pcm);
    // Played to its end: the stream goes back to the server instead of idling until the next.
    QObject::connect(sink.get(), &QAudioSink::stateChanged, sink.get(), [this, done = sink.get()] {
        if (done->state() == QAudio::IdleState && m_playing.get() == done)
            m_playing.release()->deleteLater();
    });
    m_playing = std::move(sink);
}

void QtSound::warnOnce(const char* problem) {
    if (m_warned)
        return;
    m_warned = true;
    qWarning("zenobra: %s; the game plays on silently", problem);
}
