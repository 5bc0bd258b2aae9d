// The game's sound through a real PulseAudio server, heard through its null sink's monitor.
#include "FakePlatform.h"
#include "SoundServer.h"
#include "desktop/LoadedVoice.h"
#include "desktop/QtSound.h"
#include "game/Lessons.h"

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

    // The last `samples` recorded are all quiet.
    bool silentFor(qint64 samples) {
        const Samples all = m_server.samples();
        return qint64(all.size()) >= samples &&
               std::all_of(all.end() - samples, all.end(),
                           [](qint16 s) { return std::abs(s) < 300; });
    }

private slots:
    void cleanupTestCase() { m_server.stop(); } // main ends without destructors
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

    // The warning read aloud by speech-dispatcher and espeak-ng, heard through the server for as
    // long as its words take; with the reading off, nothing; without the speech service, one
    // message for two warnings, and no hang.
    void aWrongHitIsReadAloud_data() {
        QTest::addColumn<QString>("reading");
        QTest::addColumn<bool>("heard");
        QTest::addColumn<QString>("told"); // the boxes, a line each
        const QString boxes =
            QStringLiteral("Anna vediamo se sei un vero campione|Attenzione!  47  "
                           "non è  un numero divisibile per 2|Attenzione!  47  "
                           "non è  un numero divisibile per 2");
        QTest::newRow("on") << "on" << true << boxes;
        QTest::newRow("off") << "off" << false << boxes;
        QTest::newRow("no speech service") << "broken" << false << boxes;
    }
    void aWrongHitIsReadAloud() {
        QFETCH(QString, reading);
        QFETCH(bool, heard);
        QFETCH(QString, told);
        // A voice still speaking from the row before is let finish first.
        for (int wait = 0; wait < 300 && !silentFor(SoundServer::rate); ++wait)
            QTest::qWait(100);
        const qint64 from = m_server.sampleCount();
        QProcess game;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (reading == QLatin1String("broken")) // no speech-dispatcher answers there
            environment.insert("SPEECHD_ADDRESS", "unix_socket:/nonexistent/speechd.sock");
        game.setProcessEnvironment(environment);
        game.start(QCoreApplication::applicationFilePath(), {QStringLiteral("speak"), reading});
        QVERIFY2(game.waitForFinished(90000), "the reading hangs");
        QVERIFY2(game.exitStatus() == QProcess::NormalExit && game.exitCode() == 0,
                 game.readAllStandardError().constData());
        // A problem of the voice comes to light a little after it happens: told once, anywhere.
        QStringList boxes = QString::fromUtf8(game.readAllStandardOutput()).trimmed().split(u'|');
        const QString problem = QStringLiteral("Non posso leggere ad alta voce: la sintesi vocale "
                                               "(speech-dispatcher) non risponde. Si gioca senza.");
        QCOMPARE(boxes.removeAll(problem), qsizetype(reading == QLatin1String("broken")));
        QCOMPARE(boxes.join(u'|'), told);
        // Each explosion whole, each sample as played: no voice over it. Between them the voice,
        // from its first sound to its last, ended before the box closed.
        const Samples all = m_server.samples(), explosion = clip(esplosi);
        const qint64 length = qint64(explosion.size());
        const qint64 exploded = findIn(all, explosion.data(), int(length), from),
                     again = findIn(all, explosion.data(), int(length), exploded + length);
        QVERIFY(exploded >= 0 && again >= 0);
        qint64 first = -1, last = -1;
        for (qint64 i = exploded + length; i < again; ++i)
            if (std::abs(all[size_t(i)]) > 300)
                (first < 0 ? first : last) = i, last = i;
        const double seconds = first < 0 ? 0.0 : double(last - first) / SoundServer::rate;
        // The warning's words, as the voice reads them.
        const int letters = int(
            Lessons::spoken(told.section(u'|', 1, 1) + Lessons::why(47, 2)).simplified().size());
        std::fprintf(stderr, "%s: speech heard for %.1f s, %d letters\n", qPrintable(reading),
                     seconds, letters);
        if (!heard)
            QCOMPARE(seconds, 0.0);
        else
            // Whole before its box closed 20 s on (the speech service starting first), at
            // espeak-ng's pace of some 15 letters a second.
            QVERIFY2(seconds > letters / 25.0 && seconds < letters / 8.0 &&
                         again - last > SoundServer::rate / 4,
                     qPrintable(QString::number(seconds)));
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

// A game of the lesson of 2, with its sounds, whose first warning stays open 20 s when read
// aloud (else 8 s, for a broken service to show), then a second one open 3 s, each explosion heard
// whole; prints the texts of its boxes, "|" between them.
int speakingGame(int argc, char* argv[], const QString& reading) {
    QCoreApplication application(argc, argv);
    ScriptedServices s;
    QtSound sound;
    sound.preload({esplosi});
    LoadedVoice voice(&sound);
    FakeHost host;
    Game game(Services{s.dialogs, sound, s.random, s.folders, s.time, voice}, host);
    s.folders.application = QFileInfo(QStringLiteral(SOUNDS_DIR)).path();
    s.folders.config.lesson.value = 2;
    s.folders.config.readAloud.value = reading != QLatin1String("off");
    s.dialogs.type(QStringLiteral("Anna"));
    game.start();
    for (const int open : {reading == QLatin1String("on") ? 20000 : 8000, 3000}) {
        s.dialogs.answer(Answer::Ok, [open] { QTest::qWait(open); });
        game.board.disparicmd.setCaption(QStringLiteral("47"));
        game.board.disparicmd.show();
        game.controlClicked(game.board.disparicmd);
    }
    QStringList told;
    for (const QString& text : s.dialogs.texts().mid(1))
        told << text.section(u'\n', 0, 0).trimmed();
    std::printf("%s\n", qPrintable(told.join(u'|')));
    return sound.finish(0);
}

int main(int argc, char* argv[]) {
    if (argc == 3 && argv[1] == QByteArrayView("speak"))
        return speakingGame(argc, argv, QString::fromLatin1(argv[2]));
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
