// The mode decision and the installer's words, as tables over the rules: which layout and command-line
// word give which mode, which AUTOEXEC.BAT lines name a tree, and the installer's command line and
// working directory.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "shell/install.h"
#include "shell/mainstate.h"
#include "shell/mode.h"
#include "support/standins_win32.h"

namespace {

TEST(DecideMode, LayoutAndCommandWord) {
    const std::string tree = "C:\\Vexa\\KORVO\\Install\\Win";
    const std::string exe = tree + "\\SetUp.EXE";
    const std::string quoted = "\"" + exe + "\"";
    const std::string blanks = "C:\\Program Files\\Vexa\\KORVO\\INSTALL\\WIN";
    struct {
        std::string setupDir, commandLine;
        const char* file; // the one file that exists, upper case
        int mode;
        std::string installDir;
    } cases[] = {
        // The medium's layout decides, whatever the command line says (the main window's tests go through
        // every layout); a package beside a copy inside an installed tree still installs.
        {"D:\\Medium", "D:\\Medium\\SetUp.EXE ASC", "", ModeDiskette, ""},
        {tree, exe, "C:\\VEXA\\KORVO\\INSTALL\\WIN\\VEXA_1.ZIP", ModeZipPackages, ""},
        // Inside a tree: the word after the program name, in any case, with or without blanks.
        {tree, quoted + "   cMd   ", "", ModeCommandLine, "C:\\Vexa"},
        {tree, exe + " CMD sim", "", ModeSetupPanel, "C:\\Vexa"},
        {tree, exe + " CMDX", "", ModeSetupPanel, "C:\\Vexa"},
        // A quoted name ends at its quote, an unquoted one at the first blank.
        {blanks, "\"" + blanks + "\\SetUp.EXE\" CMD", "", ModeCommandLine, "C:\\Program Files\\Vexa"},
        {blanks, blanks + "\\SetUp.EXE", "", ModeSetupPanel, "C:\\Program Files\\Vexa"},
        {"c:\\meas\\korvo\\install\\win", "setup asc", "", ModeConverter, "c:\\meas"},
        {"C:\\KORVO\\INSTALL\\WIN", "SETUP", "", ModeSetupPanel, "C:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setupDir + " | " + c.commandLine);
        auto exists = [&](std::string_view path) {
            return lstrcmpiA(std::string(path).c_str(), c.file) == 0;
        };
        ModeDecision d = DecideModeFrom(c.setupDir, c.commandLine, exists);
        EXPECT_EQ(d.Mode, c.mode);
        EXPECT_EQ(d.InstallDir, c.installDir);
    }
}

TEST(FindInstallDir, AutoexecLines) {
    struct {
        const char* line;
        const char* candidate;
    } cases[] = {
        {"path c:\\dos;E:\\Lab\\Vexa_Dos\\Korvo\\Bat;c:\\windows", "E:\\Lab\\Vexa_Dos"},
        {"CALL C:\\KORVO\\BAT\\START.BAT", "C:"},
        {":KORVO\\BAT", ""}, // a colon at index 0 has no drive letter before it
    };
    for (const auto& c : cases) EXPECT_EQ(AutoexecCandidate(c.line), c.candidate) << c.line;
}

TEST(RunInstallation, InstallerParamsAndWorkDir) {
    testsupport::TempDir dir("mode_words");
    testsupport::MakeDirs(dir / "My Medium");
    testsupport::MakeDirs(dir / "Old Vexa\\KORVO");
    testsupport::MakeDirs(dir / "VEXA");
    // A fresh installation's words are seen by the end-to-end road and the diskette test.
    EXPECT_EQ(InstallerParams(true, "C:\\Medium\\Install.EXE", "C:\\Vexa Dos"), // nothing of it exists
              "UPDA C:\\Medium C:\\Vexa Dos\\KORVO");

    // Folders with blanks that exist go as their 8.3 forms: the DOS installer splits at blanks.
    char medium[MAX_PATH], korvo[MAX_PATH], oldVexa[MAX_PATH];
    ASSERT_GT(GetShortPathNameA((dir / "My Medium").c_str(), medium, MAX_PATH), 0u);
    ASSERT_GT(GetShortPathNameA((dir / "Old Vexa\\KORVO").c_str(), korvo, MAX_PATH), 0u);
    ASSERT_GT(GetShortPathNameA((dir / "Old Vexa").c_str(), oldVexa, MAX_PATH), 0u);
    std::string params = InstallerParams(true, dir / "My Medium\\Install.EXE", dir / "Old Vexa");
    EXPECT_EQ(params, std::string("UPDA ") + medium + " " + korvo);
    EXPECT_EQ(std::count(params.begin(), params.end(), ' '), 2) << params;
    // Only the existing part has a short form; the rest follows as written.
    EXPECT_EQ(InstallerParams(false, dir / "My Medium\\Install.EXE", dir / "Old Vexa\\New"),
              std::string("PATH ") + medium + " " + oldVexa + "\\New\\KORVO");

    struct {
        std::string installDir;
        std::string work;
    } works[] = {
        {dir / "VEXA\\VEXA", dir.Path() + "\\"}, // cut before the first VEXA: an existing folder
        {dir / "Vexa_Dos", "C:\\Setup"},         // no VEXA in this case: missing, so the set-up folder
        {"VEXA", "C:\\Setup"},                   // at index 0 it is not cut
        {dir / "Old Vexa", dir / "Old Vexa"},
    };
    for (const auto& w : works)
        EXPECT_EQ(InstallerWorkDir(w.installDir, "C:\\Setup"), w.work) << w.installDir;
}

} // namespace
