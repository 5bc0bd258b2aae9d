// The record files, byte for byte, through whole scripted matches and through faults: a save
// killed at each step, another copy saving, write-protected files, a full disk.
#include "FakePlatform.h"

#include <QLockFile>
#include <QProcess>
#include <QtTest>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

namespace {

using Step = RecordStore::Step;

QByteArray bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void write(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
}

// A record folder holding this pair ("<missing>" leaves a file out).
struct Folder {
    Folder(const QByteArray& score, const QByteArray& name) {
        if (score != "<missing>")
            write(file("aquarvel.txt"), score);
        if (name != "<missing>")
            write(file("quarvel.txt"), name);
    }
    QString file(const char* name) const { return dir.filePath(QLatin1String(name)); }
    QString windir() const { return dir.path() + u'/'; }
    QPair<QByteArray, QByteArray> pair() const {
        return {bytes(file("aquarvel.txt")), bytes(file("quarvel.txt"))};
    }
    QTemporaryDir dir;
};

// The record tool, as an unprivileged user where permissions really apply.
QStringList runTool(const QStringList& arguments, bool unprivileged = false) {
    QProcess tool;
    if (unprivileged && geteuid() == 0)
        tool.start(QStringLiteral("setpriv"),
                   QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", RECORD_TOOL} +
                       arguments);
    else
        tool.start(QStringLiteral(RECORD_TOOL), arguments);
    tool.waitForFinished(20000);
    return QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

void playAndExit(TestGame& t, int rightHits, int wrongHits = 0) {
    for (int i = 0; i < rightHits; ++i)
        t.game.controlClicked(t.game.board.paricmd);
    for (int i = 0; i < wrongHits; ++i)
        t.game.controlClicked(t.game.board.disparicmd);
    t.game.controlClicked(t.game.board.cmdExit);
    QVERIFY(t.game.hasEnded());
}

const QString farewell = QStringLiteral("              Ciao a presto.");
const QString congratulation = QStringLiteral("Ok ho registrato il tuo record, C A M P I O N E\"");
const QString busy =
    QStringLiteral("Non riesco a leggere il record: un'altra copia del gioco lo sta salvando.");

class Steps final : public RecordStore::Faults {
public:
    void after(Step step) override {
        seen.push_back(step);
        if (auto action = actions.find(step); action != actions.end())
            action->second();
    }
    std::vector<Step> seen;
    std::map<Step, std::function<void()>> actions;
};

} // namespace

class RecordsTest : public QObject {
    Q_OBJECT

private slots:
    void theRecordDecision_data() {
        QTest::addColumn<QByteArray>("score");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("player");
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("wrong");
        QTest::addColumn<QByteArray>("scoreAfter");
        QTest::addColumn<QByteArray>("nameAfter");
        const QByteArray none = "<missing>";
        QTest::newRow("first run, 12")
            << none << none << "Anna" << 12 << 0 << QByteArray(" 12\r\n") << QByteArray("Anna\r\n");
        QTest::newRow("first run, 0")
            << none << none << "Anna" << 0 << 0 << QByteArray() << QByteArray();
        QTest::newRow("first run, -3")
            << none << none << "Anna" << 1 << 1 << QByteArray() << QByteArray();
        QTest::newRow("equal to the record")
            << QByteArray(" 3\r\n") << QByteArray("Bea\r\n") << "Anna" << 3 << 0
            << QByteArray(" 3\r\n") << QByteArray("Bea\r\n");
        QTest::newRow("12 beats 9, one line left")
            << QByteArray(" 9\r\n") << QByteArray("Bea\r\nsecond line\r\n") << "Anna" << 12 << 0
            << QByteArray(" 12\r\n") << QByteArray("Anna\r\n");
        QTest::newRow("a wrong hit last")
            << none << none << "Anna" << 6 << 1 << QByteArray("2\r\n") << QByteArray("Anna\r\n");
        QTest::newRow("no name") << none << none << "" << 1 << 0 << QByteArray(" 1\r\n")
                                 << QByteArray("\r\n");
        QTest::newRow("words count as 0") << QByteArray("tanti punti\r\n") << none << "Anna" << 1
                                          << 0 << QByteArray(" 1\r\n") << QByteArray("Anna\r\n");
        QTest::newRow("accents") << none << none << "Niccolò" << 2 << 0 << QByteArray(" 2\r\n")
                                 << QByteArray("Niccol\xC3\xB2\r\n");
    }
    void theRecordDecision() {
        QFETCH(QByteArray, score);
        QFETCH(QByteArray, name);
        QFETCH(QString, player);
        QFETCH(int, right);
        QFETCH(int, wrong);
        QFETCH(QByteArray, scoreAfter);
        QFETCH(QByteArray, nameAfter);
        TestGame t;
        if (score != "<missing>")
            write(t.recordFile("aquarvel.txt"), score);
        if (name != "<missing>")
            write(t.recordFile("quarvel.txt"), name);
        t.start(player);
        // Shown as read, line ends and all; created empty when missing.
        QCOMPARE(t.game.board.lblpunti.caption(), score == "<missing>" ? "" : QString(score));
        QCOMPARE(t.game.board.lblnome.caption(), name == "<missing>" ? "" : QString(name));
        playAndExit(t, right, wrong);
        QCOMPARE(bytes(t.recordFile("aquarvel.txt")), scoreAfter);
        QCOMPARE(bytes(t.recordFile("quarvel.txt")), nameAfter);
        const bool written = scoreAfter != score && !scoreAfter.isEmpty();
        const QStringList told =
            written ? QStringList{farewell, congratulation} : QStringList{farewell};
        QCOMPARE(t.dialogs.texts().mid(2 + wrong), told); // after the warnings
        QCOMPARE(t.host.ends, 1);
    }

