#include "FakePlatform.h"

#include <QtTest>

class HitsTest : public QObject {
    Q_OBJECT

private slots:
    void aWrongHitThenARightHitShowTheScoreAsItAlwaysHas() {
        TestGame t;
        t.start();
        t.game.board.disparicmd.show();
        t.game.controlClicked(t.game.board.disparicmd);
        QCOMPARE(t.game.state.punti, qint16(-4));
        QCOMPARE(t.game.board.Punteggio.caption(), QStringLiteral("-4"));
        QCOMPARE(t.game.state.contatore, qint16(10001));
        t.game.controlClicked(t.game.board.paricmd);
        QCOMPARE(t.game.state.punti, qint16(-3));
        QCOMPARE(t.game.board.Punteggio.caption(), QStringLiteral(" -3"));
        QCOMPARE(t.game.state.contatore, qint16(20001));
    }

    void theWarningsAreExactToTheSpace_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("warning");
        QTest::newRow("disparicmd") << "disparicmd"
                                    << "Attenzione!  77  non è  un numero divisibile per 15";
        QTest::newRow("disparicmd1") << "disparicmd1"
                                     << "Attenzione! Hai sbagliato:  77  non è  un numero "
                                        "divisibile per 15";
        QTest::newRow("disparicmd2") << "disparicmd2"
                                     << "Attenzione!  77 non è  un numero divisibile per 15";
    }
    void theWarningsAreExactToTheSpace() {
        QFETCH(QString, button);
        QFETCH(QString, warning);
        TestGame t;
        Control* target = t.game.board.find(button);
        target->setCaption(QStringLiteral("77"));
        t.game.controlClicked(*target);
        QCOMPARE(t.dialogs.shown.size(), std::size_t(1));
        QCOMPARE(t.dialogs.shown[0].request.text, warning);
        QCOMPARE(t.dialogs.shown[0].request.title, QStringLiteral("Zenobra"));
        QVERIFY(!t.dialogs.shown[0].request.yesNo);
        QVERIFY(!target->isVisible());
        QCOMPARE(target->background(), QColor(0, 255, 255).rgb());
        QCOMPARE(t.sound.played, QStringList({"/opt/zenobra/suoni/esplosi.wav"}));
    }

    void aRightHitPlaysTheShotAndRenumbersWithAMultipleOfFifteen() {
        TestGame t;
        for (Control* button :
             {&t.game.board.paricmd, &t.game.board.paricmd1, &t.game.board.paricmd2}) {
            button->show();
            t.game.controlClicked(*button);
            QVERIFY(!button->isVisible());
            QCOMPARE(button->caption().toInt() % 15, 0);
            QVERIFY(button->caption().toInt() >= 15);
            QCOMPARE(button->background(), QColor(0, 255, 255).rgb());
        }
        QCOMPARE(t.sound.played.size(), 3);
        QCOMPARE(t.sound.played[0], QStringLiteral("/opt/zenobra/suoni/sparo.wav"));
        QCOMPARE(t.game.board.Punteggio.caption(), QStringLiteral(" 3"));
    }

    void disparicmd1AlwaysBecomes6001() {
        TestGame t;
        t.game.controlClicked(t.game.board.disparicmd1);
        QCOMPARE(t.game.board.disparicmd1.caption(), QStringLiteral("6001"));
        QCOMPARE(t.random.reseeds.front(), 0);
    }

    void paricmd2ReseedsFromItsLastNumber() {
        TestGame t;
        t.game.state.numpari2 = 120;
        t.game.controlClicked(t.game.board.paricmd2);
        QCOMPARE(t.random.reseeds.front(), 120);
        QCOMPARE(t.game.board.paricmd2.caption(), QString::number(t.game.state.numpari2));
        QVERIFY(t.game.state.numpari2 >= 15 && t.game.state.numpari2 <= 600);
    }

    void aWrongHitNeverRenumbersToAMultipleOfFifteen() {
        TestGame t;
        // r = 13/150 would give 13 + 2 = 15 on disparicmd: drawn again.
        t.random.script = {13.0f / 150.0f + 1e-4f, 0.5f};
        t.game.controlClicked(t.game.board.disparicmd);
        QCOMPARE(t.game.board.disparicmd.caption(), QStringLiteral("77"));
        for (int i = 0; i < 5000; ++i) {
            t.time.now += 13;
            t.game.controlClicked(t.game.board.disparicmd);
            t.game.controlClicked(t.game.board.disparicmd2);
            const int one = t.game.board.disparicmd.caption().toInt();
            const int two = t.game.board.disparicmd2.caption().toInt();
            QVERIFY(one % 15 != 0 && one >= 2 && one <= 151);
            QVERIFY(two % 15 != 0 && two >= 3 && two <= 1502);
            QCOMPARE(t.game.state.ndispari2, qint16(two));
            t.game.state.punti = 0;
        }
    }

    void aTargetIsJudgedByWhichButtonNotByItsNumber() {
        TestGame t;
        t.game.board.paricmd.setCaption(QStringLiteral("7"));
        t.game.controlClicked(t.game.board.paricmd);
        QCOMPARE(t.game.state.punti, qint16(1));
        t.game.board.disparicmd.setCaption(QStringLiteral("30"));
        t.game.controlClicked(t.game.board.disparicmd);
        QCOMPARE(t.game.state.punti, qint16(-3));
    }

    void theScoreCannotOverflow() {
        TestGame t;
        t.game.state.punti = 32767;
        t.game.controlClicked(t.game.board.paricmd);
        QVERIFY(t.game.hasEnded());
        QCOMPARE(t.dialogs.shown.back().request.text,
                 QStringLiteral("Errore di run-time '6':\n\nOverflow"));
        QCOMPARE(t.game.state.punti, qint16(32767));
    }

    void theShuffleRunsUnderAnOpenWarningAndThePenaltyLandsWhenItCloses() {
        TestGame t;
        t.start();
        t.game.backgroundClicked();
        Board& board = t.game.board;
        board.disparicmd1.show();
        int shufflesWhileOpen = 0;
        qint16 scoreWhileOpen = 99;
        t.dialogs.answer(Answer::Ok, [&] {
            QCOMPARE(board.disparicmd1.background(), QColor(255, 0, 0).rgb());
            scoreWhileOpen = t.game.state.punti;
            const int drawsBefore = t.random.draws;
            t.game.timerTicked(board.Timer2);
            t.game.timerTicked(board.Timer1);
            shufflesWhileOpen = t.random.draws > drawsBefore;
        });
        t.game.controlClicked(board.disparicmd1);
        QCOMPARE(scoreWhileOpen, qint16(0));
        QVERIFY(shufflesWhileOpen);
        QCOMPARE(board.lblconto.caption(), QStringLiteral("00:04:59"));
        QCOMPARE(t.game.state.punti, qint16(-4));
        QVERIFY(!board.disparicmd1.isVisible());
    }

    void aBackgroundClickStartsTheShuffleAndLeavesTheQuestionAlone() {
        TestGame t;
        t.start();
        GameState& state = t.game.state;
        const qint16 num1 = state.num1, num2 = state.num2;
        Board& board = t.game.board;
        QVERIFY(!board.Timer2.isEnabled());
        t.sound.played.clear();
        t.random.script = {0.0f, 0.0f, 0.35f, 0.0f, rForMove1()};
        t.game.backgroundClicked();
        QVERIFY(board.Timer2.isEnabled());
        QCOMPARE(board.lblNum1.caption(), QStringLiteral("3"));
        QCOMPARE(board.lblNum2.caption(), QStringLiteral("0"));
        QCOMPARE(state.num1, num1);
        QCOMPARE(state.num2, num2);
        QCOMPARE(t.sound.played, QStringList({"/opt/zenobra/suoni/laser.wav"}));
        // The shuffle ran once: move 1 shows paricmd and paricmd2.
        QVERIFY(board.paricmd.isVisible() && board.paricmd2.isVisible());
        QCOMPARE(board.canvas.image().pixelColor(5, 671), QColor(60, 0, 255));
    }

private:
    static float rForMove1() { return 0.01f; }
};

QTEST_GUILESS_MAIN(HitsTest)
#include "tst_hits.moc"
