#pragma once

#include "game/Game.h"

#include <QHash>
#include <QMainWindow>
#include <QTimer>

#include <functional>

class LessonMenu;
class QAction;
class PlaySurface;

// The game window: the controls of its design over the persistent drawing, its menus and its
// two timers, all following the game's board.
class Tavola final : public QMainWindow, private BoardObserver, private WindowHost {
public:
    // `quit` leaves the program once the window has closed.
    explicit Tavola(Services services, std::function<void()> quit = {});
    ~Tavola() override;

    Game& game() { return m_game; }
    // A control's widget, once the window is built.
    QWidget* controlWidget(const QString& name) const;
    QWidget* surface() const;
    // Initialization, load, show and activation.
    void start() { m_game.start(); }
    // The menus and controls, from the board as it stands: when the window is first shown, so
    // that the name prompt, which comes first, does not wait for them.
    void buildWindow();

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    // A widget of the kind the control's design row names, on the play surface.
    QWidget* makeWidget(const Control& control);
    // The row's place, font, tooltip, colours and flags, then the control's own state.
    void applyDesign(const Control& control, QWidget* widget);
    void buildMenus();
    // "Lezione", after "Nuovo gioco": the lessons, the current one marked.
    void buildLessonMenu();
    void showLesson();
    // "Pausa", P too, after the lessons; "Riprendi" while the match is paused.
    void buildPauseEntry();
    void buildTimer(QTimer& timer, const GameTimer& gameTimer);
    void keepWithinReach(QWidget* widget);
    void applyCaption(const Control& control, QWidget* widget, bool resize);
    void applyBackground(const Control& control, QWidget* widget);
    // The labels whose captions a match changes, each within its room on its row: `only` and
    // its row, or all when null.
    void fitChangingLabels(const Control* only);

    // BoardObserver
    void controlChanged(const Control& control, ControlChange change) override;
    void timerChanged(const GameTimer& timer) override;
    void captionChanged(const QString& caption) override;
    void canvasChanged() override;
    void pauseChanged(bool paused) override;
    void menuCaptionChanged(const QString& name) override;
    void boardReset() override;

    // WindowHost
    void showWindow() override;
    void hideWindow() override;
    void endProgram() override;

    std::function<void()> m_quit;
    PlaySurface* m_surface = nullptr;
    QHash<const Control*, QWidget*> m_widgets;
    LessonMenu* m_lessons = nullptr;
    QAction* m_pause = nullptr;
    QTimer m_timer1{this};
    QTimer m_timer2{this};
    // What was left of each timer's interval when it was held; -1 when it was stopped.
    int m_timer1Left = -1;
    int m_timer2Left = -1;
    Game m_game;
};