    void filesAreReadAsTheyAre_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("UTF-8") << QByteArray("Niccol\xC3\xB2\r\n") << "Niccolò\r\n";
        QTest::newRow("Latin-1") << QByteArray("Niccol\xF2\r\n") << "Niccolò\r\n";
        QTest::newRow("NUL") << QByteArray("An\0na\r\n", 7) << QString::fromLatin1("An\0na\r\n", 7);
        QTest::newRow("markup") << QByteArray("<b>x</b>") << "<b>x</b>";
        QTest::newRow("5 MiB") << QByteArray(5 << 20, '7') << QString(4096, u'7');
    }
    void filesAreReadAsTheyAre() {
        QFETCH(QByteArray, stored);
        QFETCH(QString, shown);
        Folder folder(" 1\r\n", stored);
        QCOMPARE(RecordStore(folder.windir()).load().record.name, shown);
    }

    void aNewMatchComparesWithTheRecordReadAtItsLoad() {
        TestGame t;
        t.start();
        write(t.recordFile("aquarvel.txt"), " 5\r\n");
        t.dialogs.answer(Answer::Yes);
        t.dialogs.type(QStringLiteral("Luca"));
        t.game.menuClicked(u"Next");
        QCOMPARE(t.game.board.lblpunti.caption(), QStringLiteral(" 5\r\n"));
        playAndExit(t, 4);
        QCOMPARE(bytes(t.recordFile("aquarvel.txt")), QByteArray(" 5\r\n"));
    }

    void aRecordAsHighSavedMeanwhileIsKeptAndTold_data() {
        QTest::addColumn<QByteArray>("meanwhile");
        QTest::addColumn<QString>("told");
        QTest::newRow("higher") << QByteArray(" 40\r\n") << "40";
        QTest::newRow("equal") << QByteArray("3\r\n") << "3";
    }
    void aRecordAsHighSavedMeanwhileIsKeptAndTold() {
        QFETCH(QByteArray, meanwhile);
        QFETCH(QString, told);
        TestGame t;
        t.start();
        write(t.recordFile("aquarvel.txt"), meanwhile);
        write(t.recordFile("quarvel.txt"), "Bea\r\n");
        playAndExit(t, 3);
        QCOMPARE(bytes(t.recordFile("aquarvel.txt")), meanwhile);
        QCOMPARE(bytes(t.recordFile("quarvel.txt")), QByteArray("Bea\r\n"));
        QCOMPARE(t.dialogs.texts().mid(2),
                 QStringList({farewell, "Mentre giocavi, Bea ha fatto un record di " + told +
                                            " punti: il tuo punteggio non lo supera."}));
    }

