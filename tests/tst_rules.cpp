// The rules, in tables worked out from the game's own numbers; draws scripted (r = 0, the largest
// r below 1, steps of 1/8), so a row shows a draw's range, offset and place in the order.
#include "FakePlatform.h"
#include "game/Lessons.h"
#include "platform/Int16.h"

#include <QRegularExpression>
#include <QtTest>

#include <map>
#include <random>

namespace {
constexpr float rMax = 0.99999994f; // the largest float below 1
const QRegularExpression nonDigits(QStringLiteral("\\D+")), digits(QStringLiteral("\\d+")),
    signedFigures(QStringLiteral("-?\\d+"));

// "paricmd L160 T300, disparicmd T0": coordinates in the board's units, 512 down the window.
using Places = QMap<QString, QPoint>;
Places places(const QString& text) {
    Places result;
    for (const QString& item : text.split(u',', Qt::SkipEmptyParts)) {
        const QStringList parts = item.simplified().split(u' ');
        QPoint& at = result[parts[0]];
        at = {-1, -1};
        for (const QString& part : parts.mid(1))
            (part[0] == u'L' ? at.rx() : at.ry()) = part.mid(1).toInt();
    }
    return result;
}

const char* const targets[] = {"paricmd",    "paricmd1",    "paricmd2",
                               "disparicmd", "disparicmd1", "disparicmd2"};
// Their design places in pixels.
const QPoint designPlaces[] = {{160, 104}, {192, 280}, {104, 432},
                               {384, 104}, {456, 344}, {336, 456}};

QString visibility(Board& board) {
    QString shown;
    for (const char* name : targets)
        shown += board.find(QString::fromLatin1(name))->isVisible() ? u'V' : u'.';
    return shown;
}

// A table written one row a line, its fields split at spaces.
QList<QStringList> rows(const char* table) {
    QList<QStringList> all;
    for (const QString& line : QString::fromUtf8(table).split(u'\n', Qt::SkipEmptyParts))
        all << line.split(u' ', Qt::SkipEmptyParts);
    return all;
}

float draw(const QString& r) {
    return r == u"max" ? rMax : r.toFloat();
}

// How many times a control told its observer of each kind of change.
struct Changes final : BoardObserver {
    void controlChanged(const Control&, ControlChange change) override { ++told[int(change)]; }
    int told[4] = {};
};

// The figures a reason quotes for why `n` fails the simple criterion of `d`, in order, worked
// out by arithmetic: digits, sums, the last two, the places' sums and difference, the divisor.
QList<int> figures(int n, int d) {
    QList<int> digits, places[2], sums{0, 0}; // places counted from the right: odd, even
    for (int rest = n, place = 0; rest > 0; rest /= 10, ++place) {
        digits.prepend(rest % 10);
        places[place % 2] << rest % 10;
        sums[place % 2] += rest % 10;
    }
    const auto added = [](const QList<int>& terms, int sum) {
        return terms.size() > 1 ? terms + QList{sum} : terms.isEmpty() ? QList{0} : terms;
    };
    switch (d) {
    case 2:
        return {n % 10};
    case 5:
        return {n % 10, 0, 5};
    case 10:
        return {n % 10, 0};
    case 4: // the last two are 00, or they form a multiple of 4
        return n < 10 ? QList{n, 4} : QList{n % 100, 0, 4};
    case 25:
        return n < 10 ? QList{n, 25} : QList{n % 100, 0, 25, 50, 75};
    case 11:
        if (n < 10)
            return {n, n, 11}; // no digit in an even place
        return added(places[0], sums[0]) + added(places[1], sums[1]) +
               QList{std::max(sums[0], sums[1]), std::min(sums[0], sums[1]),
                     std::abs(sums[0] - sums[1]), 11};
    default: // 3 and 9
        return added(digits, sums[0] + sums[1]) + QList{d};
    }
}

// Whether the explanation is true of `n` in the lesson of `d`: the parts of a two-part rule
// that `n` passes and fails, each figure quoted, and the division.
bool explainsTruly(const QString& why, int n, int d) {
    static const std::map<int, std::pair<int, int>> twoParts{
        {6, {2, 3}}, {12, {3, 4}}, {15, {3, 5}}};
    QList<int> expected = figures(n, d);
    QString verdict = QStringLiteral("Infatti ");
    if (const auto parts = twoParts.find(d); parts != twoParts.end()) {
        const auto [p, q] = parts->second;
        if (n % p && n % q)
            expected = QList{p, q} + figures(n, p) + figures(n, q), verdict = "Infatti non";
        else
            expected = n % p ? QList{q, p} + figures(n, p) : QList{p, q} + figures(n, q),
            verdict = "Infatti è divisibile per " + QString::number(n % p ? q : p) + ", ma";
    }
    QList<int> quoted; // then the division's: n : d = its quotient, with its remainder
    for (const QRegularExpressionMatch& figure : signedFigures.globalMatch(why))
        quoted << figure.captured().toInt(); // "-6" is no difference of two sums
    return why.startsWith(verdict) && quoted == expected + QList{n, d, n / d, n % d} &&
           QString(why.section(u'\n', 1)).replace(digits, QStringLiteral("#")) ==
               u"# : # = # con il resto di #.";
}

// The examples of the teachers' pages, as written there, and what each means.
struct DocsExample {
    QString text;
    QString taken; // as aSettingMeansWhatItSays writes it
};
const DocsExample docsExamples[] = {
    {"[record]\nfolder=/var/lib/zenobra/classe\n", "15 sì sì no 1300"},
    {"[lesson]\ndivisor=3\nexplanations=no\n", "3! no sì no 1300"},
    {"[register]\nenabled=no\n", "15 sì no no 1300"},
    {"[match]\npractice=sì   # niente orologio e niente record\npace=2        # 1,3 (o 1.3), 2 o "
     "3: i secondi fra un salto e l'altro\n",
     "15 sì sì sì! 2000!"},
    {"[match]\npractice=no   # una gara per tutti, con l'orologio e il record\n",
     "15 sì sì no! 1300!"},
    {"[review]\nenabled=no\n", "15 sì sì no 1300 senza ripasso"},
    {"[review]\nalways=sì\n", "15 sì sì no 1300 sempre ripasso"},
    {"[voice]\nenabled=sì   # gli avvisi letti ad alta voce, per tutti\n",
     "15 sì sì no 1300 voce sì!"},
};

QString bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

float rForMove(int k) {
    return (float(k) - 0.5f) / 6.0f;
}
} // namespace

