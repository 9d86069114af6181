#pragma once

#include <QTimer>

#include <chrono>
#include <functional>

// The periodic timer that moves the credits; tests put one in its place that they tick by hand.
class ScrollTimer {
public:
    virtual ~ScrollTimer() = default;

    // Calls tick every period until stopped; starting again replaces period and callback.
    virtual void start(std::chrono::milliseconds period, std::function<void()> tick) = 0;
    // Changes the period of the running timer: the next tick comes one period after this call.
    virtual void setPeriod(std::chrono::milliseconds period) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

// Ticks through the user-interface thread's event loop.
class QtScrollTimer final : public ScrollTimer {
public:
    QtScrollTimer();

    void start(std::chrono::milliseconds period, std::function<void()> tick) override;
    void setPeriod(std::chrono::milliseconds period) override;
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
    std::function<void()> m_tick;
};
