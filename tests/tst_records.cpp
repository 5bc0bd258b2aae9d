// The record and the register, byte for byte, through whole matches and through every fault.
#include "FakePlatform.h"
#include "HandWritten.h"
#include "platform/FolderLock.h"
#include "records/ClassRegister.h"
#include "records/History.h"
#include "records/Mistakes.h"

#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QtTest>

#include <array>
#include <atomic>
#include <optional>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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

// Writes the pair "score|name" into a folder; "<missing>" leaves a file out.
void place(const QString& windir, const QByteArray& pair) {
    const QList<QByteArray> files = pair.split('|');
    for (int i : {0, 1})
        if (files[i] != "<missing>")
            write(windir + (i ? "/quarvel.txt" : "/aquarvel.txt"), files[i]);
}

// The two record files of a folder as they stand, "|" between them; the lesson of 3's with "-3".
QByteArray pair(const QString& windir, const QString& lesson = {}) {
    return bytes(windir + "/aquarvel" + lesson + ".txt") + '|' +
           bytes(windir + "/quarvel" + lesson + ".txt");
}

// A record folder holding this pair.
struct Folder {
    Folder(const QByteArray& score, const QByteArray& name) { place(windir(), score + '|' + name); }
    QString file(const char* name) const { return dir.filePath(QLatin1String(name)); }
    QString windir() const { return dir.path(); }
    QTemporaryDir dir;
};

// Starts the record tool as user `uid` of group `gid` (0: as we are), where permissions apply.
void startTool(QProcess& tool, const QStringList& arguments, int uid = 0, int gid = 0) {
    const QStringList as{QStringLiteral("--reuid=%1").arg(uid),
                         QStringLiteral("--regid=%1").arg(gid), "--clear-groups", RECORD_TOOL};
    tool.start(uid ? QStringLiteral("setpriv") : QStringLiteral(RECORD_TOOL),
               uid ? as + arguments : arguments);
}
// Runs it to the end. A tool that blocks is killed and reported: a hang fails the test.
QStringList runTool(const QStringList& arguments, int uid = 0, int gid = 0) {
    QProcess tool;
    startTool(tool, arguments, uid, gid);
    if (!tool.waitForFinished(10000)) {
        tool.kill();
        tool.waitForFinished();
        return {QStringLiteral("blocked")};
    }
    return QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}
constexpr int nobody = 65534;

// A folder shared by a class: setgid, mode 2775, of group `gid`, reachable by every user.
QString classFolder(const QTemporaryDir& dir, int gid) {
    const QString folder = dir.filePath(QStringLiteral("classe"));
    ::chmod(qPrintable(dir.path()), 0755);
    QDir().mkdir(folder);
    if (::chown(qPrintable(folder), 0, gid_t(gid)) != 0 || ::chmod(qPrintable(folder), 02775) != 0)
        return {};
    return folder + u'/';
}

void playAndExit(TestGame& t, int rightHits) {
    for (int i = 0; i < rightHits; ++i)
        t.game.controlClicked(t.game.board.paricmd);
    t.game.controlClicked(t.game.board.cmdExit);
    QVERIFY(t.game.hasEnded());
}

const QString farewell = QStringLiteral("              Ciao a presto.");

} // namespace

