// Run: QT_QPA_PLATFORM=offscreen build/bin/bench_play -median 31
#include "WindowFixture.h"

#include <QPushButton>
#include <QtTest>

#include <atomic>

class PlayBenchmark : public QObject {
    Q_OBJECT

private slots:
    void twentyThousandSameColourSets() {
        WindowFixture f;
        f.start();
        Control& button = f.game().board.paricmd1;
        button.setBackground(0xFF00FF00);
        QBENCHMARK {
            for (int i = 0; i < 20000; ++i) {
                button.setBackground(0xFF00FF00);
                // The setter is inline: without this the compiler would drop the whole loop.
                std::atomic_signal_fence(std::memory_order_seq_cst);
            }
        }
    }

    void twentyThousandRestylesOfAPlainQtButton() {
        // For comparison: what the flash would cost if every set restyled a Qt button.
        QPushButton button;
        button.show();
        const QString styles[2] = {QStringLiteral("background: #00ff00"),
                                   QStringLiteral("background: #00fe00")};
        QBENCHMARK {
            for (int i = 0; i < 20000; ++i)
                button.setStyleSheet(styles[i % 2]);
        }
    }

    void aRightHitEndToEnd() {
        WindowFixture f;
        f.start();
        f.tavola.show();
        Board& board = f.game().board;
        QBENCHMARK {
            board.paricmd1.show();
            f.game().controlClicked(board.paricmd1);
            f.tavola.surface()->repaint();
        }
    }

    // With the warning's reason worked out and the box answered at once.
    void aWrongHitEndToEnd() {
        WindowFixture f;
        f.folders.config.lesson.value = 12;
        f.start();
        f.tavola.show();
        Board& board = f.game().board;
        QBENCHMARK {
            board.disparicmd.setCaption(QStringLiteral("10706"));
            board.disparicmd.show();
            f.game().controlClicked(board.disparicmd);
            f.tavola.surface()->repaint();
        }
    }

    void theGradientRepaint() {
        WindowFixture f;
        f.start();
        QBENCHMARK {
            f.game().questionBoard.paintGradient(3, 7);
        }
    }

    void oneShuffle() {
        WindowFixture f;
        f.start();
        f.tavola.show();
        QBENCHMARK {
            f.game().shuffle.Timer2_Timer();
        }
    }
};

QTEST_MAIN(PlayBenchmark)
#include "bench_play.moc"
