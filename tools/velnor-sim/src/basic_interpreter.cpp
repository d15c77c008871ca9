#include "basic_interpreter.hpp"

#include "basic_text.hpp"

#include <cctype>

namespace velnor {
namespace {

constexpr std::size_t max_nesting = 32;

// Flow statements make no sense without a program to move around in.
void require_program(bool direct) {
    if (direct)
        bad_syntax();
}

} // namespace

BasicInterpreter::BasicInterpreter(ProgramStore &store, Console &console)
    : store_(store), console_(console) {}

void BasicInterpreter::clear_variables() {
    variables_.clear();
    gosub_stack_.clear();
    for_stack_.clear();
}

double BasicInterpreter::variable(const std::string &name) const {
    if (name == "MTOP")
        return mtop_;
    const auto it = variables_.find(name);
    return it == variables_.end() ? 0 : it->second;
}

void BasicInterpreter::set_variable(const std::string &name, double value) {
    if (name == "MTOP")
        mtop_ = value;
    else
        variables_[name] = value;
}

double BasicInterpreter::value(Cursor &cursor) {
    return evaluate(cursor, [this](const std::string &name) { return variable(name); });
}

void BasicInterpreter::execute_direct(std::string_view line) {
    for (const auto statement : split_statements(line))
        execute(statement, true);
}

RunOutcome BasicInterpreter::run() {
    gosub_stack_.clear();
    for_stack_.clear();
    const auto &lines = store_.lines();
    auto it = lines.begin();
    std::size_t index = 0;
    std::vector<std::string_view> statements;
    int split_line = -1;
    try {
        while (it != lines.end()) {
            line_ = it->first;
            if (split_line != line_) {
                statements = split_statements(it->second);
                split_line = line_;
            }
            if (index >= statements.size()) {
                ++it;
                index = 0;
                continue;
            }
            statement_ = index;
            if (console_.pace_statement())
                return {RunOutcome::Kind::Break, line_, {}};
            const Flow flow = execute(statements[index], false);
            switch (flow.kind) {
            case Flow::Kind::Next:
                ++index;
                break;
            case Flow::Kind::Jump:
            case Flow::Kind::Resume:
                it = lines.find(flow.line);
                if (it == lines.end())
                    throw BasicError{"INVALID LINE NUMBER"};
                index = flow.kind == Flow::Kind::Jump ? 0 : flow.statement;
                break;
            case Flow::Kind::End:
                return {};
            case Flow::Kind::Stop:
                return {RunOutcome::Kind::Stop, line_, {}};
            }
        }
    } catch (const BasicError &error) {
        std::size_t offset = 0;
        if (it != lines.end() && index < statements.size())
            offset = std::size_t(statements[index].data() - it->second.data());
        while (it != lines.end() && offset < it->second.size() && it->second[offset] == ' ')
            ++offset;
        return {RunOutcome::Kind::Error, line_, error.message, offset};
    }
    return {};
}

BasicInterpreter::Flow BasicInterpreter::execute(std::string_view statement, bool direct) {
    Cursor cursor(statement);
    Flow flow;
    if (cursor.at_end() || cursor.accept("REM"))
        return flow;
    if (cursor.accept("PRINT") || cursor.accept("P.") || cursor.accept('?')) {
        execute_print(cursor);
    } else if (cursor.accept("GOTO")) {
        require_program(direct);
        flow = {Flow::Kind::Jump, cursor.line_number(), 0};
    } else if (cursor.accept("GOSUB")) {
        require_program(direct);
        if (gosub_stack_.size() >= max_nesting)
            throw BasicError{"STACK OVERFLOW"};
        flow = {Flow::Kind::Jump, cursor.line_number(), 0};
        gosub_stack_.push_back({Flow::Kind::Resume, line_, statement_ + 1});
    } else if (cursor.accept("RETURN")) {
        require_program(direct);
        if (gosub_stack_.empty())
            throw BasicError{"RETURN WITHOUT GOSUB"};
        flow = gosub_stack_.back();
        gosub_stack_.pop_back();
    } else if (cursor.accept("IF")) {
        require_program(direct);
        return execute_if(cursor, direct);
    } else if (cursor.accept("FOR")) {
        require_program(direct);
        execute_for(cursor);
    } else if (cursor.accept("NEXT")) {
        require_program(direct);
        flow = execute_next(cursor);
    } else if (cursor.accept("END")) {
        require_program(direct);
        flow.kind = Flow::Kind::End;
    } else if (cursor.accept("STOP")) {
        require_program(direct);
        flow.kind = Flow::Kind::Stop;
    } else {
        cursor.accept("LET");
        assign(cursor);
    }
    if (!cursor.at_end())
        bad_syntax();
    return flow;
}

BasicInterpreter::Flow BasicInterpreter::execute_if(Cursor &cursor, bool direct) {
    const double condition = value(cursor);
    if (!cursor.accept("THEN"))
        bad_syntax();
    if (condition == 0)
        return {};
    if (std::isdigit(static_cast<unsigned char>(cursor.peek()))) {
        const int target = cursor.line_number();
        if (!cursor.at_end())
            bad_syntax();
        return {Flow::Kind::Jump, target, 0};
    }
    return execute(cursor.rest(), direct);
}

void BasicInterpreter::execute_for(Cursor &cursor) {
    const std::string name = cursor.name();
    if (name.empty() || !cursor.accept('='))
        bad_syntax();
    const double start = value(cursor);
    if (!cursor.accept("TO"))
        bad_syntax();
    const double limit = value(cursor);
    const double step = cursor.accept("STEP") ? value(cursor) : 1;
    set_variable(name, start);
    // Re-entering a loop replaces it and every loop opened inside it.
    for (std::size_t i = 0; i < for_stack_.size(); ++i) {
        if (for_stack_[i].name == name) {
            for_stack_.resize(i);
            break;
        }
    }
    if (for_stack_.size() >= max_nesting)
        throw BasicError{"STACK OVERFLOW"};
    for_stack_.push_back({name, limit, step, line_, statement_ + 1});
}

BasicInterpreter::Flow BasicInterpreter::execute_next(Cursor &cursor) {
    const std::string name = cursor.name();
    if (!name.empty()) {
        while (!for_stack_.empty() && for_stack_.back().name != name)
            for_stack_.pop_back();
    }
    if (for_stack_.empty())
        throw BasicError{"NEXT WITHOUT FOR"};
    const ForLoop &loop = for_stack_.back();
    const double next = variable(loop.name) + loop.step;
    set_variable(loop.name, next);
    if (loop.step >= 0 ? next <= loop.limit : next >= loop.limit)
        return {Flow::Kind::Resume, loop.line, loop.statement};
    for_stack_.pop_back();
    return {};
}

void BasicInterpreter::execute_print(Cursor &cursor) {
    std::string out;
    bool newline = true;
    while (!cursor.at_end()) {
        newline = true;
        if (cursor.peek() == '"')
            out += cursor.string_literal();
        else
            out += format_number(value(cursor));
        if (cursor.accept(';') || cursor.accept(','))
            newline = false;
        else if (!cursor.at_end())
            bad_syntax();
    }
    if (newline)
        out += "\r\n";
    console_.write(out);
}

void BasicInterpreter::assign(Cursor &cursor) {
    const std::string name = cursor.name();
    if (name.empty() || !cursor.accept('='))
        bad_syntax();
    set_variable(name, value(cursor));
}

} // namespace velnor
