// The converter road as a user takes it: SetUp.EXE started with ASC from an installed tree opens the
// converter window on the tree's data folder; the explorer chooses the folder of a run; marked files are
// converted in all three modes, each into a folder of its own, and match byte for byte what vexaconv.exe
// writes from the same files with the settings the window kept in VexaAsc.CFA; a double-click on a file
// opens its preview.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <iterator>

#include "datagen/sample_data.h"
#include "support/app_win32.h"
#include "support/demo_win32.h"
#include "support/standins_win32.h"

using testsupport::App;

namespace {

// A row of a list box in another process (Wine passes the text between processes as UTF-16).
std::string ListItem(HWND list, int row) {
    wchar_t text[MAX_PATH] = L"";
    SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
    char narrow[MAX_PATH] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

// Presses a button of a tool bar in another process by the button's place on the bar, as a click does:
// the bar's WM_COMMAND to its parent.
void PressToolButton(HWND bar, int index) {
    for (int id = 1; id < 0x8000; ++id)
        if (SendMessageA(bar, TB_COMMANDTOINDEX, id, 0) == index) {
            PostMessageA(GetParent(bar), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(bar));
            return;
        }
    ADD_FAILURE() << "no tool button " << index;
}

size_t Count(const std::string& folder) {
    auto files = std::filesystem::directory_iterator(folder);
    return static_cast<size_t>(std::distance(begin(files), end(files)));
}

// A double-click on a row of a list box in another process.
void DoubleClick(HWND list, int row) {
    auto height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    auto top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    LPARAM at = MAKELPARAM(8, (row - top) * height + height / 2);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        PostMessageA(list, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
}

TEST(ConvE2e, ConvertsMarkedFilesInEveryModeAsVexaconvDoes) {
    testsupport::TempDir dir{"conve2e"};
    std::string tree = dir / "Vexa";
    std::string win = tree + "\\KORVO\\Install\\Win";
    std::string data = tree + "\\KORVO\\Install\\DATA";
    std::string run = data + "\\RUN1";
    testsupport::MakeVexaTree(tree, "4.00");
    testsupport::CopyFolder(testsupport::DemoMediumDir() + "\\WIN", win);
    CopyFileA((testsupport::DemoMediumDir() + "\\SetUp.EXE").c_str(), (win + "\\SetUp.EXE").c_str(), FALSE);
    testsupport::MakeDirs(run);
    for (char kind : std::string("KYPTVAQ")) {
        sampledata::SampleSpec spec;
        spec.Kind = kind;
        spec.Records = kind == 'A' ? 3 : 40;
        ASSERT_TRUE(sampledata::WriteFile(spec, run + "\\MEAS." + kind + "01"));
    }
    const char* const modes[] = {"Full ASCII --> Binary", "Binary --> Full ASCII    ",
                                 "Binary --> Col ASCII"};
    const char* const folders[] = {"Back", "Full", "Col"};
    for (const char* folder : folders) testsupport::MakeDirs(dir / folder);

    App app;
    ASSERT_TRUE(app.Start(win + "\\SetUp.EXE", "ASC", win));
    HWND window = app.Window("Convert binary data <--> ASCII data");
    ASSERT_NE(window, nullptr);
    HWND source = App::Child(window, "Button", " Source ");
    HWND destination = App::Child(window, "Button", " Destination ");
    HWND sourceDir = FindWindowExA(source, nullptr, "Edit", nullptr);
    HWND list = App::Children(window, "ListBox").at(0);
    HWND mark = App::Child(window, "Button", "Convert mark");
    EXPECT_EQ(App::Text(sourceDir), data); // DATA beside the program, with no files of its own
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);

    // The explorer opens on DATA; RUN1 below it chosen in the tree and taken with OK.
    app.Click(App::Child(source, "Button", "Explorer"));
    HWND explorer = app.Window("Source directory Explorer");
    ASSERT_NE(explorer, nullptr);
    HWND folderTree = App::Children(explorer, "SysTreeView32").at(0);
    auto node = static_cast<LPARAM>(SendMessageA(folderTree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    SendMessageA(folderTree, TVM_EXPAND, TVE_EXPAND, node);
    auto runNode = static_cast<LPARAM>(SendMessageA(folderTree, TVM_GETNEXTITEM, TVGN_CHILD, node));
    ASSERT_NE(runNode, 0) << "no folder below DATA";
    SendMessageA(folderTree, TVM_SELECTITEM, TVGN_CARET, runNode);
    App::Screenshot(explorer, "e2e_explorer");
    PressToolButton(App::Children(explorer, "ToolbarWindow32").at(0), 5); // OK
    ASSERT_TRUE(app.WaitFor([&] { return SendMessageA(list, LB_GETCOUNT, 0, 0) == 7; }, 20000))
        << "the run's seven files listed";
    EXPECT_EQ(App::Text(sourceDir), run);

    // Three files marked, converted to Col ASCII, then to Full ASCII, each into its folder; the Full ASCII
    // files then back to binary.
    std::vector<std::string> marked;
    SendMessageA(App::Child(destination, "Button", "not as source"), BM_CLICK, 0, 0);
    HWND destDir = FindWindowExA(destination, nullptr, "Edit", nullptr);
    for (int mode : {2, 1, 0}) {
        SendMessageA(App::Child(window, "Button", modes[mode]), BM_CLICK, 0, 0);
        SetWindowTextA(destDir, (dir / folders[mode]).c_str());
        if (mode == 0) {
            SetWindowTextA(sourceDir, (dir / "Full").c_str());
            app.Click(App::Child(window, "Button", "Convert all"));
        } else {
            SendMessageA(list, LB_SETSEL, FALSE, -1);
            marked.clear();
            for (int row : {0, 3, 6}) {
                SendMessageA(list, LB_SETSEL, TRUE, row);
                marked.push_back(run + "\\" + ListItem(list, row));
            }
            app.Click(mark);
        }
        std::string out = dir / folders[mode];
        EXPECT_TRUE(app.WaitFor(
            [&] { return Count(out) == 3 && IsWindowEnabled(mark) && IsWindowVisible(list); }, 60000))
            << out;
        if (mode == 2) App::Screenshot(window, "e2e_converter");
        if (mode != 1) continue;
        // A double-click on a file of the run opens its preview.
        int y = 0;
        while (y < 7 && ListItem(list, y) != "MEAS.Y01") ++y;
        DoubleClick(list, y);
        HWND preview = app.Window("Preview - MEAS.Y01");
        ASSERT_NE(preview, nullptr) << "no preview";
        App::Screenshot(preview, "e2e_preview");
        PostMessageA(preview, WM_CLOSE, 0, 0);
        EXPECT_TRUE(app.WaitFor([&] { return !IsWindow(preview); }, 10000));
    }
    EXPECT_TRUE(app.Boxes.empty()) << app.Boxes[0];
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(15000));

    // vexaconv with the settings the window kept converts the same files into folders of its own.
    std::string settings = win + "\\VexaAsc.CFA";
    ASSERT_EQ(testsupport::ReadTextLines(settings).size(), 17u);
    std::string tools =
        std::filesystem::path(testsupport::TestProgramDir()).parent_path().string() + "\\tools";
    const char* const cliModes[] = {"full2bin", "bin2full", "bin2col"};
    for (int mode : {2, 1, 0}) {
        std::string args = std::string("--settings ") + settings + " -m " + cliModes[mode] + " -d " +
                           dir / ("Ref" + std::string(folders[mode]));
        if (mode == 0)
            args += " " + dir / "RefFull";
        else
            for (const std::string& file : marked) args += " " + file;
        App vexaconv;
        ASSERT_TRUE(vexaconv.Start(tools + "\\vexaconv\\vexaconv.exe", args, dir.Path()));
        ASSERT_TRUE(vexaconv.WaitForExit(60000));
        std::string ref = dir / ("Ref" + std::string(folders[mode]));
        EXPECT_EQ(Count(ref), 3u) << ref;
        for (const auto& entry : std::filesystem::directory_iterator(ref)) {
            std::string name = entry.path().filename().string();
            EXPECT_TRUE(testsupport::ReadBytes(dir / folders[mode] + "\\" + name) ==
                        testsupport::ReadBytes(entry.path().string()))
                << folders[mode] << "\\" << name;
        }
    }
}

} // namespace
