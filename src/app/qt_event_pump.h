#pragma once

#include "core/event_pump.h"

#include <QCoreApplication>

namespace quandel {

class QtEventPump final : public EventPump {
public:
    void ProcessEvents() override { QCoreApplication::processEvents(); }
};

} // namespace quandel
