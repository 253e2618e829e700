// The Windows preparation on the real main window: the advice page (the 95 family's in a child run under
// Wine's Windows 95 emulation), the links read back
// through the shell from this prefix's desktop and Start menu, old links, the registry entry and the
// IEEE driver question with its default answer.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "lib/fs.h"
#include "lib/proc_win32.h"
#include "setup/setupstate.h"
#include "shell/mainform.h"
#include "shell/mainstate.h"
#include "shell/registry.h"
#include "shell/winsetup.h"
#include "support/demo_win32.h"
#include "support/emulated_win32.h"
#include "support/links_win32.h"
#include "support/scripted_prompter.h"
#include "support/screens_win32.h"
#include "support/standins_win32.h"
#include "support/wine_win32.h"

using testsupport::ScriptedPrompter;
using Lines = std::vector<std::string>;

namespace {

// A tree whose Hardware.DAT holds the given lines (number, text); the rest are "0".
std::string MakeTree(const testsupport::TempDir& dir,
                     std::initializer_list<std::pair<int, const char*>> set) {
    std::string tree = dir / "Vexa";
    testsupport::MakeVexaTree(tree, "4.00");
    testsupport::MakeDirs(tree + "\\KORVO\\Hardconf");
    testsupport::MakeDirs(tree + "\\KORVO\\Install\\Win");
    Lines hardware(80, "0");
    for (auto [line, text] : set) hardware[static_cast<size_t>(line - 1)] = text;
    testsupport::WriteTextLines(tree + "\\KORVO\\Hardconf\\Hardware.DAT", hardware);
    return tree;
}

TEST(WindowsAdvice, The95FamilyRunsItsOwnChild) {
    EXPECT_EQ(testsupport::RunTestsEmulated("win95", "WindowsAdviceOn95.*"), 0);
}

// On Windows 95: the advice for a RAM disk (hardware line 16) and an unprepared mouse (line 55) before
// the DOS family's, its start files' buttons, and no driver question. (The NT family's page is this
// Wine's, below and on the end-to-end road.)
TEST(WindowsAdviceOn95, RamdiskMouseAndDosAdvice) {
    SKIP_UNLESS_EMULATED();
    ResetSetupState();
    ResetMainState();
    ReadWindowsState();
    MainState.FirstActivationDone = true;
    TForm1 form;
    form.Show();
    testsupport::TempDir dir{"advice"};
    SetupState.InstallDir.Set(MakeTree(dir, {{16, "1"}, {55, "0"}}));
    ShowWindowsAdvice();
    EXPECT_EQ(form.Memo0.Text().rfind("Dont use a ramdisk under Windows!\r\n"
                                      "Prepare mouse for Windows 95 by VxSet (graphic config).\r\n"
                                      "If necessary please edit the DOS/Windows configuration\r\n",
                                      0),
              0u)
        << form.Memo0.Text();
    EXPECT_EQ(form.BtnSys.Caption() + " " + form.BtnBat.Caption(), "CONFIG.SYS AUTOEXEC.BAT");
    ScriptedPrompter none;
    OfferIeeeDriver();
    EXPECT_TRUE(none.Boxes.empty());
    testsupport::SaveScreenshot(form.Handle(), "advice_win95");
}

class WindowsSetupTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(InitComForProcess());
        ResetSetupState();
        ResetMainState();
        ReadWindowsState();
        ASSERT_TRUE(IsNtFamily()) << "this Wine should be of the NT family";
        DriversDir(drivers);
    }
    testsupport::TempDir dir{"winsetup"};
    testsupport::ScopedSetupLinks links;
    testsupport::ScopedRegistryValue path{RegistryKey, "Path"}, version{RegistryKey, "Version"};
    std::string log = dir / "standin.log";
    testsupport::ScopedEnv logEnv{"VEXA_STANDIN_LOG", log};
    PathBuf drivers;
    ScriptedPrompter boxes;
};

