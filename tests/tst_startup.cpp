#include "FakePlatform.h"

#include <QtTest>

class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    void startUpLeavesTheMatchReady() {
        TestGame t;
        t.start();
        const GameState& s = t.game.state;
        const Board& board = t.game.board;
        QCOMPARE(s.punti, qint16(0));
        QCOMPARE(s.restanti, qint16(300));
        QCOMPARE(s.minuti, qint16(5));
        QCOMPARE(s.ore, qint16(0));
        QCOMPARE(s.secondi, 0.0f);
        QVERIFY(s.num1 >= 1 && s.num1 <= 9);
        QVERIFY(s.num2 >= 0 && s.num2 <= 9);
        for (const Control* right : {&board.paricmd, &board.paricmd1, &board.paricmd2}) {
            QCOMPARE(right->caption().toInt() % 15, 0);
            QVERIFY(!right->isVisible());
        }
        QCOMPARE(board.disparicmd.caption().toInt() % 15, 1);
        QCOMPARE(board.disparicmd1.caption().toInt() % 15, 7);
        QCOMPARE(board.disparicmd2.caption().toInt() % 15, 5);
        for (const Control* wrong : {&board.disparicmd, &board.disparicmd1, &board.disparicmd2})
            QVERIFY(!wrong->isVisible());
        QCOMPARE(board.Punteggio.caption(), QStringLiteral("0"));
        QCOMPARE(board.lblconto.caption(), QStringLiteral("00:05:00"));
        QVERIFY(board.Timer1.isEnabled());
        QVERIFY(!board.Timer2.isEnabled());
        QCOMPARE(t.host.shows, 1);
    }

    void threeQuestionsArePosedAndTheSixNumbersFollowTheirReseeds() {
        TestGame t;
        t.start();
        const auto& r = t.random.reseeds;
        const int time = ScriptedRandom::timeReseed;
        const int paricmd1 = t.game.board.paricmd1.caption().toInt();
        // load's question, initialization's question, then activation's six numbers and question.
        QCOMPARE(r, (std::vector<int>{time, time, 0, 0, 0, 0, 0, paricmd1, time}));
    }

    void theNamePromptAndTheGreetingAreExact() {
        TestGame t;
        t.start(QStringLiteral("Anna"));
        QCOMPARE(t.dialogs.shown.size(), std::size_t(2));
        QVERIFY(t.dialogs.shown[0].input);
        QCOMPARE(t.dialogs.shown[0].request.text, QStringLiteral("Come ti chiami?"));
        QCOMPARE(t.dialogs.shown[0].request.title, QStringLiteral("Zenobra"));
        QCOMPARE(t.dialogs.shown[1].request.text,
                 QStringLiteral(" Anna vediamo se sei un vero campione  "));
        QCOMPARE(t.game.board.lblnome1.caption(), QStringLiteral("Anna"));
    }

    void aCancelledNameGivesTwoSpacesAndAnEmptyChallenger() {
        TestGame t;
        t.start(QString());
        QCOMPARE(t.dialogs.shown[1].request.text,
                 QStringLiteral("  vediamo se sei un vero campione  "));
        QCOMPARE(t.game.board.lblnome1.caption(), QString());
    }

    void minimizingKeepsTheTitle() {
        TestGame t;
        t.start();
        t.game.board.setCaption(QStringLiteral("altro"));
        t.game.resized(false);
        QCOMPARE(t.game.board.caption(), QStringLiteral("altro"));
        t.game.resized(true);
        QCOMPARE(t.game.board.caption(), QStringLiteral("Frulvane"));
    }

    void theRecordIsShownLineEndIncluded() {
        TestGame t;
        QFile score(t.recordFile("aquarvel.txt"));
        QVERIFY(score.open(QIODevice::WriteOnly));
        score.write(" 12\r\n");
        score.close();
        t.start();
        QCOMPARE(t.game.board.lblpunti.caption(), QStringLiteral(" 12\r\n"));
        QCOMPARE(t.game.board.lblnome.caption(), QString());
    }

    void answeringNoLeavesTheMatchAsItWas() {
        TestGame t;
        t.start();
        t.game.backgroundClicked();
        t.game.controlClicked(t.game.board.paricmd);
        const QString clock = t.game.board.lblconto.caption();
        const auto reseeds = t.random.reseeds.size();
        t.dialogs.answer(Answer::No);
        t.game.menuClicked(u"Next");
        const MessageBoxRequest& asked = t.dialogs.shown.back().request;
        QCOMPARE(asked.text, QStringLiteral("INIZIAMO UNA NUOVA GARA  ?"));
        QCOMPARE(asked.title, QStringLiteral("INIZIARE NUOVA GARA"));
        QVERIFY(asked.yesNo && asked.questionIcon);
        QCOMPARE(asked.defaultButton, Answer::No);
        QCOMPARE(t.game.state.punti, qint16(1));
        QVERIFY(t.game.board.Timer2.isEnabled());
        QCOMPARE(t.game.board.lblconto.caption(), clock);
        QCOMPARE(t.random.reseeds.size(), reseeds);
        QCOMPARE(t.host.hides, 0);
    }

    void theGameStateCarriesOverToANewMatch() {
        TestGame t;
        t.start();
        t.game.state.ndispari = 21;
        t.game.state.numpari2 = 30;
        t.game.controlClicked(t.game.board.paricmd);
        t.dialogs.answer(Answer::Yes);
        t.dialogs.type(QStringLiteral("Luca"));
        t.dialogs.answer(Answer::Ok);
        t.game.menuClicked(u"Next");
        QCOMPARE(t.game.state.ndispari, qint16(21));
        QCOMPARE(t.game.state.numpari2, qint16(30));
        QCOMPARE(t.game.state.punti, qint16(0));
        QCOMPARE(t.game.board.lblnome1.caption(), QStringLiteral("Luca"));
        QVERIFY(!t.game.board.paricmd.isVisible());
        QCOMPARE(t.host.hides, 1);
        QCOMPARE(t.host.shows, 2);
    }
};

QTEST_GUILESS_MAIN(StartUpTest)
#include "tst_startup.moc"