class RulesTest : public QObject {
    Q_OBJECT

private slots:
    void eachMoveShowsAndHidesItsButtons_data() {
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("fromHidden"); // paricmd, paricmd1, paricmd2, disparicmd...
        QTest::addColumn<QString>("fromShown");
        for (const QStringList& row : rows(R"(
            1 V.V... V.VV..
            2 VV..VV VVVVVV
            3 ....VV ..V.VV
            4 .VVVV. VVVVV.
            5 ....V. ..V.V.
            6 .....V V.VV.V)"))
            QTest::newRow(qPrintable(row[0])) << row[0].toInt() << row[1] << row[2];
    }
    void eachMoveShowsAndHidesItsButtons() {
        QFETCH(int, k);
        QFETCH(QString, fromHidden);
        QFETCH(QString, fromShown);
        for (bool shown : {false, true}) {
            TestGame t;
            for (const char* name : targets)
                t.game.board.find(QString::fromLatin1(name))->setVisible(shown);
            t.random.script = {rForMove(k)};
            t.game.shuffle.Timer2_Timer();
            QCOMPARE(visibility(t.game.board), shown ? fromShown : fromHidden);
        }
    }

    void eachMoveDrawsItsPlacesAndNumbers_data() {
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("r");     // for every draw after the move's: 0, max, or n/8
        QTest::addColumn<QString>("moved"); // left (L) and top (T) in the board's units
        QTest::addColumn<QString>("renumbered");
        // ndispari is 21, ndispari1 38 and ndispari2 33 before: each renumbering reseeds first.
        for (const QStringList& row : rows(R"(
            1 0     disparicmd L0 T0, paricmd1 L0, paricmd T0
            1 max   disparicmd L449 T1099, paricmd1 L299, paricmd T599
            1 steps disparicmd L56 T275, paricmd1 L112, paricmd T300
            2 0     paricmd L0 T0, paricmd1 L0 T0                                        | disparicmd1 23 38
            2 max   paricmd L799 T799, paricmd1 L299 T299                                | disparicmd1 3008 38
            2 steps paricmd L100 T200, paricmd1 L112 T150                                | disparicmd1 1898 38
            3 0     paricmd2 T0, paricmd1 T0, disparicmd1 T0, disparicmd2 L0 T0          | disparicmd 21 21
            3 max   paricmd2 T149, paricmd1 T299, disparicmd1 T299, disparicmd2 L49 T149 | disparicmd 13506 21
            3 steps paricmd2 T18, paricmd1 T75, disparicmd1 T112, disparicmd2 L31 T75    | disparicmd 10146 21
            4 0     disparicmd L1 T1, paricmd1 L0 T0
            4 max   disparicmd L300 T1000, paricmd1 L299 T499
            4 steps disparicmd L38 T251, paricmd1 L150 T187
            5 0     paricmd2 T0, paricmd1 T0, disparicmd1 T0, disparicmd2 T0, disparicmd T0
            5 max   paricmd2 T199, paricmd1 T299, disparicmd1 T899, disparicmd2 T499, disparicmd T299
            5 steps paricmd2 T25, paricmd1 T75, disparicmd1 T337, disparicmd2 T250, disparicmd T187
            6 0     paricmd T0, paricmd2 T0, disparicmd T0, disparicmd1 L0 T0, disparicmd2 T0         | disparicmd2 18 33
            6 max   paricmd T199, paricmd2 T29, disparicmd T899, disparicmd1 L299 T69, disparicmd2 T249 | disparicmd2 1203 33
            6 steps paricmd T25, paricmd2 T7, disparicmd T337, disparicmd1 L225 T35, disparicmd2 T156 | disparicmd2 1068 33)")) {
            const QStringList parts = row.mid(2).join(u' ').split(u'|');
            QTest::newRow(qPrintable(row[0] + u' ' + row[1]))
                << row[0].toInt() << row[1] << parts[0] << parts.value(1).trimmed();
        }
    }
    void eachMoveDrawsItsPlacesAndNumbers() {
        QFETCH(int, k);
        QFETCH(QString, r);
        QFETCH(QString, moved);
        QFETCH(QString, renumbered);
        TestGame t;
        GameState& state = t.game.state;
        state.ndispari = 21;
        state.ndispari1 = 38;
        state.ndispari2 = 33;
        t.random.script = {rForMove(k)};
        for (int i = 1; i <= 7; ++i)
            t.random.script.push_back(r == u"0" ? 0.f : r == u"max" ? rMax : float(i) / 8);
        const Places expected = places(moved);
        const QStringList renumber = renumbered.split(u' ', Qt::SkipEmptyParts);
        t.game.shuffle.Timer2_Timer();

        for (int i = 0; i < 6; ++i) { // the others stay at their design places
            const Control& button = *t.game.board.find(QString::fromLatin1(targets[i]));
            const QPoint place = expected.value(button.name(), {-1, -1});
            const int x = place.x() >= 0 ? place.x() : designPlaces[i].x();
            const int y = place.y() >= 0 ? qRound(place.y() * 672.0 / 512.0) : designPlaces[i].y();
            QCOMPARE(button.position(), QPoint(x, y));
        }
        std::vector<int> reseeds{ScriptedRandom::timeReseed};
        if (!renumber.isEmpty()) {
            reseeds.push_back(renumber[2].toInt());
            QCOMPARE(t.game.board.find(renumber[0])->caption(), renumber[1]);
            const qint16 kept = renumber[0] == u"disparicmd"    ? state.ndispari
                                : renumber[0] == u"disparicmd1" ? state.ndispari1
                                                                : state.ndispari2;
            QCOMPARE(QString::number(kept), renumber[1]);
        }
        QCOMPARE(t.random.reseeds, reseeds);
    }

    void startUpGivesTheSixFirstNumbersFromTheirSeeds_data() {
        QTest::addColumn<QString>("r");
        QTest::addColumn<QStringList>("numbers"); // disparicmd, 1, 2, paricmd, 1, 2
        for (const QStringList& row : rows(R"(
            0   16   22   20   15   15   15
            max 1501 1507 1505 1500 2250 12000)"))
            QTest::newRow(qPrintable(row[0])) << row[0] << row.mid(1);
    }
    void startUpGivesTheSixFirstNumbersFromTheirSeeds() {
        QFETCH(QString, r);
        QFETCH(QStringList, numbers);
        TestGame t;
        t.random.script.assign(6, draw(r));
        t.game.startUp.Form_Activate();
        const Board& b = t.game.board;
        QCOMPARE(
            QStringList({b.disparicmd.caption(), b.disparicmd1.caption(), b.disparicmd2.caption(),
                         b.paricmd.caption(), b.paricmd1.caption(), b.paricmd2.caption()}),
            numbers);
    }

    void startUpAsksGreetsAndStartsTheClock_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("greeting");
        QTest::newRow("Anna") << "Anna"
                              << " Anna vediamo se sei un vero campione  ";
        QTest::newRow("cancelled") << "" << QStringLiteral("  vediamo se sei un vero campione  ");
    }
    void startUpAsksGreetsAndStartsTheClock() {
        QFETCH(QString, name);
        QFETCH(QString, greeting);
        TestGame t;
        t.start(name);
        QCOMPARE(t.dialogs.boxes(),
                 QStringList({"input Zenobra: Come ti chiami?", "Zenobra: " + greeting}));
        const Board& b = t.game.board;
        QCOMPARE(b.lblnome1.caption(), name);
        QCOMPARE(b.lblconto.caption(), QStringLiteral("00:05:00"));
        const GameState& s = t.game.state;
        QCOMPARE(QList<int>({s.ore, s.minuti, int(s.secondi), s.restanti, s.punti}),
                 QList<int>({0, 5, 0, 300, 0}));
        QVERIFY(b.Timer1.isEnabled() && !b.Timer2.isEnabled());
        // Load's question, initialization's, then activation's six numbers and its question.
        const int time = ScriptedRandom::timeReseed;
        QCOMPARE(t.random.reseeds,
                 (std::vector<int>{time, time, 0, 0, 0, 0, 0, b.paricmd1.caption().toInt(), time}));
        QVERIFY(b.paricmd.caption().toInt() != b.disparicmd.caption().toInt() - 1); // 0 stirs
    }

    void aHitJudgesScoresAndRenumbers_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("r");
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("seed"); // numpari2 is 45 and ndispari2 48 before the hit
        QTest::addColumn<QString>("warning");
        const QString warnings[] = {
            {},
            QStringLiteral("Attenzione!  77  non è  un numero divisibile per 15"),
            QStringLiteral("Attenzione! Hai sbagliato:  77  non è  un numero divisibile per 15"),
            QStringLiteral("Attenzione!  77 non è  un numero divisibile per 15")};
        // The last column: which warning; 0 for none. An r of 15's place is drawn again.
        for (const QStringList& row : rows(R"(
            paricmd     0            15    0  0
            paricmd     max          13500 0  0
            paricmd1    0            30    0  0
            paricmd1    max          1515  0  0
            paricmd2    0            15    45 0
            paricmd2    max          600   45 0
            disparicmd  0            2     0  1
            disparicmd  max          151   0  1
            disparicmd  0.08677,0.5  77    0  1
            disparicmd  0.0534       10    0  1
            disparicmd1 -            6001  0  2
            disparicmd2 0            3     48 3
            disparicmd2 max          1502  48 3
            disparicmd2 0.00801,0.5  753   48 3)"))
            QTest::newRow(qPrintable(row[0] + u' ' + row[1]))
                << row[0] << row[1] << row[2] << row[3].toInt() << warnings[row[4].toInt()];
    }
    void aHitJudgesScoresAndRenumbers() {
        QFETCH(QString, button);
        QFETCH(QString, r);
        QFETCH(QString, number);
        QFETCH(int, seed);
        QFETCH(QString, warning);
        TestGame t;
        GameState& state = t.game.state;
        state.numpari2 = 45;
        state.ndispari2 = 48;
        Control& target = *t.game.board.find(button);
        target.setCaption(QStringLiteral("77"));
        target.show();
        for (const QString& value : r.split(u',', Qt::SkipEmptyParts))
            if (value != u"-")
                t.random.script.push_back(draw(value));
        Changes changes; // the flash loops set one colour thousands of times: told once
        target.setObserver(&changes);
        const bool right = warning.isEmpty();
        if (!right) // the red flash is on while the warning is open
            t.dialogs.answer(Answer::Ok, [&] { QCOMPARE(target.background(), 0xFFFF0000); });
        t.game.controlClicked(target);

        QCOMPARE(target.caption(), number);
        QVERIFY(!target.isVisible());
        QCOMPARE(target.background(), 0xFF00FFFF);
        QCOMPARE(changes.told[int(ControlChange::Background)], 2);
        QCOMPARE(t.random.reseeds.front(), seed);
        QCOMPARE(t.random.reseeds.at(1), ScriptedRandom::timeReseed); // then a new question
        QCOMPARE(state.punti, qint16(right ? 1 : -4));
        QCOMPARE(t.game.board.Punteggio.caption(), right ? QStringLiteral(" 1") : "-4");
        QCOMPARE(t.sound.played, QStringList(right ? "/opt/zenobra/suoni/sparo.wav"
                                                   : "/opt/zenobra/suoni/esplosi.wav"));
        // The first line as it always was, byte for byte; the reason below it.
        QCOMPARE(t.dialogs.boxes().join(u'|').section(QStringLiteral("\n\n"), 0, 0),
                 right ? QString() : "Zenobra: " + warning);
        if (button == QLatin1String("paricmd2"))
            QCOMPARE(QString::number(state.numpari2), number);
        if (button == QLatin1String("disparicmd2"))
            QCOMPARE(QString::number(state.ndispari2), number);
    }

    void theScoreIsShownAsItAlwaysWas_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("shown"); // or the run-time error that ends the program
        const QString overflow = QStringLiteral("Errore di run-time '6':\n\nOverflow");
        // clang-format off
        QTest::newRow("right at -4") << -4 << "paricmd" << " -3";
        QTest::newRow("right at 32766") << 32766 << "paricmd" << " 32767";
        QTest::newRow("right at 32767") << 32767 << "paricmd" << overflow;
        QTest::newRow("wrong at -32764") << -32764 << "disparicmd1" << "-32768";
        QTest::newRow("wrong at -32765") << -32765 << "disparicmd1" << overflow;
        // clang-format on
    }
    void theScoreIsShownAsItAlwaysWas() {
        QFETCH(int, before);
        QFETCH(QString, button);
        QFETCH(QString, shown);
        TestGame t;
        t.game.state.punti = qint16(before);
        t.game.board.Timer1.setEnabled(true);
        bool timersHeld = false;
        const bool overflow = shown.startsWith(u'E');
        if (overflow && button.startsWith(u'd'))
            t.dialogs.answer(Answer::Ok); // the wrong hit's warning
        t.dialogs.answer(Answer::Ok, [&] { timersHeld = !t.game.board.Timer1.isEnabled(); });
        t.game.controlClicked(*t.game.board.find(button));
        if (overflow) {
            QCOMPARE(t.dialogs.texts().last(), shown);
            QVERIFY(timersHeld);
            QVERIFY(t.game.hasEnded());
            QCOMPARE(t.game.state.punti, qint16(before));
        } else {
            QCOMPARE(t.game.board.Punteggio.caption(), shown);
        }
    }

