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
    QPointer<QWidget> m_parent;
};
