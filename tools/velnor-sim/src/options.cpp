#include "options.hpp"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

namespace velnor {
namespace {

bool parse_double(const std::string &text, double &out) {
    if (text.empty())
        return false;
    char *end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(value) || value < 0)
        return false;
    out = value;
    return true;
}

bool parse_count(const std::string &text, long &out) {
    if (text.empty() || text[0] == '-' || text[0] == '+')
        return false;
    char *end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0')
        return false;
    out = value;
    return true;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One option that takes a value: its name and how to store the value.
struct ValueOption {
    std::string_view name;
    std::function<bool(Options &, const std::string &)> apply;
};

std::vector<ValueOption> value_options() {
    auto number = [](double Options::*field) {
        return [field](Options &o, const std::string &v) {
            return parse_double(v, o.*field);
        };
    };
    auto count = [](long Options::*field, long minimum) {
        return [field, minimum](Options &o, const std::string &v) {
            long n = 0;
            if (!parse_count(v, n) || n < minimum)
                return false;
            o.*field = n;
            return true;
        };
    };
    auto text = [](std::string Options::*field) {
        return [field](Options &o, const std::string &v) {
            o.*field = v;
            return !v.empty();
        };
    };
    return {
        {"link", text(&Options::link_path)},
        {"busy-ms", number(&Options::busy_ms)},
        {"empty-line-ms", number(&Options::empty_line_ms)},
        {"slow-busy-ms", number(&Options::slow_busy_ms)},
        {"busy-scale", number(&Options::busy_scale)},
        {"prompt-delay", number(&Options::prompt_delay_ms)},
        {"char-delay", number(&Options::char_delay_ms)},
        {"mute-after", count(&Options::mute_after, 0)},
        {"extra-after-prompt",
         [](Options &o, const std::string &v) {
             o.extra_after_prompt = decode_escapes(v);
             return true;
         }},
        {"hangup-after", count(&Options::hangup_after, 1)},
        {"log", text(&Options::log_path)},
        {"signon-delay", number(&Options::signon_delay_ms)},
        {"statement-ms", number(&Options::statement_ms)},
        {"drop-line", count(&Options::drop_line, 1)},
    };
}

ParseResult failure(std::string message) {
    ParseResult result;
    result.kind = ParseResult::Kind::Error;
    result.error = std::move(message);
    return result;
}

} // namespace

std::string decode_escapes(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        switch (c) {
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'e':
            out += '\x1b';
            break;
        case 'a':
            out += '\a';
            break;
        case '\\':
            out += '\\';
            break;
        case 'x': {
            int value = 0;
            int digits = 0;
            while (digits < 2 && i + 1 < text.size() && hex_digit(text[i + 1]) >= 0) {
                value = value * 16 + hex_digit(text[++i]);
                ++digits;
            }
            if (digits == 0)
                out += "\\x";
            else
                out += static_cast<char>(value);
            break;
        }
        default:
            out += '\\';
            out += c;
        }
    }
    return out;
}

ParseResult parse_options(int argc, const char *const *argv) {
    ParseResult result;
    const auto options = value_options();
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0 || arg.size() == 2)
            return failure("unexpected argument '" + arg + "'");
        std::string name = arg.substr(2);
        std::string value;
        bool has_value = false;
        if (const auto eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
            has_value = true;
        }
        if (name == "help" || name == "no-loss" || name == "no-signon") {
            if (has_value)
                return failure("option --" + name + " takes no value");
            if (name == "help")
                result.kind = ParseResult::Kind::Help;
            else if (name == "no-loss")
                result.options.no_loss = true;
            else
                result.options.signon = false;
            continue;
        }
        const ValueOption *option = nullptr;
        for (const auto &candidate : options)
            if (candidate.name == name)
                option = &candidate;
        if (option == nullptr)
            return failure("unknown option --" + name);
        if (!has_value) {
            if (i + 1 == argc)
                return failure("option --" + name + " needs a value");
            value = argv[++i];
        }
        if (!option->apply(result.options, value))
            return failure("invalid value '" + value + "' for --" + name);
    }
    return result;
}

std::string usage_text(std::string_view program) {
    std::string text = "usage: ";
    text += program;
    text += R"( [options]
Simulates the controller's BASIC interpreter on a pseudo-terminal. The first line
on stdout is "PTY <slave path>". Runs until SIGTERM or SIGINT.

  --link PATH                symlink PATH to the slave (removed on exit)
  --busy-ms N                busy time after storing a line (default 60)
  --empty-line-ms N          busy time before answering an empty line (default 0)
  --slow-busy-ms N           busy time of NEW, RUN, MTOP= and the line after them (default 800)
  --busy-scale F             multiply all busy times and the PROG wait by F (default 1.0)
  --no-loss                  keep input that arrives while busy instead of dropping it
  --prompt-delay MS          extra delay before every prompt ">" (default 0)
  --char-delay MS            time per byte sent and received, e.g. 1.04 for 9600 baud (default 0)
  --mute-after N             stop answering after N received lines
  --extra-after-prompt TEXT  write TEXT after every prompt (\r \n \t \e \xHH understood)
  --hangup-after N           hang up after answering the Nth received line
  --log FILE                 append every received byte to FILE
  --no-signon                send no sign-on when the port is opened
  --signon-delay MS          delay between the port opening and the sign-on (default 100)
  --statement-ms MS          time one statement of a running program takes (default 2)
  --drop-line N              a noisy line: the Nth program line is answered but not kept
  --help                     show this text
)";
    return text;
}

} // namespace velnor
