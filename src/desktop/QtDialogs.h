#pragma once

#include "platform/Dialogs.h"

#include <QPointer>
#include <QWidget>

// Real modal boxes owned by the game window. Their nested event loop keeps the timers ticking.
class QtDialogs final : public Dialogs {
public:
    void setParent(QWidget* parent) { m_parent = parent; }
    Answer messageBox(const MessageBoxRequest& request) override;
    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;

private:
    // The game window once it is on screen. Before that, boxes belong to no window and are
    // centred on the screen, not on a window that is not there yet.
    QWidget* owner() const { return m_parent && m_parent->isVisible() ? m_parent.data() : nullptr; }

    QPointer<QWidget> m_parent;
};
