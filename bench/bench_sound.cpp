// From the call that plays a sound to its first sample at the sink, against paplay, on a
// private PulseAudio server with a null sink (needs pulseaudio and pulseaudio-utils).
// Run: build/test/bin/bench_sound [plays of each sound per series, default 100]
#include "SoundServer.h"
#include "desktop/QtSound.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>

extern char** environ;

namespace {

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
std::vector<double> latencies(const SinkRecorder& recorder, const std::vector<Call>& calls,
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
    if (!server.start()) {
        std::fputs("bench_sound: cannot start pulseaudio\n", stderr);
        return 1;
    }
    QCoreApplication application(argc, argv);
    const int plays = argc > 1 ? std::atoi(argv[1]) : 100;
    SinkRecorder recorder;
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
