// From the call that plays a sound to its first sample at the sink, against paplay, on a
// private PulseAudio server with a null sink (needs pulseaudio and pulseaudio-utils).
// Run: build/test/bin/bench_sound [plays of each sound per series, default 100]
#include "SoundServer.h"
#include "desktop/QtSound.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <QtEndian>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

extern char** environ;

namespace {

using SoundClock = std::chrono::steady_clock;

// The sink heard through a pipe from parec, with the moment each block of samples arrived.
class TimedRecorder {
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
    ~TimedRecorder() {
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

const QStringList sounds = {QStringLiteral(SOUNDS_DIR "/sparo.wav"),
                            QStringLiteral(SOUNDS_DIR "/esplosi.wav"),
                            QStringLiteral(SOUNDS_DIR "/laser.wav")};

struct Call {
    int sound;
    SoundClock::time_point at;
};

void wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Milliseconds from each call to its sound's first samples in the recording; -1 when unheard.
std::vector<double> latencies(const TimedRecorder& recorder, const std::vector<Call>& calls,
                              const std::vector<QtSound::Clip>& clips) {
    const std::vector<qint16> recording = recorder.samples();
    std::vector<double> found;
    for (const Call& call : calls) {
        const auto& pcm = clips[call.sound].pcm;
        const auto* first = reinterpret_cast<const qint16*>(pcm.constData());
        // A little before the call: the recording's clock is known to a few milliseconds.
        const qint64 from = recorder.indexAt(call.at) - SoundServer::rate / 50;
        const qint64 at = findIn(recording, first, 64, from);
        const bool heard = at >= 0 && at < from + SoundServer::rate;
        found.push_back(
            heard ? std::chrono::duration<double, std::milli>(recorder.timeOf(at) - call.at).count()
                  : -1);
    }
    return found;
}

void report(const char* what, std::vector<double> ms) {
    const auto asked = ms.size();
    std::erase(ms, -1.0);
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms.empty() ? 0 : ms[std::size_t(q * (ms.size() - 1))]; };
    std::printf("%-44s median %5.1f ms, 95th percentile %5.1f ms, heard %zu/%zu\n", what, at(0.5),
                at(0.95), ms.size(), asked);
}

} // namespace

int main(int argc, char* argv[]) {
    SoundServer server;
    if (!server.start(false)) { // the benchmark records through its own pipe
        std::fputs("bench_sound: cannot start pulseaudio\n", stderr);
        return 1;
    }
    QCoreApplication application(argc, argv);
    const int plays = argc > 1 ? std::atoi(argv[1]) : 100;
    TimedRecorder recorder;
    if (!recorder.start()) {
        std::fputs("bench_sound: cannot record with parec\n", stderr);
        return 1;
    }
    std::vector<QtSound::Clip> clips;
    for (const QString& path : sounds) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        clips.push_back(*QtSound::decode(file.readAll()));
    }

    QtSound sound;
    sound.preload(sounds);
    for (int interval : {1300, 100}) {
        std::vector<Call> calls;
        for (int i = 0; i < 3 * plays; ++i) {
            calls.push_back({i % 3, SoundClock::now()});
            sound.play(sounds[i % 3]);
            wait(interval);
        }
        wait(1000);
        const QByteArray what =
            QByteArray("zenobra, a sound every ") + QByteArray::number(interval) + " ms:";
        report(what.constData(), latencies(recorder, calls, clips));
    }

    std::vector<Call> calls;
    for (int i = 0; i < 3 * plays; ++i) {
        const QByteArray path = sounds[i % 3].toLocal8Bit();
        char* args[] = {const_cast<char*>("paplay"), const_cast<char*>(path.constData()), nullptr};
        calls.push_back({i % 3, SoundClock::now()});
        pid_t pid = 0;
        if (posix_spawnp(&pid, "paplay", nullptr, nullptr, args, environ) == 0)
            waitpid(pid, nullptr, 0);
        wait(200);
    }
    wait(500);
    report("paplay, each in its own process:", latencies(recorder, calls, clips));
    return 0;
}
