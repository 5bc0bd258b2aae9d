// Run: build/bin/lesson_shares
// Twenty matches of each lesson at the designed pace, through the real rules: a jump every
// 1.3 s for five minutes, and a child who clicks one of the numbers in sight at each jump. Of the
// wrong numbers the child sees, how many pass part of the rule: the share a shortcut would get
// wrong.
#include "FakePlatform.h"
#include "game/Lessons.h"

#include <QCoreApplication>

#include <cstdio>
#include <random>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    // The simpler divisors a child could test instead of the lesson's rule.
    const QMap<int, QList<int>> shortcuts{{4, {2}},     {6, {2, 3}},  {9, {3}}, {10, {2, 5}},
                                          {12, {3, 4}}, {15, {3, 5}}, {25, {5}}};
    std::printf("lesson  wrong numbers seen  multiples of each simpler divisor\n");
    for (int divisor : Lessons::divisors) {
        std::mt19937 child(divisor);
        QMap<int, int> passing;
        int seen = 0;
        for (int match = 0; match < 20; ++match) {
            TestGame t;
            t.folders.config.lesson.value = divisor;
            t.start();
            t.game.backgroundClicked();
            Board& board = t.game.board;
            Control* const wrong[] = {&board.disparicmd, &board.disparicmd1, &board.disparicmd2};
            QString last[3];
            for (int jump = 0; jump < 300 * 10 / 13; ++jump) {
                t.time.msecs += 1300;
                t.game.timerTicked(board.Timer2);
                for (int i = 0; i < 3; ++i)
                    if (wrong[i]->isVisible() &&
                        wrong[i]->caption() != std::exchange(last[i], wrong[i]->caption())) {
                        ++seen;
                        for (int part : shortcuts.value(divisor))
                            passing[part] += wrong[i]->caption().toInt() % part == 0;
                    }
                std::vector<Control*> inSight;
                for (const Control& control : board.controls())
                    if (control.isVisible() &&
                        control.design().kind == TavolaDesign::Kind::Button &&
                        control.design().has(TavolaDesign::Hidden))
                        inSight.push_back(const_cast<Control*>(&control));
                if (!inSight.empty())
                    t.game.controlClicked(*inSight[child() % inSight.size()]);
            }
        }
        QStringList shares;
        for (auto share = passing.cbegin(); share != passing.cend(); ++share)
            shares
                << QStringLiteral("of %1: %2 %").arg(share.key()).arg(100 * share.value() / seen);
        std::printf("%6d  %18d  %s\n", divisor, seen,
                    qPrintable(shares.join(QStringLiteral(", "))));
    }
}
