#pragma once

#include "credits/scroll_timer.h"

// A scroll timer on a clock that runs only when the test says so.
class ManualScrollTimer final : public ScrollTimer {
public:
    void start(std::chrono::milliseconds period, std::function<void()> tick) override {
        m_tick = std::move(tick);
        m_active = true;
        setPeriod(period);
    }
    void setPeriod(std::chrono::milliseconds period) override {
        m_period = period;
        m_due = m_now + period;
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }

    std::chrono::milliseconds period() const { return m_period; }
    // The time the test has let pass.
    std::chrono::milliseconds now() const { return m_now; }

    // Lets the time pass up to each of the next ticks; a stopped timer does nothing.
    void tick(int times = 1) {
        for (int i = 0; i < times && m_active; ++i)
            fire();
    }
    // Lets the time pass, ticking whenever the timer is due.
    void advance(std::chrono::milliseconds time) {
        const auto end = m_now + time;
        while (m_active && m_due <= end)
            fire();
        m_now = end;
    }

private:
    void fire() {
        m_now = m_due;
        m_due += m_period;
        m_tick();
    }

    std::chrono::milliseconds m_period{0};
    std::chrono::milliseconds m_now{0};
    std::chrono::milliseconds m_due{0};
    std::function<void()> m_tick;
    bool m_active = false;
};
