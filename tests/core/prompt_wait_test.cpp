#include "support/scripted_port.h"
#include "transfer/prompt_wait.h"

#include <gtest/gtest.h>

namespace quandel {
namespace {

using namespace std::chrono_literals;
using Chunks = std::vector<test::ScriptedPort::Chunk>;

TEST(PromptScanner, APromptBeginsALineOfTheAnswer) {
    struct Row {
        const char *name;
        std::vector<std::string> chunks;
        bool prompt, bell;
    } rows[] = {
        {"answer to a bare CR", {"\r\n\r\n>"}, true, false},
        {"prompt as the first byte", {">"}, true, false},
        {"echo holding a >", {"10 IF A>B THEN 20\r\n"}, false, false},
        {"then the prompt", {"10 IF A>B THEN 20\r\n", ">"}, true, false},
        {"line end and prompt in two chunks", {"LIST\r", ">"}, true, false},
        {"cut line", {"10 PRINT\a", "\r\n>"}, true, true},
        {"nothing yet", {"\r\n"}, false, false},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        PromptScanner scanner;
        bool prompt = false;
        for (const std::string &chunk : r.chunks)
            prompt = scanner.Feed(chunk) || prompt;
        EXPECT_EQ(prompt, r.prompt);
        EXPECT_EQ(scanner.SawBell(), r.bell);
    }
}

TEST(AwaitPrompt, EndsAtThePromptOrAfterItsTimeLimits) {
    struct Row {
        const char *name;
        Chunks answer;
        bool portClosed;
        PromptWait result;
        std::string received;
        Clock::Duration took; // on the fake clock
    } rows[] = {
        {"slow answer to a CR",
         {{40, "\r\n"}, {5, "\r\n>"}},
         false,
         PromptWait::Prompt,
         "\r\n\r\n>",
         45ms},
        {"silent controller: the idle limit", {}, false, PromptWait::TimedOut, "", 1001ms},
        {"chatter without a prompt: the overall limit",
         {{500, "x"}, {500, "y"}, {500, "z"}},
         false,
         PromptWait::TimedOut,
         "xy",
         1101ms},
        {"port gone", {}, true, PromptWait::PortLost, "", 0ms},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        test::FakeClock clock;
        test::ScriptedPort port(clock);
        port.answer = [&](const std::string &) {
            return r.answer;
        };
        ASSERT_TRUE(port.Output("\r"));
        port.open = !r.portClosed;
        PromptScanner scanner;
        std::string received;
        const Clock::TimePoint start = clock.Now();
        EXPECT_EQ(AwaitPrompt(port, clock, scanner, 1s, 1100ms,
                              [&](const std::string &chunk) { received += chunk; }),
                  r.result);
        EXPECT_EQ(received, r.received);
        EXPECT_EQ(clock.Now() - start, r.took);
    }
}

} // namespace
} // namespace quandel
