#pragma once

#include <QMenu>

#include <functional>
#include <vector>

struct GameState;
class QAccessibleInterface;
class QActionGroup;

// "Lezione": the lessons, one to choose; then a match, a practice match or a review; then the pace
// of the numbers. The current ones are marked; what the teacher fixed is the only entry of its
// group. Assistive tools hear each entry as one of a choice, checked or not, and only the entries
// that are offered.
class LessonMenu final : public QMenu {
public:
    struct Chosen {
        std::function<void(int)> lesson; // its divisor
        std::function<void(int)> kind;   // a ClassRegister::Kind
        std::function<void(int)> pace;   // ms between two jumps
        std::function<void(bool)> readAloud;
    };
    LessonMenu(QWidget* parent, const Chosen& chosen);
    // Marks the current choices; a fixed one is the only entry of its group.
    void show(const GameState& state);

    static QAccessibleInterface* accessible(const QString& className, QObject* object);

private:
    struct Choice {
        QString text;
        QString name;
        int value;
    };
    QActionGroup* addChoices(const std::vector<Choice>& choices,
                             const std::function<void(int)>& chosen);
    void mark(QActionGroup* group, int current, bool fixed);

    QActionGroup* m_lessons = nullptr;
    QActionGroup* m_kinds = nullptr;
    QActionGroup* m_paces = nullptr;
    QAction* m_review = nullptr;
    QAction* m_readAloud = nullptr;
};
