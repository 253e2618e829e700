// SetUp.EXE as a user meets it: started from a copy of the demo medium or from an installed tree, its
// window found and its buttons pressed from this process, the stand-ins of VEXA's programs doing the
// installer's and VxSet's part. The real temporary tool folder C:\VEXA_$$$ and the real registry entry
// of the private prefix are used and put back.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/app_win32.h"
#include "support/demo_win32.h"
#include "support/screens_win32.h"
#include "support/standins_win32.h"
#include "support/wine_win32.h"

using testsupport::App;
using testsupport::FileExists;
using testsupport::ReadStandinLog;
using testsupport::ReadTextLines;
using testsupport::ScopedEnv;
using Lines = std::vector<std::string>;

namespace {

const char* const Key = "SOFTWARE\\Quarnell\\Vexa_Dos";
const char* const TempTools = "C:\\VEXA_$$$";

bool DirThere(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

class SetupE2e : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(DirThere(TempTools)) << "a temporary tool folder left from before";
        path.Remove();
        version.Remove();
    }
    void TearDown() override { testsupport::RemoveTree(TempTools); }
    std::string Tool(const std::string& tree, const std::string& name) const {
        return tree + "\\KORVO\\Install\\Win\\" + name;
    }
    // An installed tree as the installer leaves it, with SetUp.EXE in KORVO\Install\Win.
    std::string InstalledTree() {
        std::string tree = dir / "Vexa";
        testsupport::MakeVexaTree(tree, "4.00");
        testsupport::MakeDirs(tree + "\\KORVO\\Install\\Win");
        testsupport::MakeDirs(tree + "\\KORVO\\Prg");
        EXPECT_TRUE(testsupport::CopyStandin("Install", tree + "\\KORVO\\Install"));
        EXPECT_TRUE(testsupport::CopyStandin("VEXA", tree + "\\KORVO\\Prg"));
        testsupport::CopyFolder(testsupport::DemoMediumDir() + "\\WIN", tree + "\\KORVO\\Install\\Win");
        for (const char* file : {"SetUp.EXE", "UnZip32.DLL"})
            CopyFileA((testsupport::DemoMediumDir() + "\\" + file).c_str(), Tool(tree, file).c_str(), FALSE);
        return tree;
    }

    testsupport::ScratchDir dir{"e2e"};
    std::string medium = dir / "Medium";
    std::string log = dir / "standin.log";
    ScopedEnv env[5] = {{"VEXA_STANDIN_LOG", log},
                        {"VEXA_STANDIN_MARKER", ""},
                        {"VEXA_STANDIN_FAIL", ""},
                        {"VEXA_STANDIN_SLEEP", ""},
                        {"VEXA_STANDIN_CHOOSE", dir / "Vexa"}};
    testsupport::ScopedRegistryValue path{Key, "Path"};
    testsupport::ScopedRegistryValue version{Key, "Version"};
};

TEST_F(SetupE2e, InstallsFromTheZipMedium) {
    testsupport::CopyFolder(testsupport::DemoMediumDir(), medium);
    App app;
    ASSERT_TRUE(app.Start(medium + "\\SetUp.EXE", "", medium));
    HWND window = app.MainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(App::Text(window), "SetUp");
    HWND ok = app.Control("Button", "OK");
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(App::Shown(ok));
    EXPECT_TRUE(App::Shown(app.Control("Button", "Cancel")));
    std::string memo;
    for (HWND edit : app.Controls("Edit"))
        if (App::Text(edit).rfind("This program install the VEXA program from disk/CD and\r\n", 0) == 0)
            memo = App::Text(edit);
    // The eight lines and the empty one; no version line, as no tree is installed yet.
    const std::string end = "\r\ninformation about the current input.\r\n\r\n";
    ASSERT_GT(memo.size(), end.size());
    EXPECT_EQ(memo.substr(memo.size() - end.size()), end);
    testsupport::SaveScreenshot(window, "e2e_installation_page");

    app.Click(ok);
    ASSERT_TRUE(app.WaitFor([&] { return !ReadStandinLog(log).empty(); }, 60000))
        << "the installer never ran";
    ASSERT_TRUE(app.WaitFor([&] { return IsWindowEnabled(ok) && !app.Boxes.empty(); }, 30000));

    std::vector<testsupport::StandinRun> runs = ReadStandinLog(log);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Dir, medium);
    EXPECT_EQ(runs[0].CommandLine, medium + "\\Install.EXE PATH " + medium + " C:\\Vexa_Dos\\KORVO");
    std::string tree = dir / "Vexa"; // where the installer says it put the tree
    for (const char* tool :
         {"SetUp.EXE", "UnZip32.DLL", "SetUpNT.EXE", "Vexa.ICO", "VexaCmd.ICO", "VexaAsc.ICO"})
        EXPECT_TRUE(FileExists(Tool(tree, tool))) << tool;
    EXPECT_FALSE(FileExists(Tool(tree, "VEXA.$$$")));
    EXPECT_FALSE(DirThere(TempTools));
    EXPECT_TRUE(FileExists(medium + "\\VEXA_2\\Doc\\StartOpt.DOC")); // unpacked beside the packages
    EXPECT_EQ(path.Read(), tree);
    EXPECT_EQ(version.Read(), "4.0");

    app.Click(ok); // the second OK ends the program
    EXPECT_TRUE(app.WaitForExit(15000));
    EXPECT_EQ(ReadTextLines(Tool(tree, "VexaCmd.CFG")), Lines{"sim"});

    // Started from the medium again, it finds the tree through the registry and offers WinSet.
    App again;
    ASSERT_TRUE(again.Start(medium + "\\SetUp.EXE", "", medium));
    window = again.MainWindow();
    ASSERT_NE(window, nullptr);
    HWND winSet = again.Control("Button", "WinSet");
    ASSERT_NE(winSet, nullptr);
    EXPECT_TRUE(App::Shown(winSet));
    bool sameVersion = false;
    for (HWND edit : again.Controls("Edit"))
        sameVersion = sameVersion ||
                      App::Text(edit).find("Same version found at " + tree + "\r\n") != std::string::npos;
    EXPECT_TRUE(sameVersion);
    testsupport::SaveScreenshot(window, "e2e_installation_page_same_version");
    again.Click(again.Control("Button", "Cancel"));
    EXPECT_TRUE(again.WaitForExit(15000));
}

