#pragma once

#include "core/event_pump.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace quandel {

// Lets pending window events run. Callers ask once per received byte or
// line; a pass costs microseconds, so passes closer together than
// `minGapMs` are skipped: the window stays as responsive (a pass at least
// every millisecond while work goes on) without the pump dominating the work.
class QtEventPump final : public EventPump {
public:
    explicit QtEventPump(int minGapMs = 1) : minGapMs_(minGapMs) { sinceLast_.start(); }
    void ProcessEvents() override {
        if (minGapMs_ > 0 && sinceLast_.elapsed() < minGapMs_)
            return;
        QCoreApplication::processEvents();
        sinceLast_.restart();
    }

private:
    int minGapMs_;
    QElapsedTimer sinceLast_;
};

} // namespace quandel
