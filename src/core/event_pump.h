#pragma once

namespace quandel {

// Lets pending window events run once. Long operations call it at the fixed
// points where the window must stay responsive; tests count the calls.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void ProcessEvents() = 0;
};

} // namespace quandel