TEST_F(SetupE2e, FailedInstallerClosesWithoutWindowsSetup) {
    testsupport::CopyFolder(testsupport::DemoMediumDir(), medium);
    ScopedEnv fail("VEXA_STANDIN_FAIL", "zero");
    App app;
    ASSERT_TRUE(app.Start(medium + "\\SetUp.EXE", "", medium));
    ASSERT_NE(app.MainWindow(), nullptr);
    app.Click(app.Control("Button", "OK"));
    EXPECT_TRUE(app.WaitForExit(60000));

    EXPECT_EQ(ReadStandinLog(log).size(), 1u);
    EXPECT_TRUE(app.Boxes.empty()) << app.Boxes[0];
    EXPECT_FALSE(DirThere(TempTools));
    EXPECT_EQ(path.Read(), "");
    EXPECT_FALSE(FileExists(Tool(dir / "Vexa", "SetUp.EXE")));
}

TEST_F(SetupE2e, PanelButtonsRestWhileVxSetRuns) {
    std::string tree = InstalledTree();
    ScopedEnv sleep("VEXA_STANDIN_SLEEP", "3000");
    App app;
    ASSERT_TRUE(app.Start(Tool(tree, "SetUp.EXE"), "", tree));
    HWND window = app.MainWindow();
    ASSERT_NE(window, nullptr);
    const char* panelButtons[] = {"VEXA",     "Windows", "Config", "Tools",
                                  "Homepage", "BugFix",  "Editor", "Close"};
    std::vector<HWND> buttons;
    for (const char* caption : panelButtons) {
        buttons.push_back(app.Control("Button", caption));
        ASSERT_NE(buttons.back(), nullptr) << caption;
        EXPECT_TRUE(App::Shown(buttons.back())) << caption;
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

    app.Click(app.Control("Button", "Close"));
    EXPECT_TRUE(app.WaitForExit(15000));
}

TEST_F(SetupE2e, CommandLinePageStartsVexa) {
    std::string tree = InstalledTree();
    App app;
    ASSERT_TRUE(app.Start(Tool(tree, "SetUp.EXE"), "cmd", tree));
    HWND window = app.MainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(App::Text(window), "Run VEXA");
    HWND option = nullptr;
    for (HWND edit : app.Controls("Edit"))
        if (App::Shown(edit) && App::Text(edit) == "sim") option = edit;
    ASSERT_NE(option, nullptr) << "the option field with the default option";
    EXPECT_FALSE(App::Shown(app.Control("Button", "OK")));
    testsupport::SaveScreenshot(window, "e2e_command_line_page");

    SendMessageA(option, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("test"));
    app.Click(app.Control("Button", "Run"));
    EXPECT_TRUE(app.WaitForExit(15000));
    ASSERT_TRUE(app.WaitFor([&] { return !ReadStandinLog(log).empty(); }, 15000));
    std::vector<testsupport::StandinRun> runs = ReadStandinLog(log);
    EXPECT_EQ(runs[0].Name, "VEXA");
    EXPECT_EQ(runs[0].Dir, tree + "\\Korvo\\Prg");
    EXPECT_NE(runs[0].CommandLine.find("VEXA.EXE test"), std::string::npos) << runs[0].CommandLine;
    EXPECT_EQ(ReadTextLines(Tool(tree, "VexaCmd.CFG")), Lines{"test"});
}

} // namespace
