#include "terminal/session_log.h"

#include "core/native_path.h"
#include "terminal/terminal_text.h"

#include <algorithm>
#include <cerrno>

namespace quandel {

namespace {

bool Printable(unsigned char b) {
    if (b < 0x20 || b == 0x7F || b == '<')
        return false;
    // Windows-1252 leaves five codes without a character.
    return b < 0x80 || (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D);
}

void TwoDigits(std::string &out, int n) {
    out.push_back(char('0' + n / 10 % 10));
    out.push_back(char('0' + n % 10));
}

} // namespace

std::string LogTimeStamp(int msOfDay) {
    msOfDay = std::clamp(msOfDay, 0, 24 * 3600 * 1000 - 1);
    std::string out;
    out.reserve(12);
    TwoDigits(out, msOfDay / 3600000);
    out.push_back(':');
    TwoDigits(out, msOfDay / 60000 % 60);
    out.push_back(':');
    TwoDigits(out, msOfDay / 1000 % 60);
    out.push_back('.');
    out.push_back(char('0' + msOfDay / 100 % 10));
    TwoDigits(out, msOfDay % 100);
    return out;
}

std::string LogText(const std::string &bytes) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t j = i;
        const bool printable = Printable(static_cast<unsigned char>(bytes[i]));
        while (j < bytes.size() && Printable(static_cast<unsigned char>(bytes[j])) == printable)
            ++j;
        if (printable)
            out.append(bytes, i, j - i);
        else
            out += FormatCodes(bytes.substr(i, j - i));
        i = j;
    }
    return out;
}

void SessionLog::Start(CaptureSink &sink) {
    sink_ = &sink;
    failed_ = false;
    line_.clear();
    open_ = false;
    lastEnd_[0] = lastEnd_[1] = 0;
}

bool SessionLog::Stop() {
    if (!sink_)
        return !failed_;
    std::string out;
    if (open_)
        EndLine(out);
    Write(out);
    sink_ = nullptr;
    return !failed_;
}

void SessionLog::Feed(LogDirection direction, const std::string &bytes, LogTime now) {
    if (!sink_ || failed_ || bytes.empty())
        return;
    std::string out;
    if (open_ && (direction != direction_ || now.steady - last_ > kPause))
        EndLine(out);
    char &lastEnd = lastEnd_[direction == LogDirection::Sent ? 1 : 0];
    const auto begin = [&] {
        if (!open_) {
            open_ = true;
            direction_ = direction;
            lineStart_ = now.msOfDay;
        }
    };
    for (const char c : bytes) {
        if (c == '\r' || c == '\n') {
            if (lastEnd != 0 && lastEnd != c) {
                lastEnd = 0; // the second half of CR LF or LF CR
                continue;
            }
            begin();
            EndLine(out);
            lastEnd = c;
            continue;
        }
        lastEnd = 0;
        begin();
        line_.push_back(c);
        if (line_.size() >= kMaxLine)
            EndLine(out);
    }
    last_ = now.steady;
    Write(out);
}

void SessionLog::Note(const std::string &text, LogTime now) {
    if (!sink_ || failed_)
        return;
    std::string out;
    if (open_)
        EndLine(out);
    out += LogTimeStamp(now.msOfDay);
    out += " -- ";
    out += text;
    out += "\r\n";
    Write(out);
}

void SessionLog::Tick(LogTime now) {
    if (!sink_ || failed_ || !open_ || now.steady - last_ <= kPause)
        return;
    std::string out;
    EndLine(out);
    Write(out);
}

void SessionLog::EndLine(std::string &out) {
    out += LogTimeStamp(lineStart_);
    out += direction_ == LogDirection::Received ? " <- " : " -> ";
    out += LogText(line_);
    out += "\r\n";
    line_.clear();
    open_ = false;
}

void SessionLog::Write(const std::string &out) {
    if (out.empty() || failed_ || !sink_)
        return;
    if (!sink_->Write(out))
        failed_ = true;
}

AppendFileSink::~AppendFileSink() {
    if (file_)
        std::fclose(file_);
}

bool AppendFileSink::Open(const std::string &path, int &err) {
    // Appended: an earlier session's log in the same file is kept.
    file_ = std::fopen(NativePath(path).c_str(), "ab");
    err = file_ ? 0 : errno;
    lastError_ = err;
    return file_ != nullptr;
}

bool AppendFileSink::Write(const std::string &bytes) {
    if (!file_)
        return false;
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() &&
        std::fflush(file_) == 0)
        return true;
    lastError_ = errno;
    return false;
}

bool AppendFileSink::Close() {
    if (!file_)
        return true;
    const bool ok = std::fclose(file_) == 0;
    if (!ok)
        lastError_ = errno;
    file_ = nullptr;
    return ok;
}

} // namespace quandel
