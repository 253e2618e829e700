// The command line a program is started with: extension, directory, quoting, arguments.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "lib/proc.h"

TEST(CommandLine, BuildsTheLineWindowsGets) {
    // program, directory, arguments, the command line
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"Install", "C:\\X", "", "C:\\X\\Install.EXE"},
        {"Install", "C:\\X\\", "SET", "C:\\X\\Install.EXE SET"},
        {"VEXA.PIF", "C:\\V\\Win", "sim", "C:\\V\\Win\\VEXA.PIF sim"},
        {"D:\\T\\A", "C:\\X", "", "D:\\T\\A.EXE"},
        {"\\T\\A", "C:\\X", "", "\\T\\A.EXE"},
        {"A:\\Install.EXE", "C:\\", "PATH A:\\ C:\\V", "A:\\Install.EXE PATH A:\\ C:\\V"},
        {"Install", "C:\\Program Files\\Vexa", "UPDA C:\\",
         "\"C:\\Program Files\\Vexa\\Install.EXE\" UPDA C:\\"}};
    for (auto [program, directory, args, line] : cases)
        EXPECT_EQ(BuildCommandLine(program, directory, args), line) << program << " in " << directory;
}
