#pragma once

// A private PulseAudio server with a null sink, recorded through its monitor by parec.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <signal.h>
#include <sys/prctl.h>

#include <algorithm>
#include <functional>
#include <vector>

class SoundServer {
public:
    static constexpr int rate = 22050; // the game's sounds are 22,050 Hz mono: no resampling

    // Points this process's sound clients at the new server, and records its sink unless told
    // not to: call before any client starts.
    bool start(bool recorded = true) {
        QDir(m_dir.path()).mkpath(QStringLiteral("pulse"));
        QFile config(m_dir.filePath(QStringLiteral("client.conf")));
        if (!config.open(QIODevice::WriteOnly) || config.write("autospawn = no\n") < 0)
            return false;
        qputenv("XDG_RUNTIME_DIR", m_dir.path().toUtf8());
        qputenv("PULSE_SERVER", "unix:" + socket().toUtf8());
        qputenv("PULSE_CLIENTCONFIG", config.fileName().toUtf8());
        m_recorder.setStandardOutputFile(recording());
        // The sink needs norewinds, or its 2 s of render-ahead swallow short sounds.
        const bool serving =
            run(m_server, QStringLiteral("pulseaudio"),
                {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                 "--log-level=error", "--disable-shm=yes",
                 QStringLiteral("-Lmodule-null-sink sink_name=zenobra rate=%1 channels=1 "
                                "format=s16le norewinds=1")
                     .arg(rate),
                 "-Lmodule-native-protocol-unix auth-anonymous=1 socket=" + socket()}) &&
            until([this] { return QFile::exists(socket()); });
        if (!serving || !recorded)
            return serving;
        return run(m_recorder, QStringLiteral("parec"),
                   {"--raw", "--format=s16le", "--channels=1",
                    QStringLiteral("--rate=%1").arg(rate), "--latency-msec=2",
                    "--device=zenobra.monitor"}) &&
               until([this] { return sampleCount() > 0; });
    }
    ~SoundServer() { stop(); }
    // The server and the recorder ended, and their folder gone: call it from a test that ends
    // without its destructors.
    void stop() {
        for (QProcess* process : {&m_recorder, &m_server}) {
            process->kill();
            process->waitForFinished(5000);
        }
        m_dir.remove();
    }
    qint64 pid() const { return m_server.processId(); }

    qint64 sampleCount() const { return QFileInfo(recording()).size() / 2; }
    std::vector<qint16> samples() const {
        QFile file(recording());
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        std::vector<qint16> all(std::size_t(bytes.size() / 2));
        std::copy_n(bytes.constData(), all.size() * 2, reinterpret_cast<char*>(all.data()));
        return all;
    }

private:
    QString socket() const { return m_dir.filePath(QStringLiteral("pulse/native")); }
    QString recording() const { return m_dir.filePath(QStringLiteral("heard.raw")); }
    static bool run(QProcess& process, const QString& program, const QStringList& arguments) {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Nothing is left behind, even when the test dies.
        process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        process.start(program, arguments);
        return process.waitForStarted(5000);
    }
    static bool until(const std::function<bool()>& ready) {
        for (int i = 0; i < 500 && !ready(); ++i)
            QThread::msleep(10);
        return ready();
    }

    QTemporaryDir m_dir;
    QProcess m_server;
    QProcess m_recorder;
};

// Where these samples stand in the recording, from a sample index on; -1 when nowhere.
inline qint64 findIn(const std::vector<qint16>& recording, const qint16* pattern, int length,
                     qint64 from) {
    const auto start = recording.begin() + std::clamp<qint64>(from, 0, qint64(recording.size()));
    const auto at = std::search(start, recording.end(), pattern, pattern + length);
    return at == recording.end() ? -1 : at - recording.begin();
}
