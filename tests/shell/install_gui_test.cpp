// Installation with the real stand-in installer, real ZIP packages of the demo medium, real drive
// letters and the real registry of the private prefix: where the install directory is found, what the
// installer is started with, how its answer in the marker is taken over, and what happens when it fails;
// the mode decision, the AUTOEXEC.BAT lines that name a tree and the installer's words as tables.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "lib/fs.h"
#include "ui/prompter.h"
#include "lib/zip_win32.h"
#include "setup/setupstate.h"
#include "shell/install.h"
#include "shell/mainstate.h"
#include "shell/mode.h"
#include "shell/registry.h"
#include "support/demo_win32.h"
#include "support/scripted_prompter.h"
#include "support/standins_win32.h"
#include "support/wine_win32.h"

using testsupport::FileExists;
using testsupport::MakeVexaTree;
using testsupport::ReadTextLines;
using testsupport::ScopedEnv;
using Lines = std::vector<std::string>;

namespace {

class InstallTest : public testing::Test {
  protected:
    void SetUp() override {
        ResetMainState();
        ResetSetupState();
        ResetFsState();
        ReadWindowsState();
        MainState.SetupDir.Set(medium);
        MainState.TempToolDir.Set(temp);
        registry.Remove();
        testsupport::MakeDirs(medium);
    }
    void TearDown() override { SetUnzipDir(""); } // lets go of a loaded UnZip32.DLL, so the folder can go
    // The medium's files without packages: installer, SetUp.EXE, UnZip32.DLL and a WIN folder.
    void SmallMedium() {
        ASSERT_TRUE(testsupport::CopyStandin("Install", medium));
        ASSERT_TRUE(testsupport::WriteTextLines(medium + "\\SetUp.EXE", {"program"}));
        ASSERT_TRUE(testsupport::WriteTextLines(medium + "\\UnZip32.DLL", {"library"}));
        testsupport::MakeDirs(medium + "\\WIN");
        ASSERT_TRUE(testsupport::CopyStandin("SetUpNT", medium + "\\WIN"));
    }
    std::vector<testsupport::StandinRun> Runs() const { return testsupport::ReadStandinLog(log); }

