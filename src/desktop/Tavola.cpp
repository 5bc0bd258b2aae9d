#include "desktop/Tavola.h"

#include "desktop/FontMap.h"
#include "desktop/GraphicButton.h"
#include "desktop/LabelRoom.h"
#include "desktop/LessonMenu.h"
#include "desktop/MenuBar.h"
#include "desktop/Pictures.h"
#include "desktop/PlaySurface.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <algorithm>
#include <functional>

Tavola::Tavola(Services services, std::function<void()> quit)
    : m_quit(std::move(quit))
    , m_game(services, *this) {
    setObjectName(QStringLiteral("Tavola"));
    setWindowTitle(QString::fromLatin1(TavolaDesign::caption));
    QAccessible::installFactory(&PlaySurface::accessible);
    QAccessible::installFactory(&LessonMenu::accessible);
    m_surface = new PlaySurface(this, m_game);
    m_surface->placeIn(*this);
    // The program's icon, before the first box: the name prompt carries it too.
    QApplication::setWindowIcon(QIcon(Pictures::windowIcon));
    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer2.setObjectName(QStringLiteral("Timer2"));
    buildTimer(m_timer1, m_game.board.Timer1);
    buildTimer(m_timer2, m_game.board.Timer2);
    m_game.board.setObserver(this);
}

Tavola::~Tavola() {
    m_game.board.setObserver(nullptr);
}

QWidget* Tavola::surface() const {
    return m_surface;
}

QWidget* Tavola::controlWidget(const QString& name) const {
    return m_surface->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
}

void Tavola::setVisible(bool visible) {
    if (visible)
        buildWindow();
    QMainWindow::setVisible(visible);
}

void Tavola::buildWindow() {
    if (!m_widgets.isEmpty())
        return;
    buildMenus();
    buildControls();
}

QWidget* Tavola::makeWidget(const Control& control) {
    const TavolaDesign::ControlDesign& design = control.design();
    switch (design.kind) {
    case TavolaDesign::Kind::Button: {
        QAbstractButton* button = nullptr;
        if (design.has(TavolaDesign::Graphical)) {
            auto* graphic = new GraphicButton(m_surface);
            const auto picture = [](const char* path) { return path ? QIcon(path) : QIcon(); };
            graphic->setPictures(picture(design.picture.normal), picture(design.picture.pressed),
                                 picture(design.picture.disabled));
            button = graphic;
        } else {
            button = new QPushButton(m_surface);
        }
        connect(button, &QAbstractButton::clicked, this,
                [this, &control] { m_game.controlClicked(control); });
        return button;
    }
    case TavolaDesign::Kind::Label: {
        auto* label = new QLabel(m_surface);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment((design.has(TavolaDesign::Centred) ? Qt::AlignHCenter : Qt::AlignLeft) |
                            Qt::AlignTop);
        if (design.has(TavolaDesign::Border))
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        return label;
    }
    case TavolaDesign::Kind::TextBox:
        return new QLineEdit(m_surface);
    }
    return nullptr;
}

void Tavola::applyDesign(const Control& control, QWidget* widget) {
    const TavolaDesign::ControlDesign& design = control.design();
    widget->setObjectName(control.name());
    widget->setGeometry(QRect(control.position(), control.designGeometry().size()));
    widget->setFont(FontMap::font(design.font));
    // A click on a control never counts as a click on the background.
    widget->setAttribute(Qt::WA_NoMousePropagation);
    widget->setToolTip(QString::fromUtf8(design.toolTip));
    widget->setEnabled(!design.has(TavolaDesign::Disabled));
    if (design.foreground.isValid()) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, design.foreground);
        palette.setColor(QPalette::Text, design.foreground);
        widget->setPalette(palette);
    }
    if (design.cursor)
        widget->setCursor(
            Pictures::cursor(QString::fromLatin1(design.cursor), {10, 10}, devicePixelRatioF()));
    applyCaption(control, widget, control.caption() != QString::fromUtf8(design.text));
    applyBackground(control, widget);
    widget->setVisible(control.isVisible());
}

