// SetUp.EXE as a user meets it: started from a copy of the demo medium, it installs the tree, and the
// installed copy's panel then serves it. Its windows are found and its buttons pressed from this process,
// the stand-ins of VEXA's programs doing the installer's and VxSet's part. The real temporary tool folder
// C:\VEXA_$$$ and the real registry entry of the private prefix are used and put back.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "lib/fs.h"
#include "support/app_win32.h"
#include "support/demo_win32.h"
#include "support/http_server_win32.h"
#include "support/links_win32.h"
#include "support/standins_win32.h"
#include "support/wine_win32.h"

using testsupport::App;
using testsupport::ReadStandinLog;
using testsupport::ReadTextLines;
using testsupport::ScopedEnv;
using Lines = std::vector<std::string>;

namespace {

const char* const Key = "SOFTWARE\\Quarnell\\Vexa_Dos";
const char* const TempTools = "C:\\VEXA_$$$";

// Whether an edit control of the main window shows the text.
bool EditShows(App& app, const std::string& what) {
    for (HWND edit : app.Controls("Edit"))
        if (App::Text(edit).find(what) != std::string::npos) return true;
    return false;
}

class SetupE2e : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(DirExists(TempTools)) << "a temporary tool folder left from before";
        path.Remove();
        version.Remove();
    }
    void TearDown() override { testsupport::RemoveTree(TempTools); }
    std::string Tool(const std::string& tree, const std::string& name) const {
        return tree + "\\KORVO\\Install\\Win\\" + name;
    }
    // SetUp.EXE started from the demo medium (a fresh copy) or from a tree; its main window found.
    HWND Start(App& app, const std::string& program, const std::string& args, const std::string& dir) {
        EXPECT_TRUE(app.Start(program, args, dir));
        HWND window = app.MainWindow();
        EXPECT_NE(window, nullptr);
        return window;
    }

    testsupport::TempDir dir{"e2e"};
    std::string medium = dir / "Medium";
    std::string log = dir / "standin.log";
    ScopedEnv env[2] = {{"VEXA_STANDIN_LOG", log}, {"VEXA_STANDIN_CHOOSE", dir / "Vexa"}};
    testsupport::ScopedRegistryValue path{Key, "Path"};
    testsupport::ScopedRegistryValue version{Key, "Version"};
    testsupport::ScopedSetupLinks links;
};

