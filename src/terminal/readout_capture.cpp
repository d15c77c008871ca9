#include "terminal/readout_capture.h"

namespace quandel {

bool ReadoutCapture::Feed(const std::string &chunk, CaptureSink &sink) {
    buffer_ += chunk;
    const std::size_t lastCr = buffer_.rfind('\r');
    if (lastCr == std::string::npos)
        return true;
    // All completed lines at once, each still ended by its CR.
    const bool ok = sink.Write(buffer_.substr(0, lastCr + 1));
    buffer_.erase(0, lastCr + 1);
    return ok;
}

bool ReadoutCapture::Finish(CaptureSink &sink) {
    // The controller's final prompt is no line of the listing: the file ends
    // with the last line's CR LF.
    const std::size_t n = buffer_.size();
    if (n > 0 && buffer_.back() == '>' &&
        (n == 1 || buffer_[n - 2] == '\n' || buffer_[n - 2] == '\r'))
        buffer_.pop_back();
    if (buffer_.empty())
        return true;
    const bool ok = sink.Write(buffer_);
    buffer_.clear();
    return ok;
}

} // namespace quandel
