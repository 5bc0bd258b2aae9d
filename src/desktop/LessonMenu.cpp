#include "desktop/LessonMenu.h"

#include "game/Lessons.h"

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

LessonMenu::LessonMenu(QWidget* parent, const std::function<void(int)>& chosen)
    : QMenu(QStringLiteral("Lezione"), parent)
    , m_group(new QActionGroup(this)) {
    setObjectName(QStringLiteral("Lezione"));
    menuAction()->setObjectName(objectName());
    for (const int divisor : Lessons::divisors) {
        QAction* entry = addAction(Lessons::name(divisor));
        entry->setObjectName(QStringLiteral("Lezione%1").arg(divisor));
        entry->setCheckable(true);
        entry->setData(divisor);
        m_group->addAction(entry);
        connect(entry, &QAction::triggered, this, [chosen, divisor] { chosen(divisor); });
    }
}

void LessonMenu::show(int current, bool fixed) {
    for (QAction* entry : m_group->actions()) {
        entry->setChecked(entry->data().toInt() == current);
        // Taken out, not hidden: a hidden entry stays in the tree that assistive tools read.
        if (fixed && !entry->isChecked())
            removeAction(entry);
    }
}

QAccessibleInterface* LessonMenu::accessible(const QString&, QObject* object) {
    auto* entry = qobject_cast<QAction*>(object);
    return entry && dynamic_cast<LessonMenu*>(entry->parent()) ? new LessonEntry(entry) : nullptr;
}
