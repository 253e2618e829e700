// Starting programs (the stand-ins of VEXA's programs, which log how they were started) and shell links
// read back through the shell-link object.
#include <gtest/gtest.h>
#include <windows.h>

#include <objbase.h>
#include <objidl.h>

#include <string>
#include <tuple>
#include <vector>

#include "lib/proc_win32.h"
#include "support/links_win32.h"
#include "support/standins_win32.h"

using testsupport::ScopedEnv;
using testsupport::TempDir;

namespace {

class RunProgramTest : public testing::Test {
  protected:
    TempDir dir{"proc_run"};
    std::string log = dir / "standin.log";
    ScopedEnv logEnv{"VEXA_STANDIN_LOG", log};
    ScopedEnv sleepEnv{"VEXA_STANDIN_SLEEP", ""};
};

TEST_F(RunProgramTest, StartsTheProgramWithItsCommandLineAndDirectory) {
    // A decoy where Windows looks first when a path with a blank is not quoted.
    ASSERT_TRUE(CopyFileA((testsupport::StandinDir() + "\\SetUpNT.EXE").c_str(),
                          (dir / "Program.exe").c_str(), FALSE));
    std::string blank = dir / "Program Files\\Vexa";
    // program, the folder it lies in, working folder, arguments, then the stand-in's log line:
    // name TAB working folder TAB command line
    const std::tuple<std::string, std::string, std::string, std::string, std::string> cases[] = {
        {dir / "Other\\VEXA", dir / "Other", dir / "Prg", "sim",
         "VEXA\t" + dir / "Prg\t" + dir / "Other\\VEXA.EXE sim"},
        {"Install", blank, blank, "SET", "Install\t" + blank + "\t\"" + blank + "\\Install.EXE\" SET"}};
    for (const auto& [program, lies, workDir, args, logLine] : cases) {
        SCOPED_TRACE(program);
        testsupport::MakeDirs(workDir);
        testsupport::MakeDirs(lies);
        ASSERT_TRUE(testsupport::CopyStandin(logLine.substr(0, logLine.find('\t')), lies));
        DeleteFileA(log.c_str());
        RunProgram(program, workDir, args, true);
        EXPECT_EQ(testsupport::ReadTextLines(log), std::vector<std::string>{logLine});
    }
}

TEST(ShellLinkTest, LinksReadBackThroughTheShell) {
    ASSERT_TRUE(InitComForProcess());
    TempDir dir{"proc_links"};
    std::string prg = dir / "Prg", win = dir / "Win", icon = win + "\\Vexa.ICO";
    testsupport::MakeDirs(prg);
    testsupport::MakeDirs(win);
    ASSERT_TRUE(testsupport::CopyStandin("VEXA", prg) && testsupport::CopyStandin("Install", win));
    ASSERT_TRUE(testsupport::WriteTextLines(icon, {"icon"}));
    bool ok = false;
    // The icon's number, the program's name for a link without one, and an existing link replaced, not
    // merged: the old arguments and icon go.
    MakeProgramLink("Install", "", win, dir.Path(), "CMD", icon, 3, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(testsupport::ReadLink(dir / "Install.LNK"), win + "\\Install.EXE|CMD||" + icon + ",2");
    ok = false;
    CreateShellLink(prg + "\\VEXA.EXE", dir / "Install.LNK", "Measure", "", "", 0, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(testsupport::ReadLink(dir / "Install.LNK"), prg + "\\VEXA.EXE||Measure|,0");
    MakePlainLink("VEXA", "", prg, ok, dir / "NoSuchFolder");
    EXPECT_FALSE(ok) << "a link that could not be saved was reported as made";
}

} // namespace
