#pragma once

#include "basic_interpreter.hpp"
#include "options.hpp"
#include "program_store.hpp"
#include "pty_link.hpp"
#include "serial_line.hpp"

#include <string>
#include <string_view>

namespace velnor {

// The controller's side of the dialogue: sign-on, line editing with echo,
// direct commands, storing program lines, running programs.
class Controller : private Console {
public:
    Controller(PtyLink &link, const Options &options);

    // Serves one port session after another until the hang-up option fires.
    // Throws StopRequested when a stop signal arrives.
    void serve();

private:
    void session();
    void receive(unsigned char c);
    void finish_line();
    void answer(std::string_view line);
    void direct_command(const std::string &command);
    void store_program_line(std::string_view line);
    void list(std::string_view range);
    void run_program();
    void program_eprom();
    void sign_on();
    void prompt();
    void ready_prompt();
    void busy(double ms);
    void slow_busy();
    bool muted() const;

    // Console, for the interpreter
    void write(std::string_view text) override;
    bool pace_statement() override;

    PtyLink &link_;
    const Options &options_;
    SerialLine line_;
    ProgramStore store_;
    BasicInterpreter basic_;
    std::string input_;
    long lines_received_ = 0;
    bool slow_store_next_ = false; // the next stored line takes the slow busy time
    long program_lines_ = 0;       // program lines received with text
};

} // namespace velnor