    testsupport::TempDir dir{"install"};
    std::string medium = dir / "Medium";
    std::string temp = dir / "VEXA_$$$";
    std::string log = dir / "standin.log";
    ScopedEnv env[2] = {{"VEXA_STANDIN_LOG", log}, {"VEXA_STANDIN_MARKER", temp + "\\VEXA.$$$"}};
    testsupport::ScopedRegistryValue registry{RegistryKey, "Path"};
    testsupport::ScopedFile autoexec{"C:\\AUTOEXEC.BAT"};
    testsupport::ScriptedPrompter boxes;
};

TEST_F(InstallTest, FindInstallDirTakesTheFirstTree) {
    DeleteFileA("C:\\AUTOEXEC.BAT");
    struct Case {
        const char* what;
        Lines trees;
        std::string recorded;
        Lines autoexec;
        std::string found;
    } cases[] = {
        {"registry", {dir / "Reg", medium}, dir / "Reg", {}, dir / "Reg"},
        {"registry without tree", {medium}, dir / "Gone", {}, medium},
        {"set-up folder", {medium, medium + "\\Vexa"}, "", {}, medium},
        {"C:\\Vexa", {"C:\\Vexa", dir / "meas"}, "", {"PATH " + dir / "meas\\KORVO\\BAT"}, "C:\\Vexa"},
        {"AUTOEXEC.BAT, the first line naming a tree",
         {dir / "meas"},
         "",
         {"PATH " + dir / "a\\KORVO\\BAT", "PATH " + dir / "meas\\korvo\\bat"},
         dir / "meas"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* old : {"Reg", "Medium\\Vexa", "meas", "a", "b"}) testsupport::RemoveTree(dir / old);
        testsupport::RemoveTree(medium + "\\KORVO");
        testsupport::RemoveTree("C:\\Vexa");
        for (const std::string& tree : c.trees) ASSERT_TRUE(MakeVexaTree(tree));
        if (c.recorded.empty())
            registry.Remove();
        else
            registry.Set(c.recorded);
        DeleteFileA("C:\\AUTOEXEC.BAT");
        if (!c.autoexec.empty()) testsupport::WriteTextLines("C:\\AUTOEXEC.BAT", c.autoexec);

        FindInstallDir();
        EXPECT_EQ(SetupState.InstallDir.Str(), c.found);
    }
    testsupport::RemoveTree("C:\\Vexa");
}

TEST_F(InstallTest, MarkerHandshake) {
    SmallMedium();
    PrepareTempTools();
    EXPECT_EQ(
        ReadTextLines(temp + "\\VEXA.$$$"),
        (Lines{"     0", "     " + std::to_string(SetupState.WinVersionCode), SetupState.WindowsDir.Str()}));
    // Success without a directory named keeps the tree where it was. (Success naming one, and failure,
    // are the end-to-end road's.)
    SetupState.InstallDir.Set(dir / "Kept");
    ASSERT_TRUE(testsupport::WriteTextLines(temp + "\\VEXA.$$$", {"  7 ", ""}));
    ASSERT_TRUE(testsupport::WriteTextLines(temp + "\\SetUp.EXE", {"program"}));
    bool ok = true;
    RestoreTools(ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(SetupState.InstallDir.Str(), dir / "Kept");
}

TEST_F(InstallTest, DisketteInstallerOnTheSetupDrive) {
    std::string disk = dir / "disk";
    testsupport::MakeDirs(disk + "\\SETUP\\WIN");
    ASSERT_TRUE(testsupport::CopyStandin("Install", disk));
    testsupport::WineDrives drives;
    ASSERT_TRUE(drives.Define('D', testsupport::UnixPathOf(disk), DRIVE_FIXED));
    MainState.SetupMode = ModeDiskette;
    MainState.SetupDir.Set("D:\\SETUP");
    SetupState.InstallDir.Set(dir / "Vexa_Dos");

    boxes.Answer(ui::IdOk);
    bool ok = false;
    RunInstallation(ok);
    EXPECT_TRUE(ok);
    ASSERT_EQ(boxes.Boxes.size(), 1u); // found on D:\ without "Program not fund!"
    EXPECT_EQ(boxes.Boxes[0].Caption + "|" + boxes.Boxes[0].Text,
              "Insert disk|Please insert installation disk 1");
    ASSERT_EQ(Runs().size(), 1u);
    EXPECT_EQ(Runs()[0].CommandLine, "D:\\Install.EXE PATH D:\\ " + dir / "Vexa_Dos\\KORVO");

    // Cancel runs nothing and still removes the tools' folder.
    boxes.Answer(ui::IdCancel);
    RunInstallation(ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(Runs().size(), 1u);
    EXPECT_FALSE(DirExists(temp));
}

TEST_F(InstallTest, MissingInstallerIsReported) {
    SmallMedium();
    DeleteFileA((medium + "\\Install.EXE").c_str());
    MainState.SetupMode = ModeZipPackages;
    boxes.Answer(ui::IdOk);
    bool ok = true;
    RunInstallation(ok);
    EXPECT_FALSE(ok);
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Caption + "|" + boxes.Boxes[0].Text,
              "Program not found!|" + medium + "\\Install.EXE");
    EXPECT_FALSE(DirExists(temp));
}

TEST_F(InstallTest, PackageFoldersCutToTheirBufferAreRefused) {
    // 169 characters: each package folder loses its closing backslash; 175: it is cut to the set-up folder
    // itself, and emptying that would wipe the medium.
    for (size_t length : {169u, 175u}) {
        SCOPED_TRACE(length);
        std::string longMedium = dir / std::string(length - dir.Path().size() - 1, 'm');
        testsupport::MakeDirs(longMedium);
        ASSERT_TRUE(testsupport::WriteTextLines(longMedium + "\\Keep.TXT", {"medium"}));
        MainState.SetupDir.Set(longMedium);
        boxes.Boxes.clear();
        for (int i = 0; i < 6; ++i) boxes.Answer(ui::IdOk);
        ExtractPackages();
        EXPECT_TRUE(FileExists(longMedium + "\\Keep.TXT"));
        EXPECT_FALSE(DirExists(longMedium + "\\VEXA_1"));
        ASSERT_EQ(boxes.Boxes.size(), 6u);
        EXPECT_EQ(boxes.Boxes[0].Caption, "Unzip error");
    }
}

// ---- The mode decision and the installer's words, as tables over the rules ----------------------------

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
    };
    for (const auto& w : works)
        EXPECT_EQ(InstallerWorkDir(w.installDir, "C:\\Setup"), w.work) << w.installDir;
}

} // namespace
