// The converter road as a user takes it: SetUp.EXE started with ASC from an installed tree opens the
// converter window on the tree's data folder, "Convert all" writes the Col ASCII files, which match
// what vexaconv.exe writes from the same files byte for byte, and closing ends the program and keeps the
// settings in VexaAsc.CFA beside it.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "datagen/sample_data.h"
#include "support/app_win32.h"
#include "support/demo_win32.h"
#include "support/screens_win32.h"
#include "support/standins_win32.h"

using testsupport::App;

namespace {

TEST(ConvE2e, ConvertsTheTreesDataAsVexaconvDoes) {
    testsupport::TempDir dir{"conve2e"};
    std::string tree = dir / "Vexa";
    std::string win = tree + "\\KORVO\\Install\\Win";
    std::string data = tree + "\\KORVO\\Install\\DATA";
    testsupport::MakeVexaTree(tree, "4.00");
    testsupport::CopyFolder(testsupport::DemoMediumDir() + "\\WIN", win);
    CopyFileA((testsupport::DemoMediumDir() + "\\SetUp.EXE").c_str(), (win + "\\SetUp.EXE").c_str(), FALSE);
    testsupport::MakeDirs(data);
    std::vector<std::string> names;
    for (char kind : std::string("KYPTVAQ")) {
        sampledata::SampleSpec spec;
        spec.Kind = kind;
        spec.Records = kind == 'A' ? 3 : 40;
        names.push_back(std::string("MEAS.") + kind + "01");
        ASSERT_TRUE(sampledata::WriteFile(spec, data + "\\" + names.back()));
    }

    App app;
    ASSERT_TRUE(app.Start(win + "\\SetUp.EXE", "ASC", win));
    HWND window = nullptr, list = nullptr;
    ASSERT_TRUE(app.WaitFor(
        [&] {
            window = FindWindowA(nullptr, "Convert binary data <--> ASCII data");
            list = window ? FindWindowExA(window, nullptr, "ListBox", nullptr) : nullptr;
            return list && SendMessageA(list, LB_GETCOUNT, 0, 0) == 7;
        },
        20000))
        << "the converter window with the tree's seven data files";
    HWND source = FindWindowExA(window, nullptr, "Button", " Source ");
    EXPECT_EQ(App::Text(FindWindowExA(source, nullptr, "Edit", nullptr)), data); // DATA beside the program
    testsupport::SaveScreenshot(window, "e2e_converter");

    HWND all = FindWindowExA(window, nullptr, "Button", "Convert all");
    app.Click(all);
    EXPECT_TRUE(app.WaitFor([&] { return IsWindowEnabled(all) && IsWindowVisible(list); }, 60000));
    EXPECT_TRUE(app.Boxes.empty());

    std::string ref = dir / "Ref";
    App vexaconv;
    std::string tools =
        std::filesystem::path(testsupport::TestProgramDir()).parent_path().string() + "\\tools";
    ASSERT_TRUE(vexaconv.Start(tools + "\\vexaconv\\vexaconv.exe", "--mask MEAS.??1 -d " + ref + " " + data,
                               dir.Path()));
    ASSERT_TRUE(vexaconv.WaitForExit(60000));
    for (const std::string& name : names)
        EXPECT_TRUE(testsupport::ReadBytes(data + "\\" + name + ".TXT") ==
                    testsupport::ReadBytes(ref + "\\" + name + ".TXT"))
            << name;

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(app.WaitForExit(15000));
    std::vector<std::string> settings = testsupport::ReadTextLines(win + "\\VexaAsc.CFA");
    ASSERT_EQ(settings.size(), 17u);
    EXPECT_EQ(settings[11], data);
}

} // namespace
