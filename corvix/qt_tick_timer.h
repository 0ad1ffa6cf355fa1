#pragma once
// The one-second timer over QTimer.

#include "corvix_ports.h"

#include <QTimer>

namespace corvix {

class QtTickTimer : public TickTimer {
public:
    explicit QtTickTimer(int intervalMs = 1000)
    {
        m_timer.setInterval(intervalMs);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (onTick)
                onTick();
        });
    }
    void start() override { m_timer.start(); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

} // namespace corvix
