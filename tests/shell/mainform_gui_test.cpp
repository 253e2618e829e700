// The main window as a real window in this process: its controls, the page each mode shows, the WinSet
// command, what happens to a close that arrives while a command runs and where the command-line options are
// saved. The Windows preparation on it: the advice page (the 95 family's in a child run under Wine's
// Windows 95 emulation), the links read back through the shell from this prefix's desktop and Start menu, old
// links, the registry entry and the IEEE driver question. Installation with the real stand-in installer, real
// ZIP packages of the demo medium, real drive letters and the real registry of the private prefix: where the
// install directory is found, what the installer is started with, how its answer in the marker is taken over,
// and what happens when it fails; the mode decision, the AUTOEXEC.BAT lines that name a tree and the
// installer's words as tables.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "lib/application_win32.h"
#include "lib/fs.h"
#include "lib/proc_win32.h"
#include "lib/zip_win32.h"
#include "setup/setupstate.h"
#include "shell/install.h"
#include "shell/mainform.h"
#include "shell/mainstate.h"
#include "shell/mode.h"
#include "shell/registry.h"
#include "shell/winsetup.h"
#include "support/demo_win32.h"
#include "support/emulated_win32.h"
#include "support/links_win32.h"
#include "support/scripted_prompter.h"
#include "support/screens_win32.h"
#include "support/standins_win32.h"
#include "support/wine_win32.h"

using testsupport::FileExists;
using testsupport::MakeVexaTree;
using testsupport::ReadTextLines;
using testsupport::ScopedEnv;
using Lines = std::vector<std::string>;

namespace {

Lines Tail(const ui::Memo& memo) {
    Lines lines = memo.Lines();
    return Lines(lines.begin() + std::min<size_t>(8, lines.size()), lines.end());
}

class MainFormTest : public testing::Test {
  protected:
    void SetUp() override {
        ResetMainState();
        ResetSetupState();
        ResetApplication();
        ResetFsState();
        registry.Remove();
        MainState.FirstActivationDone = true; // the tests decide the mode themselves
    }
    void TearDown() override {
        SetUnzipDir(""); // lets go of a loaded UnZip32.DLL, so the folder can go
    }
    // An installed tree with its version line, the demo's Windows tools and SetUp.EXE's folder.
    std::string Tree(const std::string& name, const std::string& version) {
        std::string tree = dir / name;
        EXPECT_TRUE(MakeVexaTree(tree, version));
        testsupport::CopyFolder(testsupport::DemoMediumDir() + "\\WIN", tree + "\\KORVO\\Install\\Win");
        return tree;
    }

    testsupport::TempDir dir{"mainform"};
    testsupport::ScopedRegistryValue registry{RegistryKey, "Path"}, version{RegistryKey, "Version"};
    testsupport::ScopedSetupLinks links;
    testsupport::ScriptedPrompter boxes;
};

class InstallTest : public MainFormTest {
  protected:
    void SetUp() override {
        MainFormTest::SetUp();
        ReadWindowsState();
        MainState.SetupDir.Set(medium);
        MainState.TempToolDir.Set(temp);
        testsupport::MakeDirs(medium);
    }
    // The medium's files without packages: installer, SetUp.EXE, UnZip32.DLL and a WIN folder.
    void SmallMedium() {
        ASSERT_TRUE(testsupport::CopyStandin("Install", medium));
        ASSERT_TRUE(testsupport::WriteTextLines(medium + "\\SetUp.EXE", {"program"}));
        ASSERT_TRUE(testsupport::WriteTextLines(medium + "\\UnZip32.DLL", {"library"}));
        testsupport::MakeDirs(medium + "\\WIN");
        ASSERT_TRUE(testsupport::CopyStandin("SetUpNT", medium + "\\WIN"));
    }
    std::vector<testsupport::StandinRun> Runs() const { return testsupport::ReadStandinLog(log); }

