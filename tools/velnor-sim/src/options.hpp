#pragma once

#include <string>
#include <string_view>

namespace velnor {

// Everything the command line can change about the simulated controller.
struct Options {
    std::string link_path;          // --link: symlink to the slave side
    double busy_ms = 60;            // storing an ordinary program line
    double empty_line_ms = 0;       // answering an empty line (a bare CR)
    double slow_busy_ms = 800;      // NEW, RUN, MTOP= and the first line after them
    double busy_scale = 1.0;        // multiplies every busy time and the PROG wait
    bool no_loss = false;           // queue input that arrives while busy
    double prompt_delay_ms = 0;     // extra wait before every ">"
    double char_delay_ms = 0;       // time per byte, both directions
    long mute_after = -1;           // stop answering after this many lines (-1: never)
    std::string extra_after_prompt; // written right after every ">"
    long hangup_after = -1;         // hang up after answering this many lines (-1: never)
    std::string log_path;           // append every received byte here
    bool signon = true;             // send the sign-on when the port is opened
    double signon_delay_ms = 100;   // time between the port opening and the sign-on
    double statement_ms = 2;        // time one statement of a running program takes
    long drop_line = -1;            // the Nth program line received is answered but not kept
};

struct ParseResult {
    enum class Kind { Run, Help, Error };
    Kind kind = Kind::Run;
    Options options;
    std::string error; // set for Kind::Error
};

ParseResult parse_options(int argc, const char *const *argv);
std::string usage_text(std::string_view program);

// Turns \r \n \t \e \a \\ \xHH in text into the bytes they stand for.
std::string decode_escapes(std::string_view text);

} // namespace velnor
