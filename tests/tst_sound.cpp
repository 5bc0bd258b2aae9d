// The game's sound through a real PulseAudio server, heard through its null sink's monitor.
#include "SoundServer.h"
#include "desktop/QtSound.h"

#include <QtTest>

#include <csignal>

namespace {
// What the program printed; Qt's sound thread may print as it exits, so they live on.
std::mutex& printing = *new std::mutex;
QStringList& printed = *new QStringList;
// What was printed since the last call.
QStringList warnings() {
    std::lock_guard lock(printing);
    return std::exchange(printed, {});
}

const QString sparo = QStringLiteral(SOUNDS_DIR "/sparo.wav");
const QString esplosi = QStringLiteral(SOUNDS_DIR "/esplosi.wav");
const QString laser = QStringLiteral(SOUNDS_DIR "/laser.wav");

// A sound file's samples, as the game decodes them.
using Samples = std::vector<qint16>;
Samples clip(const QString& path) {
    QFile file(path);
    const QByteArray pcm =
        file.open(QIODevice::ReadOnly) ? QtSound::decode(file.readAll())->pcm : QByteArray();
    const auto* first = reinterpret_cast<const qint16*>(pcm.constData());
    return {first, first + pcm.size() / 2};
}
} // namespace

class SoundTest : public QObject {
    Q_OBJECT

    SoundServer m_server;
    std::unique_ptr<QtSound> m_sound;

    // Where the sound's first samples were recorded, at or after sample `from`; -1 when they
    // never are. How soon is the benchmark's business: this only waits for the recording.
    qint64 heardFrom(qint64 from, const Samples& sound) {
        for (int i = 0; i < 1000; ++i, QTest::qWait(10))
            if (const qint64 at = findIn(m_server.samples(), sound.data(), 64, from); at >= 0)
                return at;
        return -1;
    }

private slots:
    void initTestCase() {
        QVERIFY2(m_server.start(), "pulseaudio and parec (pulseaudio, pulseaudio-utils) must run");
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
            std::lock_guard lock(printing);
            printed << text;
        });
        for (const QString& path : {sparo, esplosi, laser}) // loud: never taken for silence
            QVERIFY(std::ranges::any_of(clip(path), [](qint16 s) { return s > 10000; }));
        m_sound = std::make_unique<QtSound>();
        m_sound->preload({sparo, esplosi, laser});
    }

    void twoHundredPlaysInARowAreAllHeardInOrder() {
        const Samples clips[3] = {clip(sparo), clip(esplosi), clip(laser)};
        const QString paths[3] = {sparo, esplosi, laser};
        // Each play as soon as the last is heard, and cutting it off.
        for (qint64 i = 0, at = m_server.sampleCount(); i < 200; ++i, at += 64) {
            const int which = (i * 7 + i / 3) % 3; // a mixed order, repeats included
            m_sound->play(paths[which]);
            at = heardFrom(at, clips[which]);
            QVERIFY2(at >= 0, qPrintable(QStringLiteral("play %1 not heard").arg(i)));
        }
        QVERIFY(warnings().isEmpty());
    }

    // A file cut short plays the whole frames it has; one that is not plain PCM is not played,
    // and a missing one is told once.
    void onlyWholeFramesOfPlainPcmArePlayed() {
        QFile file(sparo);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray wav = file.readAll();
        QCOMPARE(QtSound::decode(wav.chopped(3))->pcm.size(), QtSound::decode(wav)->pcm.size() - 4);
        QByteArray compressed = wav;
        compressed[20] = char(0x55); // MPEG layer 3
        QVERIFY(!QtSound::decode(compressed));
        QtSound sound;
        warnings();
        for (int i = 0; i < 3; ++i)
            sound.play(QStringLiteral("/nessuna/cartella/suono.wav"));
        QCOMPARE(warnings(), QStringList({"zenobra: a sound file is missing or is not a PCM WAV "
                                          "file; the game plays on silently"}));
    }

    void aServerThatStopsAnsweringNeitherAbortsNorPilesUpThreads_data() {
        QTest::addColumn<int>("plays");
        QTest::addColumn<QString>("told"); // on standard error
        QTest::newRow("the end within 2 s of a stalled play") << 1 << "";
        QTest::newRow("stalled plays 2.2 s apart")
            << 4 << "zenobra: the sound server did not answer; the game plays on silently\n";
    }
    void aServerThatStopsAnsweringNeitherAbortsNorPilesUpThreads() {
        QFETCH(int, plays);
        QFETCH(QString, told);
        QProcess game;
        game.start(
            QCoreApplication::applicationFilePath(),
            {QStringLiteral("stalled"), QString::number(plays), QString::number(m_server.pid())});
        const bool ended = game.waitForFinished(30000); // a hang fails, never blocks the suite
        ::kill(pid_t(m_server.pid()), SIGCONT);
        QVERIFY(ended);
        QCOMPARE(game.exitStatus(), QProcess::NormalExit);
        QCOMPARE(game.exitCode(), 0);
        QVERIFY(game.readAllStandardOutput().toInt() <= 1); // at most one thread given up
        QCOMPARE(QString::fromUtf8(game.readAllStandardError()), told);
    }
};

// A game that plays twice 2.5 s apart, stops the server as a hung one, plays `plays` more 2.2 s
// apart and ends at once after the last. Prints how many threads the stalled plays added.
int stalledServer(int argc, char* argv[], int plays, pid_t server) {
    QCoreApplication application(argc, argv);
    const auto threads = [] { return QDir(QStringLiteral("/proc/self/task")).count(); };
    QtSound sound;
    sound.preload({sparo});
    sound.play(sparo);
    QThread::msleep(2500);
    sound.play(sparo);
    QThread::msleep(300);
    ::kill(server, SIGSTOP);
    QThread::msleep(300);
    const auto before = threads();
    for (int i = 0; i < plays; ++i, QThread::msleep(i < plays ? 2200 : 0))
        sound.play(sparo);
    std::printf("%d\n", int(threads() - before));
    return sound.finish(0);
}

int main(int argc, char* argv[]) {
    if (argc == 4 && argv[1] == QByteArrayView("stalled"))
        return stalledServer(argc, argv, std::atoi(argv[2]), std::atoi(argv[3]));
    QCoreApplication application(argc, argv);
    SoundTest test;
    const int failed = QTest::qExec(&test, argc, argv);
    // As the game does: Qt's sound service cannot be taken down under a play given up.
    std::fflush(nullptr);
    std::_Exit(failed);
}
#include "tst_sound.moc"