TEST_F(WindowsSetupTest, MakesLinksRegistryEntryAndOffersTheDriver) {
    std::string tree = MakeTree(dir, {{65, "N"}});
    SetupState.InstallDir.Set(tree);
    std::string win = tree + "\\Korvo\\Install\\Win", prg = tree + "\\Korvo\\Prg";
    ASSERT_TRUE(testsupport::CopyStandin("SetUpNT", win));
    std::string desktop = testsupport::DesktopDir(), programs = testsupport::ProgramsDir();
    // The old layout: its folder recognised by "Vexa cmd line.LNK", its two desktop links.
    testsupport::MakeDirs(programs + "\\VEXA");
    for (const std::string& old : {programs + "\\VEXA\\Vexa cmd line.LNK", programs + "\\VEXA\\Readme.TXT",
                                   desktop + "\\Vexa.LNK", desktop + "\\VexaMeas.LNK"})
        testsupport::WriteTextLines(old, {"old"});

    MainState.FirstActivationDone = true; // the test decides the mode itself
    TForm1 form;
    form.Show();
    MainState.SetupMode = ModeSetupPanel;
    form.PanelS.SetVisible(true);
    int memoTop = form.Memo0.Top(), memoHeight = form.Memo0.Height();
    boxes.Answer(ui::IdYes).Answer(ui::IdNo);
    WindowsSetup();
    WindowsSetup(); // twice in a run: the memo moves once
    EXPECT_EQ(form.Memo0.Top(), memoTop - 32);
    EXPECT_EQ(form.Memo0.Height(), memoHeight + 32);
    EXPECT_FALSE(form.PanelS.Visible());
    testsupport::SaveScreenshot(form.Handle(), "advice_page");

    const std::pair<std::string, std::string> expected[] = {
        {desktop + "\\VexaMeas.LNK", prg + "\\VEXA.EXE|||" + win + "\\Vexa.ICO,0"},
        {desktop + "\\VexaCmd.LNK", win + "\\SetUp.EXE|CMD||" + win + "\\VexaCmd.ICO,0"},
        {programs + "\\Vexa_Dos\\Vexa measure.LNK", prg + "\\VEXA.EXE|||" + win + "\\Vexa.ICO,0"},
        {programs + "\\Vexa_Dos\\Vexa simulation.LNK", prg + "\\VEXA.EXE|SIM||" + win + "\\Vexa.ICO,0"},
        {programs + "\\Vexa_Dos\\Vexa cmd line.LNK", win + "\\SetUp.EXE|CMD||" + win + "\\VexaCmd.ICO,0"},
        {programs + "\\Vexa_Dos\\Convert ASCII data.LNK",
         win + "\\SetUp.EXE|ASC||" + win + "\\VexaAsc.ICO,0"},
        {programs + "\\Vexa_Dos\\SetUp.LNK", win + "\\SetUp.EXE|||,0"},
    };
    for (const auto& [link, read] : expected) EXPECT_EQ(testsupport::ReadLink(link), read) << link;
    EXPECT_FALSE(testsupport::FileExists(desktop + "\\Vexa.LNK"));
    EXPECT_FALSE(testsupport::FileExists(programs + "\\VEXA\\Readme.TXT"));
    EXPECT_TRUE(DirExists(programs + "\\VEXA"));            // emptied, not removed
    EXPECT_EQ(testsupport::ReadStandinLog(log).size(), 1u); // the driver: Yes the first time, No the second
}

TEST_F(WindowsSetupTest, OldFolderWithoutItsCmdLinkIsLeftAlone) {
    testsupport::MakeDirs(testsupport::ProgramsDir() + "\\VEXA");
    const std::string kept[] = {testsupport::ProgramsDir() + "\\VEXA\\Readme.TXT",
                                testsupport::DesktopDir() + "\\Vexa.LNK"};
    for (const std::string& keep : kept) testsupport::WriteTextLines(keep, {"mine"});
    RemoveOldLinks();
    for (const std::string& keep : kept) EXPECT_TRUE(testsupport::FileExists(keep)) << keep;
}

TEST_F(WindowsSetupTest, DriverQuestionDefaultsPerCase) {
    testsupport::ScopedFile keep(JoinFile(drivers.View(), "CEC488.SYS"));
    // Line 65 "Y" (IEEE board) or a driver already there make No the default (Yes otherwise: the
    // end-to-end road's).
    const struct {
        bool driverThere;
        const char* line65;
        std::string text;
        unsigned defaultButton;
    } cases[] = {
        {true, "N", "IEEE driver already exist.\r\nLoad it again?", ui::DefButton2},
        {false, "Y", "Load the driver for IEEE communication?\r\n", ui::DefButton2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line65);
        testsupport::TempDir tree{"winsetup_driver"};
        SetupState.InstallDir.Set(MakeTree(tree, {{65, c.line65}}));
        if (c.driverThere)
            testsupport::WriteTextLines(JoinFile(drivers.View(), "CEC488.SYS"), {"driver"});
        else
            DeleteFileA(JoinFile(drivers.View(), "CEC488.SYS").c_str());
        ScriptedPrompter local;
        local.Answer(ui::IdNo);
        OfferIeeeDriver();
        ASSERT_EQ(local.Boxes.size(), 1u);
        EXPECT_EQ(local.Boxes[0].Text.substr(0, c.text.size()), c.text);
        EXPECT_EQ(local.Boxes[0].Flags, ui::BtnYesNo | ui::IconQuestion | c.defaultButton);
    }
}

} // namespace
