#include "support/scripted_port.h"

namespace quandel::test {

PortResult ScriptedPort::Output(const std::string &bytes) {
    if (!open)
        return PortResult::Fail("nicht offen");
    sent += bytes;
    if (sent.size() >= vanishAfterSent) {
        open = false;
        pending_.clear();
        return PortResult::Ok();
    }
    if (answer) {
        Clock::TimePoint at = clock_.Now();
        for (const Chunk &c : answer(bytes)) {
            at += std::chrono::milliseconds(c.afterMs);
            pending_.push_back({at, c.bytes});
        }
    }
    return PortResult::Ok();
}

std::string ScriptedPort::Input() {
    std::string out;
    while (!pending_.empty() && pending_.front().at <= clock_.Now()) {
        out += pending_.front().bytes;
        pending_.pop_front();
    }
    return out;
}

int ScriptedPort::InBufferCount() {
    int n = 0;
    for (const Due &d : pending_)
        if (d.at <= clock_.Now())
            n += int(d.bytes.size());
    return n;
}

void ScriptedPort::ClearInBuffer() {
    ++clearedIn;
    while (!pending_.empty() && pending_.front().at <= clock_.Now())
        pending_.pop_front();
}

bool ScriptedPort::WaitForData(int ms) {
    const Clock::TimePoint until = clock_.Now() + std::chrono::milliseconds(ms);
    if (!pending_.empty() && pending_.front().at <= until) {
        if (pending_.front().at > clock_.Now())
            clock_.now = pending_.front().at;
        return true;
    }
    clock_.now = until;
    return false;
}

} // namespace quandel::test