    // Nothing moves or counts in a pause; a click, or P again, takes the match up as it was.
    void aPauseStopsTheMatchAndResumesItAsItWas() {
        TestGame t;
        t.start();
        Board& b = t.game.board;
        t.game.backgroundClicked();
        for (int resumeBy : {0, 1}) {
            const QString shown = visibility(b), clock = b.lblconto.caption();
            t.game.pauseToggled();
            QVERIFY(b.isPaused());
            QVERIFY(!b.Timer1.isEnabled());
            QVERIFY(!b.Timer2.isEnabled());
            QCOMPARE(visibility(b), "......");
            QCOMPARE(b.lblMessage.caption(), "Pausa");
            QVERIFY(b.lblMessage.isVisible());
            resumeBy ? t.game.pauseToggled() : t.game.backgroundClicked();
            QCOMPARE(visibility(b), shown);
            QCOMPARE(b.lblconto.caption(), clock);
            QVERIFY(!b.lblMessage.isVisible());
            QVERIFY(!b.isPaused());
            QVERIFY(b.Timer1.isEnabled());
            QVERIFY(b.Timer2.isEnabled());
            t.game.timerTicked(b.Timer2);
        }
        t.game.pauseToggled();
        t.dialogs.answer(Answer::Yes);
        t.game.menuClicked(u"Next"); // a new match ends the pause
        QVERIFY(!b.isPaused() && !b.lblMessage.isVisible() && b.Timer1.isEnabled());
    }

    // A practice match, or a match at a slower pace: no clock, and no record whatever the score.
    void aPracticeMatchKeepsNoClockNorRecord_data() {
        QTest::addColumn<QString>("practice");
        QTest::addColumn<QString>("pace");
        QTest::addColumn<int>("interval");
        // clang-format off
        QTest::newRow("a match, as designed") << "no" << " 1,3" << 1300;
        QTest::newRow("practice") << "Sì" << "" << 1300;
        QTest::newRow("2 s") << "" << "2" << 2000;
        QTest::newRow("3 s") << "no" << "3" << 3000;
        // clang-format on
    }
    void aPracticeMatchKeepsNoClockNorRecord() {
        QFETCH(QString, practice);
        QFETCH(QString, pace);
        QFETCH(int, interval);
        TestGame t;
        Settings::Values own;
        if (!practice.isEmpty())
            own.insert("match/practice", practice);
        if (!pace.isEmpty())
            own.insert("match/pace", pace);
        t.folders.config = Settings::parse({}, own);
        t.start();
        Board& b = t.game.board;
        const bool match = interval == 1300 && practice != u"Sì";
        QCOMPARE(b.Timer2.interval(), interval);
        QCOMPARE(b.Timer1.isEnabled(), match);
        QCOMPARE(b.find(u"Label11")->caption() + u' ' + b.lblconto.caption(),
                 match ? "Tempo restante 00:05:00" : "Allenamento --:--:--");
        // A pause does not give a practice match a clock.
        t.game.backgroundClicked();
        t.game.pauseToggled();
        t.game.pauseToggled();
        QCOMPARE(b.Timer1.isEnabled(), match);
        t.game.controlClicked(b.paricmd); // a point: a record, over empty files
        t.game.controlClicked(b.cmdExit);
        QCOMPARE(QFileInfo(t.recordFile("aquarvel.txt")).size(), match ? 4 : 0); // " 1\r\n"
        QCOMPARE(t.dialogs.texts().last().startsWith(u"Ok ho registrato"), match);
    }

