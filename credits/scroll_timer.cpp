#include "credits/scroll_timer.h"

QtScrollTimer::QtScrollTimer() {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { m_tick(); });
}

void QtScrollTimer::start(std::chrono::milliseconds period, std::function<void()> tick) {
    m_tick = std::move(tick);
    m_timer.start(period);
}

void QtScrollTimer::setPeriod(std::chrono::milliseconds period) {
    if (m_timer.intervalAsDuration() != period)
        m_timer.setInterval(period); // restarts a running timer
}
