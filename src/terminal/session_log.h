#pragma once

#include "core/clock.h"
#include "terminal/readout_capture.h"

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>

namespace quandel {

enum class LogDirection { Received, Sent };

// When a piece of the dialogue passed the port: the steady time for the
// pause rule, the local time of day for the stamp.
struct LogTime {
    Clock::TimePoint steady{};
    int msOfDay = 0;
};

// "12:03:04.117" for 43384117 ms.
std::string LogTimeStamp(int msOfDay);

// The bytes as the log shows them: printable Windows-1252 characters as they
// are, every other byte (controls, DEL, the five undefined codes) and '<'
// itself as its code, the way the terminal's code display writes it. A "<"
// in the log therefore always starts a code.
std::string LogText(const std::string &bytes);

// The session log: the dialogue on the port as text lines, in Windows-1252
// with CR LF like the program's other text files.
//
//   12:03:04.101 -> LIST
//   12:03:04.117 <- LIST
//   12:03:05.002 -- Verbindung unterbrochen
//
// A line ends at the CR or LF of the data (CR LF and LF CR count as one end).
// A line without its end is written as well when the direction changes, when
// kPause passes without a byte or when it reaches kMaxLine bytes. Each line
// is stamped with the time of its first byte. The sink gets whole lines only.
class SessionLog {
public:
    static constexpr std::chrono::milliseconds kPause{200};
    static constexpr std::size_t kMaxLine = 1024;

    void Start(CaptureSink &sink);
    // Writes the pending partial line and lets the sink go. False when a
    // write failed during the session.
    bool Stop();
    bool Active() const { return sink_ != nullptr; }
    // A write failed; from then on nothing more is written.
    bool Failed() const { return failed_; }

    void Feed(LogDirection direction, const std::string &bytes, LogTime now);
    // A line of the log's own ("-- " + text), after what is pending.
    void Note(const std::string &text, LogTime now);
    // The pause rule for a partial line while nothing arrives.
    void Tick(LogTime now);

private:
    void EndLine(std::string &out);
    void Write(const std::string &out);

    CaptureSink *sink_ = nullptr;
    bool failed_ = false;
    std::string line_;  // raw bytes of the partial line
    bool open_ = false; // line_ holds a started line
    LogDirection direction_ = LogDirection::Received;
    int lineStart_ = 0;
    Clock::TimePoint last_{};
    // Per direction: the CR or LF that ended its last line, while no other
    // byte has come in that direction since.
    char lastEnd_[2] = {0, 0};
};

// The session log's file: opened for appending, every write flushed at once
// so that nothing is lost when the program or the machine stops.
class AppendFileSink final : public CaptureSink {
public:
    ~AppendFileSink() override;
    // On failure, the errno of the attempt.
    bool Open(const std::string &path, int &err);
    bool Write(const std::string &bytes) override;
    bool Close();
    bool IsOpen() const { return file_ != nullptr; }
    int LastError() const { return lastError_; }

private:
    std::FILE *file_ = nullptr;
    int lastError_ = 0;
};

} // namespace quandel
