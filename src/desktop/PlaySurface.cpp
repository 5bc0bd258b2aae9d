#include "desktop/PlaySurface.h"

#include "game/Game.h"

#include <QAccessibleWidget>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMainWindow>
#include <QPainter>

namespace {

// Controls hidden by design, and number buttons between two jumps, are not there for the player.
class SurfaceAccessible final : public QAccessibleWidget {
public:
    explicit SurfaceAccessible(QWidget* surface)
        : QAccessibleWidget(surface, QAccessible::Client) {}
    int childCount() const override { return int(shown().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = shown();
        return index >= 0 && index < children.size()
                   ? QAccessible::queryAccessibleInterface(children[index])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? int(shown().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
    }

private:
    QList<QWidget*> shown() const {
        QList<QWidget*> children;
        for (QWidget* child : widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!child->isHidden())
                children << child;
        return children;
    }
};

} // namespace

PlaySurface::PlaySurface(QWidget* parent, Game& game)
    : QWidget(parent)
    , m_game(game) {
    setObjectName(QStringLiteral("superficie"));
    setFixedSize(sizeHint());
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The play surface takes the keyboard: Space or Return is a click on the background.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Campo di gioco"));
}

QSize PlaySurface::sizeHint() const {
    return {TavolaDesign::clientWidth, TavolaDesign::clientHeight};
}

QAccessibleInterface* PlaySurface::accessible(const QString&, QObject* object) {
    auto* surface = dynamic_cast<PlaySurface*>(object);
    return surface ? new SurfaceAccessible(surface) : nullptr;
}

void PlaySurface::placeIn(QMainWindow& window) {
    // Around the field, the window's own background: where a window system makes the window
    // larger anyway (a client resizing it with no manager running, a tiling manager), the field
    // stays as designed in the middle and the rest is painted; nothing beyond it is reached.
    auto* surround = new QWidget(&window);
    auto* centred = new QGridLayout(surround);
    centred->setContentsMargins(0, 0, 0, 0);
    centred->addWidget(this, 0, 0, Qt::AlignCenter);
    window.setCentralWidget(surround);
    // A window of fixed size: it can be minimised and closed, not maximised.
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint);
    // Under Wayland, Qt draws the title bar itself and offers maximise whatever the flags; a
    // window that then keeps its fixed size breaks the protocol and the compositor ends the
    // program. There the window takes the maximised size.
    window.layout()->setSizeConstraint(QGuiApplication::platformName() == u"wayland"
                                           ? QLayout::SetMinimumSize
                                           : QLayout::SetFixedSize);
}

void PlaySurface::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QImage& image = m_game.board.canvas.image();
    const QRect area = event->rect();
    const qreal ratio = image.devicePixelRatio();
    painter.drawImage(area, image, QRectF(area.topLeft() * ratio, area.size() * ratio).toRect());
}

void PlaySurface::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    // In a pause, any key takes the match up again, as a click does.
    if (m_game.board.isPaused() && !event->isAutoRepeat() && !event->text().isEmpty()) {
        m_game.backgroundClicked();
        return;
    }
    if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            m_game.backgroundClicked();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PlaySurface::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
}

void PlaySurface::mouseReleaseEvent(QMouseEvent* event) {
    // A click: pressed and released over the background with the left button.
    if (m_pressed && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint()))
        m_game.backgroundClicked();
    m_pressed = false;
}
