#include "game/Review.h"

#include "game/Game.h"
#include "game/Lessons.h"
#include "platform/NumberText.h"

#include <algorithm>

QString Review::entry(int due) {
    if (due == 0)
        return QStringLiteral("Ripasso: nessun numero da rivedere, i numeri che ingannano");
    return due == 1 ? QStringLiteral("Ripasso: 1 numero da rivedere")
                    : QStringLiteral("Ripasso: %1 numeri da rivedere").arg(due);
}

void Review::tell(const QString& problem) {
    if (!m_told.contains(problem)) { // once, not at every match
        m_told.insert(problem);
        m_game.messageBoxWithTimersHeld({problem});
    }
}

void Review::matchBegins() {
    GameState& state = m_game.state;
    m_items.clear();
    m_dueTaken.clear();
    m_dueMultiples.clear();
    m_metTaken.clear();
    m_metMultiples.clear();
    m_inSight.clear();
    m_folder = state.reviewOn ? m_game.folders().ownFolder() : QString();
    if (state.reviewOn && m_folder.isEmpty())
        tell(QStringLiteral("Non riesco a usare la tua cartella del ripasso: i numeri sbagliati "
                            "di oggi non torneranno nei prossimi ripassi."));
    if (!m_folder.isEmpty()) {
        History::Loaded loaded = History::load(m_folder, state.divisor);
        if (!loaded.problem.isEmpty())
            tell(loaded.problem);
        m_items = loaded.items;
    }
    m_saved = m_items;
    const QDate today = m_game.time().now().date();
    for (const History::Item& item : std::as_const(m_items))
        if (History::isDue(item, today))
            (item.kind == History::Kind::Taken ? m_dueTaken : m_dueMultiples)
                .push_back(item.number);
    state.reviewDue = int(m_dueTaken.size() + m_dueMultiples.size());
}

QString Review::matchEnds() {
    GameState& state = m_game.state;
    if (m_folder.isEmpty())
        return {};
    const QDate today = m_game.time().now().date();
    using History::Kind;
    for (const int number : std::as_const(m_metTaken))
        History::metRightly(m_items, Kind::Taken, number, today);
    for (const int number : std::as_const(m_metMultiples))
        History::metRightly(m_items, Kind::LetPass, number, today);
    // Fallen for in this match, whatever else it met: it starts over.
    for (const int number : std::as_const(state.wrongNumbers))
        if (number > 0 && number % state.divisor != 0)
            History::fallenFor(m_items, Kind::Taken, number, today);
    for (const int number : std::as_const(state.letPass))
        History::fallenFor(m_items, Kind::LetPass, number, today);
    m_metTaken.clear();
    m_metMultiples.clear();
    state.reviewDue = int(History::dueCount(m_items, today));
    if (m_items == m_saved)
        return {};
    const QString problem = History::save(m_folder, state.divisor, m_items);
    if (problem.isEmpty())
        m_saved = m_items;
    return problem;
}

qint16 Review::nextDue(std::deque<int>& due, qint16 drawn) const {
    const Board& board = m_game.board;
    for (size_t turn = 0; turn < due.size(); ++turn) {
        const int number = due.front();
        due.pop_front();
        due.push_back(number);
        const QString caption = NumberText::plain(qint16(number));
        if (std::ranges::none_of(board.targets(), [&](const Control* target) {
                return target->caption() == caption;
            }))
            return qint16(number);
    }
    return drawn; // each is on a target already
}

qint16 Review::wrongTarget(qint16 drawn) {
    if (!m_game.state.review)
        return drawn;
    if (m_dueTaken.empty())
        return qint16(Lessons::nearMiss(drawn, m_game.state.divisor));
    return nextDue(m_dueTaken, drawn);
}

qint16 Review::rightTarget(qint16 drawn) {
    return m_game.state.review ? nextDue(m_dueMultiples, drawn) : drawn;
}

bool Review::isRightTarget(const Control* target) const {
    const Board& board = m_game.board;
    return target == &board.paricmd || target == &board.paricmd1 || target == &board.paricmd2;
}

void Review::met(std::deque<int>& due, QList<int>& met, int number) {
    if (const auto at = std::ranges::find(due, number); m_game.state.review && at != due.end()) {
        due.erase(at); // met: the other due numbers take its turns
        met.append(number);
    }
}

void Review::clicked(const Control& target) {
    m_inSight.removeIf([&](const InSight& seen) { return seen.target == &target; });
    if (isRightTarget(&target))
        met(m_dueMultiples, m_metMultiples, target.caption().toInt());
}

void Review::retry(Control& target, int clicked) {
    const GameState& state = m_game.state;
    if (!state.review || !state.explanations)
        return;
    target.setCaption(NumberText::plain(qint16(Lessons::retry(clicked, state.divisor))));
    target.show();
    // A whole jump to look at it: the next one is counted from now.
    if (GameTimer& jumps = m_game.board.Timer2; jumps.isEnabled()) {
        jumps.setEnabled(false);
        jumps.setEnabled(true);
    }
}

void Review::jumped() {
    QList<InSight> now;
    for (const Control* target : m_game.board.targets())
        if (target->isVisible() && target->position().x() < TavolaDesign::clientWidth &&
            target->position().y() < TavolaDesign::scaleHeight)
            now.append({target, target->caption()});
    // Under a box the child is reading, not watching.
    if (!m_game.inBox()) {
        for (const InSight& seen : std::as_const(m_inSight)) {
            const bool still = now.contains(seen);
            if (isRightTarget(seen.target) && !still)
                m_game.state.letPass.append(seen.caption.toInt());
            else if (!isRightTarget(seen.target) && still)
                met(m_dueTaken, m_metTaken, seen.caption.toInt());
        }
    }
    m_inSight = now;
}
