#pragma once

// Helpers for the tests of the BASIC source tools and of quandel-tools: real
// files in a temporary folder, the boxes a run showed, a view that keeps what
// it was shown and an event pump that acts as a key press.

#include "basictools/tool_context.h"
#include "basictools/varlist.h"
#include "core/event_pump.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/shared_flags.h"
#include "scripted_dialogs.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace quandel::test {

inline void WriteBytes(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The file's bytes; empty when there is no file of that name.
inline std::string ReadBytes(const std::string &path) {
    if (!std::filesystem::is_regular_file(path))
        return {};
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A folder of its own under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir() {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("quandel-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    std::string File(const std::string &name) const { return (path_ / name).string(); }
    // Writes the file and returns its path.
    std::string Write(const std::string &name, const std::string &bytes) const {
        WriteBytes(File(name), bytes);
        return File(name);
    }

private:
    std::filesystem::path path_;
};

// A message box as the tests expect it.
struct Box {
    std::string text, title;
    BoxIcon icon = BoxIcon::None;
    BoxButtons buttons = BoxButtons::Ok;
    bool operator==(const Box &) const = default;
};

inline std::ostream &operator<<(std::ostream &os, const Box &b) {
    return os << "\n  [" << b.title << "|" << b.text << "|icon " << int(b.icon) << "|buttons "
              << int(b.buttons) << "]";
}

inline std::vector<Box> Boxes(const ScriptedDialogs &dialogs) {
    std::vector<Box> out;
    for (const auto &b : dialogs.boxes)
        out.push_back({b.text, b.title, b.icon, b.buttons});
    return out;
}

// The boxes of a table row: unlike a nested braced list, a call lets a long
// row wrap compactly.
template <typename... B> std::vector<Box> Shows(const B &...boxes) {
    return {boxes...};
}

inline Box Warnung(const std::string &text) {
    return {text, "WARNUNG"};
}
inline Box Info(const std::string &text) {
    return {text, kAppTitle};
}
inline Box Fehler(const std::string &text) {
    return {text, "F E H L E R", BoxIcon::Critical};
}
inline Box Falsch(const std::string &line) {
    return {line, "Falsche Zeile", BoxIcon::Exclamation};
}
// The warning about a special character at the end of `line`.
inline Box Sonder(const std::string &line) {
    return {line + "\n\r\n\rSonderzeichen am Ende!\n\r" + Cp1252("Bitte überprüfen!"), kAppTitle,
            BoxIcon::Exclamation};
}
inline const Box kNoError = Info("Keinen Fehler gefunden.");
inline const Box kQuestion{"Sollen die falschen Befehlszeilen gesucht werden ?", "", BoxIcon::None,
                           BoxButtons::YesNo};
inline const std::string kZeilenueberlauf = "Zeilen\xFC"
                                            "berlauf\rDas Programm wird abgebrochen!";

// "1 X", "2 X", ... each ended by CR LF.
inline std::string NumberedLines(int count) {
    std::string out;
    for (int n = 1; n <= count; ++n)
        out += DecimalText(n) + " X\r\n";
    return out;
}

// Keeps every text the display box, the line label and the count field got.
class RecordingView final : public ToolView, public VariableCountView {
public:
    std::vector<std::string> shown, labels, counts;
    std::string DisplayText() const override { return shown.empty() ? "" : shown.back(); }
    void SetDisplayText(const std::string &text) override { shown.push_back(text); }
    void SetLineLabel(const std::string &text) override { labels.push_back(text); }
    void SetVariableCount(const std::string &text) override { counts.push_back(text); }
};

// Counts the calls; the stopAt-th call acts as a key press (StopRequested).
struct StoppingPump final : EventPump {
    explicit StoppingPump(SharedFlags &f) : flags(f) {}
    SharedFlags &flags;
    int stopAt = 0, calls = 0;
    void ProcessEvents() override {
        if (++calls == stopAt)
            flags.StopRequested = true;
    }
};

// Everything a tool run talks to besides its files, in a fresh folder.
struct ToolRig {
    TempDir dir;
    ScriptedDialogs dialogs;
    SharedFlags flags;
    StoppingPump events{flags};
    RecordingView view;
    ToolContext ctx{dialogs, events, flags, view};
};

} // namespace quandel::test