    std::string medium = dir / "Medium";
    std::string temp = dir / "VEXA_$$$";
    std::string log = dir / "standin.log";
    ScopedEnv env[2] = {{"VEXA_STANDIN_LOG", log}, {"VEXA_STANDIN_MARKER", temp + "\\VEXA.$$$"}};
    testsupport::ScopedFile autoexec{"C:\\AUTOEXEC.BAT"};
};

TEST_F(MainFormTest, EachModeShowsItsPage) {
    std::string medium = dir / "Medium";
    const Lines same = {"", "Same version found at $",
                        "Press \"OK\" for installation/update of complete VEXA",
                        "or \"WinSet\" for only copying Windows tools."};
    struct Case {
        std::string version;       // of the tree the registry names
        std::string besideProgram; // on the medium ("" none; "tree": the program runs inside the tree)
        const char* word;
        int mode;
        Lines tail; // memo lines after the eight
    } cases[] = {
        {"4.00", "VEXA_1.ZIP", "", ModeZipPackages, same},
        {"3.39", "Vexa_1\\initdat\\version.dat", " CMD", ModeUnpacked, {"", "Old version found at $"}},
        {"V3.40 (test)", "", "", ModeDiskette, same},
        {"4.00", "tree", "", ModeSetupPanel, {}},
        {"4.00", "tree", " Cmd", ModeCommandLine, {}},
        {"4.00", "tree", "asc ", ModeConverter, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version + " " + c.besideProgram + c.word);
        testsupport::RemoveTree(dir / "Tree");
        testsupport::RemoveTree(medium);
        testsupport::MakeDirs(medium + "\\Vexa_1\\initdat");
        std::string tree = Tree("Tree", c.version);
        registry.Set(tree);
        if (!c.besideProgram.empty() && c.besideProgram != "tree")
            testsupport::WriteTextLines(medium + "\\" + c.besideProgram, {"x"});
        std::string setupDir = c.besideProgram == "tree" ? tree + "\\KORVO\\Install\\Win" : medium;
        TForm1 form;
        form.Show();
        DecideModeFor(setupDir, "\"" + setupDir + "\\SetUp.EXE\"" + c.word);
        form.ShowModePage();

        EXPECT_EQ(MainState.SetupMode, c.mode);
        Lines tail = c.tail;
        for (std::string& line : tail)
            if (!line.empty() && line.back() == '$') line = line.substr(0, line.size() - 1) + tree;
        EXPECT_EQ(Tail(form.Memo0), tail);
        EXPECT_EQ(form.BtnWinSet.Visible(), tail.size() == 4);
        EXPECT_EQ(form.PanelS.Visible(), c.mode == ModeSetupPanel);
        // A click on OK's place reaches the set-up panel, which lies above every earlier control.
        EXPECT_EQ(ChildWindowFromPoint(form.Handle(), POINT{456, 72}), form.PanelS.Handle());
        EXPECT_EQ(form.BtnOk.IsDefault(), c.mode != ModeCommandLine); // Enter runs VEXA on that page
        EXPECT_EQ(form.Memo0.Visible(), c.mode != ModeConverter);
        // The modes with a title of their own show it on the taskbar: a window of the application
        // carries it and owns the main window, which then has no button of its own.
        HWND app = ApplicationButtonWindow();
        ASSERT_EQ(app != nullptr, c.mode < 0);
        if (app) {
            char title[32] = "";
            GetWindowTextA(app, title, sizeof title);
            EXPECT_STREQ(title, c.mode == ModeCommandLine ? "VEXA" : "VexaAsc");
            EXPECT_TRUE(IsWindowVisible(app) && (GetWindowLongA(app, GWL_EXSTYLE) & WS_EX_APPWINDOW));
            EXPECT_EQ(GetWindow(form.Handle(), GW_OWNER), app);
        }
        if (c.mode == ModeCommandLine) testsupport::SaveScreenshot(form.Handle(), "command_line_page");
    }
}

TEST_F(MainFormTest, WinSetCopiesToolsAndOffersTheWindowsSetUp) {
    std::string medium = dir / "Medium";
    testsupport::CopyFolder(testsupport::DemoMediumDir(), medium);
    std::string tree = dir / "Tree";
    ASSERT_TRUE(MakeVexaTree(tree, "4.00"));
    registry.Set(tree);
    TForm1 form;
    form.Show();
    DecideModeFor(medium, medium + "\\SetUp.EXE");
    form.ShowModePage();
    ASSERT_TRUE(form.BtnWinSet.Visible());
    registry.Remove(); // only the Windows set-up writes it again

    boxes.Answer(ui::IdNo);
    form.BtnWinSetClick();
    for (const char* tool : {"SetUp.EXE", "SetUpNT.EXE", "VexaAsc.ICO"})
        EXPECT_TRUE(testsupport::FileExists(tree + "\\KORVO\\Install\\Win\\" + tool)) << tool;
    EXPECT_TRUE(form.PanelS.Visible());
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, "Run Windows SetUp for making\r\ndesktop icons and program folder?");
    EXPECT_EQ(registry.Read(), ""); // No: no Windows set-up, which would record the tree
}