class RecordsTest : public QObject {
    Q_OBJECT

private slots:
    // The register read and summed up as the teacher's table shows it, without a window: a row
    // for each child, lesson and kind, under each filter.
    void theRegisterIsSummedUp_data() {
        QTest::addColumn<int>("lesson");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QStringList>("rows");
        const QString anna3 = "Anna|alunno01|3|allenamento|1|4|4|0,0|",
                      practice = "Anna|alunno01|15|allenamento|1|20|20|0,0|",
                      anna2 = "Anna|alunno02|15|gara|1|2|2|0,0|",
                      review = "Anna|alunno02|15|ripasso|1|-2|-2|1,0|47 (1 volta)";
        // clang-format off
        QTest::newRow("all") << 0 << QDate() << QDate() << QStringList{anna3, "Anna|alunno01|15|gara|3|12|-1|1,0|52 (2 volte), 47 (1 volta)", practice, anna2, review, "Bea \"B\"; 3A|alunno03|15|gara|1|1|1|0,0|"};
        QTest::newRow("the lesson of 3") << 3 << QDate() << QDate() << QStringList{anna3};
        QTest::newRow("3 and 4 October") << 0 << QDate(2026, 10, 3) << QDate(2026, 10, 4) << QStringList{anna3, "Anna|alunno01|15|gara|1|-1|-1|2,0|47 (1 volta), 52 (1 volta)", practice, anna2, review};
        QTest::newRow("none those days") << 3 << QDate(2026, 10, 4) << QDate(2026, 10, 5) << QStringList{};
        // clang-format on
    }
    void theRegisterIsSummedUp() {
        QFETCH(int, lesson);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QStringList, rows);
        const ClassRegister::Read read = ClassRegister::parse(handWritten);
        QCOMPARE(read.matches.size(), 8);
        QCOMPARE(read.malformed, 9);                             // each kind of line no game writes
        QCOMPARE(read.matches[6].letPass, QList<int>({45, 60})); // none on lines of old
        QVERIFY(read.matches[5].letPass.isEmpty());
        QStringList summed;
        for (const ClassRegister::Row& row :
             ClassRegister::summary(read.matches, {lesson, from, to}))
            summed << QStringList{row.name,
                                  row.user,
                                  QString::number(row.lesson),
                                  QString::fromLatin1(ClassRegister::kindName(row.kind)),
                                  QString::number(row.matches),
                                  QString::number(row.best),
                                  QString::number(row.last),
                                  ClassRegister::wrongPerMatch(row),
                                  ClassRegister::mostWrongText(row.mostWrong)}
                          .join(u'|');
        QCOMPARE(summed, rows);
    }

    // A line for each match in the register, byte for byte, however it ended.
    // Which part of the rule each wrong number passed, worked out by hand.
    void theKindsOfMistakeAreThePartsOfTheRule_data() {
        QTest::addColumn<int>("lesson");
        QTest::addColumn<QList<int>>("wrong");
        QTest::addColumn<QString>("kinds"); // after "presi per multipli di <lesson>: "
        // clang-format off
        QTest::newRow("15") << 15 << QList<int>{48, 50, 47, 9, 25, 13} << "2 multipli di 3, 2 multipli di 5, 2 altri";
        QTest::newRow("12") << 12 << QList<int>{18, 27, 16, 20, 8, 7, 30} << "3 multipli di 3, 3 multipli di 4, 1 altro";
        QTest::newRow("6") << 6 << QList<int>{4, 8, 9, 15, 7} << "2 multipli di 2, 2 multipli di 3, 1 altro";
        QTest::newRow("25") << 25 << QList<int>{35, 40, 7} << "2 multipli di 5, 1 altro";
        QTest::newRow("4") << 4 << QList<int>{6, 10, 9} << "2 multipli di 2, 1 altro";
        QTest::newRow("9") << 9 << QList<int>{6} << "1 multiplo di 3";
        QTest::newRow("10") << 10 << QList<int>{4, 15, 21} << "1 multiplo di 2, 1 multiplo di 5, 1 altro";
        QTest::newRow("3, a rule of one part") << 3 << QList<int>{4, 5} << "2 numeri";
        QTest::newRow("none") << 15 << QList<int>{} << "";
        // clang-format on
    }
    void theKindsOfMistakeAreThePartsOfTheRule() {
        QFETCH(int, lesson);
        QFETCH(QList<int>, wrong);
        QFETCH(QString, kinds);
        QCOMPARE(Mistakes::kinds(wrong, lesson),
                 kinds.isEmpty()
                     ? kinds
                     : QStringLiteral("presi per multipli di %1: ").arg(lesson) + kinds);
    }

    // The class at a glance, worked out by hand: right / (right + wrong) in races alone.
    void theClassAtAGlanceSharesRightHits_data() {
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QString>("classWrong"); // of 15
        QTest::newRow("all") << QDate() << "Anna 12 25% 15 86%, Bea 15 75%"
                             << "47 (2 volte), 1 (1 volta), 2 (1 volta), 4 (1 volta), 7 (1 volta)";
        QTest::newRow("to 5 October") << QDate(2026, 10, 5) << "Anna 12 25% 15 86%, Bea 15 –"
                                      << "1 (1 volta), 2 (1 volta), 4 (1 volta), 7 (1 volta), 8 "
                                         "(1 volta)";
    }
    void theClassAtAGlanceSharesRightHits() {
        QFETCH(QDate, to);
        QFETCH(QString, grid);
        QFETCH(QString, classWrong);
        const ClassRegister::Read read = ClassRegister::parse(
            "2026-10-01 09:00:00;u1;Anna;15;gara;0;8;2;47 48;uscita;300;no\n"
            "2026-10-02 09:00:00;u1;anna ;15;gara;0;4;0;;uscita;300;no\n"
            "2026-10-02 10:00:00;u1;Anna;15;ripasso;0;0;5;1 2 4 7 8;uscita;300;no;\n"
            "2026-10-03 09:00:00;u1;Anna;12;gara;0;1;3;18 27 16;uscita;300;no\n"
            "2026-10-03 09:00:00;u2;Bea;15;gara;0;0;0;;uscita;300;no\n"
            "2026-10-09 09:00:00;u2;Bea;15;gara;0;3;1;47;uscita;300;no\n");
        const ClassRegister::Filter filter{0, {}, to};
        QStringList rows;
        for (const Mistakes::Child& child : Mistakes::grid(read.matches, filter)) {
            QString row = child.name;
            for (auto [lesson, share] : child.lessons.asKeyValueRange())
                row += QStringLiteral(" %1 %2").arg(lesson).arg(share.text());
            rows << row;
        }
        QCOMPARE(rows.join(", "), grid);
        QCOMPARE(ClassRegister::mostWrongText(Mistakes::classWrong(read.matches, filter, 15, 5)),
                 classWrong);
    }

    // A child erased while the class plays: every other line kept, byte for byte, none torn.
    void aChildErasedWhileTheClassPlaysTakesNothingElse() {
        NEEDS_ROOT("other users need root");
        QTemporaryDir dir;
        const QString folder = classFolder(dir, 4242), path = folder + "registro.csv";
        const QByteArray anna = "2026-10-01 09:00:00;alunno;Anna;15;gara;1;1;0;;uscita;9;no\r\n",
                         bea = "2026-10-01 09:00:00;alunno;Bea;15;gara;2;2;0;;uscita;9;no\r\n",
                         torn = "2026-10-01 09:00:00;alunno;Anna;15;gara;1\r\n";
        write(path, registerHeader + anna + bea + torn + anna + " anna \r\n" + bea + anna);
        QVERIFY(::chown(qPrintable(path), 0, 4242) == 0 && ::chmod(qPrintable(path), 0660) == 0);
        std::array<QProcess, 30> children;
        for (int i = 0; i < 30; ++i)
            startTool(children[i], {"append", folder, QStringLiteral("c%1").arg(i), "40"}, 4300 + i,
                      4242);
        while (QFileInfo(path).size() < 3000) // some of the class's lines first
            QThread::msleep(1);
        const ClassRegister::Erased erased = ClassRegister::erase(path, "alunno", " ANNA");
        for (QProcess& child : children) {
            QVERIFY2(child.waitForFinished(60000), "a child hangs");
            QCOMPARE(child.readAllStandardOutput(), "ok\n");
        }
        QCOMPARE(erased.problem, QString());
        QCOMPARE(erased.lines, 3);
        const QByteArray all = bytes(path);
        QVERIFY(all.startsWith(registerHeader + bea + torn + " anna \r\n" + bea));
        const ClassRegister::Read read = ClassRegister::parse(all);
        QCOMPARE(read.malformed, 2); // the torn line and the stray one, kept as they were
        QMap<QString, int> lines;
        for (const ClassRegister::Match& match : read.matches)
            ++lines[match.name];
        QCOMPARE(lines.size(), 31);
        QVERIFY(!lines.contains("Anna") && lines["Bea"] == 2);
        for (int i = 0; i < 30; ++i)
            QCOMPARE(lines[QStringLiteral("c%1").arg(i)], 40);
        struct stat file {};
        QVERIFY(::stat(qPrintable(path), &file) == 0 && (file.st_mode & 07777) == 0660 &&
                file.st_gid == 4242);
    }

    // The year's register put aside under its school year, never over another file.
    void aYearIsClosedUnderItsSchoolYear() {
        QCOMPARE(ClassRegister::schoolYear({2026, 8, 31}), "2025-2026");
        QCOMPARE(ClassRegister::schoolYear({2026, 9, 1}), "2026-2027");
        QTemporaryDir dir;
        const QString path = dir.filePath("registro.csv"),
                      aside = dir.filePath("registro-2026-2027.csv");
        write(path, registerHeader);
        QCOMPARE(ClassRegister::closeYear(path, {2027, 6, 8}), std::pair(aside, QString()));
        QVERIFY(!QFile::exists(path) && bytes(aside) == registerHeader);
        write(path, "new");
        QVERIFY(ClassRegister::closeYear(path, {2027, 6, 8})
                    .second.endsWith(": c'è già un file con quel nome."));
        QCOMPARE(bytes(path) + bytes(aside), "new" + registerHeader);
    }

    // One number over real days: due at the next review, two days after it, a week after that;
    // met rightly at three reviews it retires, fallen for again it starts over. After its
    // explanation in a review, the same target shows at once a number that fails as it did.
    void aNumberComesBackSpacedOverDaysUntilLearnt_data() {
        QTest::addColumn<QStringList>("matches"); // day, kind, what the child does with 47 or 45
        QTest::addColumn<QString>("due");         // the numbers due as each match begins
        QTest::addColumn<QByteArray>("history");  // the lesson's, after its header
        // clang-format off
        QTest::newRow("learnt") << QStringList{"0 gara cade", "0 ripasso vede", "1 ripasso vede", "2 ripasso vede", "8 ripasso vede", "9 ripasso vede", "9 gara -"} << "0 1 0 1 0 1 0" << QByteArray();
        QTest::newRow("fallen for again") << QStringList{"0 gara cade", "0 ripasso vede", "2 ripasso cade", "2 gara vede"} << "0 1 1 1" << QByteArray("preso;47;2026-12-10;0\n");
        QTest::newRow("a race meets nothing") << QStringList{"0 gara cade", "3 gara vede"} << "0 1" << QByteArray("preso;47;2026-12-08;0\n");
        QTest::newRow("a multiple let pass, then hit") << QStringList{"0 gara lascia", "0 ripasso prende", "1 gara -"} << "0 1 0" << QByteArray("lasciato;45;2026-12-08;1\n");
        // clang-format on
    }
    void aNumberComesBackSpacedOverDaysUntilLearnt() {
        QFETCH(QStringList, matches);
        QFETCH(QString, due);
        QFETCH(QByteArray, history);
        QTemporaryDir own;
        QStringList seen;
        for (const QString& match : matches) {
            const QStringList day = match.split(u' ');
            const bool review = day[1] == QLatin1String("ripasso");
            TestGame t;
            t.folders.ownPath = own.path();
            t.folders.config.reviewAlways = review;
            t.time.day = QDate(2026, 12, 8).addDays(day[0].toInt());
            t.start();
            seen << QString::number(t.game.state.reviewDue);
            Board& board = t.game.board;
            if (day[2] == QLatin1String("-")) {
                t.game.windowClosed();
                continue;
            }
            const bool wrong = day[2] == QLatin1String("cade") || day[2] == QLatin1String("vede");
            Control& target = wrong ? board.disparicmd : board.paricmd;
            target.setCaption(wrong ? "47" : "45");
            target.show();
            target.setLeft(10);
            target.setTop(10);
            if (day[2] == QLatin1String("cade") || day[2] == QLatin1String("prende")) {
                t.game.controlClicked(target);
                // 62: 47 + 15, and like 47 divisible neither by 3 nor by 5.
                if (day[2] == QLatin1String("cade"))
                    QCOMPARE(target.isVisible() ? target.caption() : "", review ? "62" : "");
            } else {
                t.game.review.jumped();
                target.setVisible(day[2] == QLatin1String("vede"));
                t.game.review.jumped();
            }
            t.game.windowClosed();
        }
        QCOMPARE(seen.join(u' '), due);
        QCOMPARE(bytes(own.filePath("lezione-15.txt")),
                 "zenobra ripasso 1\ntipo;numero;ultima volta;ripassi\n" + history);
    }

    // The history: the child's alone, whole after a kill at any step; anything else at its path
    // told, never followed, and replaced by the match's history.
    void theHistoryIsTheChildsAloneAndWhole_data() {
        QTest::addColumn<QString>("planted");
        QTest::addColumn<int>("killedAt"); // 0: never
        QTest::addColumn<QString>("told");
        const QString other = QStringLiteral("non è un ripasso scritto da questo gioco");
        QTest::newRow("a history") << "history" << 0 << "";
        QTest::newRow("killed with the new file staged") << "history" << 1 << "";
        QTest::newRow("killed after its rename") << "history" << 2 << "";
        QTest::newRow("a FIFO") << "fifo" << 0 << "al suo posto c'è una FIFO";
        QTest::newRow("a link") << "link" << 0
                                << "al suo posto c'è un collegamento a un altro file";
        QTest::newRow("another file") << "text" << 0 << other;
        QTest::newRow("a file too large") << "large" << 0 << other;
    }
    void theHistoryIsTheChildsAloneAndWhole() {
        QFETCH(QString, planted);
        QFETCH(int, killedAt);
        QFETCH(QString, told);
        QTemporaryDir own, elsewhere;
        const QString path = own.filePath("lezione-15.txt"), outside = elsewhere.filePath("x");
        const QByteArray header = "zenobra ripasso 1\ntipo;numero;ultima volta;ripassi\n";
        // The second line no game writes: 45 is no number taken for a multiple of 15.
        const QByteArray before = header + "lasciato;45;2026-12-01;1\npreso;45;2026-12-01;0\n";
        write(outside, "untouched");
        if (planted == QLatin1String("history"))
            write(path, before), QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        else if (planted == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(qPrintable(path), 0600), 0);
        else if (planted == QLatin1String("link"))
            QVERIFY(QFile::link(outside, path));
        else
            write(path, planted == QLatin1String("text") ? "3A: Anna, Bea\n"
                                                         : header + QByteArray(70000, '\n'));
        const QStringList said = runTool({"history", own.path(), QString::number(killedAt)});
        const QByteArray after =
            header + (planted == QLatin1String("history") ? "lasciato;45;2026-12-01;1\n" : "") +
            "preso;47;2026-12-08;0\n";
        QCOMPARE(said.value(0), told.isEmpty()
                                    ? "ok"
                                    : "Non riesco a leggere il tuo ripasso " + path + ": " + told +
                                          ". Il ripasso di questa lezione ricomincia "
                                          "da capo.");
        QCOMPARE(said.value(1), killedAt ? "" : "saved");
        QCOMPARE(History::load(own.path(), 15).items.size(),
                 killedAt == 1 ? 1 : 1 + (planted == QLatin1String("history")));
        QCOMPARE(bytes(path), killedAt == 1 ? before : after);
        QCOMPARE(bytes(outside), "untouched");
        QCOMPARE(QDir(own.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList("lezione-15.txt")); // no file of the killed save's left
        QCOMPARE(QFile(path).permissions() &
                     ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
                 QFile::Permissions());
    }

    // The child's own folder: made closed to everyone else, and a link in its place refused.
    void theChildsOwnFolderIsClosedToOthers() {
        QTemporaryDir data;
        const QString folder = data.filePath("zenobra/ripasso");
        QVERIFY(QDir().mkpath(folder) && ::chmod(qPrintable(folder), 0755) == 0);
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        const QStringList made = runTool({"own"});
        struct stat status {};
        QVERIFY(::stat(qPrintable(folder), &status) == 0);
        QVERIFY(QDir(folder).removeRecursively() && QFile::link(data.path(), folder));
        const QStringList linked = runTool({"own"});
        qunsetenv("XDG_DATA_HOME");
        QCOMPARE(made, QStringList(folder));
        QCOMPARE(status.st_mode & 07777, 0700u);
        QCOMPARE(linked, QStringList());
    }

    void eachMatchLeavesItsLineInTheRegister_data() {
        QTest::addColumn<QString>("name");
        // r a right target, w the wrong one showing 47, p 45 in sight and gone after a jump
        QTest::addColumn<QString>("hits");
        QTest::addColumn<QString>("ending");
        QTest::addColumn<QByteArray>("line");
        // Each match ends 95 seconds of play after it began at noon.
        const QByteArray at = "2026-12-08 12:01:35;alunno;";
        // clang-format off
        QTest::newRow("the exit") << "Anna" << "rwr" << "exit" << at + "Anna;15;gara;-2;2;1;47;uscita;95;no;";
        QTest::newRow("a record") << "Anna" << "rrr" << "exit" << at + "Anna;15;gara;3;3;0;;uscita;95;sì;";
        QTest::newRow("another copy's higher record") << "Anna" << "rrr" << "beaten" << at + "Anna;15;gara;3;3;0;;uscita;95;no;";
        QTest::newRow("the clock") << "Anna" << "wwr" << "clock" << at + "Anna;15;gara;-7;1;2;47 47;tempo scaduto;95;no;";
        QTest::newRow("a new match") << "Anna" << "rw" << "new" << at + "Anna;15;gara;-3;1;1;47;nuova gara;95;no;";
        QTest::newRow("another lesson") << "Anna" << "r" << "lesson" << at + "Anna;15;gara;1;1;0;;nuova gara;95;no;";
        QTest::newRow("the window closed") << "Anna" << "" << "close" << at + "Anna;15;gara;0;0;0;;finestra chiusa;95;no;";
        QTest::newRow("practice") << "Anna" << "rrr" << "practice" << at + "Anna;15;allenamento;3;3;0;;uscita;95;no;";
        QTest::newRow("a pause and a box left out") << "Anna" << "w" << "pause" << QByteArray(at).replace("12:01:35", "12:02:20") + "Anna;15;gara;-4;0;1;47;uscita;95;no;";
        QTest::newRow("a name a spreadsheet would split") << "Anna \"Nina\"; 3B" << "" << "exit" << at + "\"Anna \"\"Nina\"\"; 3B\";15;gara;0;0;0;;uscita;95;no;";
        QTest::newRow("a name with quotes alone") << "Anna \"Nina\"" << "" << "exit" << at + "\"Anna \"\"Nina\"\"\";15;gara;0;0;0;;uscita;95;no;";
        for (const char* formula : {"=1+1", "+39 333", "-1", "@somma"})
            QTest::addRow("a name a spreadsheet would run: %s", formula) << formula << "" << "exit" << at + '\'' + formula + ";15;gara;0;0;0;;uscita;95;no;";
        QTest::newRow("a review, multiples let pass") << "Anna" << "rpp" << "review" << at + "Anna;15;ripasso;1;1;0;;uscita;95;no;45 45";
        QTest::newRow("another copy writing") << "Anna" << "" << "locked" << QByteArray();
        // clang-format on
    }
    void eachMatchLeavesItsLineInTheRegister() {
        QFETCH(QString, name);
        QFETCH(QString, hits);
        QFETCH(QString, ending);
        QFETCH(QByteArray, line);
        TestGame t;
        t.folders.config.practice.value = ending == QLatin1String("practice");
        t.folders.config.reviewAlways = ending == QLatin1String("review");
        t.start(name);
        Board& board = t.game.board;
        for (const QChar hit : hits) {
            Control& button = hit == u'w' ? board.disparicmd : board.paricmd;
            button.setCaption(QStringLiteral("47"));
            button.show();
            if (hit == u'p') {
                button.setCaption(QStringLiteral("45"));
                t.game.review.jumped();
                button.hide();
                t.game.review.jumped();
                continue;
            }
            if (ending == QLatin1String("pause")) // the warning read for 10 s
                t.dialogs.answer(Answer::Ok, [&] { t.time.msecs += 10000; });
            t.game.controlClicked(button);
        }
        if (ending == QLatin1String("pause")) { // and a pause of 20 s
            t.game.pauseToggled();
            t.time.msecs += 20000;
            t.game.pauseToggled();
        }
        if (ending == QLatin1String("new")) { // a new match refused: the match goes on, no line
            t.dialogs.answer(Answer::No);
            t.game.menuClicked(u"Next");
        }
        t.time.msecs += 95000;
        if (ending == QLatin1String("pause")) { // ended in a pause of 15 s, a box of 5 s in it
            t.game.pauseToggled();
            t.dialogs.answer(Answer::No, [&] { t.time.msecs += 5000; });
            t.game.menuClicked(u"Next");
            t.time.msecs += 10000;
        }
        std::optional<FolderLock> otherCopy;
        if (ending == QLatin1String("clock")) {
            t.game.state.restanti = 0;
            t.game.timerTicked(board.Timer1);
        } else if (ending == QLatin1String("new")) {
            t.dialogs.answer(Answer::Yes);
            t.game.menuClicked(u"Next");
        } else if (ending == QLatin1String("lesson")) {
            t.dialogs.answer(Answer::Yes);
            t.game.lessonChosen(3);
        } else if (ending == QLatin1String("close")) {
            t.game.windowClosed();
        } else {
            if (ending == QLatin1String("beaten"))
                place(t.folders.dir.path(), " 99\r\n|Bea\r\n");
            if (ending == QLatin1String("locked"))
                otherCopy.emplace(RecordStore(t.folders.dir.path()).lockPath(), 0);
            t.game.controlClicked(board.cmdExit);
        }
        // A new match counts from nothing: its line when the window closes at once.
        QByteArray next;
        if (t.game.state.matchStart.isValid()) {
            t.game.windowClosed();
            next = "2026-12-08 12:01:35;alunno;;" + QByteArray(ending == "lesson" ? "3" : "15") +
                   ";gara;0;0;0;;finestra chiusa;0;no;\r\n";
        }
        const QString path = t.recordFile("registro.csv");
        if (line.isEmpty()) {
            QVERIFY(!QFile::exists(path));
            QCOMPARE(t.dialogs.texts().last(), "Non ho potuto scrivere la partita nel registro " +
                                                   path +
                                                   ": un'altra copia del gioco lo sta usando.");
            return;
        }
        QCOMPARE(bytes(path), registerHeader + line + "\r\n" + next);
        QVERIFY(!(QFile(path).permissions() & (QFile::ReadOther | QFile::WriteOther)));
    }

    void theRecordDecision_data() {
        QTest::addColumn<QByteArray>("before"); // score file|name file
        QTest::addColumn<QString>("player");
        QTest::addColumn<int>("right");
        QTest::addColumn<QByteArray>("after");
        const QByteArray none = "<missing>|<missing>";
        // clang-format off
        QTest::newRow("first run, 12") << none << "Anna" << 12 << QByteArray(" 12\r\n|Anna\r\n");
        QTest::newRow("first run, 0") << none << "Anna" << 0 << QByteArray("|");
        QTest::newRow("equal") << QByteArray(" 3\r\n|Bea\r\n") << "Anna" << 3 << QByteArray(" 3\r\n|Bea\r\n");
        QTest::newRow("12 beats 9, one line left") << QByteArray(" 9\r\n|Bea\r\nsecond line\r\n") << "Anna" << 12 << QByteArray(" 12\r\n|Anna\r\n");
        QTest::newRow("no name") << none << "" << 1 << QByteArray(" 1\r\n|\r\n");
        QTest::newRow("a negative record, beaten by 0") << QByteArray(" -5\r\n|Bea\r\n") << "Anna" << 0 << QByteArray("0\r\n|Anna\r\n");
        QTest::newRow("words count as 0") << QByteArray("tanti punti\r\n|<missing>") << "Anna" << 1 << QByteArray(" 1\r\n|Anna\r\n");
        QTest::newRow("accents") << none << "Niccolò" << 2 << QByteArray(" 2\r\n|Niccol\xC3\xB2\r\n");
        // clang-format on
    }
    void theRecordDecision() {
        QFETCH(QByteArray, before);
        QFETCH(QString, player);
        QFETCH(int, right);
        QFETCH(QByteArray, after);
        TestGame t;
        place(t.folders.systemDir(), before);
        t.start(player);
        // Shown as read, line ends and all; created empty when missing.
        QCOMPARE(t.game.board.lblpunti.caption() + '|' + t.game.board.lblnome.caption(),
                 QString(before).replace(QLatin1String("<missing>"), QString()));
        playAndExit(t, right);
        QCOMPARE(pair(t.folders.systemDir()), after);
        QStringList told{farewell};
        if (after != before && after != "|")
            told << "Ok ho registrato il tuo record, C A M P I O N E\"";
        QCOMPARE(t.dialogs.texts().mid(2), told); // after the greeting
    }

    // Whatever stands at the register's path: the record is saved first, then one message.
    void theRegisterNeverCostsTheRecord_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("told"); // after the champion's box; "" for nothing
        // clang-format off
        QTest::newRow("a FIFO") << "fifo" << "al suo posto c'è una FIFO";
        QTest::newRow("a link to a file outside") << "link" << "al suo posto c'è un collegamento a un altro file";
        QTest::newRow("a folder") << "folder" << "al suo posto c'è una cartella";
        QTest::newRow("turned off by the teacher") << "off" << "";
        // clang-format on
    }
    void theRegisterNeverCostsTheRecord() {
        QFETCH(QString, kind);
        QFETCH(QString, told);
        TestGame t;
        QTemporaryDir elsewhere;
        const QString path = t.recordFile("registro.csv"), outside = elsewhere.filePath("outside");
        write(outside, "untouched");
        if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(qPrintable(path), 0666), 0);
        else if (kind == QLatin1String("link"))
            QVERIFY(QFile::link(outside, path));
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(path));
        t.folders.config.registerOn = kind != QLatin1String("off");
        t.start();
        ::alarm(10); // a FIFO opened blocking would hold the test for good: end it instead
        playAndExit(t, 3);
        ::alarm(0);
        QCOMPARE(pair(t.folders.systemDir()), QByteArray(" 3\r\n|Anna\r\n"));
        QStringList boxes{farewell, "Ok ho registrato il tuo record, C A M P I O N E\""};
        if (!told.isEmpty())
            boxes << "Non ho potuto scrivere la partita nel registro " + path + ": " + told + '.';
        QCOMPARE(t.dialogs.texts().mid(2), boxes);
        QCOMPARE(bytes(outside), QByteArray("untouched"));
        QCOMPARE(QFileInfo::exists(path), kind != QLatin1String("off"));
    }

    // Each lesson keeps a record of its own beside the others, and never writes theirs.
    void eachLessonKeepsARecordOfItsOwn() {
        TestGame t;
        place(t.folders.systemDir(), " 40\r\n|Bea\r\n"); // the lesson of 15's
        t.start();
        QCOMPARE(t.game.board.lblpunti.caption(), QStringLiteral(" 40\r\n"));
        t.dialogs.answer(Answer::Yes); // and no name this time
        t.game.lessonChosen(3);        // the new match reads the record again, the lesson's own
        QCOMPARE(t.game.board.lblpunti.caption(), QString());
        playAndExit(t, 2);
        QCOMPARE(pair(t.folders.systemDir(), "-3"), QByteArray(" 2\r\n|\r\n"));
        QCOMPARE(pair(t.folders.systemDir()), QByteArray(" 40\r\n|Bea\r\n"));
        // A lesson's save cut short is its own lesson's to finish, with a journal of its own.
        struct Crash final : RecordStore::Faults {
            void after(Step step) override {
                if (step == Step::ScoreWritten)
                    throw step;
            }
        } crash;
        const QString windir = t.folders.systemDir();
        QVERIFY_THROWS_EXCEPTION(
            Step, RecordStore(windir, {.lesson = 3, .faults = &crash}).save(" 9", "Luca"));
        const QString fifteen = RecordStore(windir).load().record.score; // read first
        QCOMPARE(fifteen + RecordStore(windir, {.lesson = 3}).load().record.name,
                 QStringLiteral(" 40\r\nLuca\r\n"));
    }

    void filesAreReadAsTheyAre_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("UTF-8") << QByteArray("Niccol\xC3\xB2\r\n") << "Niccolò\r\n";
        QTest::newRow("Latin-1") << QByteArray("Niccol\xF2\r\n") << "Niccolò\r\n";
        QTest::newRow("cut inside a character")
            << QByteArray(4095, 'A') + "\xC3\xA8\xC3\xA8" << QString(4095, u'A');
    }
    void filesAreReadAsTheyAre() {
        QFETCH(QByteArray, stored);
        QFETCH(QString, shown);
        Folder folder(" 1\r\n", stored);
        QCOMPARE(RecordStore(folder.windir()).load().record.name, shown);
    }

    void aRecordAsHighOnDiskIsKeptAndToldTruly_data() {
        QTest::addColumn<bool>("readAtStartUp");
        QTest::addColumn<int>("onDisk"); // against a score of 3
        QTest::addColumn<QString>("told");
        const QString meanwhile = QStringLiteral("Mentre giocavi, Bea ha fatto un record di %1 "
                                                 "punti: il tuo punteggio non lo supera.");
        // clang-format off
        QTest::newRow("higher, saved meanwhile") << true << 40 << meanwhile.arg(40);
        QTest::newRow("as high, saved meanwhile") << true << 3 << meanwhile.arg(3);
        QTest::newRow("there before, unreadable at start-up") << false << 40 << "Il record è di Bea con 40 punti: il tuo punteggio non lo supera.";
        // clang-format on
    }
    void aRecordAsHighOnDiskIsKeptAndToldTruly() {
        QFETCH(bool, readAtStartUp);
        QFETCH(int, onDisk);
        QFETCH(QString, told);
        TestGame t;
        if (!readAtStartUp)
            QVERIFY(QDir(t.folders.dir.path()).mkdir(QStringLiteral("quarvel.txt")));
        t.start();
        QDir(t.folders.dir.path()).rmdir(QStringLiteral("quarvel.txt"));
        const QByteArray record = ' ' + QByteArray::number(onDisk) + "\r\n";
        write(t.recordFile("aquarvel.txt"), record);
        write(t.recordFile("quarvel.txt"), "Bea\r\n");
        playAndExit(t, 3);
        QCOMPARE(pair(t.folders.systemDir()), record + "|Bea\r\n");
        QCOMPARE(t.dialogs.texts().last(), told);
    }

    void aSaveKilledAtAnyStepLeavesTheOldPairOrTheNewOne_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("newPair");
        QTest::addColumn<QString>("name");
        for (const auto& [row, step] : {std::pair{"locked", Step::Locked},
                                        {"journal written", Step::JournalWritten},
                                        {"score staged", Step::ScoreStaged},
                                        {"score renamed", Step::ScoreWritten},
                                        {"name staged", Step::NameStaged},
                                        {"name renamed", Step::NameWritten},
                                        {"folder synced", Step::FolderSynced},
                                        {"done", Step::Done}})
            QTest::newRow(row) << int(step) << (step != Step::Locked) << "Anna";
        // Its journal is longer than the record files are read: start-up must still complete it.
        QTest::newRow("score renamed, a name of 6,000 bytes")
            << int(Step::ScoreWritten) << true << QString(3000, u'è');
    }
    void aSaveKilledAtAnyStepLeavesTheOldPairOrTheNewOne() {
        QFETCH(int, step);
        QFETCH(bool, newPair);
        QFETCH(QString, name);
        Folder folder(" 2\r\n", "Bea\r\n");
        write(folder.file("quarvel.txt.orig12"), "a backup of the teacher's");
        QCOMPARE(runTool({"save", folder.windir(), " 7", name, QString::number(step)}),
                 QStringList());
        const RecordStore::Loaded shown = RecordStore(folder.windir()).load();
        QCOMPARE(pair(folder.windir()),
                 newPair ? " 7\r\n|" + name.toUtf8() + "\r\n" : " 2\r\n|Bea\r\n");
        QCOMPARE(shown.record.score + shown.problem, newPair ? " 7\r\n" : " 2\r\n");
        // Of the cut save, no journal nor temporary file is left, and nothing else is gone.
        QCOMPARE(QDir(folder.dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList(
                     {"aquarvel.txt", "quarvel.txt", "quarvel.txt.orig12", "zenobra-record.lock"}));
    }

    // A save's real system calls: each file synced before its rename, the folder after each step.
    void aSaveSyncsEachFileBeforeItsRenameAndTheFolderAfter() {
        Folder folder(" 2\r\n", "Bea\r\n");
        const QString trace = folder.dir.filePath("trace"), path = folder.dir.path();
        QProcess strace; // its destructor ends one that hangs
        strace.start("strace",
                     {"-qq", "-y", "-o", trace, "-e", "trace=fsync,fdatasync,rename", "-E",
                      "ASAN_OPTIONS=detect_leaks=0", RECORD_TOOL, "save", path, " 9", "Anna"});
        QVERIFY(strace.waitForFinished(20000) && strace.readAllStandardOutput() == "written\n");
        static const QRegularExpression noise("\\.[A-Za-z0-9]{6}(?=[>\"])|\\d+<|[>\"]|\\s+= 0");
        QString calls = QString(bytes(trace)).remove(path + u'/').replace(path, "folder");
        QCOMPARE(calls.remove(noise).split(u'\n', Qt::SkipEmptyParts),
                 QStringList({"fdatasync(.zenobra-tmp.zenobra-record.journal)",
                              "rename(.zenobra-tmp.zenobra-record.journal, zenobra-record.journal)",
                              "fsync(folder)", "fdatasync(.zenobra-tmp.aquarvel.txt)",
                              "rename(.zenobra-tmp.aquarvel.txt, aquarvel.txt)",
                              "fdatasync(.zenobra-tmp.quarvel.txt)",
                              "rename(.zenobra-tmp.quarvel.txt, quarvel.txt)", "fsync(folder)",
                              "fsync(folder)"}));
    }

    // Without the lock (another copy's, or an outsider): a whole pair, or what is in the way, at
    // once.
    void aReaderWithoutTheLockShowsOnlyAWholePair_data() {
        QTest::addColumn<bool>("outsider"); // else another copy holds the folder's one lock
        QTest::addColumn<QString>("lesson");
        QTest::addColumn<QByteArray>("journal"); // "fifo" for a FIFO
        QTest::addColumn<QString>("told");       // start-up's problem or "ok"|score|name
        const QString saving = QStringLiteral(
            "Non riesco a leggere il record: un'altra copia del gioco lo sta salvando.");
        const QString broken = "Non riesco a leggere il record dal file @zenobra-record.journal: ";
        const QByteArray garbled = "zenobra-record 1\n@@\n";
        // clang-format off
        QTest::newRow("held, no journal: the pair on disk") << false << "15" << QByteArray() << saving + "|%207%0D%0A|Zero%0D%0A";
        QTest::newRow("held, a broken journal: nothing") << false << "15" << garbled << saving + "||";
        QTest::newRow("held, another lesson: nothing") << false << "3" << QByteArray() << saving + "||";
        QTest::newRow("outsider, a save under way") << true << "15" << QByteArray("zenobra-record 1\nIDcNCg==\nTnVvdmENCg==\n") << "ok|%207%0D%0A|Nuova%0D%0A";
        QTest::newRow("outsider, a broken journal") << true << "15" << garbled << broken + "il file è rovinato.||";
        QTest::newRow("outsider, a FIFO") << true << "15" << QByteArray("fifo") << broken + "al suo posto c'è una FIFO.||";
        // clang-format on
    }
    void aReaderWithoutTheLockShowsOnlyAWholePair() {
        QFETCH(bool, outsider);
        QFETCH(QString, lesson);
        QFETCH(QByteArray, journal);
        QFETCH(QString, told);
        Folder folder(" 7\r\n", "Zero\r\n"); // the new score is in place, not yet the name
        if (journal == "fifo")
            QCOMPARE(::mkfifo(qPrintable(folder.file("zenobra-record.journal")), 0644), 0);
        else if (!journal.isEmpty())
            write(folder.file("zenobra-record.journal"), journal);
        std::optional<FolderLock> held;
        if (!outsider)
            held.emplace(folder.file("zenobra-record.lock"), 0);
        ::chmod(qPrintable(folder.dir.path()), 0555);
        const int as = outsider ? nobody : 0;
        QCOMPARE(runTool({"load", folder.windir(), lesson}, as, as).join(u'|'),
                 QString(told).replace(u'@', folder.windir() + u'/'));
    }

    void aFullDiskLeavesTheRecordWhole() {
        NEEDS_ROOT("mounting a tiny tmpfs needs root");
        QTemporaryDir dir;
        QCOMPARE(::mount("tmpfs", qPrintable(dir.path()), "tmpfs", 0, "size=16k"), 0);
        write(dir.filePath("aquarvel.txt"), " 2\r\n");
        write(dir.filePath("quarvel.txt"), "Bea\r\n");
        write(dir.filePath("filler"), QByteArray(4 * 1024, 'x')); // all but the journal's block
        const auto saved = RecordStore(dir.path()).save(" 9", "Anna");
        const QByteArray pair =
            bytes(dir.filePath("aquarvel.txt")) + bytes(dir.filePath("quarvel.txt"));
        ::umount(qPrintable(dir.path()));
        QVERIFY2(saved.problem.endsWith(": la scrittura non è riuscita: il disco è pieno."),
                 qPrintable(saved.problem));
        QCOMPARE(pair, QByteArray(" 2\r\nBea\r\n"));
    }

    // What another child, or an accident, can leave at each path the game opens in the folder.
    void oddFilesAtTheRecordPathsAreToldAndNeverFollowed_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("told"); // in what start-up and the save say; "" for nothing
        const QString link = QStringLiteral("al suo posto c'è un collegamento a un altro file");
        // clang-format off
        QTest::newRow("an empty lock left by a killed save") << "zenobra-record.lock" << "empty" << "";
        for (const char* file : {"zenobra-record.lock", "zenobra-record.journal", "aquarvel.txt", "quarvel.txt"}) {
            QTest::addRow("%s: a FIFO", file) << file << "fifo" << "al suo posto c'è una FIFO";
            QTest::addRow("%s: a folder", file) << file << "folder" << "al suo posto c'è una cartella";
            QTest::addRow("%s: a link to a file outside", file) << file << "link" << link;
        }
        QTest::newRow("lock: a link to /dev/zero") << "zenobra-record.lock" << "zero" << link;
        // clang-format on
    }
    void oddFilesAtTheRecordPathsAreToldAndNeverFollowed() {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        QFETCH(QString, told);
        Folder folder(" 2\r\n", "Bea\r\n");
        QTemporaryDir elsewhere;
        const QString outside = elsewhere.filePath(QStringLiteral("outside"));
        write(outside, "untouched");
        const QString path = folder.windir() + u'/' + file;
        QFile::remove(path);
        if (kind == QLatin1String("empty"))
            write(path, {});
        else if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(qPrintable(path), 0666), 0);
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(path));
        else
            QVERIFY(QFile::link(kind == QLatin1String("zero") ? "/dev/zero" : outside, path));

        const QStringList loaded = runTool({"load", folder.windir()});
        const QStringList saved = runTool({"save", folder.windir(), " 9", "Anna"});
        QCOMPARE(bytes(outside), QByteArray("untouched"));
        if (told.isEmpty()) {
            QCOMPARE(loaded + saved, QStringList({"ok", "%202%0D%0A|Bea%0D%0A", "written"}));
            return;
        }
        QVERIFY2(loaded.value(0).contains(told) && loaded.value(0).contains(path),
                 qPrintable(loaded.join(u'\n')));
        QVERIFY2(saved.value(0).startsWith("failed: ") && saved.value(0).contains(told),
                 qPrintable(saved.join(u'\n')));
        // And it says that the score was not saved, nor left the new one beside the old name.
        QVERIFY2(saved.value(0).contains(": Non ho potuto registrare il record ") ||
                     saved.value(0).endsWith(". Il record non è stato registrato."),
                 qPrintable(saved.join(u'\n')));
        if (file != QLatin1String("aquarvel.txt"))
            QCOMPARE(bytes(folder.file("aquarvel.txt")), QByteArray(" 2\r\n"));
    }

    void theClassFolderIsTheSystemsSettingAsWritten_data() {
        QTest::addColumn<QByteArray>("setting"); // the system's zenobra.conf, %1: the folder
        QTest::addColumn<int>("mode");
        // The folder taken | why there is none | the lesson named | fixed by the teacher
        QTest::addColumn<QString>("told");
        // clang-format off
        QTest::newRow("a comma in the name") << QByteArray("[record]\nfolder = %1/3A, 3B\n") << 0644 << "%1/3A, 3B||9|";
        QTest::newRow("none: the player's own, made") << QByteArray("[record]\n# folder=%1/classe\n") << 0644 << "%1/new/zenobra||9|";
        QTest::newRow("empty") << QByteArray("[record]\nfolder=\n") << 0644 << "|L'impostazione di sistema zenobra.conf non dice in quale cartella tenere il record: folder= è vuoto.|9|";
        QTest::newRow("relative") << QByteArray("[record]\nfolder=classe\n") << 0644 << "|La cartella del record nell'impostazione di sistema zenobra.conf, classe, non è un percorso completo: deve cominciare con /.|9|";
        QTest::newRow("unreadable: no folder, the lesson of 15 for all, no register") << QByteArray("[record]\nfolder=%1/classe\n") << 0600 << "|Non riesco a leggere l'impostazione di sistema zenobra.conf, che sceglie la cartella del record e la lezione: si gioca con i multipli del 15.|15|fixed|off";
        // clang-format on
    }
    void theClassFolderIsTheSystemsSettingAsWritten() {
        QFETCH(QByteArray, setting);
        QFETCH(int, mode);
        QFETCH(QString, told);
        QTemporaryDir dir; // where nobody may make any folder
        ::chmod(qPrintable(dir.path()), 0777);
        // The player's own setting, a system one that names no folder, then the teacher's.
        for (const auto& [folder, text] :
             {std::pair{"home", "[record]\nfolder=" + dir.filePath("mine").toUtf8() +
                                    "\n[lesson]\ndivisor=9\nspiegazioni=no\n[registro]\nattivo=no"},
              {"first", QByteArray("[record]\n# folder=/var/lib/zenobra/classe")},
              {"second", QString(setting).arg(dir.path()).toUtf8()}}) {
            QDir().mkpath(dir.filePath(folder + QStringLiteral("/zenobra")));
            write(dir.filePath(folder + QStringLiteral("/zenobra/zenobra.conf")), text + '\n');
        }
        ::chmod(qPrintable(dir.filePath("second/zenobra/zenobra.conf")), mode_t(mode));
        qputenv("XDG_DATA_HOME", dir.filePath("new").toUtf8());
        qputenv("XDG_CONFIG_HOME", dir.filePath("home").toUtf8());
        qputenv("XDG_CONFIG_DIRS",
                (dir.filePath("first") + u':' + dir.filePath("second")).toUtf8());
        const QStringList taken = runTool({"folder"}, nobody, nobody);
        qunsetenv("XDG_CONFIG_DIRS");
        QCOMPARE(taken, QStringList(QString(told).replace("%1", dir.path())));
        // The player's own folder is made when missing; a class folder, the teacher's, never is.
        const QString windir = taken.value(0).section(u'|', 0, 0);
        QCOMPARE(QFileInfo::exists(windir), windir.startsWith(dir.filePath("new")));
        if (windir.isEmpty() || QFileInfo::exists(windir))
            return;
        const QString missing = "Non trovo la cartella del record " + windir + u'.';
        const QStringList loaded = runTool({"load", windir}, nobody, nobody);
        QCOMPARE(loaded + runTool({"save", windir, " 9", "Anna"}, nobody, nobody),
                 QStringList(
                     {missing, "|", "failed: " + missing + " Il record non è stato registrato."}));
        QVERIFY(!QFileInfo::exists(windir) && !QFileInfo::exists(dir.filePath("mine")));
    }

    // Two children of one class, and one from outside, on a setgid folder of their group.
    void aClassFolderIsSharedByItsGroupAlone() {
        NEEDS_ROOT("other users need root");
        QTemporaryDir dir;
        const int alunni = 4242, anna = 4201, bea = 4202, outsider = 4203;
        const QString folder = classFolder(dir, alunni), lock = folder + "zenobra-record.lock";
        QCOMPARE(runTool({"save", folder, " 5", "Anna"}, anna, alunni), QStringList("written"));
        // Shared by the class alone: a descriptor open for reading could hold the lock too.
        for (const char* name : {"aquarvel.txt", "quarvel.txt", "zenobra-record.lock"}) {
            struct stat file {};
            QCOMPARE(::stat(qPrintable(folder + name), &file), 0);
            QCOMPARE(file.st_mode & 07777, mode_t(0660));
            QCOMPARE(file.st_gid, gid_t(alunni));
        }
        // Anna's next save is killed half-way. Bea sees its pair when the folder is read-only;
        // when it is not, she finishes it in Anna's files, whose lock file Anna made read-only.
        runTool({"save", folder, " 7", "Anna", QString::number(int(Step::ScoreWritten))}, anna,
                alunni);
        for (const mode_t mode : {02555, 02775}) {
            QCOMPARE(::chmod(qPrintable(folder), mode), 0);
            QCOMPARE(runTool({"load", folder}, bea, alunni),
                     QStringList({"ok", "%207%0D%0A|Anna%0D%0A"}));
            QCOMPARE(::chmod(qPrintable(lock), 0444), 0);
        }
        QCOMPARE(runTool({"save", folder, " 9", "Bea"}, bea, alunni), QStringList("written"));
        // Read-only record files are kept; a lock nobody may open, and an outsider, are told so.
        const QString cannot = "failed: Non ho potuto registrare il record ";
        QCOMPARE(::chmod(qPrintable(folder + "aquarvel.txt"), 0444), 0);
        QCOMPARE(runTool({"load", folder}, bea, alunni) +
                     runTool({"save", folder, " 10", "Bea"}, bea, alunni),
                 QStringList({"ok", "%209%0D%0A|Bea%0D%0A",
                              cannot + "nel file " + folder +
                                  "aquarvel.txt: il file è protetto dalla scrittura."}));
        QCOMPARE(::chmod(qPrintable(lock), 0), 0);
        QCOMPARE(runTool({"save", folder, " 10", "Bea"}, bea, alunni) +
                     runTool({"save", folder, " 20", "Eva"}, outsider, outsider),
                 QStringList({cannot + "nella cartella " + folder.chopped(1) +
                                  ": non ho il permesso di aprire il file zenobra-record.lock.",
                              cannot + "nella cartella " + folder.chopped(1) +
                                  ": la cartella è protetta dalla scrittura."}));
        QCOMPARE(pair(folder), QByteArray(" 9\r\n|Bea\r\n"));
    }

    // Thirty children of one class save at random moments, and some are killed mid-save.
    void thirtyChildrenAtOnceKeepOneWholeRecord() {
        NEEDS_ROOT("other users need root");
        QTemporaryDir dir;
        const QString folder = classFolder(dir, 4242);
        std::array<QProcess, 30> children;
        for (int i = 0; i < 30; ++i)
            startTool(children[i], {"class", folder, "20", QString::number(4300 + i)}, 4300 + i,
                      4242);
        qint64 best = 0;
        int written = 0;
        QSet<qint64> cutShort;  // saves killed before they said how they ended
        QStringList registered; // "login c<score>" of each match that said its line was written
        for (int i = 0; i < 30; ++i) {
            QProcess& child = children[i];
            QVERIFY2(child.waitForFinished(60000), "a child hangs");
            const QByteArray heard = child.readAllStandardOutput();
            for (const QByteArray& line : heard.split('\n'))
                if (line.startsWith("registered "))
                    registered << QStringLiteral("%1 c%2").arg(4300 + i).arg(line.mid(11));
            QVERIFY2(!heard.contains("load bad"), heard.constData());
            for (const QByteArray& line : heard.split('\n'))
                if (line.startsWith("written ")) {
                    best = std::max(best, line.mid(8).toLongLong());
                    ++written;
                }
            if (const QByteArray last = heard.trimmed().split('\n').last();
                last.startsWith("start "))
                cutShort << last.mid(6).toLongLong();
        }
        const QByteArray score = bytes(folder + "aquarvel.txt");
        const qint64 onDisk = score.trimmed().toLongLong();
        QCOMPARE(bytes(folder + "quarvel.txt"), "c" + score.trimmed() + "\r\n");
        // A save killed after its last rename may stand above the best one that said so.
        QVERIFY2(onDisk == best || (onDisk > best && cutShort.contains(onDisk)),
                 qPrintable(QStringLiteral("%1 on disk, %2 the best").arg(onDisk).arg(best)));
        QVERIFY2(written > 0 && !cutShort.isEmpty(), "the class neither saved nor was killed");
        // A line for each match that ended, whole, and none for a match killed before its end.
        const QByteArray all = bytes(folder + "registro.csv");
        QVERIFY(all.startsWith(registerHeader) && all.endsWith("\r\n"));
        QCOMPARE(all.count("data e ora"), 1);
        const ClassRegister::Read read = ClassRegister::parse(all);
        QStringList lines;
        for (const ClassRegister::Match& match : read.matches)
            lines << match.user + u' ' + match.name;
        QCOMPARE(read.malformed, 0);
        std::ranges::sort(lines);
        std::ranges::sort(registered);
        QCOMPARE(lines, registered);
        struct stat file {};
        QCOMPARE(::stat(qPrintable(folder + "registro.csv"), &file), 0);
        QCOMPARE(file.st_mode & 07777, mode_t(0660));
    }

    // The register made private by the teacher: the class may append to it, not read it.
    void aPrivateRegisterTakesTheClasssLinesUnread() {
        NEEDS_ROOT("other users need root");
        QTemporaryDir dir;
        const int alunni = 4242, maestra = 4200, anna = 4201;
        const QString folder = classFolder(dir, alunni), path = folder + "registro.csv";
        write(path, {});
        QVERIFY(::chown(qPrintable(path), maestra, alunni) == 0 &&
                ::chmod(qPrintable(path), 0620) == 0);
        QCOMPARE(runTool({"append", folder, "Anna"}, anna, alunni), QStringList("ok"));
        QCOMPARE(runTool({"append", folder, "Bea"}, anna, alunni), QStringList("ok"));
        QProcess peek;
        peek.start("setpriv", {"--reuid=4201", "--regid=4242", "--clear-groups", "cat", path});
        QVERIFY(peek.waitForFinished(10000) && peek.exitCode() != 0);
        const QByteArray line = ";alunno;%1;15;gara;0;0;0;;uscita;0;no;\r\n";
        QCOMPARE(bytes(path), registerHeader + "2026-12-08 09:00:00" +
                                  QByteArray(line).replace("%1", "Anna") + "2026-12-08 09:00:00" +
                                  QByteArray(line).replace("%1", "Bea"));
        struct stat file {};
        QVERIFY(::stat(qPrintable(path), &file) == 0 && file.st_uid == uid_t(maestra) &&
                (file.st_mode & 07777) == 0620);
    }

    // A lock file an earlier version left open to every user, and another child's: a user
    // outside the class who holds it does not hold up the class, and it is made private.
    void aLockFileOpenToAllIsMadePrivate() {
        NEEDS_ROOT("other users need root");
        QTemporaryDir dir;
        const int alunni = 4242, anna = 4201, bea = 4202;
        const QString folder = classFolder(dir, alunni), lock = folder + "zenobra-record.lock";
        write(lock, {});
        QVERIFY(::chown(qPrintable(lock), anna, alunni) == 0 &&
                ::chmod(qPrintable(lock), 0664) == 0);
        QProcess outsider; // holds the lock as long as the test lasts
        outsider.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", "flock",
                                   lock, "-c", "echo held; sleep 60"});
        QVERIFY2(outsider.waitForReadyRead(10000), "the outsider never held the lock");
        QCOMPARE(runTool({"save", folder, " 7", "Bea"}, bea, alunni), QStringList("written"));
        struct stat file {};
        QVERIFY(::stat(qPrintable(lock), &file) == 0);
        QCOMPARE(file.st_mode & 0777, 0660u);
        QCOMPARE(pair(folder), QByteArray(" 7\r\n|Bea\r\n"));
        // Nobody outside the class can open it now; the class saves at once.
        QProcess again;
        again.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", "flock", "-n",
                                lock, "true"});
        QVERIFY(again.waitForFinished(10000) && again.exitCode() != 0);
        QCOMPARE(runTool({"save", folder, " 9", "Anna"}, anna, alunni), QStringList("written"));
    } // the outsider is killed with its QProcess

    // A copy that waited while another put a new lock file in place holds the one at the path.
    void aLockWaitedForIsTheOneAtThePath() {
        QTemporaryDir dir;
        const QString path = dir.filePath("lock"), other = dir.filePath("other");
        auto first = std::make_unique<FolderLock>(path, 0);
        std::optional<FolderLock> second;
        std::thread waiting([&] { second.emplace(path, 5000); });
        QThread::msleep(100); // it waits on the first file
        write(other, {});
        QCOMPARE(::rename(qPrintable(other), qPrintable(path)), 0);
        first.reset();
        waiting.join();
        QCOMPARE(second->state(), FolderLock::State::Held);
        QCOMPARE(FolderLock(path, 0).state(), FolderLock::State::Busy);
    }

    // On a real ext4, a full disk takes no half line, not even from a register that may only be
    // appended to (chattr +a): a line that does not fit is not begun, and the next, with room
    // again, is whole.
    void aFullDiskOnExt4TakesNoHalfLine_data() {
        QTest::addColumn<bool>("appendOnly");
        QTest::newRow("chattr +a") << true;
        QTest::newRow("a plain file") << false;
    }
    void aFullDiskOnExt4TakesNoHalfLine() {
        QFETCH(bool, appendOnly);
        NEEDS_ROOT("a loop-mounted file system needs root");
        QTemporaryDir dir;
        const QString image = dir.filePath("ext4.img"), disk = dir.filePath("disco");
        QVERIFY(QDir().mkdir(disk));
        QCOMPARE(QProcess::execute("truncate", {"-s", "8M", image}), 0);
        QCOMPARE(QProcess::execute("mkfs.ext4", {"-q", "-F", "-b", "4096", image}), 0);
        QCOMPARE(QProcess::execute("mount", {"-o", "loop", image, disk}), 0);
        const auto unmount = qScopeGuard([&] { QProcess::execute("umount", {disk}); });
        const QString path = disk + "/registro.csv", filler = disk + "/filler";
        // The last block all but full: the line's start fits, its end does not.
        const QByteArray lines =
            registerHeader + QByteArray(4096 - 20 - registerHeader.size(), 'x') + "\r\n";
        write(path, lines);
        if (appendOnly)
            QCOMPARE(QProcess::execute("chattr", {"+a", path}), 0);
        // Every byte of the disk taken: what a write holds back for later is given back at sync.
        QFile fill(filler);
        QVERIFY(fill.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        for (qsizetype chunk = 1 << 16; chunk > 0;)
            if (fill.write(QByteArray(chunk, 'f')) != chunk &&
                (::fsync(fill.handle()) != 0 || fill.write(QByteArray(chunk, 'f')) != chunk))
                chunk /= 2;
        fill.close();
        ClassRegister::Match match;
        match.date = {2026, 12, 8};
        match.time = {9, 0};
        match.name = "Anna";
        QCOMPARE(ClassRegister::append(disk, match),
                 "Non ho potuto scrivere la partita nel registro " + path + ": il disco è pieno.");
        QCOMPARE(bytes(path), lines);
        QVERIFY(QFile::remove(filler));
        ::sync();
        QCOMPARE(ClassRegister::append(disk, match), QString());
        QCOMPARE(bytes(path), lines + ClassRegister::line(match));
    }
};

QTEST_GUILESS_MAIN(RecordsTest)
#include "tst_records.moc"
