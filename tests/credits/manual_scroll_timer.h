#pragma once

#include "credits/scroll_timer.h"

// A scroll timer that ticks only when the test says so.
class ManualScrollTimer final : public ScrollTimer {
public:
    void start(std::chrono::milliseconds period, std::function<void()> tick) override {
        m_period = period;
        m_tick = std::move(tick);
        m_active = true;
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }

    std::chrono::milliseconds period() const { return m_period; }
    // Runs the callback as the running timer would; a stopped timer does nothing.
    void tick(int times = 1) {
        for (int i = 0; i < times && m_active; ++i)
            m_tick();
    }

private:
    std::chrono::milliseconds m_period{0};
    std::function<void()> m_tick;
    bool m_active = false;
};
