#include "FakePlatform.h"

#include <QProcess>
#include <QtTest>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

namespace {

QByteArray bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void write(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// Plays a match to its exit: the score set by right or wrong hits, then the exit button.
void playAndExit(TestGame& t, int rightHits, int wrongHits = 0) {
    for (int i = 0; i < rightHits; ++i)
        t.game.controlClicked(t.game.board.paricmd);
    for (int i = 0; i < wrongHits; ++i)
        t.game.controlClicked(t.game.board.disparicmd);
    t.game.controlClicked(t.game.board.cmdExit);
    QVERIFY(t.game.hasEnded());
}

const QString congratulation = QStringLiteral("Ok ho registrato il tuo record, C A M P I O N E\"");

class CrashAt final : public RecordStore::Faults {
public:
    explicit CrashAt(RecordStore::Step step)
        : m_step(step) {}
    void after(RecordStore::Step step) override {
        if (step == m_step)
            throw std::runtime_error("crash");
    }

private:
    RecordStore::Step m_step;
};

// Runs the record tool as an unprivileged user, where permissions really apply.
QString runUnprivileged(const QStringList& arguments) {
    QProcess tool;
    if (geteuid() == 0)
        tool.start(QStringLiteral("setpriv"),
                   QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", RECORD_TOOL} +
                       arguments);
    else
        tool.start(QStringLiteral(RECORD_TOOL), arguments);
    tool.waitForFinished(20000);
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

} // namespace

class RecordsTest : public QObject {
    Q_OBJECT

private slots:
    void aFirstRunCreatesTwoEmptyFiles() {
        TestGame t;
        t.start();
        QCOMPARE(bytes(t.recordFile("aquarvel.txt")), QByteArray());
        QCOMPARE(bytes(t.recordFile("quarvel.txt")), QByteArray());
        QCOMPARE(t.game.board.lblpunti.caption(), QString());
    }

    void aScoreOfOneOrMoreIsWrittenByteForByte() {
        TestGame t;
        t.start(QStringLiteral("Anna"));
        playAndExit(t, 12);
        QCOMPARE(bytes(t.recordFile("aquarvel.txt")), QByteArray("\x20\x31\x32\x0D\x0A"));
        QCOMPARE(bytes(t.recordFile("quarvel.txt")), QByteArray("\x41\x6E\x6E\x61\x0D\x0A"));
        QCOMPARE(t.dialogs.texts().last(), congratulation);
        QCOMPARE(t.host.ends, 1);
    }

    void aScoreOfZeroOrLessIsNotWritten_data() {
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("wrong");
        QTest::newRow("zero") << 0 << 0;
        QTest::newRow("negative") << 1 << 1;
    }
    void aScoreOfZeroOrLessIsNotWritten() {
        QFETCH(int, right);
        QFETCH(int, wrong);
        TestGame t;
        t.start();
        playAndExit(t, right, wrong);
        QCOMPARE(bytes(t.recordFile("aquarvel.txt")), QByteArray());
        QCOMPARE(t.dialogs.texts().last(), QStringLiteral("              Ciao a presto."));
    }

    void aScoreEqualToTheRecordIsNotWritten() {
        TestGame t;
        write(t.recordFile("aquarvel.txt"), " 3\r\n");
        write(t.recordFile("quarvel.txt"), "Bea\r\n");
        t.start();
        playAndExit(t, 3);
        QCOMPARE(bytes(t.recordFile("aquarvel.txt")), QByteArray(" 3\r\n"));
        QCOMPARE(bytes(t.recordFile("quarvel.txt")), QByteArray("Bea\r\n"));
    }

    void twelveBeatsNine() {
        TestGame t;
        write(t.recordFile("aquarvel.txt"), " 9\r\n");
        write(t.recordFile("quarvel.txt"), "Bea\r\nsecond line\r\n");
        t.start(QStringLiteral("Anna"));
        playAndExit(t, 12);
        QCOMPARE(bytes(t.recordFile("aquarvel.txt")), QByteArray(" 12\r\n"));
        QCOMPARE(bytes(t.recordFile("quarvel.txt")), QByteArray("Anna\r\n"));
        QCOMPARE(t.dialogs.texts().last(), congratulation);
    }

    void aWrongHitLastWritesTheScoreWithoutASpace() {
        TestGame t;
        t.start();
        playAndExit(t, 6, 1);
        QCOMPARE(bytes(t.recordFile("aquarvel.txt")), QByteArray("2\r\n"));
    }

    void anEmptyNameWritesJustTheLineEnd() {
        TestGame t;
        t.start(QString());
        playAndExit(t, 1);
        QCOMPARE(bytes(t.recordFile("quarvel.txt")), QByteArray("\r\n"));
    }

    void wordsInTheScoreFileCountAsZero() {
        TestGame t;
        write(t.recordFile("aquarvel.txt"), "tanti punti\r\n");
        t.start();
        playAndExit(t, 1);
        QCOMPARE(bytes(t.recordFile("aquarvel.txt")), QByteArray(" 1\r\n"));
    }

    void aNewMatchComparesWithTheRecordReadAtItsLoad() {
        TestGame t;
        t.start();
        write(t.recordFile("aquarvel.txt"), " 5\r\n");
        t.dialogs.answer(Answer::Yes);
        t.dialogs.type(QStringLiteral("Luca"));
        t.dialogs.answer(Answer::Ok);
        t.game.menuClicked(u"Next");
        QCOMPARE(t.game.board.lblpunti.caption(), QStringLiteral(" 5\r\n"));
        playAndExit(t, 4);
        QCOMPARE(bytes(t.recordFile("aquarvel.txt")), QByteArray(" 5\r\n"));
    }

    void accentsComeBackUnchangedAndLatin1StillReads() {
        TestGame t;
        t.start(QStringLiteral("Niccolò"));
        playAndExit(t, 2);
        QCOMPARE(bytes(t.recordFile("quarvel.txt")), QByteArray("Niccol\xC3\xB2\r\n"));
        TestGame next;
        next.folders.dir.setAutoRemove(true);
        write(next.recordFile("quarvel.txt"), bytes(t.recordFile("quarvel.txt")));
        next.start();
        QCOMPARE(next.game.board.lblnome.caption(), QStringLiteral("Niccolò\r\n"));

        TestGame windows;
        write(windows.recordFile("quarvel.txt"), "Niccol\xF2\r\n");
        windows.start();
        QCOMPARE(windows.game.board.lblnome.caption(), QStringLiteral("Niccolò\r\n"));
    }

    void aHigherRecordSavedMeanwhileIsKept() {
        TestGame t;
        t.start();
        write(t.recordFile("aquarvel.txt"), " 40\r\n");
        write(t.recordFile("quarvel.txt"), "Bea\r\n");
        playAndExit(t, 3);
        QCOMPARE(bytes(t.recordFile("aquarvel.txt")), QByteArray(" 40\r\n"));
        QCOMPARE(bytes(t.recordFile("quarvel.txt")), QByteArray("Bea\r\n"));
        QVERIFY(!t.dialogs.texts().contains(congratulation));
    }

    void aCrashAtAnyStepLeavesTheOldPairOrTheNewPair() {
        using Step = RecordStore::Step;
        for (Step step : {Step::Locked, Step::JournalWritten, Step::ScoreWritten, Step::NameWritten,
                          Step::Done}) {
            QTemporaryDir dir;
            const QString windir = dir.path() + QLatin1Char('/');
            write(dir.filePath("aquarvel.txt"), " 2\r\n");
            write(dir.filePath("quarvel.txt"), "Bea\r\n");
            CrashAt crash(step);
            QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                     RecordStore(windir, &crash).save(" 7", "Anna"));
            QCOMPARE(RecordStore(windir).prepare(), QString());
            const QByteArray score = bytes(dir.filePath("aquarvel.txt"));
            const QByteArray name = bytes(dir.filePath("quarvel.txt"));
            const bool oldPair = score == " 2\r\n" && name == "Bea\r\n";
            const bool newPair = score == " 7\r\n" && name == "Anna\r\n";
            QVERIFY2(oldPair || newPair, score + " / " + name);
            QCOMPARE(newPair, step != Step::Locked);
            QVERIFY(!QFile::exists(RecordStore(windir).journalPath()));
        }
    }

    void twoSavesAtOnceNeverMixThePair() {
        for (int round = 0; round < 20; ++round) {
            QTemporaryDir dir;
            const QString windir = dir.path() + QLatin1Char('/');
            RecordStore(windir).prepare();
            std::thread one(
                [&] { RecordStore(windir).save(QStringLiteral(" 5"), QStringLiteral("Anna")); });
            std::thread two(
                [&] { RecordStore(windir).save(QStringLiteral(" 9"), QStringLiteral("Luca")); });
            one.join();
            two.join();
            const QByteArray score = bytes(dir.filePath("aquarvel.txt"));
            const QByteArray name = bytes(dir.filePath("quarvel.txt"));
            // The higher record wins, whatever the order; its name goes with it.
            QCOMPARE(score, QByteArray(" 9\r\n"));
            QCOMPARE(name, QByteArray("Luca\r\n"));
        }
    }

    void aDirectoryInTheFilesPlaceIsReportedAndTheGameGoesOn() {
        TestGame t;
        QVERIFY(QDir(t.folders.dir.path()).mkdir(QStringLiteral("aquarvel.txt")));
        t.start();
        QCOMPARE(t.game.board.lblpunti.caption(), QString());
        QCOMPARE(t.game.board.lblnome.caption(), QString());
        QCOMPARE(t.dialogs.shown.size(), std::size_t(3));
        QVERIFY(t.dialogs.texts().last().contains(t.recordFile("aquarvel.txt").section('/', -1)));
        QVERIFY(!t.game.hasEnded());
        playAndExit(t, 2);
        QVERIFY(t.dialogs.texts().last().startsWith(QStringLiteral("Non ho potuto registrare")));
        QVERIFY(QFileInfo(t.recordFile("aquarvel.txt")).isDir());
        QCOMPARE(t.host.ends, 1);
    }

    void aRecordFolderThatCannotBeMadeGivesOneMessage() {
        TestGame t;
        t.folders.cannotCreate = true;
        t.start();
        QCOMPARE(t.dialogs.texts().mid(2),
                 QStringList({"Non riesco a creare la cartella del record."}));
        QCOMPARE(t.game.board.lblpunti.caption(), QString());
        QCOMPARE(t.game.board.lblnome.caption(), QString());
        playAndExit(t, 1);
        QCOMPARE(t.dialogs.texts().last(),
                 QStringLiteral("Non riesco a creare la cartella del record."));
        QCOMPARE(t.host.ends, 1);
    }

    void aDeviceOrAFifoInTheFilesPlaceDoesNotHang() {
        TestGame t;
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), t.recordFile("aquarvel.txt")));
        QCOMPARE(::mkfifo(qPrintable(t.recordFile("quarvel.txt")), 0644), 0);
        t.start();
        QCOMPARE(t.game.board.lblpunti.caption(), QString());
        QVERIFY(t.dialogs.texts().last().contains(QStringLiteral("non è un file normale")));
    }

    void aHugeFileOrNulBytesAreReadOnlyUpToTheCap() {
        TestGame t;
        write(t.recordFile("aquarvel.txt"), QByteArray(5 * 1024 * 1024, '7'));
        write(t.recordFile("quarvel.txt"), QByteArray("An\0na\r\n", 7));
        t.start();
        QCOMPARE(t.game.board.lblpunti.caption().size(), RecordStore::readCap);
        QCOMPARE(t.game.board.lblnome.caption(), QString::fromLatin1("An\0na\r\n", 7));
    }

    void anUnwritableFolderLeavesTheRecordWhole() {
        QTemporaryDir dir;
        write(dir.filePath("aquarvel.txt"), " 2\r\n");
        write(dir.filePath("quarvel.txt"), "Bea\r\n");
        ::chmod(qPrintable(dir.path()), 0755);
        const QString result = runUnprivileged({"save", dir.path() + '/', " 9", "Anna"});
        QVERIFY2(result.startsWith(QStringLiteral("failed: Non ho potuto registrare")),
                 qPrintable(result));
        QCOMPARE(bytes(dir.filePath("aquarvel.txt")), QByteArray(" 2\r\n"));
        QCOMPARE(bytes(dir.filePath("quarvel.txt")), QByteArray("Bea\r\n"));
    }

    void aReadOnlyNameFileLeavesTheOldPair() {
        QTemporaryDir dir;
        write(dir.filePath("aquarvel.txt"), " 2\r\n");
        write(dir.filePath("quarvel.txt"), "Bea\r\n");
        // The player may write the folder and the score file, not the name file.
        ::chmod(qPrintable(dir.path()), 0777);
        ::chmod(qPrintable(dir.filePath("aquarvel.txt")), 0666);
        ::chmod(qPrintable(dir.filePath("quarvel.txt")), 0444);
        const QString result = runUnprivileged({"save", dir.path() + '/', " 9", "Anna"});
        QVERIFY2(result.contains(QStringLiteral("quarvel.txt")), qPrintable(result));
        QCOMPARE(bytes(dir.filePath("aquarvel.txt")), QByteArray(" 2\r\n"));
        QCOMPARE(bytes(dir.filePath("quarvel.txt")), QByteArray("Bea\r\n"));
    }

    void aFullDiskLeavesTheRecordWhole() {
        if (geteuid() != 0)
            QSKIP("mounting a tiny tmpfs needs root");
        QTemporaryDir dir;
        if (::mount("tmpfs", qPrintable(dir.path()), "tmpfs", 0, "size=16k") != 0)
            QSKIP("cannot mount a tmpfs here");
        const QString windir = dir.path() + QLatin1Char('/');
        write(dir.filePath("aquarvel.txt"), " 2\r\n");
        write(dir.filePath("quarvel.txt"), "Bea\r\n");
        // Fills the disk but for one block, which the lock file takes.
        write(dir.filePath("filler"), QByteArray(8 * 1024, 'x'));
        const auto saved = RecordStore(windir).save(QStringLiteral(" 9"), QStringLiteral("Anna"));
        const QByteArray score = bytes(dir.filePath("aquarvel.txt"));
        const QByteArray name = bytes(dir.filePath("quarvel.txt"));
        ::umount(qPrintable(dir.path()));
        QCOMPARE(saved.outcome, RecordStore::Saved::Outcome::Failed);
        QVERIFY2(saved.error.contains(QStringLiteral("disco")), qPrintable(saved.error));
        QCOMPARE(score, QByteArray(" 2\r\n"));
        QCOMPARE(name, QByteArray("Bea\r\n"));
    }
};

QTEST_GUILESS_MAIN(RecordsTest)
#include "tst_records.moc"