// The first road: the installation from the demo medium, then the installed copy's panel with VxSet, the
// editor, the information tools and BugFix against the demo's update site.
TEST_F(SetupE2e, InstallsFromTheZipMediumThenServicesTheInstalledCopy) {
    testsupport::CopyFolder(testsupport::DemoMediumDir(), medium);
    std::string tree = dir / "Vexa"; // where the installer puts the tree
    {
        App app;
        HWND window = Start(app, medium + "\\SetUp.EXE", "", medium);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(App::Text(window), "SetUp");
        HWND ok = app.Control("Button", "OK");
        ASSERT_NE(ok, nullptr);
        EXPECT_TRUE(IsWindowVisible(ok));
        // The eight lines and the empty one; no version line, as no tree is installed yet.
        EXPECT_TRUE(EditShows(app, "\r\ninformation about the current input.\r\n\r\n"));
        EXPECT_FALSE(EditShows(app, "version found at"));
        App::Screenshot(window, "e2e_installation_page");

        app.Click(ok);
        ASSERT_TRUE(app.WaitFor([&] { return !ReadStandinLog(log).empty(); }, 60000))
            << "the installer never ran";
        ASSERT_TRUE(app.WaitFor([&] { return IsWindowEnabled(ok) && !app.Boxes.empty(); }, 30000));

        // The Windows set-up follows: the advice page, the links, and the driver question (Enter: Yes).
        ASSERT_TRUE(app.WaitFor([&] { return ReadStandinLog(log).size() == 2; }, 30000))
            << "no driver set-up; boxes: " << testing::PrintToString(app.Boxes);
        std::vector<testsupport::StandinRun> runs = ReadStandinLog(log);
        EXPECT_EQ(runs[0].Dir, medium);
        EXPECT_EQ(runs[0].CommandLine, medium + "\\Install.EXE PATH " + medium + " C:\\Vexa_Dos\\KORVO");
        EXPECT_EQ(runs[1].CommandLine, tree + "\\Korvo\\Install\\Win\\SetUpNT.EXE");
        EXPECT_EQ(app.Boxes[0].substr(0, 12), "IEEE driver\n");
        EXPECT_TRUE(EditShows(app, "Modify if necessary the files CONFIG.NT"));
        EXPECT_EQ(testsupport::ReadLink(testsupport::DesktopDir() + "\\VexaMeas.LNK").substr(0, tree.size()),
                  tree);
        EXPECT_TRUE(IsWindowEnabled(app.Control("Button", "CONFIG.NT")));
        App::Screenshot(window, "e2e_advice_page");
        for (const char* tool : {"SetUp.EXE", "UnZip32.DLL", "SetUpNT.EXE", "VexaCmd.ICO"})
            EXPECT_TRUE(FileExists(Tool(tree, tool))) << tool;
        EXPECT_FALSE(FileExists(Tool(tree, "VEXA.$$$")));
        EXPECT_FALSE(DirExists(TempTools));
        EXPECT_TRUE(FileExists(medium + "\\VEXA_2\\Doc\\StartOpt.DOC")); // unpacked beside the packages
        EXPECT_EQ(path.Read(), tree);
        EXPECT_EQ(version.Read(), "4.0");

        app.Click(ok); // the second OK ends the program
        EXPECT_TRUE(app.WaitForExit(15000));
        EXPECT_EQ(ReadTextLines(Tool(tree, "VexaCmd.CFG")), Lines{"sim"});
    }

    // The installed copy, started from its tool folder; VxSet sleeps a while, so the panel can be seen
    // resting. The demo's update site is served as make run serves it.
    testsupport::HttpTestServer site;
    std::string files = testsupport::DemoMediumDir() + "\\..\\site\\support\\vexa_dos\\";
    for (const char* name : {"datefix.txt", "BUGFIX.exe", "winfix.exe", "confix.exe"})
        site.Route(std::string("/support/vexa_dos/") + name, testsupport::FileReply(files + name));
    ScopedEnv address("SETUP_UPDATE_SITE", site.Base());
    ScopedEnv sleep("VEXA_STANDIN_SLEEP", "3000");
    App app;
    SetCursorPos(0, 0); // no button's hint over the panel's picture
    HWND window = Start(app, Tool(tree, "SetUp.EXE"), "", tree);
    ASSERT_NE(window, nullptr);
    std::vector<HWND> buttons;
    for (const char* caption :
         {"VEXA", "Windows", "Config", "Tools", "Homepage", "BugFix", "Editor", "Close"}) {
        buttons.push_back(app.Control("Button", caption));
        ASSERT_NE(buttons.back(), nullptr) << caption;
        EXPECT_TRUE(IsWindowVisible(buttons.back())) << caption;
    }
    App::Screenshot(window, "e2e_setup_panel");

    app.Click(buttons[0]);
    auto allEnabled = [&](bool enabled) {
        for (HWND b : buttons)
            if ((IsWindowEnabled(b) != FALSE) != enabled) return false;
        return true;
    };
    EXPECT_TRUE(app.WaitFor([&] { return allEnabled(false); }, 10000)) << "buttons still enabled";
    EXPECT_EQ(ReadStandinLog(log).size(), 2u) << "VxSet ended too early to look";
    EXPECT_TRUE(app.WaitFor([&] { return allEnabled(true); }, 20000));
    std::vector<testsupport::StandinRun> runs = ReadStandinLog(log);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[2].Dir, tree + "\\Korvo");
    EXPECT_EQ(runs[2].CommandLine, tree + "\\Korvo\\Install\\Install.EXE SET");

    // The editor: Hardware.DAT chosen in the file dialog, a line put in front of the first, saved with
    // the old file kept as Hardware.Bak.
    std::string hardware = tree + "\\KORVO\\Hardconf\\Hardware.DAT";
    std::string old = testsupport::ReadBytes(hardware);
    app.Click(buttons[6]);
    HWND open = app.Window("Open");
    ASSERT_NE(open, nullptr) << "no file dialog";
    HWND name = GetDlgItem(open, 0x47c); // the file name box (cmb13), edt1 in the old-style dialog
    SendMessageA(name ? name : GetDlgItem(open, 0x480), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(hardware.c_str()));
    PostMessageA(open, WM_COMMAND, IDOK, 0);
    HWND editor = app.Window("Edit ");
    ASSERT_NE(editor, nullptr) << "no editor";
    std::vector<HWND> edits = App::Children(editor, "Edit");
    ASSERT_EQ(edits.size(), 1u);
    HWND memo = edits[0];
    SendMessageA(memo, EM_SETSEL, 0, 0);
    SendMessageA(memo, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("* looked at\r\n"));
    App::Screenshot(editor, "e2e_editor");
    app.Click(App::Child(editor, "Button", "OK"));
    EXPECT_TRUE(
        app.WaitFor([&] { return testsupport::ReadBytes(hardware) == "* looked at\r\n" + old; }, 15000));
    EXPECT_EQ(testsupport::ReadBytes(tree + "\\KORVO\\Hardconf\\Hardware.Bak"), old);
    ASSERT_FALSE(app.Boxes.empty());
    EXPECT_EQ(app.Boxes.back(), "Confirm\nSave changes to " + hardware);

    // The information tools: the versions report, written into Doc and shown in the viewer.
    ASSERT_TRUE(app.WaitFor([&] { return allEnabled(true); }, 10000));
    app.Click(buttons[3]);
    HWND tools = app.Window("Information tools");
    ASSERT_NE(tools, nullptr);
    app.Click(App::Child(tools, "Button", "Versions"));
    app.Click(App::Child(tools, "Button", "Get/Make"));
    HWND viewer = app.Window(tree);
    ASSERT_NE(viewer, nullptr) << "no report shown";
    Lines report = ReadTextLines(tree + "\\KORVO\\Doc\\WinConf.REP");
    ASSERT_EQ(report.size(), 9u);
    EXPECT_EQ(report[1], "Program date : 15.03.1999");
    EXPECT_EQ(report[5], "Vexa dir     : " + tree);
    App::Screenshot(viewer, "e2e_report_viewer");
    app.Click(App::Child(viewer, "Button", "OK"));
    EXPECT_TRUE(app.WaitFor([&] { return !IsWindow(viewer); }, 10000));
    PostMessageA(tools, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitFor([&] { return !IsWindow(tools) && allEnabled(true); }, 10000));

    // BugFix: the boxes get their default answers, OK for the bug-fix package, Cancel for the confix one.
    size_t boxes = app.Boxes.size();
    app.Click(buttons[5]);
    std::string winfix = Tool(tree, "WinFix.DAT");
    EXPECT_TRUE(app.WaitFor([&] { return FileExists(winfix) && allEnabled(true); }, 60000));
    EXPECT_EQ(ReadTextLines(tree + "\\KORVO\\InitDat\\Version.DAT"), (Lines{"4.01", "20.05.2001"}));
    EXPECT_FALSE(FileExists(tree + "\\KORVO\\InitDat\\ConFix.DAT"));
    EXPECT_FALSE(FileExists(tree + "\\KORVO\\datefix.txt"));
    ASSERT_EQ(app.Boxes.size(), boxes + 2);
    EXPECT_EQ(app.Boxes[boxes].rfind("Install bugfix package", 0), 0u) << app.Boxes[boxes];
    EXPECT_EQ(app.Boxes[boxes + 1].rfind("Install confix package", 0), 0u) << app.Boxes[boxes + 1];
    app.Click(buttons.back());
    EXPECT_TRUE(app.WaitForExit(15000));
}

TEST_F(SetupE2e, FailedInstallerClosesWithoutWindowsSetup) {
    testsupport::CopyFolder(testsupport::DemoMediumDir(), medium);
    ScopedEnv fail("VEXA_STANDIN_FAIL", "zero");
    App app;
    ASSERT_NE(Start(app, medium + "\\SetUp.EXE", "", medium), nullptr);
    app.Click(app.Control("Button", "OK"));
    EXPECT_TRUE(app.WaitForExit(60000));

    EXPECT_EQ(ReadStandinLog(log).size(), 1u);
    EXPECT_TRUE(app.Boxes.empty()) << app.Boxes[0];
    EXPECT_FALSE(DirExists(TempTools));
    EXPECT_EQ(path.Read(), "");
    EXPECT_FALSE(FileExists(Tool(dir / "Vexa", "SetUp.EXE")));
}

} // namespace
