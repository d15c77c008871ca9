// velnor-sim: a simulated controller on a pseudo-terminal, for testing the
// app against something that answers like the real BASIC interpreter.

#include "controller.hpp"
#include "options.hpp"
#include "pty_link.hpp"

#include <exception>
#include <iostream>

int main(int argc, char **argv) {
    using namespace velnor;
    const ParseResult parsed = parse_options(argc, argv);
    if (parsed.kind == ParseResult::Kind::Help) {
        std::cout << usage_text(argv[0]);
        return 0;
    }
    if (parsed.kind == ParseResult::Kind::Error) {
        std::cerr << argv[0] << ": " << parsed.error << "\n" << usage_text(argv[0]);
        return 2;
    }
    const Options &options = parsed.options;
    try {
        PtyLink::install_signal_handlers();
        PtyLink link;
        if (!options.link_path.empty())
            link.create_link(options.link_path);
        Controller controller(link, options);
        std::cout << "PTY " << link.slave_path() << std::endl;
        try {
            controller.serve(); // returns when --hangup-after fired
        } catch (const StopRequested &) {
        }
        // Remove the link before the hang-up, so whoever sees it sees no link.
        link.remove_link();
        link.close_master();
        return 0;
    } catch (const std::exception &error) {
        std::cerr << argv[0] << ": " << error.what() << "\n";
        return 1;
    }
}
