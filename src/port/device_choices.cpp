#include "port/device_choices.h"

#include "core/number_text.h"

#include <algorithm>
#include <cctype>

namespace quandel {

namespace {

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The device's own short name: "ttyUSB0" for "/dev/ttyUSB0", "pts/3" for
// "/dev/pts/3".
std::string ShortName(const std::string &path) {
    if (path.starts_with("/dev/"))
        return path.substr(5);
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool SameKind(const SerialDeviceInfo &a, const SerialDeviceInfo &b) {
    return a.description == b.description && a.manufacturer == b.manufacturer;
}

} // namespace

bool NaturalLess(const std::string &a, const std::string &b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            std::size_t endA = i, endB = j;
            while (endA < a.size() && IsDigit(a[endA]))
                ++endA;
            while (endB < b.size() && IsDigit(b[endB]))
                ++endB;
            // Leading zeros aside, the longer run is the larger number.
            std::size_t startA = i, startB = j;
            while (startA + 1 < endA && a[startA] == '0')
                ++startA;
            while (startB + 1 < endB && b[startB] == '0')
                ++startB;
            const std::string_view runA(a.data() + startA, endA - startA);
            const std::string_view runB(b.data() + startB, endB - startB);
            if (runA.size() != runB.size())
                return runA.size() < runB.size();
            if (runA != runB)
                return runA < runB;
            i = endA;
            j = endB;
            continue;
        }
        if (a[i] != b[j])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
        ++i;
        ++j;
    }
    if ((i < a.size()) != (j < b.size()))
        return j < b.size();
    return a < b; // equal but for leading zeros: any fixed order
}

std::string DeviceEntryText(const SerialDeviceInfo &device, bool withSerial) {
    std::vector<std::string> details;
    if (!device.stablePath.empty())
        details.push_back(ShortName(device.path));
    for (const std::string *part : {&device.description, &device.manufacturer})
        if (!part->empty())
            details.push_back(*part);
    if (withSerial && !device.serialNumber.empty())
        details.push_back("Seriennummer " + device.serialNumber);
    std::string text = StoredName(device);
    for (std::size_t i = 0; i < details.size(); ++i)
        text += (i == 0 ? "  (" : ", ") + details[i];
    return details.empty() ? text : text + ")";
}

DeviceChoices BuildDeviceChoices(std::vector<SerialDeviceInfo> present,
                                 const std::string &current) {
    // A nameless device cannot be stored, and one path listed twice is one device.
    std::erase_if(present, [](const SerialDeviceInfo &d) { return d.path.empty(); });
    std::stable_sort(present.begin(), present.end(),
                     [](const SerialDeviceInfo &a, const SerialDeviceInfo &b) {
                         return NaturalLess(a.path, b.path);
                     });
    present.erase(std::unique(present.begin(), present.end(),
                              [](const SerialDeviceInfo &a, const SerialDeviceInfo &b) {
                                  return a.path == b.path;
                              }),
                  present.end());

    DeviceChoices choices;
    for (const SerialDeviceInfo &device : present) {
        const bool twin =
            std::count_if(present.begin(), present.end(), [&](const SerialDeviceInfo &other) {
                return SameKind(device, other);
            }) > 1;
        choices.entries.push_back({DeviceEntryText(device, twin), StoredName(device)});
    }
    // The current device is the entry it names (by path or stable name);
    // failing that, the one it leads to (a link of the user's own).
    const auto means = [&](const auto &test) {
        for (std::size_t i = 0; i < present.size(); ++i)
            if (test(present[i]))
                return int(i);
        return -1;
    };
    if (!current.empty()) {
        choices.selected = means([&](const SerialDeviceInfo &d) {
            return current == d.stablePath || current == d.path;
        });
        if (choices.selected < 0)
            choices.selected =
                means([&](const SerialDeviceInfo &d) { return SameDevice(current, d.path); });
    }
    if (choices.selected < 0 && !current.empty()) {
        const std::string text =
            DeviceExists(current) ? current : current + Cp1252("  (nicht vorhanden)");
        choices.entries.insert(choices.entries.begin(), {text, current});
        choices.selected = 0;
    }
    if (present.empty())
        choices.entries.push_back({Cp1252("Keine seriellen Geräte gefunden"), ""});
    return choices;
}

} // namespace quandel
