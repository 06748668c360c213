// Command line of a captured run, the error text of a failed start and the
// poll step.
#include "core/process/commandline.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(BuildCommandLine, QuotesOnlyUnquotedPathsWithSpaces) {
    struct Case {
        const char* program;
        const char* parameters;
        const char* expected;
    } cases[] = {
        {"tasklist.exe", "/FO csv", "tasklist.exe /FO csv"},
        {"C:\\Program Files\\a.exe", "/x", "\"C:\\Program Files\\a.exe\" /x"},
        {"C:\\Program Files\\a.exe", "", "\"C:\\Program Files\\a.exe\""},
        {"\"C:\\Program Files\\a.exe\"", "-y", "\"C:\\Program Files\\a.exe\" -y"},
        {"C:\\odd\"name with space.exe", "", "C:\\odd\"name with space.exe"},
        {"plain.exe", "", "plain.exe"},
        {"", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildCommandLine(c.program, c.parameters), c.expected) << c.program;
}

TEST(LaunchErrorText, CutsTheLineAndNamesTheError) {
    EXPECT_EQ(LaunchErrorText("nothere.exe /a", "The system cannot find the file specified."),
              "nothere.exe /a --- The system cannot find the file specified.");
    const std::string longLine(300, 'a');
    EXPECT_EQ(LaunchErrorText(longLine, "err"), std::string(256, 'a') + " --- err");
    EXPECT_EQ(LaunchErrorText(std::string(kMaxCommandLine, 'b'), "e"),
              std::string(256, 'b') + " --- e");
    EXPECT_EQ(LaunchErrorText(std::string(kMaxCommandLine + 1, 'b'), "e"),
              "Command line is too long");
}

TEST(PollStep, StartsByCallbackAndShrinksOnceOutputArrived) {
    EXPECT_EQ(FirstPollStep(true), 1);
    EXPECT_EQ(FirstPollStep(false), 100);
    int step = FirstPollStep(false);
    step = NextPollStep(step, false);
    EXPECT_EQ(step, 100);
    const int expected[] = {90, 80, 70, 60, 50, 40, 30, 20, 10, 10, 10};
    for (int e : expected) {
        step = NextPollStep(step, true);
        EXPECT_EQ(step, e);
    }
    EXPECT_EQ(NextPollStep(1, true), 10);
}

} // namespace