    // Each setting as the teacher's file says it, over the child's own; what cannot be used is
    // told, naming the key and the value, and what is done instead.
    void aSettingMeansWhatItSays_data() {
        QTest::addColumn<QString>("teacher"); // the file as written
        QTest::addColumn<QString>("player");  // the child's own: key=value, a line each
        // lesson, explanations, register, practice, pace; ! where the teacher fixed it
        QTest::addColumn<QString>("taken");
        QTest::addColumn<QString>("told");
        const QString system = "Nelle impostazioni di sistema, in ";
        const QString childs = ": vale la scelta di ciascun bambino.";
        // clang-format off
        QTest::newRow("nothing set") << "" << "" << "15 sì sì no 1300" << "";
        QTest::newRow("the old keys, yes and no in any case") << "[lesson]\ndivisor=3\nspiegazioni=NO\n[registro]\nattivo= Off \n" << "" << "3! no no no 1300" << "";
        for (const char* yes : {"sì", "si", "Yes", "VERO", "true", "1", " on "})
            QTest::addRow("practice=%s", yes) << QString("[match]\npractice=%1\n").arg(yes) << "" << "15 sì sì sì! 1300" << "";
        for (const char* no : {"no", "Falso", "false", "0", "OFF"})
            QTest::addRow("enabled=%s", no) << QString("[register]\nenabled=%1\n").arg(no) << "" << "15 sì no no 1300" << "";
        QTest::newRow("a comment after the value") << "[match]\npractice=yes   ; no clock\n; a comment\n# pace=3\n" << "" << "15 sì sì sì! 1300" << "";
        QTest::newRow("the register: neither yes nor no") << "[register]\nenabled=forse\n" << "" << "15 sì no no 1300" << system + "[register], «enabled=forse» non si può usare: il registro resta spento.";
        QTest::newRow("explanations: empty") << "[lesson]\nexplanations=\n" << "" << "15 sì sì no 1300" << system + "[lesson], «explanations=» è vuoto: ogni avviso spiega perché il numero non va.";
        QTest::newRow("no lesson") << "[lesson]\ndivisor=7\n" << "lesson/divisor=3" << "15! sì sì no 1300" << system + "[lesson], «divisor=7» non si può usare: si gioca con i multipli del 15.";
        QTest::newRow("an empty lesson") << "[lesson]\ndivisor=\n" << "" << "15! sì sì no 1300" << system + "[lesson], «divisor=» è vuoto: si gioca con i multipli del 15.";
        QTest::newRow("the child's own lesson, none") << "" << "lesson/divisor=8" << "15 sì sì no 1300" << "Nelle impostazioni di questo utente, in [lesson], «divisor=8» non si può usare: si gioca con i multipli del 15.";
        QTest::newRow("empty match values: the child's") << "[match]\npractice=\npace=\n" << "match/practice=yes\nmatch/pace=2" << "15 sì sì sì 2000" << system + "[match], «practice=» è vuoto" + childs + '\n' + system + "[match], «pace=» è vuoto" + childs;
        QTest::newRow("a race at a practice pace") << "[match]\npractice=no\npace=3\n" << "" << "15 sì sì no! 1300!" << system + "[match], «practice=no» e «pace=3» non vanno insieme, perché con i numeri più lenti si gioca un allenamento: i numeri saltano ogni 1,3 secondi.";
        QTest::newRow("a race: no slower pace") << "[match]\npractice=no\n" << "match/pace=2" << "15 sì sì no! 1300!" << "";
        QTest::newRow("a review for none") << "[review]\nenabled=OFF\n" << "" << "15 sì sì no 1300 senza ripasso" << "";
        QTest::newRow("a review for none, unusable") << "[review]\nenabled=forse\n" << "" << "15 sì sì no 1300 senza ripasso" << system + "[review], «enabled=forse» non si può usare: il ripasso resta spento, e non si tiene la storia dei bambini.";
        QTest::newRow("a review always, and none") << "[review]\nalways=yes\nenabled=no\n" << "" << "15 sì sì no 1300 senza ripasso" << system + "[review], «always=yes» e «enabled=no» non vanno insieme: il ripasso resta spento.";
        QTest::newRow("a review always, unusable") << "[review]\nalways=\n" << "" << "15 sì sì no 1300" << system + "[review], «always=» è vuoto: ogni bambino sceglie se giocare un ripasso.";
        QTest::newRow("the child's voice") << "" << "voice/enabled=yes" << "15 sì sì no 1300 voce sì" << "";
        QTest::newRow("the teacher's silence") << "[voice]\nenabled=no\n" << "voice/enabled=yes" << "15 sì sì no 1300 voce no!" << "";
        QTest::newRow("a voice neither on nor off") << "[voice]\nenabled=forse\n" << "voice/enabled=yes" << "15 sì sì no 1300 voce sì" << system + "[voice], «enabled=forse» non si può usare: vale la scelta di ciascun bambino.";
        QTest::newRow("a pace of the teacher's") << "[match]\npace=1,3\n" << "match/pace=3\nmatch/practice=yes" << "15 sì sì sì 1300!" << "";
        // clang-format on
        for (const auto& [example, taken] : docsExamples)
            QTest::addRow("docs: %s", qPrintable(example.section(u'\n', 1, 1)))
                << example << "" << taken << "";
    }

    // Every settings example the teachers' pages give is one of those above, as written.
    void everySettingsExampleInTheDocsIsTested() {
        QStringList found;
        const QRegularExpression ini(QStringLiteral("```ini\n(.*?)```"),
                                     QRegularExpression::DotMatchesEverythingOption);
        for (const QString& page : QDir(DOCS_DIR).entryList({"*.md"}, QDir::Files))
            for (const auto& example : ini.globalMatch(bytes(QDir(DOCS_DIR).filePath(page))))
                found << example.captured(1);
        QVERIFY(found.size() >= 5);
        for (const QString& example : std::as_const(found))
            QVERIFY2(std::ranges::count(docsExamples, example, &DocsExample::text) == 1,
                     qPrintable(example));
    }
    void aSettingMeansWhatItSays() {
        QFETCH(QString, teacher);
        QFETCH(QString, player);
        QFETCH(QString, taken);
        QFETCH(QString, told);
        Settings::Values own;
        for (const QString& line : player.split(u'\n', Qt::SkipEmptyParts))
            own.insert(line.section(u'=', 0, 0), line.section(u'=', 1));
        const Settings s = Settings::parse(Settings::readConf(teacher.toUtf8()), own);
        const auto word = [](bool yes) {
            return yes ? QStringLiteral("sì") : QStringLiteral("no");
        };
        const auto fixed = [](bool fixed) { return fixed ? QStringLiteral("!") : QString(); };
        const QString voice =
            s.readAloud.value || s.readAloud.fixed
                ? QStringLiteral(" voce ") + word(s.readAloud.value) + fixed(s.readAloud.fixed)
                : QString();
        QCOMPARE(QStringLiteral("%1%2 %3 %4 %5%6 %7%8%9%10")
                         .arg(s.lesson.value)
                         .arg(fixed(s.lesson.fixed), word(s.explanations), word(s.registerOn),
                              word(s.practice.value), fixed(s.practice.fixed))
                         .arg(s.pace.value)
                         .arg(fixed(s.pace.fixed), s.reviewOn ? "" : " senza ripasso",
                              s.reviewAlways ? " sempre ripasso" : "") +
                     voice,
                 taken);
        QCOMPARE(s.problems.join(u'\n'), told);
    }

