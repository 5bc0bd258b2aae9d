#pragma once

#include "game/BoardObserver.h"
#include "game/TavolaDesign.h"

// A timer as the rules see it: an interval and an enabled flag. The window ticks it.
class GameTimer {
public:
    explicit GameTimer(const TavolaDesign::TimerDesign& design)
        : m_design(&design) {
        reset();
    }

    bool isEnabled() const { return m_enabled; }
    // A handler's own choice, which ends any hold.
    void setEnabled(bool enabled) {
        m_holds = 0;
        set(m_enabled, enabled);
    }
    // Stopped for a while, for a box or a pause; holds nest. Released, it goes on with what was
    // left of its interval, so that short pauses cannot stop the clock.
    void hold() {
        if (m_holds++ == 0) {
            m_enabledBeforeHold = m_enabled;
            set(m_enabled, false);
        }
    }
    void release() {
        if (m_holds == 0 || --m_holds > 0)
            return;
        m_resuming = true;
        set(m_enabled, m_enabledBeforeHold);
        m_resuming = false;
    }
    bool isHeld() const { return m_holds > 0; }
    // While it tells its observer that it is enabled again: the end of a hold.
    bool isResuming() const { return m_resuming; }
    int interval() const { return m_interval; }
    void setInterval(int interval) { set(m_interval, interval); }
    void reset() {
        m_holds = 0;
        setInterval(m_design->interval);
        setEnabled(m_design->enabled);
    }
    void setObserver(BoardObserver* observer) { m_observer = observer; }

private:
    template <typename Value> void set(Value& property, Value value) {
        if (property == value)
            return;
        property = value;
        if (m_observer)
            m_observer->timerChanged(*this);
    }

    const TavolaDesign::TimerDesign* m_design;
    bool m_enabled = false;
    int m_interval = 0;
    int m_holds = 0;
    bool m_enabledBeforeHold = false;
    bool m_resuming = false;
    BoardObserver* m_observer = nullptr;
};
