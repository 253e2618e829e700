// The command line a program is started with: extension, directory, quoting, arguments.
#include <gtest/gtest.h>

#include <string>

#include "lib/proc.h"

namespace {

struct CommandCase {
    const char* program;
    const char* directory;
    const char* args;
    const char* expected;
};

const CommandCase commandCases[] = {
    {"Install", "C:\\X", "", "C:\\X\\Install.EXE"},
    {"Install", "C:\\X\\", "SET", "C:\\X\\Install.EXE SET"},
    {"VEXA.PIF", "C:\\V\\KORVO\\Install\\Win", "sim", "C:\\V\\KORVO\\Install\\Win\\VEXA.PIF sim"},
    {"PROG.COM", "C:\\X", "", "C:\\X\\PROG.COM"},
    {"D:\\T\\A", "C:\\X", "", "D:\\T\\A.EXE"},
    {"\\T\\A", "C:\\X", "", "\\T\\A.EXE"},
    {"A:\\Install.EXE", "C:\\", "PATH A:\\ C:\\Vexa_Dos\\KORVO",
     "A:\\Install.EXE PATH A:\\ C:\\Vexa_Dos\\KORVO"},
    {"Install", "C:\\Program Files\\Vexa", "UPDA C:\\ C:\\V\\KORVO",
     "\"C:\\Program Files\\Vexa\\Install.EXE\" UPDA C:\\ C:\\V\\KORVO"},
};

class CommandLineTest : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandLineTest, BuildsTheLineWindowsGets) {
    const CommandCase& c = GetParam();
    EXPECT_EQ(BuildCommandLine(c.program, c.directory, c.args), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineTest, testing::ValuesIn(commandCases));

} // namespace
