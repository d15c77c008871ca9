#pragma once

#include <string>

namespace quandel {

// Where captured lines go: the open read-out file.
class CaptureSink {
public:
    virtual ~CaptureSink() = default;
    // Writes the bytes as they are; false when writing failed.
    virtual bool Write(const std::string &bytes) = 0;
};

// Cuts the received stream into lines for the read-out file. Every line the
// controller sends is written exactly once, ended by one CR, as soon as its
// CR has arrived; a partial line waits for the rest or for Finish.
class ReadoutCapture {
public:
    // Returns false when the sink failed.
    bool Feed(const std::string &chunk, CaptureSink &sink);
    // The read-out ends: what is left (a line without its CR) is written as it
    // is, except a last prompt ">" at the start of a line.
    bool Finish(CaptureSink &sink);
    void Discard() { buffer_.clear(); }
    const std::string &Pending() const { return buffer_; }

private:
    std::string buffer_;
};

} // namespace quandel
