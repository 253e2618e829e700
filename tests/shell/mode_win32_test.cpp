// The mode decision and the installer's words, as tables over the rules: which layout and command-line
// word give which mode, which AUTOEXEC.BAT lines name a tree, which package folders fit their buffer,
// and the installer's command line and working directory.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "shell/install.h"
#include "shell/mainstate.h"
#include "shell/mode.h"
#include "support/standins_win32.h"

namespace {

struct ModeCase {
    std::string setupDir;
    std::string commandLine;
    std::set<std::string> files; // what exists, upper case
    int mode;
    std::string installDir;
};

TEST(DecideMode, LayoutAndCommandWord) {
    const std::string tree = "C:\\Vexa\\KORVO\\Install\\Win";
    const std::string exe = tree + "\\SetUp.EXE";
    const std::string quoted = "\"" + exe + "\"";
    const std::string blanks = "\"C:\\Program Files\\Vexa\\KORVO\\INSTALL\\WIN\\SetUp.EXE\"";
    ModeCase cases[] = {
        // The medium's layout decides, whatever the command line says.
        {"D:\\Medium", "D:\\Medium\\SetUp.EXE", {"D:\\MEDIUM\\VEXA_1.ZIP"}, ModeZipPackages, ""},
        {"D:\\Medium",
         "D:\\Medium\\SetUp.EXE CMD",
         {"D:\\MEDIUM\\VEXA_1\\INITDAT\\VERSION.DAT"},
         ModeUnpacked,
         ""},
        {"D:\\Medium", "D:\\Medium\\SetUp.EXE ASC", {}, ModeDiskette, ""},
        {"A:", "A:\\SETUP.EXE", {}, ModeDiskette, ""},
        // A package beside a copy inside an installed tree still installs.
        {tree, exe, {"C:\\VEXA\\KORVO\\INSTALL\\WIN\\VEXA_1.ZIP"}, ModeZipPackages, ""},
        // "\KORVO\INSTALL\WIN" at the very start is no installed tree.
        {"\\KORVO\\INSTALL\\WIN", "SETUP.EXE CMD", {}, ModeDiskette, ""},
        // Inside a tree: the word after the program name, in any case, with or without blanks.
        {tree, exe, {}, ModeSetupPanel, "C:\\Vexa"},
        {tree, exe + " CMD", {}, ModeCommandLine, "C:\\Vexa"},
        {tree, quoted + "cmd", {}, ModeCommandLine, "C:\\Vexa"},
        {tree, quoted + "   cMd   ", {}, ModeCommandLine, "C:\\Vexa"},
        {tree, exe + " asc", {}, ModeConverter, "C:\\Vexa"},
        {tree, quoted + " Asc ", {}, ModeConverter, "C:\\Vexa"},
        {tree, exe + " CMD sim", {}, ModeSetupPanel, "C:\\Vexa"},
        {tree, exe + " CMDX", {}, ModeSetupPanel, "C:\\Vexa"},
        {tree, exe + " ASC,", {}, ModeSetupPanel, "C:\\Vexa"},
        // A quoted name ends at its quote, an unquoted one at the first blank.
        {"C:\\Program Files\\Vexa\\KORVO\\INSTALL\\WIN",
         blanks + " CMD",
         {},
         ModeCommandLine,
         "C:\\Program Files\\Vexa"},
        {"C:\\Program Files\\Vexa\\KORVO\\INSTALL\\WIN",
         "C:\\Program Files\\Vexa\\KORVO\\INSTALL\\WIN\\SetUp.EXE",
         {},
         ModeSetupPanel,
         "C:\\Program Files\\Vexa"},
        {"c:\\meas\\korvo\\install\\win", "setup asc", {}, ModeConverter, "c:\\meas"},
        {"C:\\KORVO\\INSTALL\\WIN", "SETUP", {}, ModeSetupPanel, "C:"},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.setupDir + " | " + c.commandLine);
        auto exists = [&](std::string_view path) {
            std::string upper(path);
            for (char& ch : upper) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
            return c.files.count(upper) > 0;
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
        {"PATH=C:\\VEXA\\KORVO\\BAT", "C:\\VEXA"},
        {"SET PATH=%PATH%;d:\\meas\\korvo\\bat", "d:\\meas"},
        {"path c:\\dos;E:\\Lab\\Vexa_Dos\\Korvo\\Bat;c:\\windows", "E:\\Lab\\Vexa_Dos"},
        {"CALL C:\\KORVO\\BAT\\START.BAT", "C:"},
        {"REM KORVO\\BAT without a drive", ""},
        {":KORVO\\BAT", ""}, // a colon at index 0 has no drive letter before it
        {"PATH=C:\\VEXA\\KORVO", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(AutoexecCandidate(c.line), c.candidate) << c.line;
}

TEST(ExtractPackages, PackageFolderMustFitWhole) {
    auto dirOf = [](size_t length) { return "C:\\" + std::string(length - 3, 'm'); };
    struct {
        std::string setupDir;
        int package;
        bool fits;
        std::string folder;
    } cases[] = {
        {"C:\\Medium", 1, true, "C:\\Medium\\VEXA_1\\"},
        {"D:", 6, true, "D:\\VEXA_6\\"},
        {"D:\\", 2, true, "D:\\VEXA_2\\"},
        {dirOf(168), 3, true, dirOf(168) + "\\VEXA_3\\"}, // 176 characters: the whole buffer
        {dirOf(169), 3, false, dirOf(169) + "\\VEXA_3"},  // the closing backslash is cut
        // Cut to the set-up folder itself: emptying it would wipe the medium.
        {dirOf(175), 4, false, dirOf(175) + "\\"},
    };
    for (const auto& c : cases) {
        bool fits = !c.fits;
        EXPECT_EQ(PackageFolder(c.setupDir, c.package, fits), c.folder) << c.setupDir.size();
        EXPECT_EQ(fits, c.fits) << c.setupDir.size();
    }
}

TEST(RunInstallation, InstallerParamsAndWorkDir) {
    testsupport::ScratchDir dir("mode_words");
    testsupport::MakeDirs(dir / "My Medium");
    testsupport::MakeDirs(dir / "Old Vexa\\KORVO");
    testsupport::MakeDirs(dir / "VEXA");
    struct {
        bool update;
        std::string installer;
        std::string installDir;
        std::string params;
    } cases[] = {
        {false, "A:\\Install.EXE", "C:\\Vexa_Dos", "PATH A:\\ C:\\Vexa_Dos\\KORVO"},
        {true, "D:\\Install.EXE", "C:\\Vexa_Dos", "UPDA D:\\ C:\\Vexa_Dos\\KORVO"},
        {false, "C:\\Medium\\Install.EXE", "C:\\Vexa Dos",
         "PATH C:\\Medium C:\\Vexa Dos\\KORVO"}, // nothing exists
        {true, "C:\\Medium\\Install.EXE", "D:\\", "UPDA C:\\Medium D:\\KORVO"},
    };
    for (const auto& c : cases) EXPECT_EQ(InstallerParams(c.update, c.installer, c.installDir), c.params);

    // Folders with blanks that exist go as their 8.3 forms: the DOS installer splits at blanks.
    std::string params = InstallerParams(true, dir / "My Medium\\Install.EXE", dir / "Old Vexa");
    char medium[MAX_PATH], korvo[MAX_PATH];
    ASSERT_GT(GetShortPathNameA((dir / "My Medium").c_str(), medium, MAX_PATH), 0u);
    ASSERT_GT(GetShortPathNameA((dir / "Old Vexa\\KORVO").c_str(), korvo, MAX_PATH), 0u);
    EXPECT_EQ(params, std::string("UPDA ") + medium + " " + korvo);
    EXPECT_EQ(std::count(params.begin(), params.end(), ' '), 2) << params;
    // Only the existing part has a short form; the rest follows as written.
    char oldVexa[MAX_PATH];
    ASSERT_GT(GetShortPathNameA((dir / "Old Vexa").c_str(), oldVexa, MAX_PATH), 0u);
    EXPECT_EQ(InstallerParams(false, dir / "My Medium\\Install.EXE", dir / "Old Vexa\\New"),
              std::string("PATH ") + medium + " " + oldVexa + "\\New\\KORVO");

    struct {
        std::string installDir;
        std::string work;
    } works[] = {
        {dir / "VEXA_DOS", dir.Path() + "\\"},   // cut before VEXA: an existing folder
        {dir / "VEXA\\VEXA", dir.Path() + "\\"}, // the first VEXA counts
        {dir / "Vexa_Dos", "C:\\Setup"},         // no VEXA in this case: missing, so the set-up folder
        {"VEXA", "C:\\Setup"},                   // at index 0 it is not cut
        {dir / "Old Vexa", dir / "Old Vexa"},
    };
    for (const auto& w : works)
        EXPECT_EQ(InstallerWorkDir(w.installDir, "C:\\Setup"), w.work) << w.installDir;
}

} // namespace
