#pragma once

#include <QMenu>

#include <functional>

class QAccessibleInterface;
class QActionGroup;

// "Lezione": the lessons, one to choose, the current one marked. When the teacher fixed the
// lesson it is the only entry. Assistive tools hear each entry as one of a choice, checked or
// not, and only the entries that are offered.
class LessonMenu final : public QMenu {
public:
    LessonMenu(QWidget* parent, const std::function<void(int)>& chosen);
    // Marks the current lesson; a fixed one is the only entry offered.
    void show(int current, bool fixed);

    static QAccessibleInterface* accessible(const QString& className, QObject* object);

private:
    QActionGroup* m_group = nullptr;
};
