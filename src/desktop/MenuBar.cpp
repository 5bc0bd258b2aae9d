#include "desktop/MenuBar.h"

#include <QActionEvent>
#include <QApplication>
#include <QMenu>
#include <QProxyStyle>
#include <QShortcut>
#include <QStyleOption>
#include <QTimer>

// Lets Alt alone take the keyboard to the menu bar, and marks the entry the keyboard is on.
class MenuBar::Style final : public QProxyStyle {
public:
    explicit Style(const bool& byKeyboard)
        : m_byKeyboard(byKeyboard) {}
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
            item && element == CE_MenuBarItem && item->state & State_Selected && m_byKeyboard) {
            QStyleOptionMenuItem shown = *item;
            shown.state |= State_Sunken;
            return QProxyStyle::drawControl(element, &shown, painter, widget);
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    const bool& m_byKeyboard;
};

MenuBar::MenuBar(QWidget* window, QWidget* playSurface)
    : QMenuBar(window)
    , m_playSurface(playSurface)
    , m_style(std::make_unique<Style>(m_byKeyboard)) {
    setStyle(m_style.get());
    // F10 highlights the first menu.
    connect(new QShortcut(QKeySequence(Qt::Key_F10), window), &QShortcut::activated, this,
            [this] { setActiveAction(actions().constFirst()); });
    // Return and Escape reach the highlighted entry from the play surface too.
    playSurface->installEventFilter(this);
}

MenuBar::~MenuBar() {
    setStyle(nullptr); // the style goes before the widget that uses it
}

void MenuBar::noteWhoMoves(QEvent::Type type) {
    if (type == QEvent::KeyPress || type == QEvent::FocusIn) // Alt brings the focus here
        m_byKeyboard = true;
    else if (type == QEvent::MouseMove || type == QEvent::HoverMove || type == QEvent::HoverEnter)
        m_byKeyboard = false;
}

bool MenuBar::event(QEvent* event) {
    noteWhoMoves(event->type());
    if (event->type() == QEvent::KeyPress && takeKey(*static_cast<QKeyEvent*>(event)))
        return true;
    return QMenuBar::event(event);
}

bool MenuBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_playSurface && event->type() == QEvent::KeyPress &&
        takeKey(*static_cast<QKeyEvent*>(event)))
        return true;
    if (qobject_cast<QMenu*>(watched))
        noteWhoMoves(event->type());
    return QMenuBar::eventFilter(watched, event); // the base bar watches the window for Alt
}

void MenuBar::actionEvent(QActionEvent* event) {
    if (event->type() == QEvent::ActionAdded)
        if (QMenu* menu = event->action()->menu())
            menu->installEventFilter(this);
    QMenuBar::actionEvent(event);
}

bool MenuBar::takeKey(const QKeyEvent& key) {
    // The base menu bar opens a highlighted menu from the keyboard but leaves a plain entry
    // highlighted, with the keyboard wherever it was.
    QAction* entry = activeAction();
    if (!m_byKeyboard || !entry || entry->menu() || QApplication::activePopupWidget())
        return false;
    if (key.key() == Qt::Key_Escape) {
        if (hasFocus())
            return false; // after Alt: the base menu bar gives the keyboard back itself
        setActiveAction(nullptr);
        return true;
    }
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
        return false;
    setActiveAction(nullptr);
    if (hasFocus())
        m_playSurface->setFocus();
    QTimer::singleShot(0, entry, &QAction::trigger);
    return true;
}
