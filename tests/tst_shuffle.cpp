#include "FakePlatform.h"

#include <QtTest>

namespace {
using Visibility =
    std::array<bool, 6>; // paricmd, paricmd1, paricmd2, disparicmd, disparicmd1, disparicmd2

std::array<Control*, 6> targets(Board& board) {
    return {&board.paricmd,    &board.paricmd1,    &board.paricmd2,
            &board.disparicmd, &board.disparicmd1, &board.disparicmd2};
}

Visibility visibility(Board& board) {
    Visibility shown{};
    const auto buttons = targets(board);
    for (std::size_t i = 0; i < buttons.size(); ++i)
        shown[i] = buttons[i]->isVisible();
    return shown;
}

void setAll(Board& board, bool visible) {
    for (Control* button : targets(board))
        button->setVisible(visible);
}

// The r that makes the move draw give k.
float rForMove(int k) {
    return (static_cast<float>(k) - 0.5f) / 6.0f;
}

constexpr int unitsToPixels(int units) {
    return (units * 672 + 256) / 512;
}
} // namespace

class ShuffleTest : public QObject {
    Q_OBJECT

private slots:
    void fromAllHiddenEachMoveShowsItsSet_data() {
        QTest::addColumn<int>("k");
        QTest::addColumn<Visibility>("expected");
        QTest::newRow("1") << 1 << Visibility{true, false, true, false, false, false};
        QTest::newRow("2") << 2 << Visibility{true, true, false, false, true, true};
        QTest::newRow("3") << 3 << Visibility{false, false, false, false, true, true};
        QTest::newRow("4") << 4 << Visibility{false, true, true, true, true, false};
        QTest::newRow("5") << 5 << Visibility{false, false, false, false, true, false};
        QTest::newRow("6") << 6 << Visibility{false, false, false, false, false, true};
    }
    void fromAllHiddenEachMoveShowsItsSet() {
        QFETCH(int, k);
        QFETCH(Visibility, expected);
        TestGame t;
        setAll(t.game.board, false);
        t.random.script = {rForMove(k)};
        t.game.shuffle.Timer2_Timer();
        QCOMPARE(visibility(t.game.board), expected);
    }

    void fromAllVisibleTheUntouchedKeepTheirVisibility_data() {
        QTest::addColumn<int>("k");
        QTest::addColumn<Visibility>("expected");
        QTest::newRow("1") << 1 << Visibility{true, false, true, true, false, false};
        QTest::newRow("2") << 2 << Visibility{true, true, true, true, true, true};
        QTest::newRow("3") << 3 << Visibility{false, false, true, false, true, true};
        QTest::newRow("4") << 4 << Visibility{true, true, true, true, true, false};
        QTest::newRow("5") << 5 << Visibility{false, false, true, false, true, false};
        QTest::newRow("6") << 6 << Visibility{true, false, true, true, false, true};
    }
    void fromAllVisibleTheUntouchedKeepTheirVisibility() {
        QFETCH(int, k);
        QFETCH(Visibility, expected);
        TestGame t;
        setAll(t.game.board, true);
        t.random.script = {rForMove(k)};
        t.game.shuffle.Timer2_Timer();
        QCOMPARE(visibility(t.game.board), expected);
    }