// Answers every box with its default button and notes whether the main window was still on screen.
struct WatchingPrompter final : ui::Prompter {
    explicit WatchingPrompter(TForm1& f) : form(f) { ui::SetPrompter(this); }
    ~WatchingPrompter() override { ui::SetPrompter(nullptr); }
    int Ask(const std::string&, const std::string&, unsigned flags) override {
        windowShown.push_back(form.Visible());
        return ui::DefaultAnswer(flags);
    }
    TForm1& form;
    std::vector<bool> windowShown;
};

TEST_F(InstallTest, CloseDuringInstallationWaitsForItsEnd) {
    testsupport::CopyFolder(testsupport::DemoMediumDir(), medium);
    ScopedEnv choose{"VEXA_STANDIN_CHOOSE", dir / "Chosen"};
    TForm1 form;
    form.Show();
    DecideModeFor(medium, medium + "\\SetUp.EXE");
    MainState.TempToolDir.Set(temp);
    form.ShowModePage();
    ASSERT_EQ(MainState.SetupMode, ModeZipPackages);
    WatchingPrompter watch(form);

    // The close arrives while the packages are unpacked (the progress window lets messages run).
    PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
    form.BtnOkClick();

    // The installer still ran, then the driver set-up that the Windows set-up offered (Enter says Yes).
    EXPECT_EQ(Runs().size(), 2u);
    ASSERT_FALSE(watch.windowShown.empty()); // the Windows set-up spoke up after the installation
    for (bool shown : watch.windowShown) EXPECT_TRUE(shown) << "a box after the window was closed";
    EXPECT_FALSE(form.Visible()); // and then the window closed
    EXPECT_EQ(MainState.CommandDepth, 0);
}

// Options typed on the command-line page are saved at the close into the tree they came from, never
// into the one the tree folder moved to.
TEST_F(MainFormTest, CommandLineOptionsGoBackOnlyIntoTheirTree) {
    std::string a = Tree("Tree A", "4.00"), b = Tree("TreeB", "4.00");
    auto cfg = [](const std::string& tree) { return tree + "\\KORVO\\Install\\Win\\VexaCmd.CFG"; };
    testsupport::WriteTextLines(cfg(a), {"a-options"});
    testsupport::WriteTextLines(cfg(b), {"b-options"});
    TForm1 form;
    DecideModeFor(a + "\\KORVO\\Install\\Win", "SETUP");
    form.ShowModePage();
    EXPECT_EQ(form.EditC.Text(), "a-options");
    form.EditC.SetText("typed");
    SetupState.InstallDir.Set(b);
    form.Close();
    EXPECT_EQ(ReadTextLines(cfg(a)), Lines{"a-options"});
    EXPECT_EQ(ReadTextLines(cfg(b)), Lines{"b-options"});
}

// ---- The Windows preparation ----------------------------------------------------------------------

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
    EXPECT_EQ(testsupport::RunTestsEmulated("win95", "MainFormTest.AdviceOn95*"), 0);
}

// On Windows 95: the advice for a RAM disk (hardware line 16) and an unprepared mouse (line 55) before
// the DOS family's, its start files' buttons, and no driver question.
TEST_F(MainFormTest, AdviceOn95RamdiskMouseAndDosAdvice) {
    SKIP_UNLESS_EMULATED();
    ReadWindowsState();
    TForm1 form;
    form.Show();
    SetupState.InstallDir.Set(MakeTree(dir, {{16, "1"}, {55, "0"}}));
    form.ShowWindowsAdvice();
    EXPECT_EQ(form.Memo0.Text().rfind("Dont use a ramdisk under Windows!\r\n"
                                      "Prepare mouse for Windows 95 by VxSet (graphic config).\r\n"
                                      "If necessary please edit the DOS/Windows configuration\r\n",
                                      0),
              0u)
        << form.Memo0.Text();
    EXPECT_EQ(form.BtnSys.Caption() + " " + form.BtnBat.Caption(), "CONFIG.SYS AUTOEXEC.BAT");
    OfferIeeeDriver();
    EXPECT_TRUE(boxes.Boxes.empty());
    testsupport::SaveScreenshot(form.Handle(), "advice_win95");
}

