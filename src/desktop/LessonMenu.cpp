#include "desktop/LessonMenu.h"

#include "game/GameState.h"
#include "game/Lessons.h"
#include "game/Review.h"

#include <QAccessible>
#include <QActionGroup>

namespace {

// A lesson's entry, as assistive tools are told of it: a radio button, which a menu item that
// is merely checkable is not.
class LessonEntry final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    explicit LessonEntry(QAction* entry)
        : m_entry(entry) {}
    bool isValid() const override { return menu(); }
    QObject* object() const override { return m_entry; }
    QWindow* window() const override { return parent()->window(); }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(menu());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? m_entry->text() : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const QRect at = menu()->actionGeometry(m_entry);
        return QRect(menu()->mapToGlobal(at.topLeft()), at.size());
    }
    QAccessible::Role role() const override { return QAccessible::RadioButton; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.checkable = state.focusable = true;
        state.checked = m_entry->isChecked();
        state.focused = menu()->activeAction() == m_entry;
        state.invisible = !menu()->isVisible();
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction())
            m_entry->trigger();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QMenu* menu() const { return qobject_cast<QMenu*>(m_entry->parent()); }
    QAction* m_entry;
};

} // namespace

LessonMenu::LessonMenu(QWidget* parent, const Chosen& chosen)
    : QMenu(QStringLiteral("Lezione"), parent) {
    setObjectName(QStringLiteral("Lezione"));
    menuAction()->setObjectName(objectName());
    std::vector<Choice> lessons;
    for (const int divisor : Lessons::divisors)
        lessons.push_back(
            {Lessons::name(divisor), QStringLiteral("Lezione%1").arg(divisor), divisor});
    m_lessons = addChoices(lessons, chosen.lesson);
    addSeparator();
    m_kinds =
        addChoices({{QStringLiteral("Gara: 5 minuti, e il record"), QStringLiteral("Gara"), 0},
                    {QStringLiteral("Allenamento: senza tempo e senza record"),
                     QStringLiteral("Allenamento"), 1},
                    {Review::entry(0), QStringLiteral("Ripasso"), 2}},
                   chosen.kind);
    m_review = m_kinds->actions().last();
    addSeparator();
    m_paces = addChoices({{QStringLiteral("Numeri veloci: un salto ogni 1,3 secondi"),
                           QStringLiteral("Ritmo1300"), 1300},
                          {QStringLiteral("Numeri più lenti: ogni 2 secondi (allenamento)"),
                           QStringLiteral("Ritmo2000"), 2000},
                          {QStringLiteral("Numeri lentissimi: ogni 3 secondi (allenamento)"),
                           QStringLiteral("Ritmo3000"), 3000}},
                         chosen.pace);
    addSeparator();
    m_readAloud = addAction(QStringLiteral("Leggi ad alta voce"));
    m_readAloud->setObjectName(QStringLiteral("LeggiAdAltaVoce"));
    m_readAloud->setCheckable(true);
    connect(m_readAloud, &QAction::triggered, this, chosen.readAloud);
}

QActionGroup* LessonMenu::addChoices(const std::vector<Choice>& choices,
                                     const std::function<void(int)>& chosen) {
    auto* group = new QActionGroup(this);
    for (const Choice& choice : choices) {
        QAction* entry = addAction(choice.text);
        entry->setObjectName(choice.name);
        entry->setCheckable(true);
        entry->setData(choice.value);
        group->addAction(entry);
        connect(entry, &QAction::triggered, this,
                [chosen, value = choice.value] { chosen(value); });
    }
    return group;
}

void LessonMenu::show(const GameState& state) {
    mark(m_lessons, state.divisor, state.lessonFixed);
    // A match at a slower pace keeps no record: it is never ticked as a race.
    m_review->setText(Review::entry(state.reviewDue));
    if (!state.reviewOn)
        removeAction(m_review);
    mark(m_kinds, int(state.kind()),
         state.practiceFixed || state.reviewFixed ||
             (state.paceFixed && state.pace != Settings::racePace));
    mark(m_paces, state.pace, state.paceFixed);
    m_readAloud->setChecked(state.readAloud);
    m_readAloud->setEnabled(!state.readAloudFixed); // the teacher's choice, shown
}

void LessonMenu::mark(QActionGroup* group, int current, bool fixed) {
    for (QAction* entry : group->actions()) {
        entry->setChecked(entry->data().toInt() == current);
        // Taken out, not hidden: a hidden entry stays in the tree that assistive tools read.
        if (fixed && !entry->isChecked())
            removeAction(entry);
    }
}

QAccessibleInterface* LessonMenu::accessible(const QString&, QObject* object) {
    auto* entry = qobject_cast<QAction*>(object);
    return entry && entry->actionGroup() && dynamic_cast<LessonMenu*>(entry->parent())
               ? new LessonEntry(entry)
               : nullptr;
}