void Tavola::buildControls() {
    std::vector<std::pair<int, QWidget*>> tabOrder; // buttons and text boxes, as stored
    for (const Control& control : m_game.board.controls()) {
        QWidget* widget = makeWidget(control);
        applyDesign(control, widget);
        m_widgets.insert(&control, widget);
        if (!qobject_cast<QLabel*>(widget))
            tabOrder.emplace_back(control.design().tabIndex, widget);
    }
    // Buttons and text boxes are windows of their own on the desktop the game comes from, and
    // labels are drawn on the window beneath them: every one lies above every label, in their
    // stored order among themselves, so a target is never hidden under a label.
    for (const auto& [index, widget] : tabOrder)
        widget->raise();
    std::stable_sort(tabOrder.begin(), tabOrder.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    m_surface->setCursor(Pictures::cursor(Pictures::crosshair, {16, 16}, devicePixelRatioF()));
    fitChangingLabels(nullptr);
}

void Tavola::buildMenus() {
    auto* bar = new MenuBar(this);
    setMenuBar(bar);
    QHash<QString, QMenu*> menus;
    const auto all = TavolaDesign::menus();
    for (const auto& item : all) {
        const QString name = QString::fromLatin1(item.name);
        const QString caption = m_game.board.menuCaption(name);
        QAction* action = nullptr;
        if (item.parent) {
            action = menus.value(QString::fromLatin1(item.parent))->addAction(caption);
        } else if (std::any_of(all.begin(), all.end(), [&](const auto& other) {
                       return other.parent && name == QLatin1String(other.parent);
                   })) {
            QMenu* menu = bar->addMenu(caption);
            menu->setObjectName(name);
            menus.insert(name, menu);
            action = menu->menuAction();
        } else {
            action = bar->addAction(caption);
        }
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, name] { m_game.menuClicked(name); });
        if (name == u"Next") {
            action->setShortcut(QKeySequence::New); // "Nuovo gioco" asks first, as always
            buildLessonMenu();
            buildPauseEntry();
        }
    }
}

void Tavola::buildLessonMenu() {
    // Each choice asks first; the marks then show what holds ("No" keeps the one marked).
    LessonMenu::Chosen chosen;
    chosen.lesson = [this](int divisor) {
        m_game.lessonChosen(divisor);
        showLesson();
    };
    using Kind = ClassRegister::Kind;
    chosen.kind = [this](int kind) {
        // A race is played at the race's pace.
        const GameState& state = m_game.state;
        m_game.matchChosen(Kind(kind), Kind(kind) != Kind::Race || state.paceFixed
                                           ? state.pace
                                           : Settings::racePace);
        showLesson();
    };
    chosen.pace = [this](int pace) {
        m_game.matchChosen(m_game.state.chosenKind(), pace);
        showLesson();
    };
    chosen.readAloud = [this](bool on) {
        m_game.readAloudChosen(on);
        showLesson();
    };
    m_lessons = new LessonMenu(menuBar(), chosen);
    menuBar()->addMenu(m_lessons);
    // The numbers due change as matches end.
    connect(m_lessons, &QMenu::aboutToShow, this, &Tavola::showLesson);
    showLesson();
}

void Tavola::buildPauseEntry() {
    m_pause = menuBar()->addAction(QString());
    m_pause->setObjectName(QStringLiteral("Pausa"));
    m_pause->setShortcut(Qt::Key_P);
    m_pause->setAutoRepeat(false); // P held down is one press
    connect(m_pause, &QAction::triggered, this, [this] { m_game.pauseToggled(); });
    pauseChanged(m_game.board.isPaused());
}

void Tavola::pauseChanged(bool paused) {
    if (m_pause) // the menus are built when the window is first shown
        m_pause->setText(paused ? QStringLiteral("Riprendi") : QStringLiteral("Pausa"));
}

void Tavola::showLesson() {
    m_lessons->show(m_game.state);
}

void Tavola::menuCaptionChanged(const QString& name) {
    if (auto* entry = menuBar()->findChild<QAction*>(name))
        entry->setText(m_game.board.menuCaption(name));
}

void Tavola::buildTimer(QTimer& timer, const GameTimer& gameTimer) {
    // Precise: a held timer goes on with exactly what was left of its interval.
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, [this, &timer, &gameTimer] {
        if (timer.interval() != gameTimer.interval())
            timer.start(gameTimer.interval()); // the rest of a held interval has run out
        m_game.timerTicked(gameTimer);
    });
    timerChanged(gameTimer);
}

void Tavola::applyCaption(const Control& control, QWidget* widget, bool resize) {
    const QString spoken = control.caption().trimmed().remove(QLatin1Char('&'));
    widget->setAccessibleName(spoken.isEmpty() ? QString::fromUtf8(control.design().spokenName)
                                               : spoken);
    widget->setProperty("text", control.caption()); // labels, buttons and text boxes alike
    // A label that sizes to its text keeps its left edge.
    if (resize && control.design().has(TavolaDesign::AutoSize))
        widget->resize(widget->sizeHint());
}

void Tavola::fitChangingLabels(const Control* only) {
    Board& board = m_game.board;
    const auto fit = [this](const Control& control, int roomLeft, int roomRight) {
        auto* label = static_cast<QLabel*>(m_widgets.value(&control));
        const QRect designed = control.designGeometry();
        const QFont font = FontMap::font(control.design().font);
        if (control.caption() == QString::fromUtf8(control.design().text) &&
            designed.right() < roomRight) {
            label->setFont(font);
            label->setGeometry(designed);
            label->setToolTip({});
        } else {
            LabelRoom::fit(*label, control.caption(), font, designed.topLeft(), roomLeft,
                           roomRight);
        }
        return label->x();
    };
    const auto changed = [&](const Control& control) { return !only || only == &control; };
    if (changed(board.Punteggio)) {
        const QRect box = board.find(u"lblScore")->designGeometry().adjusted(2, 0, -2, 0);
        fit(board.Punteggio, box.left(), box.right());
    }
    if (changed(board.lblnome1))
        fit(board.lblnome1, 0, TavolaDesign::clientWidth);
    if (changed(board.lblpunti) || changed(board.lblnome)) {
        // The record's row reads as one sentence: each part ends a space before the next.
        const int space = 8, sentence = board.find(u"Label12")->designGeometry().right() + space;
        const int score = fit(board.lblpunti, sentence, TavolaDesign::clientWidth);
        fit(board.lblnome, sentence, fit(*board.find(u"Label13"), sentence, score - space) - space);
    }
}

