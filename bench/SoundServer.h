#pragma once

// A private PulseAudio server with a null sink, and a recording of everything that reaches
// that sink, read through its monitor with parec. Shared by the sound test and benchmark.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <QtGlobal>

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

using SoundClock = std::chrono::steady_clock;

class SoundServer {
public:
    static constexpr int rate = 22050; // the game's sounds are 22,050 Hz mono: no resampling

    // Points this process's sound clients at the new server: call before any of them starts.
    bool start() {
        const QString runtime = m_dir.path();
        QDir(runtime).mkpath(QStringLiteral("pulse"));
        const QString socket = runtime + QStringLiteral("/pulse/native");
        qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
        qputenv("PULSE_SERVER", "unix:" + socket.toUtf8());
        QFile config(runtime + QStringLiteral("/client.conf"));
        if (!config.open(QIODevice::WriteOnly) || config.write("autospawn = no\n") < 0)
            return false;
        qputenv("PULSE_CLIENTCONFIG", config.fileName().toUtf8());
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // No server is left behind, even when the test dies.
        m_server.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_server.start(QStringLiteral("pulseaudio"),
                       {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                        "--log-level=error", "--disable-shm=yes",
                        QStringLiteral("-Lmodule-null-sink sink_name=zenobra rate=%1 channels=1 "
                                       "format=s16le norewinds=1")
                            .arg(rate),
                        "-Lmodule-native-protocol-unix auth-anonymous=1 socket=" + socket});
        if (!m_server.waitForStarted(5000))
            return false;
        for (int i = 0; i < 500 && !QFile::exists(socket); ++i)
            QThread::msleep(10);
        return m_server.state() == QProcess::Running && QFile::exists(socket);
    }
    void kill() {
        m_server.kill();
        m_server.waitForFinished(5000);
        QFile::remove(m_dir.path() + QStringLiteral("/pulse/native"));
    }
    ~SoundServer() { kill(); }

private:
    QTemporaryDir m_dir;
    QProcess m_server;
};

class SinkRecorder {
public:
    bool start() {
        int out[2];
        if (::pipe(out) != 0)
            return false;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::execlp("parec", "parec", "--raw", "--format=s16le", "--channels=1", "--rate=22050",
                     "--latency-msec=2", "--device=zenobra.monitor", nullptr);
            ::_exit(127);
        }
        ::close(out[1]);
        m_fd = out[0];
        m_reader = std::thread([this] { read(); });
        // Recording has begun once the first samples arrive.
        for (int i = 0; i < 500 && sampleCount() == 0; ++i)
            QThread::msleep(10);
        return sampleCount() > 0;
    }
    ~SinkRecorder() {
        if (m_pid > 0)
            ::kill(m_pid, SIGTERM);
        if (m_reader.joinable())
            m_reader.join();
        if (m_fd >= 0)
            ::close(m_fd);
    }

    qint64 sampleCount() const { return m_count.load(); }
    std::vector<qint16> samples() const {
        std::lock_guard lock(m_mutex);
        return m_samples;
    }
    // When sample i reached the sink: bounded by the earliest arrival among the blocks read
    // soon after it, as a block can never arrive before it was played. Only blocks near the
    // sample count, so the sink's clock may drift from ours over a long recording.
    SoundClock::time_point timeOf(qint64 index) const {
        std::lock_guard lock(m_mutex);
        const auto first = std::lower_bound(m_blocks.begin(), m_blocks.end(), index,
                                            [](const Block& b, qint64 i) { return b.end < i; });
        auto best = SoundClock::time_point::max();
        for (auto block = first; block != m_blocks.end() && block->end < index + window; ++block)
            best = std::min(best, block->arrival - samplesToTime(block->end - index));
        return best;
    }
    // A sample index that had surely reached the sink by this moment.
    qint64 indexAt(SoundClock::time_point when) const {
        std::lock_guard lock(m_mutex);
        const auto after = std::lower_bound(
            m_blocks.begin(), m_blocks.end(), when,
            [](const Block& b, SoundClock::time_point t) { return b.arrival < t; });
        return after == m_blocks.begin() ? 0 : std::prev(after)->end;
    }

private:
    void read() {
        QByteArray buffer(4096, Qt::Uninitialized);
        qsizetype carry = 0;
        for (;;) {
            const ssize_t got = ::read(m_fd, buffer.data() + carry, buffer.size() - carry);
            if (got <= 0)
                return;
            const auto now = SoundClock::now();
            const qsizetype bytes = carry + got;
            std::lock_guard lock(m_mutex);
            for (qsizetype at = 0; at + 1 < bytes; at += 2)
                m_samples.push_back(qFromLittleEndian<qint16>(buffer.constData() + at));
            carry = bytes % 2;
            if (carry)
                buffer[0] = buffer[bytes - 1];
            m_blocks.push_back({now, qint64(m_samples.size())});
            m_count = qint64(m_samples.size());
        }
    }

    pid_t m_pid = -1;
    int m_fd = -1;
    std::thread m_reader;
    mutable std::mutex m_mutex;
    static constexpr qint64 window = SoundServer::rate / 4;
    static std::chrono::nanoseconds samplesToTime(qint64 samples) {
        return std::chrono::nanoseconds(samples * 1'000'000'000LL / SoundServer::rate);
    }
    struct Block {
        SoundClock::time_point arrival;
        qint64 end; // samples read so far
    };
    std::vector<qint16> m_samples;
    std::vector<Block> m_blocks;
    std::atomic<qint64> m_count{0};
};

// Where these samples stand in the recording, from a sample index on; -1 when nowhere.
inline qint64 findIn(const std::vector<qint16>& recording, const qint16* pattern, int length,
                     qint64 from) {
    const auto start = recording.begin() + std::clamp<qint64>(from, 0, qint64(recording.size()));
    const auto at = std::search(start, recording.end(), pattern, pattern + length);
    return at == recording.end() ? -1 : at - recording.begin();
}
