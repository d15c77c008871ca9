#include "controller.hpp"

#include "basic_text.hpp"

#include <cctype>

namespace velnor {
namespace {

constexpr std::size_t max_line_length = 78;
constexpr char bell = 7;
constexpr unsigned char ctrl_c = 3;
constexpr unsigned char backspace = 8;
constexpr unsigned char del = 127;
constexpr double prog_wait_ms = 1000;
constexpr const char *banner = "KAVOLT VELNOR BASIC V1.1";

// Moves the display's cursor: ESC Y, then row and column offset by 32.
std::string display_at(int row, int column) {
    return std::string("\x1bY") + static_cast<char>(32 + row) + static_cast<char>(32 + column);
}

struct HangUpRequested {};

} // namespace

Controller::Controller(PtyLink &link, const Options &options)
    : link_(link), options_(options), line_(link, options), basic_(store_, *this) {}

void Controller::serve() {
    try {
        for (;;) {
            link_.wait_until_opened();
            try {
                session();
            } catch (const PortClosed &) {
                // Keep the program, like a controller that was not reset, and
                // wait for the port to be opened again.
                link_.discard_unread_output();
            }
        }
    } catch (const HangUpRequested &) {
        link_.wait_until_output_read(Clock::now() + std::chrono::seconds(2));
    }
}

bool Controller::muted() const {
    return options_.mute_after >= 0 && lines_received_ >= options_.mute_after;
}

void Controller::session() {
    line_.reset();
    input_.clear();
    if (options_.signon && !muted()) {
        line_.busy(options_.signon_delay_ms);
        sign_on();
    }
    for (;;)
        receive(line_.next_byte());
}

void Controller::receive(unsigned char c) {
    if (muted()) {
        if (c == '\r' && ++lines_received_ == options_.hangup_after)
            throw HangUpRequested{};
        return;
    }
    switch (c) {
    case '\r':
        finish_line();
        return;
    case '\n':   // so that CR LF line ends work
    case ctrl_c: // only breaks a running program
        return;
    case del:
        if (!input_.empty()) {
            input_.pop_back();
            write("\b \b");
        }
        return;
    default:
        break;
    }
    if (c < 32 || c == backspace) {
        write(std::string(1, static_cast<char>(c))); // echoed, not kept
        return;
    }
    if (input_.size() >= max_line_length) {
        write(std::string(1, bell));
        return;
    }
    input_ += static_cast<char>(c);
    write(std::string(1, static_cast<char>(c)));
}

void Controller::finish_line() {
    ++lines_received_;
    const std::string line = std::move(input_);
    input_.clear();
    write("\r\n");
    answer(line);
    if (lines_received_ == options_.hangup_after)
        throw HangUpRequested{};
}

void Controller::answer(std::string_view line) {
    const std::string_view text = trim(line);
    try {
        if (text.empty()) {
            // A busy or slow controller takes a while even for a bare CR;
            // what arrives meanwhile is lost like any input while busy.
            busy(options_.empty_line_ms);
            prompt();
        } else if (std::isdigit(static_cast<unsigned char>(text.front())))
            store_program_line(text);
        else
            direct_command(upper_outside_strings(text));
    } catch (const BasicError &error) {
        write("\r\nERROR: " + error.message + "\r\n");
        prompt();
    }
}

void Controller::direct_command(const std::string &command) {
    if (command == "RUN") {
        run_program();
    } else if (command == "NEW") {
        store_.clear();
        basic_.clear_variables();
        slow_busy();
        write("\r\n");
        prompt();
    } else if (command.rfind("LIST", 0) == 0) {
        list(std::string_view(command).substr(4));
    } else if (command == "RAM" || command == "ROM") {
        ready_prompt();
    } else if (command == "PROG") {
        program_eprom();
    } else {
        basic_.execute_direct(command);
        Cursor cursor(command);
        cursor.accept("LET");
        if (cursor.name() == "MTOP")
            slow_busy();
        write("\r\n");
        prompt();
    }
}

void Controller::store_program_line(std::string_view line) {
    Cursor cursor(line);
    const int number = cursor.line_number();
    const std::string_view text = cursor.rest();
    if (text.empty()) {
        store_.erase(number);
        busy(options_.busy_ms);
    } else {
        // A noisy line: the controller answered, but what it kept is not
        // the line (here: nothing).
        if (++program_lines_ != options_.drop_line)
            store_.store(number, text);
        if (slow_store_next_)
            slow_busy();
        else
            busy(options_.busy_ms);
        slow_store_next_ = false;
    }
    prompt();
}

void Controller::list(std::string_view range) {
    int from = 0;
    int to = ProgramStore::highest_line;
    Cursor cursor(range);
    if (!cursor.at_end()) {
        from = to = cursor.line_number();
        if (cursor.accept('-'))
            to = cursor.line_number();
        if (!cursor.at_end())
            bad_syntax();
    }
    write(store_.listing(from, to));
    ready_prompt();
}

void Controller::run_program() {
    basic_.clear_variables();
    slow_busy();
    const RunOutcome outcome = basic_.run();
    switch (outcome.kind) {
    case RunOutcome::Kind::End:
        break;
    case RunOutcome::Kind::Stop:
    case RunOutcome::Kind::Break:
        write("\r\nSTOP - IN LINE  " + std::to_string(outcome.line));
        break;
    case RunOutcome::Kind::Error: {
        // The line as listed, and under it a marker whose X points at the
        // statement that failed.
        write("\r\nERROR: " + outcome.message + " - IN LINE  " + std::to_string(outcome.line));
        const std::string listed = store_.listing(outcome.line, outcome.line);
        if (!listed.empty()) {
            const std::size_t field = listed.size() - 2 - store_.lines().at(outcome.line).size();
            write("\r\n\r\n" + listed + std::string(field + outcome.offset, '-') + "X");
        }
        break;
    }
    }
    ready_prompt();
}

void Controller::program_eprom() {
    write(display_at(3, 0) + "PROGRAMMING IN PROGRESS\r\n");
    busy(prog_wait_ms);
    write(display_at(3, 0) + "PROGRAMMING SUCCESSFULL");
    ready_prompt();
}

void Controller::sign_on() {
    write("\f" + display_at(0, 0) + banner + display_at(1, 0) + "MEMORY 32K  MTOP 7FFFH\r");
    write(std::string("\r\n*") + banner + "*");
    ready_prompt();
}

void Controller::prompt() {
    if (options_.prompt_delay_ms > 0)
        line_.busy(options_.prompt_delay_ms);
    write(">" + options_.extra_after_prompt);
}

void Controller::ready_prompt() {
    write("\r\nREADY\r\n");
    prompt();
}

void Controller::busy(double ms) {
    line_.busy(ms * options_.busy_scale);
}

void Controller::slow_busy() {
    busy(options_.slow_busy_ms);
    slow_store_next_ = true;
}

void Controller::write(std::string_view text) {
    line_.write(text);
}

bool Controller::pace_statement() {
    return line_.watch_for_break(options_.statement_ms);
}

} // namespace velnor
