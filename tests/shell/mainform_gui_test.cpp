// The main window as a real window in this process: its controls, the page each mode shows, the first
// activation, the WinSet command, what happens to a close that arrives while a command runs, where the
// command-line options are saved, and how the home page is opened.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "lib/fs.h"
#include "lib/zip_win32.h"
#include "setup/setupstate.h"
#include "shell/mainform.h"
#include "shell/mainstate.h"
#include "shell/mode.h"
#include "shell/registry.h"
#include "support/demo_win32.h"
#include "support/scripted_prompter.h"
#include "support/screens_win32.h"
#include "support/standins_win32.h"
#include "support/wine_win32.h"

using testsupport::MakeVexaTree;
using testsupport::ReadTextLines;
using testsupport::ScopedEnv;
using Lines = std::vector<std::string>;

namespace {

int FontHeight(const ui::Control& control) {
    LOGFONTA font{};
    GetObjectA(control.Font() ? control.Font() : reinterpret_cast<HFONT>(SendMessageA(control.Handle(), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    return font.lfHeight;
}

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
    void TearDown() override { SetUnzipDir(""); }
    // An installed tree with its version line, the demo's Windows tools and SetUp.EXE's folder.
    std::string Tree(const std::string& name, const std::string& version) {
        std::string tree = dir / name;
        EXPECT_TRUE(MakeVexaTree(tree, version));
        testsupport::CopyFolder(testsupport::DemoMediumDir() + "\\WIN", tree + "\\KORVO\\Install\\Win");
        return tree;
    }

    testsupport::ScratchDir dir{"mainform"};
    testsupport::ScopedRegistryValue registry{RegistryKey, "Path"};
    testsupport::ScriptedPrompter boxes;
};

TEST_F(MainFormTest, EveryControlOfTheTable) {
    TForm1 form;
    EXPECT_EQ(form.Caption(), "SetUp");
    EXPECT_EQ(form.ClientWidth(), 526);
    EXPECT_EQ(form.ClientHeight(), 340);
    EXPECT_FALSE(form.Scaled);
    struct Row {
        ui::Control* control;
        ui::Control* parent;
        int left, top, width, height; // width 0: sized to the caption
        const char* caption;
        int tag;
        const char* hint;
        bool visible, enabled;
    } rows[] = {
        {&form.Label0, nullptr, 16, 16, 438, 25, "Windows installation program for VEXA version 4.0", 0, "", true, true},
        {&form.Memo0, nullptr, 16, 56, 377, 217, nullptr, 0, "", true, true},
        {&form.PanelC, nullptr, 408, 216, 97, 65, "", 0, "", false, true},
        {&form.LabelC, &form.PanelC, 176, 168, 0, 0, "Command line option", 0, "", true, true},
        {&form.LabelC0, &form.PanelC, 112, 32, 0, 0, "Start VEXA with command line option", 0, "", true, true},
        {&form.BtnVexa, &form.PanelC, 184, 72, 105, 57, "Run", 1, "Run VEXA with cmd line option", true, true},
        {&form.EditC, &form.PanelC, 160, 200, 161, 24, "", 0, "", true, true},
        {&form.BtnInfoC, &form.PanelC, 328, 160, 65, 25, "Info", 0, "List all available options", true, true},
        {&form.BtnWinSet, nullptr, 416, 176, 85, 33, "WinSet", 0, "", false, true},
        {&form.BtnBat, nullptr, 192, 290, 113, 37, "AUTOEXEC.BAT", 2, "", false, false}, // its hint is not shown
        {&form.BtnSys, nullptr, 56, 290, 113, 37, "CONFIG.SYS", 1, "Edit CONFIG.SYS file", false, false},
        {&form.BtnCancel, nullptr, 416, 104, 85, 33, "Cancel", 0, "", true, true},
        {&form.BtnOk, nullptr, 416, 56, 85, 33, "OK", 0, "", true, true},
        {&form.PanelS, nullptr, 0, 0, 526, 340, "", 0, "", true, true},
        {&form.GroupBox1, &form.PanelS, 24, 16, 137, 177, " SetUp ", 0, "", true, true},
        {&form.BtnConf, &form.GroupBox1, 16, 32, 105, 57, "VEXA", 1, "SetUp VEXA configuration (VxSet)", true, true},
        {&form.BtnWin, &form.GroupBox1, 16, 104, 105, 57, "Windows", 0, "SetUp Windows configuration for VEXA", true,
         true},
        {&form.GroupBox2, &form.PanelS, 184, 17, 137, 176, " Info ", 0, "", true, true},
        {&form.BtnInfo1, &form.GroupBox2, 16, 32, 105, 57, "Config", 2,
         "Show VEXA configuration information (VxSet Info)", true, true},
        {&form.BtnInfo2, &form.GroupBox2, 16, 104, 105, 57, "Tools", 0, "Information tools", true, true},
        {&form.GroupBox3, &form.PanelS, 344, 16, 137, 177, " Internet ", 0, "", true, true},
        {&form.BtnHomePage, &form.GroupBox3, 16, 32, 105, 57, "Homepage", 0, "Connect with VEXA homepage", true, true},
        {&form.BtnBugFix, &form.GroupBox3, 16, 104, 105, 57, "BugFix", 0, "Load VEXA bugfix package from internet",
         true, true},
        {&form.BtnClose, &form.PanelS, 360, 248, 105, 57, "Close", 2, "Close SetUp", true, true},
        {&form.GroupBox4, &form.PanelS, 24, 216, 297, 105, " Tools ", 0, "", true, true},
        {&form.BtnEditor, &form.GroupBox4, 16, 32, 105, 57, "Editor", 3, "Edit ASCII files", true, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.caption ? r.caption : "Memo0");
        EXPECT_EQ(GetParent(r.control->Handle()), r.parent ? r.parent->Handle() : form.Handle());
        EXPECT_EQ(r.control->Left(), r.left);
        EXPECT_EQ(r.control->Top(), r.top);
        if (r.width) {
            EXPECT_EQ(r.control->Width(), r.width);
            EXPECT_EQ(r.control->Height(), r.height);
        }
        if (r.caption) {
            EXPECT_EQ(r.control->Caption(), r.caption);
        }
        EXPECT_EQ(r.control->Tag, r.tag);
        EXPECT_EQ(r.control->Hint(), r.hint);
        EXPECT_EQ(r.control->Visible(), r.visible);
        EXPECT_EQ(r.control->Enabled(), r.enabled);
    }
    EXPECT_EQ(FontHeight(form.Label0), -20);
    EXPECT_EQ(FontHeight(form.LabelC0), -17);
    EXPECT_EQ(FontHeight(form.Memo0), -13);
    EXPECT_EQ(form.Memo0.Lines(),
              (Lines{"This program install the VEXA program from disk/CD and",
                     "prepare it for running in a DOS box of  Windows 95/98/NT. ",
                     "Dont install in the DOS configuration program a  ramdisk.",
                     "Let the last disk in the drive until end of Windows SetUp.",
                     "If  possible switch off the ROM at the IEEE  board (see ", "Keithley manual).",
                     "In the VEXA installation program you get with ALT-F1", "information about the current input."}));
    LONG memoStyle = GetWindowLongA(form.Memo0.Handle(), GWL_STYLE);
    EXPECT_TRUE((memoStyle & ES_READONLY) && (memoStyle & WS_VSCROLL));
    EXPECT_TRUE(form.BtnOk.IsDefault());
    EXPECT_TRUE(form.BtnVexa.IsDefault());
    EXPECT_TRUE(form.BtnCancel.IsCancel());
    EXPECT_FALSE(form.Timer1.Enabled());
    // The set-up panel lies above everything else: a click on OK's place reaches the panel.
    POINT okCentre{416 + 40, 56 + 16};
    EXPECT_EQ(ChildWindowFromPoint(form.Handle(), okCentre), form.PanelS.Handle());
}

TEST_F(MainFormTest, EachModeShowsItsPage) {
    std::string medium = dir / "Medium";
    testsupport::MakeDirs(medium);
    struct Case {
        const char* what;
        std::string version;  // of the tree the registry names ("" no tree)
        Lines mediumFiles;    // beside the program on the medium
        bool fromTree;        // the program runs inside the tree
        const char* word;     // after the program name
        int mode;
        Lines tail;           // memo lines after the eight
    } cases[] = {
        {"zip, same version", "4.00", {"VEXA_1.ZIP"}, false, "", ModeZipPackages,
         {"", "Same version found at $", "Press \"OK\" for installation/update of complete VEXA",
          "or \"WinSet\" for only copying Windows tools."}},
        {"unpacked, old version", "3.39", {"Vexa_1\\initdat\\version.dat"}, false, "CMD", ModeUnpacked,
         {"", "Old version found at $"}},
        {"diskette, 3.40", "V3.40 (test)", {}, false, "", ModeDiskette,
         {"", "Same version found at $", "Press \"OK\" for installation/update of complete VEXA",
          "or \"WinSet\" for only copying Windows tools."}},
        {"no digits", "Vexa", {}, false, "", ModeDiskette, {""}},
        {"no tree", "", {}, false, "", ModeDiskette, {""}},
        {"set-up panel", "4.00", {}, true, "", ModeSetupPanel, {}},
        {"command line", "4.00", {}, true, " Cmd", ModeCommandLine, {}},
        {"converter", "4.00", {}, true, "asc ", ModeConverter, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::RemoveTree(dir / "Tree");
        testsupport::RemoveTree(medium);
        testsupport::MakeDirs(medium);
        std::string tree = c.version.empty() ? "C:\\Vexa_Dos" : Tree("Tree", c.version);
        registry.Set(tree);
        for (const std::string& file : c.mediumFiles) {
            testsupport::MakeDirs(medium + "\\Vexa_1\\initdat");
            testsupport::WriteTextLines(medium + "\\" + file, {"x"});
        }
        if (c.mode == ModeCommandLine)
            testsupport::WriteTextLines(tree + "\\KORVO\\Install\\Win\\VexaCmd.CFG", {"demo -x"});
        std::string setupDir = c.fromTree ? tree + "\\KORVO\\Install\\Win" : medium;
        ResetApplication();
        MainState.ConverterPending = false;

        TForm1 form;
        form.Show();
        HICON ownIcon = reinterpret_cast<HICON>(SendMessageA(form.Handle(), WM_GETICON, ICON_BIG, 0));
        DecideModeFor(setupDir, "\"" + setupDir + "\\SetUp.EXE\"" + c.word);
        form.ShowModePage();

        EXPECT_EQ(MainState.SetupMode, c.mode);
        EXPECT_EQ(SetupState.InstallDir.Str(), tree);
        Lines tail = c.tail;
        for (std::string& line : tail)
            if (!line.empty() && line.back() == '$')
                line = line.substr(0, line.size() - 1) + tree;
        EXPECT_EQ(Tail(form.Memo0), tail);
        bool installing = c.mode >= ModeDiskette;
        EXPECT_EQ(form.PanelS.Visible(), c.mode == ModeSetupPanel);
        EXPECT_EQ(form.BtnWinSet.Visible(), installing && tail.size() == 4);
        EXPECT_EQ(form.PanelC.Visible(), c.mode == ModeCommandLine);
        EXPECT_EQ(form.BtnOk.Visible(), c.mode != ModeCommandLine);
        EXPECT_EQ(form.BtnOk.IsDefault(), c.mode != ModeCommandLine);
        EXPECT_EQ(form.Memo0.Visible(), c.mode != ModeConverter);
        EXPECT_EQ(form.Label0.Visible(), c.mode != ModeConverter);
        EXPECT_EQ(form.EditC.Text(), c.mode == ModeCommandLine ? "demo -x" : "sim");
        EXPECT_EQ(form.Caption(), c.mode == ModeCommandLine ? "Run VEXA" : "SetUp");
        EXPECT_EQ(Application.Title.Str(),
                  c.mode == ModeCommandLine ? "VEXA" : c.mode == ModeConverter ? "VexaAsc" : "SetUp");
        HICON icon = reinterpret_cast<HICON>(SendMessageA(form.Handle(), WM_GETICON, ICON_BIG, 0));
        EXPECT_EQ(icon != ownIcon, c.mode < 0) << "the mode's icon from the tree";
        if (c.mode == ModeCommandLine) {
            EXPECT_EQ(form.PanelC.Width(), 526);
            EXPECT_EQ(form.PanelC.Height(), 340);
            EXPECT_FALSE(form.BtnCancel.Visible());
            EXPECT_TRUE(form.BtnVexa.Visible());
        }
        EXPECT_EQ(form.Timer1.Enabled(), c.mode == ModeConverter);
        if (c.mode == ModeConverter) {
            EXPECT_EQ(form.Timer1.Interval(), 100);
            // The first tick hides the window, runs the converter and closes.
            boxes.Answer(ui::IdOk);
            testsupport::PumpMessages(400);
            EXPECT_FALSE(MainState.ConverterPending);
            EXPECT_FALSE(form.Visible());
            ASSERT_EQ(boxes.Boxes.size(), 1u);
            EXPECT_NE(boxes.Boxes[0].Text.find("converter"), std::string::npos);
        }
    }
}

TEST_F(MainFormTest, SecondActivationRepeatsNothing) {
    std::string tree = Tree("Tree", "3.39");
    registry.Set(tree);
    MainState.FirstActivationDone = false;
    TForm1 form;
    form.Show(); // the first activation decides: this test program lies on no medium, so a diskette install
    testsupport::PumpMessages(100);
    ASSERT_TRUE(MainState.FirstActivationDone);
    EXPECT_EQ(MainState.SetupMode, ModeDiskette);
    EXPECT_EQ(Tail(form.Memo0), (Lines{"", "Old version found at " + tree}));

    MainState.SetupMode = ModeZipPackages;
    ui::Form other;
    other.Create({.caption = "Other"});
    other.Show();
    testsupport::PumpMessages(100);
    SetForegroundWindow(form.Handle());
    SetActiveWindow(form.Handle());
    testsupport::PumpMessages(100);
    EXPECT_EQ(GetActiveWindow(), form.Handle());
    EXPECT_EQ(MainState.SetupMode, ModeZipPackages); // not decided again
    EXPECT_EQ(Tail(form.Memo0), (Lines{"", "Old version found at " + tree}));
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

    boxes.Answer(ui::IdNo);
    form.BtnWinSetClick();
    for (const char* tool : {"SetUp.EXE", "SetUpNT.EXE", "VexaAsc.ICO"})
        EXPECT_TRUE(testsupport::FileExists(tree + "\\KORVO\\Install\\Win\\" + tool)) << tool;
    EXPECT_EQ(MainState.SetupMode, ModeSetupPanel);
    EXPECT_FALSE(form.BtnWinSet.Visible());
    EXPECT_TRUE(form.PanelS.Visible());
    EXPECT_TRUE(form.BtnOk.Enabled());
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Caption, "Question");
    EXPECT_EQ(boxes.Boxes[0].Text, "Run Windows SetUp for making\r\ndesktop icons and program folder?");
    EXPECT_EQ(boxes.Boxes[0].Flags, ui::BtnYesNo | ui::IconQuestion | ui::DefButton1);
    registry.Remove();
    EXPECT_EQ(registry.Read(), "");

    // Yes runs the Windows set-up, which records the tree.
    boxes.Answer(ui::IdYes).Answer(ui::IdOk);
    form.BtnWinSetClick();
    EXPECT_EQ(registry.Read(), tree);
    EXPECT_EQ(testsupport::ScopedRegistryValue(RegistryKey, "Version").Read(), "4.0");
    EXPECT_TRUE(form.BtnConf.Enabled());
}

// Answers every box with its default button and notes whether the main window was still on screen.
class WatchingPrompter final : public ui::Prompter {
  public:
    explicit WatchingPrompter(TForm1& form) : form_(form) { ui::SetPrompter(this); }
    ~WatchingPrompter() override { ui::SetPrompter(nullptr); }
    int Ask(const std::string& caption, const std::string&, unsigned flags) override {
        Captions.push_back(caption);
        WindowShown.push_back(form_.Visible());
        return ui::DefaultAnswer(flags);
    }
    Lines Captions;
    std::vector<bool> WindowShown;

  private:
    TForm1& form_;
};

TEST_F(MainFormTest, CloseDuringInstallationWaitsForItsEnd) {
    std::string medium = dir / "Medium";
    testsupport::CopyFolder(testsupport::DemoMediumDir(), medium);
    ScopedEnv env[] = {{"VEXA_STANDIN_LOG", dir / "standin.log"},
                       {"VEXA_STANDIN_MARKER", dir / "VEXA_$$$\\VEXA.$$$"},
                       {"VEXA_STANDIN_CHOOSE", dir / "Chosen"},
                       {"VEXA_STANDIN_FAIL", ""}};
    TForm1 form;
    form.Show();
    DecideModeFor(medium, medium + "\\SetUp.EXE");
    MainState.TempToolDir.Set(dir / "VEXA_$$$");
    form.ShowModePage();
    ASSERT_EQ(MainState.SetupMode, ModeZipPackages);
    WatchingPrompter watch(form);

    // The close arrives while the packages are unpacked (the progress window lets messages run).
    PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
    form.BtnOkClick();

    EXPECT_EQ(testsupport::ReadStandinLog(dir / "standin.log").size(), 1u); // the installer still ran
    EXPECT_TRUE(testsupport::FileExists(dir / "Chosen\\KORVO\\Install\\Win\\SetUp.EXE"));
    ASSERT_FALSE(watch.Captions.empty()); // the Windows set-up spoke up after the installation
    for (bool shown : watch.WindowShown) EXPECT_TRUE(shown) << "a box after the window was closed";
    EXPECT_FALSE(form.Visible()); // and then the window closed
    EXPECT_FALSE(MainState.CloseRequested);
    EXPECT_EQ(MainState.CommandDepth, 0);
}

TEST_F(MainFormTest, CommandLineOptionsGoBackOnlyIntoTheirTree) {
    std::string a = Tree("Tree A", "4.00");
    std::string b = Tree("TreeB", "4.00");
    std::string c = Tree("TreeC", "4.00");
    auto cfg = [](const std::string& tree) { return tree + "\\KORVO\\Install\\Win\\VexaCmd.CFG"; };
    char shortA[MAX_PATH];
    ASSERT_GT(GetShortPathNameA(a.c_str(), shortA, MAX_PATH), 0u);
    struct {
        const char* what;
        std::string installDirAtClose;
        Lines a, b, c; // the files afterwards (empty: none)
    } cases[] = {
        {"same tree", a, {"typed"}, {"b-options"}, {}},
        {"same tree by its 8.3 name", shortA, {"typed"}, {"b-options"}, {}},
        {"moved to a tree with options", b, {"a-options"}, {"b-options"}, {}},
        {"moved to a tree without", c, {"a-options"}, {"b-options"}, {"typed"}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        testsupport::WriteTextLines(cfg(a), {"a-options"});
        testsupport::WriteTextLines(cfg(b), {"b-options"});
        DeleteFileA(cfg(c).c_str());
        TForm1 form;
        DecideModeFor(a + "\\KORVO\\Install\\Win", "SETUP");
        form.ShowModePage();
        EXPECT_EQ(form.EditC.Text(), "a-options");
        form.EditC.SetText("typed");
        SetupState.InstallDir.Set(k.installDirAtClose);
        form.Close();
        EXPECT_EQ(ReadTextLines(cfg(a)), k.a);
        EXPECT_EQ(ReadTextLines(cfg(b)), k.b);
        EXPECT_EQ(ReadTextLines(cfg(c)), k.c);
    }
}

TEST_F(MainFormTest, CloseRemindsOfTheInternetConnection) {
    TForm1 form;
    DecideModeFor(Tree("Tree", "4.00") + "\\KORVO\\Install\\Win", "SETUP");
    form.ShowModePage();
    MainState.InternetUsed = true;
    boxes.Answer(ui::IdOk);
    form.Close();
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Caption, "End connection");
    EXPECT_EQ(boxes.Boxes[0].Text, "Internet connection was done.\r\nPlease disconnect it!");
    EXPECT_EQ(boxes.Boxes[0].Flags, ui::BtnOk | ui::IconInformation);
}

TEST_F(MainFormTest, AddressOpensInAWindowShownNormally) {
    // A protocol of this test stands for the web: the shell starts the probe for its addresses.
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "vexaprobe\\shell\\open\\command", 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    std::string command = "\"" + testsupport::TestProgramDir() + "\\showprobe.exe\" \"%1\"";
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
    RegCloseKey(key);
    RegCreateKeyExA(HKEY_CLASSES_ROOT, "vexaprobe", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExA(key, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    RegCloseKey(key);
    std::string out = dir / "probe.txt";
    ScopedEnv probe("SHOWPROBE_OUT", out);

    OpenAddress("vexaprobe://home/", dir.Path().c_str());
    for (int waited = 0; waited < 10000 && ReadTextLines(out).size() < 3; waited += 100) Sleep(100);

    Lines started = ReadTextLines(out);
    SHDeleteKeyA(HKEY_CLASSES_ROOT, "vexaprobe");
    ASSERT_EQ(started.size(), 3u);
    EXPECT_EQ(started[0], std::to_string(SW_SHOWNORMAL));
    EXPECT_EQ(started[1], dir.Path());
    EXPECT_NE(started[2].find("vexaprobe://home/"), std::string::npos);
}

} // namespace
