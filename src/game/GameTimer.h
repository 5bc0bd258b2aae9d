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
    void setEnabled(bool enabled) { set(m_enabled, enabled); }
    int interval() const { return m_interval; }
    void setInterval(int interval) { set(m_interval, interval); }
    void reset() {
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
    BoardObserver* m_observer = nullptr;
};
