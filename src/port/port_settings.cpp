#include "port/port_settings.h"

#include "core/number_text.h"

#include <cctype>
#include <vector>

namespace quandel {

namespace {

std::vector<std::string> SplitFields(const std::string &text) {
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (c == ',')
            fields.emplace_back();
        else if (c != ' ')
            fields.back().push_back(c);
    }
    return fields;
}

LineSettingsParse Refuse(const std::string &what, const std::string &value) {
    return {std::nullopt,
            Cp1252("Ungültige Schnittstelleneinstellung: ") + what + " \"" + value + "\""};
}

} // namespace

LineSettingsParse ParseLineSettings(const std::string &text) {
    const auto fields = SplitFields(text);
    if (fields.size() != 4)
        return {std::nullopt,
                Cp1252("Ungültige Schnittstelleneinstellung \"") + text +
                    Cp1252("\": erwartet werden Baudrate, Parität, Datenbits und Stopbits, "
                           "durch Kommas getrennt.")};
    LineSettings s;

    const auto baud = ParseStoredNumber(fields[0]);
    if (!baud || *baud < 50 || *baud > 4000000)
        return Refuse("Baudrate", fields[0]);
    s.baud = *baud;

    if (fields[1].size() != 1)
        return Refuse(Cp1252("Parität"), fields[1]);
    switch (std::toupper(static_cast<unsigned char>(fields[1][0]))) {
    case 'N':
        s.parity = Parity::None;
        break;
    case 'E':
        s.parity = Parity::Even;
        break;
    case 'O':
        s.parity = Parity::Odd;
        break;
    case 'M':
        s.parity = Parity::Mark;
        break;
    case 'S':
        s.parity = Parity::Space;
        break;
    default:
        return Refuse(Cp1252("Parität"), fields[1]);
    }

    const auto bits = ParseStoredNumber(fields[2]);
    if (!bits || *bits < 5 || *bits > 8)
        return Refuse("Datenbits", fields[2]);
    s.dataBits = *bits;

    if (fields[3] == "1")
        s.stopBits = StopBits::One;
    else if (fields[3] == "1.5")
        s.stopBits = StopBits::OneAndHalf;
    else if (fields[3] == "2")
        s.stopBits = StopBits::Two;
    else
        return Refuse("Stopbits", fields[3]);
    return {s, {}};
}

std::string LineSettingsText(const LineSettings &s) {
    static constexpr char kParity[] = {'N', 'E', 'O', 'M', 'S'};
    const char *stop = s.stopBits == StopBits::One   ? "1"
                       : s.stopBits == StopBits::Two ? "2"
                                                     : "1.5";
    return DecimalText(s.baud) + "," + kParity[static_cast<int>(s.parity)] + "," +
           DecimalText(s.dataBits) + "," + stop;
}

} // namespace quandel
