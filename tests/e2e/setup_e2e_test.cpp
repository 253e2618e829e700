// SetUp.EXE as a user meets it: started from a copy of the demo medium or from an installed tree, its
// window found and its buttons pressed from this process, the stand-ins of VEXA's programs doing the
// installer's and VxSet's part. (The command-line page is looked at by the main window's tests.) The real
// temporary tool folder C:\VEXA_$$$ and the real registry entry of the private prefix are used and put back.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "lib/fs.h"
#include "support/app_win32.h"
#include "support/demo_win32.h"
#include "support/http_server_win32.h"
#include "support/links_win32.h"
#include "support/screens_win32.h"
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

TEST_F(SetupE2e, InstallsFromTheZipMedium) {
    testsupport::CopyFolder(testsupport::DemoMediumDir(), medium);
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
    testsupport::SaveScreenshot(window, "e2e_installation_page");

    app.Click(ok);
    ASSERT_TRUE(app.WaitFor([&] { return !ReadStandinLog(log).empty(); }, 60000))
        << "the installer never ran";
    ASSERT_TRUE(app.WaitFor([&] { return IsWindowEnabled(ok) && !app.Boxes.empty(); }, 30000));

    std::string tree = dir / "Vexa"; // where the installer says it put the tree
    // The Windows set-up follows: the advice page, the links, and the driver question (Enter: Yes).
    ASSERT_TRUE(app.WaitFor([&] { return ReadStandinLog(log).size() == 2; }, 30000))
        << "no driver set-up; boxes: " << testing::PrintToString(app.Boxes);
    std::vector<testsupport::StandinRun> runs = ReadStandinLog(log);
    EXPECT_EQ(runs[0].Dir, medium);
    EXPECT_EQ(runs[0].CommandLine, medium + "\\Install.EXE PATH " + medium + " C:\\Vexa_Dos\\KORVO");
    EXPECT_EQ(runs[1].CommandLine, tree + "\\Korvo\\Install\\Win\\SetUpNT.EXE");
    EXPECT_EQ(app.Boxes[0].substr(0, 12), "IEEE driver\n");
    EXPECT_TRUE(EditShows(app, "Modify if necessary the files CONFIG.NT"));
    EXPECT_EQ(testsupport::ReadLink(testsupport::DesktopDir() + "\\VexaMeas.LNK").substr(0, tree.size()), tree);
    EXPECT_TRUE(IsWindowEnabled(app.Control("Button", "CONFIG.NT")));
    testsupport::SaveScreenshot(window, "e2e_advice_page");
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

TEST_F(SetupE2e, PanelButtonsRestWhileVxSetRuns) {
    // An installed tree as the installer leaves it; SetUp.EXE started from its KORVO\Install\Win.
    std::string tree = dir / "Vexa";
    testsupport::MakeVexaTree(tree, "4.00");
    testsupport::CopyFolder(testsupport::DemoMediumDir() + "\\WIN", tree + "\\KORVO\\Install\\Win");
    CopyFileA((testsupport::DemoMediumDir() + "\\SetUp.EXE").c_str(), Tool(tree, "SetUp.EXE").c_str(), FALSE);
    ASSERT_TRUE(testsupport::CopyStandin("Install", tree + "\\KORVO\\Install"));
    ScopedEnv sleep("VEXA_STANDIN_SLEEP", "3000");
    App app;
    HWND window = Start(app, Tool(tree, "SetUp.EXE"), "", tree);
    ASSERT_NE(window, nullptr);
    std::vector<HWND> buttons;
    for (const char* caption :
         {"VEXA", "Windows", "Config", "Tools", "Homepage", "BugFix", "Editor", "Close"}) {
        buttons.push_back(app.Control("Button", caption));
        ASSERT_NE(buttons.back(), nullptr) << caption;
        EXPECT_TRUE(IsWindowVisible(buttons.back())) << caption;
    }
    testsupport::SaveScreenshot(window, "e2e_setup_panel");

    app.Click(buttons[0]);
    auto allEnabled = [&](bool enabled) {
        for (HWND b : buttons)
            if ((IsWindowEnabled(b) != FALSE) != enabled) return false;
        return true;
    };
    EXPECT_TRUE(app.WaitFor([&] { return allEnabled(false); }, 10000)) << "buttons still enabled";
    EXPECT_TRUE(ReadStandinLog(log).empty()) << "VxSet ended too early to look";
    EXPECT_TRUE(app.WaitFor([&] { return allEnabled(true); }, 20000));
    std::vector<testsupport::StandinRun> runs = ReadStandinLog(log);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Dir, tree + "\\Korvo");
    EXPECT_EQ(runs[0].CommandLine, tree + "\\Korvo\\Install\\Install.EXE SET");

    app.Click(buttons.back());
    EXPECT_TRUE(app.WaitForExit(15000));
}

TEST_F(SetupE2e, BugFixUpdatesFromTheDemoSite) {
    // The demo's update site, served as make run serves it; the boxes get their default answers:
    // OK for the bug-fix package, Cancel for the confix package.
    testsupport::HttpTestServer site;
    std::string files = testsupport::DemoMediumDir() + "\\..\\site\\support\\vexa_dos\\";
    for (const char* name : {"datefix.txt", "BUGFIX.exe", "winfix.exe", "confix.exe"})
        site.Route(std::string("/support/vexa_dos/") + name, testsupport::FileReply(files + name));
    ScopedEnv address("SETUP_UPDATE_SITE", site.Base());
    std::string tree = dir / "Vexa";
    testsupport::MakeVexaTree(tree, "4.00");
    testsupport::CopyFolder(testsupport::DemoMediumDir() + "\\WIN", tree + "\\KORVO\\Install\\Win");
    for (const char* file : {"SetUp.EXE", "UnZip32.DLL"})
        CopyFileA((testsupport::DemoMediumDir() + "\\" + file).c_str(), Tool(tree, file).c_str(), FALSE);
    App app;
    ASSERT_NE(Start(app, Tool(tree, "SetUp.EXE"), "", tree), nullptr);
    HWND bugfix = app.Control("Button", "BugFix");
    app.Click(bugfix);
    std::string winfix = Tool(tree, "WinFix.DAT");
    EXPECT_TRUE(app.WaitFor([&] { return FileExists(winfix) && IsWindowEnabled(bugfix); }, 60000));
    EXPECT_EQ(ReadTextLines(tree + "\\KORVO\\InitDat\\Version.DAT"), (Lines{"4.01", "20.05.2001"}));
    EXPECT_FALSE(FileExists(tree + "\\KORVO\\InitDat\\ConFix.DAT"));
    EXPECT_FALSE(FileExists(tree + "\\KORVO\\datefix.txt"));
    ASSERT_EQ(app.Boxes.size(), 2u);
    EXPECT_EQ(app.Boxes[0].rfind("Install bugfix package", 0), 0u) << app.Boxes[0];
    EXPECT_EQ(app.Boxes[1].rfind("Install confix package", 0), 0u) << app.Boxes[1];
    app.Click(app.Control("Button", "Close"));
    EXPECT_TRUE(app.WaitForExit(15000));
}

} // namespace
