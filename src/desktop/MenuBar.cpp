#include "desktop/MenuBar.h"

#include "desktop/FontMap.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QProxyStyle>
#include <QShortcut>
#include <QStyleOption>

// Lets Alt alone take the keyboard to the menu bar, and marks the entry the keyboard is on.
class MenuBar::Style final : public QProxyStyle {
public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
            item && element == CE_MenuBarItem && item->state & State_Selected &&
            widget->hasFocus()) {
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
};

MenuBar::MenuBar(QWidget* window)
    : QMenuBar(window)
    , m_style(std::make_unique<Style>()) {
    setStyle(m_style.get());
    // The menu font of the desktop the game comes from: every entry fits the designed width.
    setFont(FontMap::font({"MS Sans Serif", 8, false, false}));
    // F10 takes the keyboard to the first menu, as Alt does.
    connect(new QShortcut(QKeySequence(Qt::Key_F10), window), &QShortcut::activated, this, [this] {
        if (!hasFocus()) // F10 again leaves the way back as it was
            m_returnTo = QApplication::focusWidget();
        setFocus(Qt::MenuBarFocusReason);
        setActiveAction(actions().constFirst());
    });
}

MenuBar::~MenuBar() {
    setStyle(nullptr); // the style goes before the widget that uses it
}

void MenuBar::actionEvent(QActionEvent* event) {
    QMenuBar::actionEvent(event);
    if (event->type() == QEvent::ActionAdded)
        if (auto* menu = event->action()->menu<QMenu*>())
            menu->installEventFilter(this);
}

bool MenuBar::eventFilter(QObject* watched, QEvent* event) {
    // Escape in an open menu closes it and brings the bar back; the bar's own Escape, sent
    // once the menu has closed, gives the keyboard back as one Escape in the bar does.
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!hasFocus())
                    return;
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(this, &escape);
            },
            Qt::QueuedConnection);
    return QMenuBar::eventFilter(watched, event);
}

void MenuBar::keyPressEvent(QKeyEvent* event) {
    QMenuBar::keyPressEvent(event);
    // The base bar gives the keyboard back itself only when Alt brought it.
    if (!activeAction() && hasFocus() && m_returnTo)
        m_returnTo->setFocus(Qt::MenuBarFocusReason);
}
