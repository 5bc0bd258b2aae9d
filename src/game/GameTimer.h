#pragma once

#include "game/TavolaDesign.h"

#include <functional>

// A timer as the rules see it: an interval and an enabled flag. The window ticks it.
class GameTimer {
public:
    explicit GameTimer(const TavolaDesign::TimerDesign& design)
        : m_design(&design) {
        reset();
    }

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) {
        if (enabled == m_enabled)
            return;
        m_enabled = enabled;
        if (m_onChange)
            m_onChange();
    }
    int interval() const { return m_design->interval; }
    void reset() { setEnabled(m_design->enabled); }
    void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

private:
    const TavolaDesign::TimerDesign* m_design;
    bool m_enabled = false;
    std::function<void()> m_onChange;
};
