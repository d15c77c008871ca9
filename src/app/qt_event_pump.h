#pragma once

#include "core/event_pump.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace quandel {

// Lets pending window events run. Callers ask once per received byte or
// line; a pass costs a few system calls, so passes closer together than
// `minGapMs` are skipped: 200 passes a second keep the window as responsive
// as anyone can tell while a stream of bytes goes through the display
// emulation, whose passes would otherwise cost more than the bytes.
class QtEventPump final : public EventPump {
public:
    explicit QtEventPump(int minGapMs = 5) : minGapMs_(minGapMs) { sinceLast_.start(); }
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
