#pragma once

#include <array>
#include <string>

namespace quandel {

class EventPump;

// Where the rendered display goes: the LCD pane's whole text.
class LcdPane {
public:
    virtual ~LcdPane() = default;
    virtual void SetText(const std::string &text) = 0;
};

// The controller's character LCD: a 10 x 80 buffer (9 lines shown) with a
// cursor, fed with received bytes. It understands CR, LF, FF, BS, ESC "Y" row
// column, printable text, and hides the display while the controller reports
// that it programs its EEPROM.
class LcdEmulation {
public:
    static constexpr int kRows = 10;
    static constexpr int kShownRows = 9;
    static constexpr int kWidth = 80;

    LcdEmulation(LcdPane &pane, EventPump &events);

    // Interprets one received chunk; lets window events run once per byte.
    void LcdParse(const std::string &text);
    void AddEscape(unsigned char ch);
    // Applies "Y" + row character + column character (offset 32).
    void CursorPos(const std::string &escString);
    // Writes the pending text at the cursor and renders.
    void WriteText();
    void LcdControlChar(unsigned char code);
    void LcdBackspaceErase(unsigned char code);
    void LcdRender();
    void LcdClear();
    void LcdScroll();

    // Start-up: cleared, line 0 holds "Display Emulation" (not padded).
    void ShowBanner();

    const std::array<std::string, kRows> &Lines() const { return lines_; }
    int Row() const { return row_; }
    int Col() const { return col_; }
    bool ProgHide() const { return progHide_; }
    const std::string &Pending() const { return pending_; }
    bool EscActive() const { return escActive_; }
    bool BsMode() const { return bsMode_; }
    // The text the pane was last given.
    const std::string &PaneText() const { return paneText_; }

private:
    void SetPane(std::string text);

    LcdPane &pane_;
    EventPump &events_;
    std::array<std::string, kRows> lines_;
    int row_ = 0;
    int col_ = 0; // grows past 79 by writing; held below 32768 like the controller's counter
    std::string pending_;
    bool escActive_ = false;
    std::string escBuf_;
    bool bsMode_ = false;
    std::string bsBuf_;
    bool progHide_ = false;
    std::string paneText_;
};

} // namespace quandel
