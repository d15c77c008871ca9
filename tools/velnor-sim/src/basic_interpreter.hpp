#pragma once

#include "expression.hpp"
#include "program_store.hpp"

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace velnor {

// Where a running program's output goes and how it is paced.
class Console {
public:
    virtual ~Console() = default;
    virtual void write(std::string_view text) = 0;
    // Called before every statement of a running program; takes the time a
    // statement takes and returns true when the operator pressed Ctrl+C.
    virtual bool pace_statement() = 0;
};

struct RunOutcome {
    enum class Kind { End, Stop, Break, Error };
    Kind kind = Kind::End;
    int line = 0;           // line executing when the program stopped
    std::string message;    // for Kind::Error
    std::size_t offset = 0; // for Kind::Error: where the failed statement starts in the line
};

// A small BASIC: PRINT, LET and assignment, GOTO, GOSUB/RETURN, IF..THEN,
// FOR..TO..STEP/NEXT, REM, END, STOP; several statements per line with ':'.
class BasicInterpreter {
public:
    BasicInterpreter(ProgramStore &store, Console &console);

    // Executes an upper-cased direct-mode line (PRINT and assignments).
    void execute_direct(std::string_view line);
    RunOutcome run();
    void clear_variables();

private:
    struct Flow {
        enum class Kind { Next, Jump, Resume, End, Stop };
        Kind kind = Kind::Next;
        int line = 0;
        std::size_t statement = 0;
    };
    struct ForLoop {
        std::string name;
        double limit;
        double step;
        int line;
        std::size_t statement; // first statement of the loop body
    };

    Flow execute(std::string_view statement, bool direct);
    Flow execute_if(Cursor &cursor, bool direct);
    void execute_for(Cursor &cursor);
    Flow execute_next(Cursor &cursor);
    void execute_print(Cursor &cursor);
    void assign(Cursor &cursor);
    double value(Cursor &cursor);
    double variable(const std::string &name) const;
    void set_variable(const std::string &name, double value);

    ProgramStore &store_;
    Console &console_;
    std::map<std::string, double> variables_;
    double mtop_ = 0x7FFF;
    std::vector<Flow> gosub_stack_;
    std::vector<ForLoop> for_stack_;
    int line_ = 0;              // line being executed
    std::size_t statement_ = 0; // statement of that line being executed
};

} // namespace velnor
