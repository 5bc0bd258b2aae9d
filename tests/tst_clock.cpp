#include "FakePlatform.h"

#include <QtTest>

class ClockTest : public QObject {
    Q_OBJECT

private slots:
    void theClockCountsDownAndBorrowsMinutes() {
        TestGame t;
        t.start();
        QCOMPARE(t.game.board.lblconto.caption(), QStringLiteral("00:05:00"));
        const std::map<int, std::pair<QString, int>> expected{
            {1, {"00:04:59", 299}},  {59, {"00:04:01", 241}}, {60, {"00:04:00", 240}},
            {61, {"00:03:59", 239}}, {241, {"00:00:59", 59}}, {300, {"00:00:00", 0}}};
        for (int tick = 1; tick <= 300; ++tick) {
            t.game.timerTicked(t.game.board.Timer1);
            const QString text = t.game.board.lblconto.caption();
            QVERIFY2(!text.contains(QLatin1String("60")), qPrintable(text));
            if (const auto at = expected.find(tick); at != expected.end()) {
                QCOMPARE(text, at->second.first);
                QCOMPARE(int(t.game.state.restanti), at->second.second);
            }
        }
        QVERIFY(!t.game.hasEnded());
        const std::size_t boxes = t.dialogs.shown.size();
        t.game.timerTicked(t.game.board.Timer1);
        QVERIFY(t.game.hasEnded());
        QCOMPARE(t.dialogs.shown.size(), boxes + 1);
        QCOMPARE(t.dialogs.shown.back().request.text,
                 QStringLiteral("              Ciao a presto."));
        QVERIFY(!t.dialogs.texts().contains(QStringLiteral("Tempo scaduto")));
        QCOMPARE(t.host.ends, 1);
    }

    void timeRunOutWithoutTheClockTextShowsTempoScaduto() {
        TestGame t;
        t.start();
        t.game.state.restanti = 0;
        t.game.timerTicked(t.game.board.Timer1);
        QCOMPARE(t.dialogs.texts().mid(2),
                 QStringList({"Tempo scaduto", "              Ciao a presto."}));
        QVERIFY(t.game.hasEnded());
    }

    void ticksUnderTempoScadutoDoNotPileUpBoxes() {
        TestGame t;
        t.start();
        t.game.state.restanti = 0;
        t.dialogs.answer(Answer::Ok, [&] {
            for (int i = 0; i < 3; ++i)
                t.game.timerTicked(t.game.board.Timer1);
        });
        t.game.timerTicked(t.game.board.Timer1);
        QCOMPARE(t.dialogs.texts().count(QStringLiteral("Tempo scaduto")), 1);
        QVERIFY(t.game.hasEnded());
    }

    void theDesignTextIsNotTheEndOfTheClock() {
        TestGame t;
        QCOMPARE(t.game.board.lblconto.caption(), QStringLiteral("00.00.00"));
        t.game.state.restanti = 10;
        t.game.state.minuti = 1;
        t.game.timerTicked(t.game.board.Timer1);
        QVERIFY(!t.game.hasEnded());
        QCOMPARE(t.game.board.lblconto.caption(), QStringLiteral("00:00:59"));
    }

    void anHourIsBorrowedWhenTheMinutesRunOut() {
        TestGame t;
        t.game.state.ore = 1;
        t.game.state.restanti = 100;
        t.game.timerTicked(t.game.board.Timer1);
        QCOMPARE(t.game.board.lblconto.caption(), QStringLiteral("00:59:59"));
    }

    void aNewMatchRestartsTheClock() {
        TestGame t;
        t.start();
        for (int i = 0; i < 42; ++i)
            t.game.timerTicked(t.game.board.Timer1);
        QCOMPARE(t.game.board.lblconto.caption(), QStringLiteral("00:04:18"));
        t.dialogs.answer(Answer::Yes);
        t.dialogs.type(QStringLiteral("Luca"));
        t.dialogs.answer(Answer::Ok);
        t.game.menuClicked(u"Next");
        QCOMPARE(t.game.board.lblconto.caption(), QStringLiteral("00:05:00"));
        QCOMPARE(int(t.game.state.restanti), 300);
        QVERIFY(t.game.board.Timer1.isEnabled());
    }

    void theClockEndingUnderAWarningLeavesNoPenalty() {
        TestGame t;
        t.start();
        t.game.board.lblconto.setCaption(QStringLiteral("00:00:00"));
        t.game.board.disparicmd.show();
        t.dialogs.answer(Answer::Ok, [&] { t.game.timerTicked(t.game.board.Timer1); });
        t.game.controlClicked(t.game.board.disparicmd);
        QVERIFY(t.game.hasEnded());
        QCOMPARE(t.game.state.punti, qint16(0));
        QCOMPARE(t.game.board.Punteggio.caption(), QStringLiteral("0"));
        QVERIFY(!t.game.board.Timer1.isEnabled() && !t.game.board.Timer2.isEnabled());
        // Nothing more is judged once the program has ended.
        t.game.controlClicked(t.game.board.paricmd);
        QCOMPARE(t.game.state.punti, qint16(0));
    }

    void theClockEndingUnderTheNewMatchQuestionStartsNoMatch() {
        TestGame t;
        t.start();
        t.game.board.lblconto.setCaption(QStringLiteral("00:00:00"));
        t.dialogs.answer(Answer::Yes, [&] { t.game.timerTicked(t.game.board.Timer1); });
        t.game.menuClicked(u"Next");
        QVERIFY(t.game.hasEnded());
        QCOMPARE(t.host.hides, 0);
        QCOMPARE(t.dialogs.texts().last(), QStringLiteral("              Ciao a presto."));
    }

    void theExitSequenceHoldsBothTimersAndRunsOnce() {
        TestGame t;
        t.start();
        t.game.backgroundClicked();
        t.dialogs.answer(Answer::Ok, [&] {
            QVERIFY(!t.game.board.Timer1.isEnabled());
            QVERIFY(!t.game.board.Timer2.isEnabled());
            t.game.board.lblconto.setCaption(QStringLiteral("00:00:00"));
            t.game.timerTicked(t.game.board.Timer1);
            t.game.controlClicked(t.game.board.cmdExit);
        });
        t.game.controlClicked(t.game.board.cmdExit);
        QCOMPARE(t.dialogs.texts().count(QStringLiteral("              Ciao a presto.")), 1);
        QCOMPARE(t.game.state.attesa, qint16(1001));
        QCOMPARE(t.host.ends, 1);
    }
};

QTEST_GUILESS_MAIN(ClockTest)
#include "tst_clock.moc"