    // The teacher's choice is kept against the child's; what cannot be used is told once.
    void aTeachersMatchIsKeptAndABadValueIsToldOnce() {
        TestGame t;
        t.folders.config = Settings::parse({{"match/practice", "forse"}, {"match/pace", "3"}}, {});
        t.start();
        QCOMPARE(t.dialogs.texts().first(),
                 "Nelle impostazioni di sistema, in [match], «practice=forse» non si può usare: "
                 "vale la scelta di ciascun bambino.");
        const auto boxes = t.dialogs.shown.size();
        t.game.matchChosen(ClassRegister::Kind::Practice,
                           2000); // the teacher's pace: not asked, not changed
        QCOMPARE(t.dialogs.shown.size(), boxes);
        QCOMPARE(t.game.state.pace, qint16(3000));
        t.dialogs.answer(Answer::Yes);
        t.dialogs.type("Anna");
        t.game.matchChosen(ClassRegister::Kind::Practice,
                           3000); // practice is the child's: asked, and remembered
        QVERIFY(t.game.state.practice);
        QCOMPARE(t.folders.remembered, "yes 3");
        QCOMPARE(t.dialogs.texts().mid(int(boxes)),
                 QStringList({"INIZIAMO UNA NUOVA GARA  ?", "Come ti chiami?",
                              " Anna vediamo se sei un vero campione  "})); // told once only
        QCOMPARE(t.game.board.find(u"Label11")->caption(), QStringLiteral("Allenamento"));
    }

    void theQuestionBoardPaintsItsGradient() {
        TestGame t;
        Board& b = t.game.board;
        b.paricmd2.setBackground(0xFFFF0000);
        b.lblMessage.setCaption(QStringLiteral("x"));
        t.random.script = {0.f, 0.05f, 0.35f, rMax}; // num1 0, 0 drawn again, then 3; num2 9
        t.game.questionBoard.cmdNext_Click();
        QCOMPARE(QList<int>({t.game.state.num1, t.game.state.num2}), QList<int>({3, 9}));
        QCOMPARE(b.lblNum1.caption(), QStringLiteral("3"));
        QCOMPARE(b.lblNum2.caption(), QStringLiteral("9"));
        QCOMPARE(b.paricmd2.background(), 0xFF00FFFF);
        QCOMPARE(b.lblMessage.caption(), QString());
        const QImage& image = b.canvas.image();
        // 256 bands down the 672 rows: red 20 × 3, green 20 × 9, blue the band's number.
        for (const auto& [y, blue] : {std::pair{0, 0}, {2, 0}, {3, 1}, {336, 128}, {671, 255}})
            for (int x : {0, 300, 607})
                QCOMPARE(image.pixelColor(x, y), QColor(60, 180, blue));
    }

    void aBackgroundClickPosesItsOwnQuestionAndShuffles() {
        TestGame t;
        t.start();
        t.game.state.num1 = t.game.state.num2 = -1; // no question has these
        Board& b = t.game.board;
        t.random.reseeds.clear();
        t.random.script = {0.f, 0.35f, 0.f, rForMove(1), 0.f, 0.f, 0.f, 0.f};
        t.game.backgroundClicked();
        // Its own question, 3 × 0, kept in no variable.
        QCOMPARE(QList<int>({t.game.state.num1, t.game.state.num2}), QList<int>({-1, -1}));
        QCOMPARE(b.canvas.image().pixelColor(5, 671), QColor(60, 0, 255));
        QVERIFY(b.Timer2.isEnabled());
        const int time = ScriptedRandom::timeReseed;
        QCOMPARE(t.random.reseeds, (std::vector<int>{time, time}));
        QCOMPARE(visibility(b), QStringLiteral("V.V...")); // move 1 ran
    }