void Tavola::applyBackground(const Control& control, QWidget* widget) {
    if (!control.design().background.isValid())
        return;
    const QColor colour = QColor::fromRgb(control.background());
    if (auto* button = dynamic_cast<GraphicButton*>(widget)) {
        button->setColour(colour);
        return;
    }
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Button, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void Tavola::controlChanged(const Control& control, ControlChange change) {
    QWidget* widget = m_widgets.value(&control);
    if (!widget)
        return;
    switch (change) {
    case ControlChange::Caption:
        applyCaption(control, widget, true);
        if (control.design().has(TavolaDesign::AutoSize))
            fitChangingLabels(&control);
        break;
    case ControlChange::Visible:
        // A button hidden with the focus hands it to the play surface, never to the next
        // button in the chain: that may be the exit.
        if (!control.isVisible() && widget == focusWidget())
            m_surface->setFocus();
        widget->setVisible(control.isVisible());
        break;
    case ControlChange::Position:
        widget->move(control.position());
        keepWithinReach(widget);
        break;
    case ControlChange::Background:
        applyBackground(control, widget);
        break;
    }
}

void Tavola::keepWithinReach(QWidget* widget) {
    // The shuffle may put a number wholly outside the window: no key may reach a number the
    // child cannot see, and assistive tools say where it is.
    if (!qobject_cast<QAbstractButton*>(widget))
        return;
    // Called at every jump: a description set again would tell assistive tools of a change.
    // Seen: inside the field, and inside the window, which a window system may make smaller.
    const QRect window(m_surface->mapFrom(this, QPoint()), size());
    const bool seen = (m_surface->rect() & window).intersects(widget->geometry());
    if (seen == (widget->focusPolicy() != Qt::NoFocus))
        return;
    widget->setFocusPolicy(seen ? Qt::StrongFocus : Qt::NoFocus);
    widget->setAccessibleDescription(seen ? QString() : QStringLiteral("fuori dalla finestra"));
    if (!seen && widget == focusWidget())
        m_surface->setFocus();
}

void Tavola::timerChanged(const GameTimer& timer) {
    const bool clock = &timer == &m_game.board.Timer1;
    QTimer& qtimer = clock ? m_timer1 : m_timer2;
    int& left = clock ? m_timer1Left : m_timer2Left;
    if (timer.isEnabled()) {
        qtimer.start(timer.isResuming() && left >= 0 ? left : timer.interval());
    } else {
        left = timer.isHeld() && qtimer.isActive() ? qtimer.remainingTime() : -1;
        qtimer.stop();
        qtimer.setInterval(timer.interval());
    }
}

void Tavola::captionChanged(const QString& caption) {
    setWindowTitle(caption);
}

void Tavola::canvasChanged() {
    m_surface->update();
}

void Tavola::boardReset() {
    if (m_lessons) {
        for (const auto& entry : TavolaDesign::menus())
            menuCaptionChanged(QString::fromLatin1(entry.name));
        showLesson();
    }
    // Labels that size to their text grew with their captions: back to the design sizes.
    for (const Control& control : m_game.board.controls())
        if (QWidget* widget = m_widgets.value(&control)) {
            widget->setGeometry(control.designGeometry());
            widget->setFont(FontMap::font(control.design().font));
            keepWithinReach(widget);
        }
}

void Tavola::showWindow() {
    show();
    raise();
    activateWindow();
    m_surface->setFocus();
}

void Tavola::hideWindow() {
    hide();
}

void Tavola::endProgram() {
    m_timer1.stop();
    m_timer2.stop();
    // Close the boxes still open, innermost first: their handlers then unwind.
    for (int guard = 0; guard < 16; ++guard) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            break;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }
    close();
    if (m_quit)
        m_quit();
}

void Tavola::closeEvent(QCloseEvent* event) {
    // Closing the window ends the program at once, without looking at the record.
    m_game.windowClosed();
    event->accept();
}

void Tavola::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange)
        m_game.resized(isMinimized());
    QMainWindow::changeEvent(event);
}

void Tavola::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    for (QWidget* widget : std::as_const(m_widgets))
        keepWithinReach(widget);
}

void Tavola::showEvent(QShowEvent* event) {
    m_game.board.canvas.setDevicePixelRatio(devicePixelRatioF());
    m_game.board.outerWidthTwips = frameGeometry().width() * TavolaDesign::twipsPerPixel;
    QMainWindow::showEvent(event);
}
