// Installation with the real stand-in installer, real ZIP packages of the demo medium, real drive
// letters and the real registry of the private prefix: where the install directory is found, what the
// installer is started with, how its answer in the marker is taken over, and what happens when it fails.
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
    std::string Installed(const std::string& file) const {
        return SetupState.InstallDir.Str() + "\\KORVO\\Install\\Win\\" + file;
    }

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
    ASSERT_FALSE(HasVexaTree("C:\\Vexa")) << "the prefix must not hold a tree of its own";
    ASSERT_FALSE(HasVexaTree("C:\\Vexa_Dos"));
    DeleteFileA("C:\\AUTOEXEC.BAT");
    std::string lower = dir / "meas";
    for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
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
         {"PATH " + dir / "a\\KORVO\\BAT", "PATH " + lower + "\\korvo\\bat"},
         lower},
        {"nothing", {}, dir / "Gone", {"PATH=C:\\DOS"}, "C:\\Vexa_Dos"},
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

TEST_F(InstallTest, DriveSearchStopsAtTheFirstDriveThatIsNotFixed) {
    DeleteFileA("C:\\AUTOEXEC.BAT");
    for (const char* d : {"d", "e", "f"}) testsupport::MakeDirs(dir / d);
    testsupport::WineDrives drives;
    ASSERT_TRUE(drives.Define('D', testsupport::UnixPathOf(dir / "d"), DRIVE_FIXED));
    ASSERT_TRUE(drives.Define('E', testsupport::UnixPathOf(dir / "e"), DRIVE_CDROM));
    ASSERT_TRUE(drives.Define('F', testsupport::UnixPathOf(dir / "f"), DRIVE_FIXED));
    ASSERT_TRUE(MakeVexaTree(dir / "e\\Vexa_Dos"));
    ASSERT_TRUE(MakeVexaTree(dir / "f\\Vexa_Dos"));

    FindInstallDir(); // the CD in E: ends the search: F: is never looked at
    EXPECT_EQ(SetupState.InstallDir.Str(), "C:\\Vexa_Dos");

    ASSERT_TRUE(MakeVexaTree(dir / "d\\Vexa_Dos"));
    FindInstallDir();
    EXPECT_EQ(SetupState.InstallDir.Str(), "D:\\Vexa_Dos");
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
    EXPECT_TRUE(FileExists(Installed("SetUp.EXE")));
    EXPECT_FALSE(FileExists(Installed("VEXA.$$$")));
    EXPECT_FALSE(DirExists(temp));
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

} // namespace