    void theClockTicks_data() {
        QTest::addColumn<QList<int>>("before"); // ore, minuti, secondi, restanti
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("restanti");
        for (const QStringList& row : rows(R"(
            0 5 0  300 00:04:59 299
            0 4 1  241 00:04:00 240
            0 0 1  1   00:00:00 0
            1 0 0  3600 00:59:59 3599)"))
            QTest::newRow(qPrintable(row[4]))
                << QList{row[0].toInt(), row[1].toInt(), row[2].toInt(), row[3].toInt()} << row[4]
                << row[5].toInt();
    }
    void theClockTicks() {
        QFETCH(QList<int>, before);
        QFETCH(QString, shown);
        QFETCH(int, restanti);
        TestGame t;
        GameState& s = t.game.state;
        s.ore = qint16(before[0]);
        s.minuti = qint16(before[1]);
        s.secondi = float(before[2]);
        s.restanti = qint16(before[3]);
        t.game.board.Timer1.setEnabled(true);
        t.game.timerTicked(t.game.board.Timer1);
        QCOMPARE(t.game.board.lblconto.caption(), shown);
        QCOMPARE(int(s.restanti), restanti);
        QVERIFY(t.dialogs.shown.empty());
    }

    void theMatchEndsOnThe301stTickWithoutTempoScaduto() {
        TestGame t;
        t.start();
        for (int tick = 1; tick <= 301; ++tick) {
            QVERIFY(!t.game.hasEnded());
            t.game.timerTicked(t.game.board.Timer1);
        }
        QCOMPARE(t.dialogs.texts().mid(2), QStringList({"              Ciao a presto."}));
        QCOMPARE(t.host.ends, 1);
    }

    void timeUsedUpShowsTempoScadutoOnce() {
        TestGame t;
        t.start();
        t.game.state.restanti = 0;
        t.dialogs.answer(Answer::Ok, [&] { t.game.timerTicked(t.game.board.Timer1); });
        t.game.timerTicked(t.game.board.Timer1);
        QCOMPARE(t.dialogs.texts().mid(2),
                 QStringList({"Tempo scaduto", "              Ciao a presto."}));
    }

    // Every lesson's numbers through a long match of clicks, hits and jumps, drawn from the
    // real generator: right targets always carry a multiple, wrong ones never do.
    void eachLessonKeepsItsRightAndWrongTargetsApart_data() {
        eachLessonTeachesItsCriterionInItsOwnWords_data();
    }
    void eachLessonKeepsItsRightAndWrongTargetsApart() {
        QFETCH(int, divisor);
        TestGame t;
        t.folders.config.lesson.value = divisor;
        t.start();
        t.game.backgroundClicked(); // the match starts: the targets jump
        std::mt19937 choose(divisor);
        // The simpler divisors a shortcut would test instead of the rule: some wrong numbers
        // must be their multiples, or the shortcut would always work.
        const QMap<int, QList<int>> shortcuts{{4, {2}},     {6, {2, 3}},  {9, {3}},
                                              {10, {2, 5}}, {12, {3, 4}}, {25, {5}}};
        QMap<int, int> passing; // wrong numbers drawn that are multiples of each one
        int drawn = 0;
        QString before[6];
        for (int event = 0; event < 3000; ++event) {
            t.time.msecs += 37; // each jump reseeds from the time of day
            const int pick = int(choose() % 8);
            if (Control* target = t.game.board.find(QString::fromLatin1(targets[pick % 6]));
                pick < 6 && target->isVisible())
                t.game.controlClicked(*target);
            else
                t.game.timerTicked(t.game.board.Timer2);
            for (int i = 0; i < 6; ++i) {
                const QString caption =
                    t.game.board.find(QString::fromLatin1(targets[i]))->caption();
                QVERIFY2(caption.size() <= 5 && (caption.toInt() % divisor == 0) == (i < 3),
                         qPrintable(QStringLiteral("%1 shows %2").arg(targets[i], caption)));
                if (i < 3 || caption == std::exchange(before[i], caption))
                    continue;
                ++drawn;
                for (int part : shortcuts.value(divisor))
                    passing[part] += caption.toInt() % part == 0;
            }
        }
        qInfo() << "wrong numbers drawn:" << drawn << "multiples of each part:" << passing;
        for (int part : shortcuts.value(divisor))
            QVERIFY2(passing[part] >= drawn / 10, qPrintable(QString::number(part)));
    }

    // The words of each lesson, exact, and true by arithmetic.
    void eachLessonTeachesItsCriterionInItsOwnWords_data() {
        QTest::addColumn<int>("divisor");
        QTest::addColumn<QString>("words"); // title | hello | criterion | example
        QTest::addColumn<int>("number");    // a wrong number, and why
        QTest::addColumn<QString>("reason");
        for (const QString& row : QString::fromUtf8(R"(
2|Frulvane - Multipli del 2|multipli del 2|la sua ultima cifra è pari: 0, 2, 4, 6 o 8|Es 1358 è divisibile per 2 ed infatti la sua ultima cifra, 8, è pari|47|la sua ultima cifra, 7, è dispari
3|Frulvane - Multipli del 3|multipli del 3|la somma delle sue cifre è divisibile per 3|Es 1365 è divisibile per 3 ed infatti la somma delle sue cifre è 15, che è divisibile per 3|46|la somma delle sue cifre, 4 + 6 = 10, non è divisibile per 3
4|Frulvane - Multipli del 4|multipli del 4|le sue ultime due cifre sono 00 o formano un numero divisibile per 4|Es 1316 è divisibile per 4 ed infatti le sue ultime due cifre formano 16, che è divisibile per 4|1306|le sue ultime due cifre, 06, non sono 00 e non formano un numero divisibile per 4
5|Frulvane - Multipli del 5|multipli del 5|la sua ultima cifra è 0 o 5|Es 1365 è divisibile per 5 ed infatti la sua ultima cifra è 5|47|la sua ultima cifra, 7, non è né 0 né 5
6|Frulvane - Multipli del 6|multipli del 6|è divisibile sia per 2 che per 3|Es 1362 è divisibile per 6 ed infatti è divisibile sia per 2, essendo pari, sia per 3, essendo la somma delle sue cifre 12, che è divisibile per 3|46|è divisibile per 2, ma non per 3: la somma delle sue cifre, 4 + 6 = 10, non è divisibile per 3
9|Frulvane - Multipli del 9|multipli del 9|la somma delle sue cifre è divisibile per 9|Es 1368 è divisibile per 9 ed infatti la somma delle sue cifre è 18, che è divisibile per 9|7|la somma delle sue cifre, 7, non è divisibile per 9
10|Frulvane - Multipli del 10|multipli del 10|la sua ultima cifra è 0|Es 1360 è divisibile per 10 ed infatti la sua ultima cifra è 0|47|la sua ultima cifra, 7, non è 0
11|Frulvane - Multipli dell'11|multipli dell'11|la somma delle cifre di posto dispari e quella delle cifre di posto pari, contando da destra, sono uguali o differiscono di un multiplo di 11|Es 1364 è divisibile per 11 ed infatti le cifre di posto dispari, 4 e 3, e quelle di posto pari, 6 e 1, hanno la stessa somma, 7|1318|la somma delle cifre di posto dispari, contando da destra, è 8 + 3 = 11 e quella delle cifre di posto pari è 1 + 1 = 2: differiscono di 11 − 2 = 9, che non è un multiplo di 11
15|Frulvane|multipli del 15|è divisibile sia per 3 che per 5|Es 1365 è divisibile per 15 ed infatti è divisibile  sia per 3, essendo la somma delle cifre 15, e sia per 5|6001|non è divisibile né per 3 né per 5: la somma delle sue cifre, 6 + 0 + 0 + 1 = 7, non è divisibile per 3, e la sua ultima cifra, 1, non è né 0 né 5
12|Frulvane - Multipli del 12|multipli del 12|è divisibile sia per 3 che per 4|Es 1368 è divisibile per 12 ed infatti è divisibile sia per 3, essendo la somma delle sue cifre 18, che è divisibile per 3, sia per 4, essendo 68 divisibile per 4|1318|non è divisibile né per 3 né per 4: la somma delle sue cifre, 1 + 3 + 1 + 8 = 13, non è divisibile per 3, e le sue ultime due cifre, 18, non sono 00 e non formano un numero divisibile per 4
25|Frulvane - Multipli del 25|multipli del 25|le sue ultime due cifre sono 00, 25, 50 o 75|Es 1375 è divisibile per 25 ed infatti le sue ultime due cifre sono 75|22520|le sue ultime due cifre, 20, non sono 00, 25, 50 o 75)")
                                      .split(u'\n', Qt::SkipEmptyParts))
            QTest::newRow(qPrintable(row.section(u'|', 0, 0)))
                << row.section(u'|', 0, 0).toInt() << row.section(u'|', 1, 4)
                << row.section(u'|', 5, 5).toInt() << row.section(u'|', 6);
    }
    void eachLessonTeachesItsCriterionInItsOwnWords() {
        QFETCH(int, divisor);
        QFETCH(QString, words);
        TestGame t;
        t.folders.config.lesson.value = divisor;
        t.start();
        const Board& b = t.game.board;
        t.game.resized(true); // the title minimised is the lesson's too
        QCOMPARE(b.caption() + u'|' + b.menuCaption("Ciao").section(QStringLiteral("solo i "), 1) +
                     u'|' + b.menuCaption("d").section(QStringLiteral(" se "), 1) + u'|' +
                     b.menuCaption("h"),
                 words);
        // True by arithmetic: each figure quoted is a digit, the last two, a digit sum, a divisor.
        const QStringList figures = b.menuCaption("h").split(nonDigits, Qt::SkipEmptyParts);
        const int n = figures.value(0).toInt();
        QSet<int> truths{n % 100};
        for (int factor : {2, 3, 4, 5, divisor})
            if (divisor % factor == 0)
                truths << factor;
        int sum = 0, odd = 0, even = 0;
        for (int rest = n, place = 1; rest > 0; rest /= 10, ++place) {
            truths << rest % 10;
            sum += rest % 10;
            (place % 2 ? odd : even) += rest % 10;
        }
        truths << sum << odd << even;
        QVERIFY(n % divisor == 0 && figures.value(1).toInt() == divisor);
        for (const QString& figure : figures.mid(2))
            QVERIFY2(truths.contains(figure.toInt()), qPrintable(figure));
    }

    // A wrong number explained by the lesson's criterion: one row exact per lesson, then every
    // number a target can carry checked by arithmetic, each figure the text quotes.
    void eachWrongNumberIsExplainedTrulyByItsLessonsCriterion_data() {
        eachLessonTeachesItsCriterionInItsOwnWords_data();
    }
    void eachWrongNumberIsExplainedTrulyByItsLessonsCriterion() {
        QFETCH(int, divisor);
        QFETCH(int, number);
        QFETCH(QString, reason);
        const QString first = QStringLiteral("Attenzione!  %1  non è  un numero divisibile per %2")
                                  .arg(number)
                                  .arg(divisor);
        for (const bool explained : {true, false}) { // the teacher's spiegazioni=no: plain
            TestGame t;
            t.folders.config.lesson.value = divisor;
            t.folders.config.explanations = explained;
            t.start();
            t.game.board.disparicmd.setCaption(QString::number(number));
            t.game.controlClicked(t.game.board.disparicmd);
            QCOMPARE(t.dialogs.texts().last().section(u'\n', 0, 2).replace(QChar::Nbsp, u' '),
                     explained ? first + "\n\nInfatti " + reason + '.' : first);
        }
        // Every number a target can carry; read aloud, the division in words, and no sign.
        static const QRegularExpression signs(QStringLiteral("\\s[:=+−]\\s"));
        for (int n = 1; n <= 32767; ++n)
            QVERIFY2(n % divisor == 0 ||
                         (explainsTruly(Lessons::why(n, divisor), n, divisor) &&
                          !Lessons::spoken(Lessons::why(n, divisor)).contains(signs) &&
                          Lessons::spoken(Lessons::why(n, divisor))
                              .endsWith(QStringLiteral("\n%1 diviso %2 fa %3 con il resto di %4.")
                                            .arg(n)
                                            .arg(divisor)
                                            .arg(n / divisor)
                                            .arg(n % divisor))),
                     qPrintable(QString::number(n)));
    }

    // A number of one digit has no last two digits, and no digit in an even place.
    void aNumberOfOneDigitIsExplainedAsATeacherWould_data() {
        QTest::addColumn<int>("divisor");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("reason");
        // clang-format off
        QTest::newRow("4") << 4 << 7 << "7 ha una sola cifra, e non è divisibile per 4";
        QTest::newRow("12") << 12 << 9 << "è divisibile per 3, ma non per 4: 9 ha una sola cifra, e non è divisibile per 4";
        QTest::newRow("25") << 25 << 7 << "7 è più piccolo di 25";
        QTest::newRow("11") << 11 << 7 << "la sua sola cifra, 7, è di posto dispari, e non ha cifre di posto pari: la differenza è 7, che non è un multiplo di 11";
        // clang-format on
    }
    void aNumberOfOneDigitIsExplainedAsATeacherWould() {
        QFETCH(int, divisor);
        QFETCH(int, number);
        QFETCH(QString, reason);
        QCOMPARE(Lessons::why(number, divisor).section(u'\n', 0, 0), "Infatti " + reason + '.');
    }

    // The digits the rule looks at, marked in the number and in the figures quoted, by weight and
    // a line, never by colour alone; the words as they were; the marks said in words too.
    void theDigitsThatMatterAreMarked_data() {
        QTest::addColumn<int>("divisor");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("marked"); // [looked at], {an even place of 11}, ~ a hard space
        QTest::addColumn<QString>("words");
        // clang-format off
        QTest::newRow("2: the last") << 2 << 47 << "Infatti la sua ultima cifra, [7], è dispari.\n4[7] : 2 = 23 con il resto di 1." << "Nel numero 47 contano l'ultima cifra, 7.";
        QTest::newRow("4: the last two") << 4 << 1306 << "Infatti le sue ultime due cifre, [06], non sono 00 e non formano un numero divisibile per 4.\n13[0][6] : 4 = 326 con il resto di 2." << "Nel numero 1306 contano le ultime due cifre, 06.";
        QTest::newRow("11: odd and even places") << 11 << 1365 << "Infatti la somma delle cifre di posto dispari, contando da destra, è [5]~+~[3]~=~8 e quella delle cifre di posto pari è {6}~+~{1}~=~7: differiscono di 8~−~7~=~1, che non è un multiplo di 11.\n{1}[3]{6}[5] : 11 = 124 con il resto di 1." << "Nel numero 1365 contano le cifre di posto dispari, 3 e 5, in grassetto e sottolineate, e quelle di posto pari, 1 e 6, in grassetto corsivo e sopralineate.";
        QTest::newRow("12: both parts fail") << 12 << 1306 << "Infatti non è divisibile né per 3 né per 4: la somma delle sue cifre, [1]~+~[3]~+~[0]~+~[6]~=~10, non è divisibile per 3, e le sue ultime due cifre, [06], non sono 00 e non formano un numero divisibile per 4.\n[1][3][0][6] : 12 = 108 con il resto di 10." << "Nel numero 1306 contano tutte le cifre, da sommare; le ultime due cifre, 06.";
        QTest::newRow("15: one part fails") << 15 << 48 << "Infatti è divisibile per 3, ma non per 5: la sua ultima cifra, [8], non è né 0 né 5.\n4[8] : 15 = 3 con il resto di 3." << "Nel numero 48 contano l'ultima cifra, 8.";
        // clang-format on
    }
    void theDigitsThatMatterAreMarked() {
        QFETCH(int, divisor);
        QFETCH(int, number);
        QFETCH(QString, marked);
        QFETCH(QString, words);
        marked.replace(u'~', QChar::Nbsp)
            .replace(QRegularExpression(QStringLiteral("\\[(\\d+)\\]")), "<b><u>\\1</u></b>")
            .replace(QRegularExpression(QStringLiteral("\\{(\\d)\\}")),
                     "<b><i><span style=\"text-decoration: overline\">\\1</span></i></b>");
        QCOMPARE(Lessons::why(number, divisor, true), marked);
        QCOMPARE(Lessons::marksInWords(number, divisor), words);
        // Over every number a target can carry, the marks add no word and take none away.
        static const QRegularExpression tags(QStringLiteral("<[^>]+>"));
        for (int n = 1; n <= 32767; ++n)
            QVERIFY2(n % divisor == 0 ||
                         Lessons::why(n, divisor, true).remove(tags) == Lessons::why(n, divisor),
                     qPrintable(QString::number(n)));
    }

    // Read aloud when the child wants it: the greeting, each warning in words, the farewell, each
    // stopped as its box closes; a voice that cannot speak told once, then silent.
    void theBoxesAreReadAloudWhenWanted_data() {
        QTest::addColumn<bool>("on");
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<QString>("broken");
        QTest::addColumn<QString>("said"); // "|" between
        // A child's choice turned off and on again stops the reading: "(stop)" after the greeting.
        const QString greeting = " Anna vediamo se sei un vero campione  |(stop)|",
                      rest = "Attenzione!  47  non è  un numero divisibile per 15\n\nInfatti non è "
                             "divisibile né per 3 né per 5: la somma delle sue cifre, 4 più 7 fa "
                             "11, non è divisibile per 3, e la sua ultima cifra, 7, non è né 0 né "
                             "5.\n47 diviso 15 fa 3 con il resto di 2.|(stop)|              Ciao a "
                             "presto.|(stop)";
        QTest::newRow("on") << true << false << "" << greeting + "(stop)|" + rest;
        QTest::newRow("on, the teacher's") << true << true << "" << greeting + rest;
        QTest::newRow("off") << false << false << ""
                             << "(stop)";
        QTest::newRow("no voice") << true << false << "Non posso leggere ad alta voce."
                                  << greeting + "(stop)|(stop)|(stop)";
    }
    void theBoxesAreReadAloudWhenWanted() {
        QFETCH(bool, on);
        QFETCH(bool, fixed);
        QFETCH(QString, broken);
        QFETCH(QString, said);
        TestGame t;
        t.folders.config.readAloud = {on, fixed};
        t.voice.broken = broken;
        t.start();
        t.game.readAloudChosen(!on); // the child's choice, unless the teacher's holds
        t.game.readAloudChosen(on);
        QCOMPARE(t.folders.remembered, fixed ? "" : on ? "voice" : "silent");
        t.game.board.disparicmd.setCaption(QStringLiteral("47"));
        t.game.controlClicked(t.game.board.disparicmd);
        t.game.controlClicked(t.game.board.cmdExit);
        QCOMPARE(t.voice.said.join(u'|'), said);
        QCOMPARE(t.dialogs.texts().count(broken), broken.isEmpty() ? 0 : 1);
    }

    // By arithmetic over every number a target can carry: a retry fails the same parts of the
    // rule as the number fallen for; a near miss is no multiple, and passes a part of the rule.
    void aReviewsNumbersFailTheSamePartOrPassOne_data() {
        eachLessonTeachesItsCriterionInItsOwnWords_data();
    }
    void aReviewsNumbersFailTheSamePartOrPassOne() {
        QFETCH(int, divisor);
        // The parts of each rule as a teacher states them; a rule of one part has none, and a
        // near miss is then a multiple's neighbour.
        const QList<int> parts =
            QMap<int, QList<int>>{{4, {2}},     {6, {2, 3}},  {9, {3}}, {10, {2, 5}},
                                  {12, {3, 4}}, {15, {3, 5}}, {25, {5}}}
                .value(divisor);
        const auto fits = [](int n) { return n >= 1 && n <= 32767; };
        for (int n = 1; n <= 32767; ++n) {
            const int near = Lessons::nearMiss(n, divisor), rest = near % divisor;
            QVERIFY2(fits(near) && rest != 0 &&
                         (parts.isEmpty()
                              ? rest == 1 || rest == divisor - 1
                              : std::ranges::any_of(parts, [&](int p) { return near % p == 0; })),
                     qPrintable(QStringLiteral("%1: %2").arg(n).arg(near)));
            const int retry = Lessons::retry(n, divisor);
            QVERIFY2(n % divisor == 0 ||
                         (fits(retry) && retry != n && retry % divisor != 0 &&
                          std::ranges::all_of(
                              parts, [&](int p) { return (retry % p == 0) == (n % p == 0); })),
                     qPrintable(QStringLiteral("%1: %2").arg(n).arg(retry)));
        }
    }

    // A review: a practice match with the numbers due on its targets, one of them in sight
    // within a minute of play; with nothing due, near misses on the wrong targets.
    void aReviewBringsTheDueNumbersIntoSight_data() {
        QTest::addColumn<int>("divisor");
        QTest::addColumn<QByteArray>("history");
        QTest::addColumn<QList<int>>("due");
        const QByteArray two = "preso;47;2026-12-08;0\npreso;1001;2026-12-01;2\n";
        QTest::newRow("15, two wrong") << 15 << two << QList<int>{47, 1001};
        QTest::newRow("15, one not due yet") << 15 << two + "preso;62;2026-12-07;1\n"
                                             << QList<int>{47, 1001};
        QTest::newRow("15, a multiple")
            << 15 << QByteArray("lasciato;45;2026-12-01;0\n") << QList<int>{45};
        QTest::newRow("4, one wrong")
            << 4 << QByteArray("preso;1306;2026-12-06;1\n") << QList<int>{1306};
        QTest::newRow("15, nothing due") << 15 << QByteArray() << QList<int>{};
    }
    void aReviewBringsTheDueNumbersIntoSight() {
        QFETCH(int, divisor);
        QFETCH(QByteArray, history);
        QFETCH(QList<int>, due);
        for (int start = 0; start < 20; ++start) { // twenty times of day, twenty matches
            TestGame t;
            t.folders.config.lesson.value = divisor;
            t.folders.config.reviewAlways = true;
            QFile file(t.folders.own.filePath(QStringLiteral("lezione-%1.txt").arg(divisor)));
            QVERIFY(file.open(QIODevice::WriteOnly) &&
                    file.write("zenobra ripasso 1\ntipo;numero;ultima volta;ripassi\n" + history));
            file.close();
            t.time.msecs = 9 * 3600 * 1000 + start * 7919;
            t.start();
            Board& board = t.game.board;
            QCOMPARE(t.game.state.reviewDue, due.size());
            QCOMPARE(board.find(u"Label11")->caption(), "Ripasso");
            QCOMPARE(board.lblconto.caption(), "--:--:--");
            for (int i = 3; due.isEmpty() && i < 6; ++i) { // near misses: of 3 or 5, not 15
                const int n = board.targets()[i]->caption().toInt();
                QVERIFY2(n % 15 != 0 && (n % 3 == 0 || n % 5 == 0), qPrintable(QString::number(n)));
            }
            const auto dueInSight = [&] {
                return std::ranges::any_of(board.targets(), [&](const Control* target) {
                    return target->isVisible() && target->position().x() < 608 &&
                           target->position().y() < 512 && due.contains(target->caption().toInt());
                });
            };
            t.game.backgroundClicked();
            for (int jump = 1; jump < 60000 / 1300 && !due.isEmpty() && !dueInSight(); ++jump) {
                t.time.msecs += 1300;
                t.game.timerTicked(board.Timer2);
            }
            QVERIFY2(due.isEmpty() || dueInSight(), qPrintable(QString::number(start)));
        }
        QCOMPARE(Review::entry(7), "Ripasso: 7 numeri da rivedere");
        QCOMPARE(Review::entry(1), "Ripasso: 1 numero da rivedere");
    }

    // The timers tick under the warning and the question, held under a start-up problem and exit.
    void theTimersTickUnderTheMatchsBoxesOnly() {
        TestGame t;
        t.folders.problem = QStringLiteral("Non trovo la cartella del record.");
        t.dialogs.answer(Answer::Ok);
        QStringList seen;
        for (const Answer answer : {Answer::Ok, Answer::Ok, Answer::No, Answer::Ok, Answer::Ok})
            t.dialogs.answer(answer, [&, &b = t.game.board] {
                seen << t.dialogs.texts().last().trimmed().left(10) +
                            (b.Timer1.isEnabled() ? " 1" : " -") +
                            (b.Timer2.isEnabled() ? "2" : "-");
            });
        t.game.start();
        t.game.backgroundClicked();
        t.game.controlClicked(t.game.board.disparicmd);
        t.game.menuClicked(u"Next");
        for (int hit = 0; hit < 5; ++hit)
            t.game.controlClicked(t.game.board.paricmd);
        t.game.controlClicked(t.game.board.cmdExit);
        QCOMPARE(seen, QStringList({"Non trovo  --", "Attenzione 12", "INIZIAMO U 12",
                                    "Ciao a pre --", "Non trovo  --"}));
        QCOMPARE(t.dialogs.texts().last(),
                 t.folders.problem + " Il record non è stato registrato.");
    }

    void aNewMatchAsksFirstThenStartsAgainKeepingTheState() {
        TestGame t;
        t.start();
        t.game.backgroundClicked();
        t.game.controlClicked(t.game.board.paricmd);
        t.game.timerTicked(t.game.board.Timer1);
        t.dialogs.answer(Answer::No);
        t.game.menuClicked(u"Next");
        QCOMPARE(t.dialogs.boxes().last(),
                 QStringLiteral("INIZIARE NUOVA GARA: INIZIAMO UNA NUOVA GARA  ? [Sì/No, ?, No]"));
        QCOMPARE(t.game.state.punti, qint16(1));
        QCOMPARE(t.game.board.lblconto.caption(), QStringLiteral("00:04:59"));
        QCOMPARE(t.host.hides, 0);

        t.game.state.ndispari = 21;
        t.dialogs.answer(Answer::Yes);
        t.dialogs.type(QStringLiteral("Luca"));
        t.game.menuClicked(u"Next");
        QCOMPARE(t.dialogs.texts().mid(3),
                 QStringList({"INIZIAMO UNA NUOVA GARA  ?", "Come ti chiami?",
                              " Luca vediamo se sei un vero campione  "}));
        QCOMPARE(t.game.state.ndispari, qint16(21));
        QCOMPARE(t.game.state.punti, qint16(0));
        QCOMPARE(t.game.board.lblconto.caption(), QStringLiteral("00:05:00"));
        QCOMPARE(visibility(t.game.board), QStringLiteral("......"));
        QVERIFY(!t.game.board.Timer2.isEnabled());
        QCOMPARE(t.host.hides, 1);
        QCOMPARE(t.host.shows, 2);
    }
};

QTEST_GUILESS_MAIN(RulesTest)
#include "tst_rules.moc"
