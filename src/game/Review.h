#pragma once

#include "records/History.h"

#include <QList>
#include <QSet>
#include <QString>

#include <deque>

class Game;
class Control;

// What the child fell for, brought back from the child's own history, and what each match adds
// to it. Every match watches the targets in sight, for the multiples let pass; a review puts the
// numbers due today on the targets, and after each explanation a retry.
class Review {
public:
    explicit Review(Game& game)
        : m_game(game) {}

    // "Ripasso: 7 numeri da rivedere": the review's entry in the menu.
    static QString entry(int due);

    // The match begins: the lesson's history, told when it cannot be used, and what is due.
    void matchBegins();
    // The match is over: what it taught, written to the history. "" or what kept it out.
    QString matchEnds();

    // A target's new number. In a review, the next due number that no target shows; for a wrong
    // target with nothing due, a near miss; else the number drawn.
    qint16 wrongTarget(qint16 drawn);
    qint16 rightTarget(qint16 drawn);
    // A target clicked leaves the watch; a due multiple clicked in a review is met rightly.
    void clicked(const Control& target);
    // In a review, after a wrong hit's explanation: a number that fails the same part of the
    // rule, in sight at once on the same target.
    void retry(Control& target, int clicked);
    // After each jump: a due number in sight all through it was met rightly, and a multiple in
    // sight before it and out of sight after it was let pass. Not while a box is open.
    void jumped();

private:
    struct InSight {
        const Control* target;
        QString caption;
        bool operator==(const InSight&) const = default;
    };
    bool isRightTarget(const Control* target) const;
    qint16 nextDue(std::deque<int>& due, qint16 drawn) const;
    void met(std::deque<int>& due, QList<int>& met, int number);
    void tell(const QString& problem);

    Game& m_game;
    QString m_folder; // the child's own, "" when no history is kept
    History::Items m_items, m_saved;
    std::deque<int> m_dueTaken, m_dueMultiples;
    QList<int> m_metTaken, m_metMultiples;
    QList<InSight> m_inSight;
    QSet<QString> m_told;
};
