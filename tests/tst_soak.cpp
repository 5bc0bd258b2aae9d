#include "FakePlatform.h"

#include <QtTest>

#include <random>

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void aHundredThousandEventsKeepEveryRule() {
        TestGame t;
        t.start();
        Board& board = t.game.board;
        const std::array<Control*, 3> right{&board.paricmd, &board.paricmd1, &board.paricmd2};
        const std::array<Control*, 3> wrong{&board.disparicmd, &board.disparicmd1,
                                            &board.disparicmd2};
        std::mt19937 pick(15);
        int hits = 0, misses = 0;
        for (int event = 0; event < 100'000; ++event) {
            t.time.now = (t.time.now + 1301) % (24 * 3600 * 1000);
            switch (pick() % 5) {
            case 0:
                t.game.timerTicked(board.Timer1);
                break;
            case 1:
                t.game.timerTicked(board.Timer2);
                break;
            case 2:
                t.game.backgroundClicked();
                break;
            default: {
                const bool aim = pick() % 3 != 0;
                Control* button = aim ? right[pick() % 3] : wrong[pick() % 3];
                if (!button->isVisible())
                    break;
                t.game.controlClicked(*button);
                aim ? ++hits : ++misses;
            }
            }
            if (t.game.state.restanti < 3) {
                // A new match before the clock runs out, so the soak goes on.
                t.dialogs.answer(Answer::Yes);
                t.dialogs.type(QStringLiteral("Soak"));
                t.dialogs.answer(Answer::Ok);
                t.game.menuClicked(u"Next");
                hits = misses = 0;
            }
            QVERIFY(!t.game.hasEnded());
            for (const Control* button : right)
                QVERIFY2(button->caption().toInt() % 15 == 0 && button->caption().toInt() > 0,
                         qPrintable(button->caption()));
            for (const Control* button : wrong)
                QVERIFY2(button->caption().toInt() % 15 != 0, qPrintable(button->caption()));
            QCOMPARE(int(t.game.state.punti), hits - 4 * misses);
            t.dialogs.shown.clear();
        }
    }
};

QTEST_GUILESS_MAIN(SoakTest)
#include "tst_soak.moc"