    void eachCoordinateGetsTheDrawOfItsPlace_data() {
        QTest::addColumn<int>("k");
        // For each draw in order: button (index into targets), 'L' or 'T', range, offset.
        QTest::addColumn<QList<QVariantList>>("draws");
        auto d = [](int button, char axis, int range, int offset = 0) {
            return QVariantList{button, QChar::fromLatin1(axis), range, offset};
        };
        QTest::newRow("1") << 1
                           << QList<QVariantList>{d(3, 'L', 450), d(3, 'T', 1100), d(1, 'L', 300),
                                                  d(0, 'T', 600)};
        QTest::newRow("2") << 2
                           << QList<QVariantList>{d(0, 'L', 800), d(0, 'T', 800), d(1, 'L', 300),
                                                  d(1, 'T', 300)};
        QTest::newRow("3") << 3
                           << QList<QVariantList>{d(2, 'T', 150), d(1, 'T', 300), d(4, 'T', 300),
                                                  d(5, 'T', 150), d(5, 'L', 50)};
        QTest::newRow("4") << 4
                           << QList<QVariantList>{d(3, 'L', 300, 1), d(3, 'T', 1000, 1),
                                                  d(1, 'T', 500), d(1, 'L', 300)};
        QTest::newRow("5") << 5
                           << QList<QVariantList>{d(2, 'T', 200), d(1, 'T', 300), d(4, 'T', 900),
                                                  d(5, 'T', 500), d(3, 'T', 300)};
        QTest::newRow("6") << 6
                           << QList<QVariantList>{d(0, 'T', 200), d(2, 'T', 30),  d(3, 'T', 900),
                                                  d(4, 'T', 70),  d(5, 'T', 250), d(4, 'L', 300)};
    }
    void eachCoordinateGetsTheDrawOfItsPlace() {
        QFETCH(int, k);
        QFETCH(QList<QVariantList>, draws);
        TestGame t;
        t.random.script = {rForMove(k)};
        // Distinct draws, so a swapped order shows.
        for (int i = 0; i < draws.size(); ++i)
            t.random.script.push_back(0.05f + 0.11f * static_cast<float>(i));
        t.game.shuffle.Timer2_Timer();
        const auto buttons = targets(t.game.board);
        for (int i = 0; i < draws.size(); ++i) {
            const QVariantList& draw = draws[i];
            const Control* button = buttons[draw[0].toInt()];
            const double r = 0.05f + 0.11f * static_cast<float>(i);
            const int value = static_cast<int>(std::floor(r * draw[2].toInt())) + draw[3].toInt();
            if (draw[1].toChar() == QLatin1Char('L'))
                QCOMPARE(button->position().x(), value);
            else
                QCOMPARE(button->position().y(), unitsToPixels(value));
        }
    }

    void theMoveIsAlwaysOneToSixEvenJustBelowOne() {
        TestGame t;
        t.random.script = {std::nextafter(1.0f, 0.0f)};
        setAll(t.game.board, false);
        t.game.shuffle.Timer2_Timer();
        QCOMPARE(visibility(t.game.board), (Visibility{false, false, false, false, false, true}));
    }

    void aTopOf256IsHalfWayDown() {
        TestGame t;
        t.game.board.paricmd.setTop(256);
        QCOMPARE(t.game.board.paricmd.position().y(), 336);
        t.game.board.paricmd.setTop(512);
        QCOMPARE(t.game.board.paricmd.position().y(), 672);
    }

    void renumberingReseedsFromTheCurrentValue() {
        TestGame t;
        t.game.state.ndispari2 = 33;
        t.random.script = {rForMove(6)};
        t.game.shuffle.Timer2_Timer();
        QCOMPARE(t.random.reseeds, (std::vector<int>{ScriptedRandom::timeReseed, 33}));
        QCOMPARE(t.game.board.disparicmd2.caption(), QString::number(t.game.state.ndispari2));
    }

    void overManyShufflesNumbersKeepTheirRemaindersAndRightTargetsKeepTheirs() {
        TestGame t;
        Board& board = t.game.board;
        board.paricmd.setCaption(QStringLiteral("45"));
        board.paricmd1.setCaption(QStringLiteral("90"));
        board.paricmd2.setCaption(QStringLiteral("600"));
        std::array<int, 6> seen{};
        for (int i = 0; i < 100'000; ++i) {
            t.time.now += 7;
            t.random.script = {};
            const qint16 before[3] = {t.game.state.ndispari, t.game.state.ndispari1,
                                      t.game.state.ndispari2};
            t.game.shuffle.Timer2_Timer();
            const GameState& s = t.game.state;
            if (s.ndispari != before[0]) {
                QCOMPARE(s.ndispari % 15, 6);
                QVERIFY(s.ndispari >= 21 && s.ndispari <= 13506);
                QCOMPARE(board.disparicmd.caption(), QString::number(s.ndispari));
                ++seen[2];
            }
            if (s.ndispari1 != before[1]) {
                QCOMPARE(s.ndispari1 % 15, 8);
                QVERIFY(s.ndispari1 >= 23 && s.ndispari1 <= 3008);
                ++seen[1];
            }
            if (s.ndispari2 != before[2]) {
                QCOMPARE(s.ndispari2 % 15, 3);
                QVERIFY(s.ndispari2 >= 18 && s.ndispari2 <= 1203);
                ++seen[5];
            }
        }
        QCOMPARE(board.paricmd.caption(), QStringLiteral("45"));
        QCOMPARE(board.paricmd1.caption(), QStringLiteral("90"));
        QCOMPARE(board.paricmd2.caption(), QStringLiteral("600"));
        QVERIFY(seen[1] > 10'000 && seen[2] > 10'000 && seen[5] > 10'000);
    }
};

QTEST_GUILESS_MAIN(ShuffleTest)
#include "tst_shuffle.moc"