TEST_F(MainFormTest, WindowsSetupMakesLinksAndOffersTheDriver) {
    ASSERT_TRUE(InitComForProcess());
    ReadWindowsState(); // this Wine's, of the NT family
    std::string log = dir / "standin.log";
    ScopedEnv logEnv{"VEXA_STANDIN_LOG", log};
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

    TForm1 form;
    form.Show();
    MainState.SetupMode = ModeSetupPanel;
    form.PanelS.SetVisible(true);
    boxes.Answer(ui::IdYes);
    form.WindowsSetup();
    EXPECT_FALSE(form.PanelS.Visible());
    testsupport::SaveScreenshot(form.Handle(), "advice_page");

    const std::pair<std::string, std::string> expected[] = {
        {desktop + "\\VexaCmd.LNK", win + "\\SetUp.EXE|CMD||" + win + "\\VexaCmd.ICO,0"},
        {programs + "\\Vexa_Dos\\Vexa measure.LNK", prg + "\\VEXA.EXE|||" + win + "\\Vexa.ICO,0"},
        {programs + "\\Vexa_Dos\\Vexa simulation.LNK", prg + "\\VEXA.EXE|SIM||" + win + "\\Vexa.ICO,0"},
        {programs + "\\Vexa_Dos\\Convert ASCII data.LNK",
         win + "\\SetUp.EXE|ASC||" + win + "\\VexaAsc.ICO,0"},
        {programs + "\\Vexa_Dos\\SetUp.LNK", win + "\\SetUp.EXE|||,0"},
    };
    for (const auto& [link, read] : expected) EXPECT_EQ(testsupport::ReadLink(link), read) << link;
    EXPECT_FALSE(testsupport::FileExists(desktop + "\\Vexa.LNK"));
    EXPECT_FALSE(testsupport::FileExists(programs + "\\VEXA\\Readme.TXT"));
    EXPECT_TRUE(DirExists(programs + "\\VEXA"));            // emptied, not removed
    EXPECT_EQ(testsupport::ReadStandinLog(log).size(), 1u); // the driver set-up
}

TEST_F(MainFormTest, OldFolderWithoutItsCmdLinkIsLeftAlone) {
    testsupport::MakeDirs(testsupport::ProgramsDir() + "\\VEXA");
    const std::string kept[] = {testsupport::ProgramsDir() + "\\VEXA\\Readme.TXT",
                                testsupport::DesktopDir() + "\\Vexa.LNK"};
    for (const std::string& keep : kept) testsupport::WriteTextLines(keep, {"mine"});
    RemoveOldLinks();
    for (const std::string& keep : kept) EXPECT_TRUE(testsupport::FileExists(keep)) << keep;
}

// ---- The installation ------------------------------------------------------------------------------

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
    // Success without a directory named keeps the tree where it was.
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
        // The medium's layout decides, whatever the command line says; a package beside a copy inside an
        // installed tree still installs.
        {"D:\\Medium", "D:\\Medium\\SetUp.EXE ASC", "", ModeDiskette, ""},
        {tree, exe, "C:\\VEXA\\KORVO\\INSTALL\\WIN\\VEXA_1.ZIP", ModeZipPackages, ""},
        // Inside a tree: the word after the program name, in any case, with or without blanks.
        {tree, quoted + "   cMd   ", "", ModeCommandLine, "C:\\Vexa"},
        {tree, exe + " CMDX", "", ModeSetupPanel, "C:\\Vexa"},
        // A quoted name ends at its quote, an unquoted one at the first blank.
        {blanks, "\"" + blanks + "\\SetUp.EXE\" CMD", "", ModeCommandLine, "C:\\Program Files\\Vexa"},
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
