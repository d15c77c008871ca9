#pragma once

#include <optional>
#include <string>

namespace quandel {

enum class Parity { None, Even, Odd, Mark, Space };
enum class StopBits { One, OneAndHalf, Two };

// The line settings of a settings text such as "9600,N,8,1".
struct LineSettings {
    int baud = 9600;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;
};

// Parses a settings text; on failure `error` names the field that is wrong.
struct LineSettingsParse {
    std::optional<LineSettings> settings;
    std::string error; // German, Windows-1252
};
LineSettingsParse ParseLineSettings(const std::string &text);

// The canonical settings text of parsed line settings ("9600,N,8,1").
std::string LineSettingsText(const LineSettings &settings);

} // namespace quandel
