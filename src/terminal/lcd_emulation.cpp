#include "terminal/lcd_emulation.h"

#include "core/event_pump.h"

#include <algorithm>

namespace quandel {

namespace {

constexpr int kCounterMax = 32767;

int Saturated(long long value) {
    return int(std::min<long long>(value, kCounterMax));
}

} // namespace

LcdEmulation::LcdEmulation(LcdPane &pane, EventPump &events) : pane_(pane), events_(events) {
    lines_.fill(std::string(kWidth, ' '));
}

void LcdEmulation::SetPane(std::string text) {
    paneText_ = std::move(text);
    pane_.SetText(paneText_);
}

void LcdEmulation::LcdParse(const std::string &text) {
    for (char c : text) {
        const auto code = static_cast<unsigned char>(static_cast<unsigned char>(c) & 127);
        events_.ProcessEvents();
        if (escActive_)
            AddEscape(code);
        else if (bsMode_)
            LcdBackspaceErase(code);
        else
            LcdControlChar(code);
    }
    if (!pending_.empty())
        WriteText();
}

void LcdEmulation::LcdControlChar(unsigned char code) {
    switch (code) {
    case 8:
        bsMode_ = true;
        col_ = std::max(col_ - 1, 0);
        return;
    case 10:
        row_ = Saturated(row_ + 1LL);
        if (row_ == kRows - 1)
            LcdScroll();
        return;
    case 12:
        LcdClear();
        pending_.clear();
        return;
    case 13:
        WriteText();
        col_ = 0;
        return;
    case 27:
        WriteText();
        escActive_ = true;
        escBuf_.clear();
        return;
    default:
        if (code >= 32) // 127 included
            pending_.push_back(char(code));
        return;
    }
}

void LcdEmulation::AddEscape(unsigned char ch) {
    if (!escBuf_.empty() && escBuf_.front() == 'Y') {
        escBuf_.push_back(char(ch));
        if (escBuf_.size() > 2) {
            CursorPos(escBuf_);
            escBuf_.clear();
            escActive_ = false;
        }
        return;
    }
    if (ch == 'Y') {
        escBuf_ = "Y";
        return;
    }
    escActive_ = false;
    escBuf_.clear();
}

void LcdEmulation::CursorPos(const std::string &escString) {
    if (escString.size() < 3)
        return;
    row_ = std::clamp(int(static_cast<unsigned char>(escString[1])) - 32, 0, kRows - 1);
    col_ = std::clamp(int(static_cast<unsigned char>(escString[2])) - 32, 0, kWidth - 1);
}

void LcdEmulation::WriteText() {
    if (pending_.empty())
        return;
    if (row_ >= 0 && row_ < kRows) {
        std::string &line = lines_[std::size_t(row_)];
        if (std::size_t(col_) < line.size()) {
            const std::size_t room = line.size() - std::size_t(col_);
            line.replace(std::size_t(col_), std::min(room, pending_.size()), pending_, 0,
                         std::min(room, pending_.size()));
        }
    }
    col_ = Saturated(col_ + static_cast<long long>(pending_.size()));
    LcdRender();
    pending_.clear();
}

void LcdEmulation::LcdBackspaceErase(unsigned char code) {
    if (code != ' ') {
        bsBuf_.clear();
        bsMode_ = false;
        LcdControlChar(code);
        return;
    }
    bsBuf_.push_back(' ');
    if (bsBuf_.size() < 3)
        return;
    if (col_ == 0)
        col_ = 1;
    if (row_ >= 0 && row_ < kRows) {
        std::string &line = lines_[std::size_t(row_)];
        if (std::size_t(col_) < line.size())
            line[std::size_t(col_)] = ' ';
        if (!line.empty() && std::size_t(col_ - 1) < line.size())
            line[std::size_t(col_ - 1)] = ' ';
    }
    LcdRender();
    bsBuf_.clear();
    bsMode_ = false;
}

void LcdEmulation::LcdRender() {
    std::string text;
    text.reserve(kShownRows * (kWidth + 2));
    for (int i = 0; i < kShownRows; ++i) {
        const std::string &line = lines_[std::size_t(i)];
        if (line.find("PROGRAMMING IN PROGRESS") != std::string::npos)
            progHide_ = true;
        if (line.find("PROGRAMMING SUCCESSFULL") != std::string::npos)
            progHide_ = false;
        if (!progHide_) {
            text += line;
            text += "\r\n";
        }
    }
    SetPane(std::move(text));
}

void LcdEmulation::LcdClear() {
    lines_.fill(std::string(kWidth, ' '));
    SetPane({});
    row_ = 0;
    col_ = 0;
}

void LcdEmulation::LcdScroll() {
    for (int i = 1; i < kRows; ++i)
        lines_[std::size_t(i - 1)] = std::move(lines_[std::size_t(i)]);
    lines_[kRows - 1] = std::string(kWidth, ' ');
    row_ -= 1;
}

void LcdEmulation::ShowBanner() {
    LcdClear();
    lines_[0] = "Display Emulation";
    LcdRender();
}

} // namespace quandel