    void aSaveKilledAtAnyStepLeavesTheOldPairOrTheNewOne_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("newPair");
        QTest::newRow("locked") << int(Step::Locked) << false;
        QTest::newRow("journal written") << int(Step::JournalWritten) << true;
        QTest::newRow("score staged") << int(Step::ScoreStaged) << true;
        QTest::newRow("score renamed") << int(Step::ScoreWritten) << true;
        QTest::newRow("name staged") << int(Step::NameStaged) << true;
        QTest::newRow("name renamed") << int(Step::NameWritten) << true;
        QTest::newRow("folder synced") << int(Step::FolderSynced) << true;
        QTest::newRow("done") << int(Step::Done) << true;
    }
    void aSaveKilledAtAnyStepLeavesTheOldPairOrTheNewOne() {
        QFETCH(int, step);
        QFETCH(bool, newPair);
        Folder folder(" 2\r\n", "Bea\r\n");
        QCOMPARE(runTool({"save", folder.windir(), " 7", "Anna", QString::number(step)}),
                 QStringList());
        const RecordStore::Loaded shown = RecordStore(folder.windir()).load();
        const QPair<QByteArray, QByteArray> expected =
            newPair ? qMakePair(" 7\r\n", "Anna\r\n") : qMakePair(" 2\r\n", "Bea\r\n");
        QCOMPARE(folder.pair(), expected);
        QCOMPARE(shown.record.score, QString(expected.first));
        QCOMPARE(shown.problem, QString());
        // Nothing of the cut save is left behind: no journal, no temporary file, no lock.
        QCOMPARE(QDir(folder.dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"aquarvel.txt", "quarvel.txt"}));
    }

    void aSaveSyncsTheFolderAfterItsRenames() {
        Folder folder(" 2\r\n", "Bea\r\n");
        Steps steps;
        QCOMPARE(RecordStore(folder.windir(), &steps).save(" 7", "Anna").outcome,
                 RecordStore::Saved::Outcome::Written);
        QCOMPARE(steps.seen,
                 (std::vector<Step>{Step::Locked, Step::JournalWritten, Step::FolderSynced,
                                    Step::ScoreStaged, Step::ScoreWritten, Step::NameStaged,
                                    Step::NameWritten, Step::FolderSynced, Step::FolderSynced,
                                    Step::Done}));
    }

    void startUpRemovesOnlyTheTemporaryFilesOfASave() {
        Folder folder(" 2\r\n", "Bea\r\n");
        for (const char* name :
             {"aquarvel.txt.Ab12Cd", "quarvel.txt.x1Y2z3", "zenobra-record.journal.QQQQQQ",
              "aquarvel.txt.bak", "aquarvel.txt.Ab12C", "aquarvel.txt.Ab12Cd7",
              "appunti.txt.Ab12Cd"})
            write(folder.file(name), "x");
        RecordStore(folder.windir()).load();
        QCOMPARE(QDir(folder.dir.path()).entryList(QDir::Files),
                 QStringList({"appunti.txt.Ab12Cd", "aquarvel.txt", "aquarvel.txt.Ab12C",
                              "aquarvel.txt.Ab12Cd7", "aquarvel.txt.bak", "quarvel.txt"}));
    }

    void startUpReadsBothFilesUnderTheLock() {
        Folder folder(" 2\r\n", "Bea\r\n");
        Steps slowSecondRead;
        QString other;
        slowSecondRead.actions[Step::ScoreRead] = [&] {
            // Another copy saves between the two reads: it must wait for the lock.
            std::thread copy([&] {
                other = RecordStore(folder.windir(), nullptr, 300).save(" 9", "Luca").error;
            });
            copy.join();
        };
        const RecordStore::Loaded shown = RecordStore(folder.windir(), &slowSecondRead).load();
        QCOMPARE(shown.record.score + shown.record.name, QStringLiteral(" 2\r\nBea\r\n"));
        QVERIFY2(other.contains(QStringLiteral("un'altra copia del gioco")), qPrintable(other));
    }

    void aLockHeldByAnotherCopyShowsOnlyAWholePair_data() {
        QTest::addColumn<QByteArray>("journal");
        QTest::addColumn<QString>("shown");
        const QByteArray coming = "zenobra-record 1\nIDcNCg==\nQW5uYQ0K\n"; // " 7\r\n", "Anna\r\n"
        QTest::newRow("the journal's pair") << coming << " 7\r\nAnna\r\n";
        QTest::newRow("no journal: the pair on disk") << QByteArray() << " 2\r\nBea\r\n";
        QTest::newRow("a broken journal: nothing") << QByteArray("zenobra-record 1\n@@\n") << "";
    }
    void aLockHeldByAnotherCopyShowsOnlyAWholePair() {
        QFETCH(QByteArray, journal);
        QFETCH(QString, shown);
        Folder folder(" 2\r\n", "Bea\r\n");
        if (!journal.isEmpty()) {
            write(folder.file("zenobra-record.journal"), journal);
            write(folder.file("aquarvel.txt"), " 7\r\n"); // the other copy is half-way
        }
        QLockFile held(folder.windir() + QStringLiteral("zenobra-record.lock"));
        QVERIFY(held.tryLock());
        const RecordStore::Loaded loaded = RecordStore(folder.windir(), nullptr, 100).load();
        QCOMPARE(loaded.record.score + loaded.record.name, shown);
        QCOMPARE(loaded.problem, busy);
    }

    void writeProtectedFilesAreShownAndOnlyASaveComplains_data() {
        QTest::addColumn<int>("folderMode");
        QTest::newRow("folder writable") << 0777;
        QTest::newRow("folder read-only") << 0755;
    }
    void writeProtectedFilesAreShownAndOnlyASaveComplains() {
        QFETCH(int, folderMode);
        Folder folder(" 2\r\n", "Bea\r\n");
        ::chmod(qPrintable(folder.dir.path()), mode_t(folderMode));
        for (const char* name : {"aquarvel.txt", "quarvel.txt"})
            ::chmod(qPrintable(folder.file(name)), 0444);
        QCOMPARE(runTool({"load", folder.windir()}, true),
                 QStringList({"ok", "%202%0D%0A|Bea%0D%0A"}));
        const QStringList saved = runTool({"save", folder.windir(), " 9", "Anna"}, true);
        QVERIFY2(saved.value(0).startsWith(QStringLiteral("failed: Non ho potuto registrare il "
                                                          "record nel file ") +
                                           folder.dir.path() + QStringLiteral("/aquarvel.txt: ")),
                 qPrintable(saved.join(u'\n')));
        QCOMPARE(folder.pair(), qMakePair(QByteArray(" 2\r\n"), QByteArray("Bea\r\n")));
    }

    void aFailedSaveSaysWhatFailedAndKeepsTheOldPair() {
        Folder folder(" 2\r\n", "Bea\r\n");
        Steps renameFails;
        renameFails.actions[Step::NameStaged] = [&] {
            QVERIFY(QFile::remove(folder.file("quarvel.txt")));
            QVERIFY(QDir(folder.dir.path()).mkpath(QStringLiteral("quarvel.txt/x")));
        };
        const auto saved = RecordStore(folder.windir(), &renameFails).save(" 9", "Anna");
        QCOMPARE(saved.outcome, RecordStore::Saved::Outcome::Failed);
        QVERIFY2(saved.error.startsWith(QStringLiteral("Non ho potuto registrare il record nel "
                                                       "file ") +
                                        folder.dir.path() +
                                        QStringLiteral("/quarvel.txt: non riesco a rinominare")),
                 qPrintable(saved.error));
        QCOMPARE(bytes(folder.file("aquarvel.txt")), QByteArray(" 2\r\n"));
    }

    void aFullDiskLeavesTheRecordWhole() {
        QVERIFY2(geteuid() == 0, "mounting a tiny tmpfs needs root");
        QTemporaryDir dir;
        QCOMPARE(::mount("tmpfs", qPrintable(dir.path()), "tmpfs", 0, "size=16k"), 0);
        write(dir.filePath("aquarvel.txt"), " 2\r\n");
        write(dir.filePath("quarvel.txt"), "Bea\r\n");
        write(dir.filePath("filler"), QByteArray(4 * 1024, 'x')); // all but the lock's block
        const auto saved = RecordStore(dir.path() + u'/').save(" 9", "Anna");
        const QByteArray pair =
            bytes(dir.filePath("aquarvel.txt")) + bytes(dir.filePath("quarvel.txt"));
        ::umount(qPrintable(dir.path()));
        QVERIFY2(saved.error.contains(QStringLiteral("la scrittura non è riuscita, forse il disco "
                                                     "è pieno")),
                 qPrintable(saved.error));
        QCOMPARE(pair, QByteArray(" 2\r\nBea\r\n"));
    }

    void aStartUpProblemIsToldOnceWithTheClockHeld_data() {
        QTest::addColumn<QString>("place"); // what stands where aquarvel.txt should be
        QTest::addColumn<QString>("told");
        QTest::newRow("a folder") << "folder"
                                  << "al suo posto c'è una cartella.";
        QTest::newRow("a device") << "/dev/zero"
                                  << "non è un file normale.";
        QTest::newRow("no record folder") << ""
                                          << "Non riesco a creare la cartella del record.";
    }
    void aStartUpProblemIsToldOnceWithTheClockHeld() {
        QFETCH(QString, place);
        QFETCH(QString, told);
        TestGame t;
        if (place == QLatin1String("folder"))
            QVERIFY(QDir(t.folders.dir.path()).mkdir(QStringLiteral("aquarvel.txt")));
        else if (place.isEmpty())
            t.folders.cannotCreate = true;
        else
            QVERIFY(QFile::link(place, t.recordFile("aquarvel.txt")));
        bool clockHeld = false;
        t.dialogs.type(QStringLiteral("Anna"));
        t.dialogs.answer(Answer::Ok);
        t.dialogs.answer(Answer::Ok, [&] { clockHeld = !t.game.board.Timer1.isEnabled(); });
        t.game.start();
        QCOMPARE(t.dialogs.shown.size(), std::size_t(3));
        QVERIFY2(t.dialogs.texts().last().endsWith(told), qPrintable(t.dialogs.texts().last()));
        QVERIFY(!t.dialogs.texts().last().contains(QStringLiteral("//")));
        QVERIFY(clockHeld && t.game.board.Timer1.isEnabled() && !t.game.board.Timer2.isEnabled());
        QCOMPARE(t.game.board.lblpunti.caption() + t.game.board.lblnome.caption(), QString());
        QCOMPARE(t.game.state.restanti, qint16(300));
        playAndExit(t, 2);
        QVERIFY(t.dialogs.texts().last().startsWith(place.isEmpty() ? told : "Non ho potuto"));
    }

    void theRecordFolderFollowsXdgDataHome() {
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
        QCoreApplication::setApplicationName(QStringLiteral("zenobra"));
        const QString folder = StandardFolders().systemDir();
        QCOMPARE(folder, home.path() + QStringLiteral("/zenobra/"));
        QVERIFY(QFileInfo(folder).isDir());
    }

    void twoSavesAtOnceNeverMixThePair() {
        for (int round = 0; round < 10; ++round) {
            Folder folder("<missing>", "<missing>");
            std::thread one([&] { RecordStore(folder.windir()).save(" 5", "Anna"); });
            std::thread two([&] { RecordStore(folder.windir()).save(" 9", "Luca"); });
            one.join();
            two.join();
            QCOMPARE(folder.pair(), qMakePair(QByteArray(" 9\r\n"), QByteArray("Luca\r\n")));
        }
    }
};

QTEST_GUILESS_MAIN(RecordsTest)
#include "tst_records.moc"
