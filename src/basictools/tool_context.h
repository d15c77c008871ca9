#pragma once

#include <string>

namespace quandel {

class EventPump;
class UserDialogs;
struct SharedFlags;

// What a tool run shows besides message boxes: the dialog's display box
// (Schau) and its line label (lblZeilentext). The command line ignores both.
class ToolView {
public:
    virtual ~ToolView() = default;
    virtual std::string DisplayText() const = 0;
    // Replaces the display box's text; the caret goes to its end.
    virtual void SetDisplayText(const std::string &text) = 0;
    virtual void SetLineLabel(const std::string &text) = 0;
};

// A view that only keeps the display text (tests, command line).
class PlainToolView final : public ToolView {
public:
    std::string display, lineLabel;
    std::string DisplayText() const override { return display; }
    void SetDisplayText(const std::string &text) override { display = text; }
    void SetLineLabel(const std::string &text) override { lineLabel = text; }
};

// Everything a source tool talks to besides its files.
struct ToolContext {
    UserDialogs &dialogs;
    EventPump &events;  // let pending window events run: after each line
    SharedFlags &flags; // StopRequested, SonderzeichenWarnungAktiv
    ToolView &view;
};

} // namespace quandel
