// ZIP extraction through the built UnZip32.DLL, with archives the build made with the real zip tool:
// the three result classes and their boxes, a missing archive, a missing DLL, and the work-info window
// while an archive is extracted (watched through the texts the window receives).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "lib/workinfo_win32.h"
#include "lib/zip_win32.h"
#include "support/scripted_prompter.h"
#include "support/screens_win32.h"
#include "support/standins_win32.h"
#include "unzip32/unziptest.h"

using testsupport::TempDir;
using unziptest::Tree;

namespace {

std::string Archives() {
    return testsupport::TestProgramDir() + "\\unzip32\\archives";
}

class ExtractZipTest : public testing::Test {
  protected:
    void SetUp() override { SetUnzipDir(testsupport::UnzipDllDir()); }
    void TearDown() override { SetUnzipDir(""); }

    void Copy(const std::string& from, const std::string& to) {
        ASSERT_TRUE(CopyFileA((Archives() + "\\" + from).c_str(), (dir / to).c_str(), FALSE)) << from;
    }

    TempDir dir{"zip_extract"};
    testsupport::ScriptedPrompter prompter;
};

TEST_F(ExtractZipTest, ResultClassesAndTheirBoxes) {
    Copy("sfx.exe", "Mixed.ExE");
    Copy("sfx.exe", "sfx.zip"); // the same program stub in front, under a name that does not expect it
    std::string damaged = testsupport::ReadBytes(Archives() + "\\damage.zip");
    damaged[damaged.size() / 3] ^= 0x55;
    dir.Write("broken.zip", damaged);

    // archive, caption of the one box expected (none: no box), its icon, the DLL's result as the box's last
    // line (none for "File not exist", whose box names only the archive), error, the whole tree arrived
    const std::tuple<std::string, std::string, unsigned, std::string, bool, bool> cases[] = {
        {"Mixed.ExE", "", 0, "", false, true},
        {"sfx.zip", "Unzip warning", ui::IconWarning, "1", false, true},
        {"broken.zip", "Unzip error", ui::IconStop, "2", true, false},
        {"none.zip", "File not exist", ui::IconStop, "", true, false}};
    auto expected = Tree(Archives() + "\\tree");
    int n = 0;
    for (const auto& [name, caption, icon, result, wantError, extracted] : cases) {
        SCOPED_TRACE(name);
        std::string archive = dir / name, target = dir / ("out" + std::to_string(n++));
        testsupport::MakeDirs(target);
        testsupport::WriteTextLines(target + "\\readme.txt", {"old"}); // replaced without a question
        prompter.Boxes.clear();
        if (!caption.empty()) prompter.Answer(ui::IdOk);
        bool error = !wantError;
        ExtractZip(archive, target, 0, error);
        EXPECT_EQ(error, wantError);
        auto tree = Tree(target);
        if (extracted) {
            EXPECT_EQ(tree, expected);
        } else if (result.empty()) {
            EXPECT_EQ(tree.size(), 1u) << "nothing extracted";
        }
        ASSERT_EQ(prompter.Boxes.size(), caption.empty() ? 0u : 1u);
        if (caption.empty()) continue;
        const testsupport::Box& box = prompter.Boxes[0];
        EXPECT_EQ(box.Caption, caption);
        EXPECT_EQ(box.Flags, ui::BtnOk | icon);
        EXPECT_EQ(box.Text, result.empty() ? archive : archive + "\r\n" + target + "\r\n" + result);
    }
}

// A folder without the DLL: nothing is extracted, and the box names where the DLL was looked for.
TEST_F(ExtractZipTest, MissingDllIsReportedWithItsPath) {
    Copy("deflated.zip", "pack.zip");
    testsupport::MakeDirs(dir / "empty");
    SetUnzipDir(dir / "empty");
    prompter.Answer(ui::IdOk);
    bool error = false;
    ExtractZip(dir / "pack.zip", dir / "out", 0, error);
    EXPECT_TRUE(error);
    EXPECT_FALSE(testsupport::FileExists(dir / "out\\readme.txt"));
    ASSERT_EQ(prompter.Boxes.size(), 1u);
    EXPECT_EQ(prompter.Boxes[0].Caption, "DLL not found");
    EXPECT_EQ(prompter.Boxes[0].Text, dir / "empty\\UnZip32.DLL\r\nnot found!");
}

// What the work-info window looked like each time one of its controls got a text.
struct Seen {
    std::vector<std::string> Texts;
    bool Visible = false;
    std::string Screenshot; // name of the PNG to take at the third text, or none
};
Seen seen;

LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    TFormWorkInfo* w = WorkInfo().Window;
    if (code == HC_ACTION && m->message == WM_SETTEXT && w && m->lParam &&
        (m->hwnd == w->Handle() || m->hwnd == w->Label1.Handle())) {
        seen.Texts.push_back(reinterpret_cast<const char*>(m->lParam));
        seen.Visible = w->Visible();
        if (seen.Texts.size() == 3 && !seen.Screenshot.empty())
            testsupport::SaveScreenshot(w->Handle(), seen.Screenshot);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The program extracts with the animated window (kind 2).
TEST_F(ExtractZipTest, WorkInfoWindowNamesEachMemberAsTheFileItBecomes) {
    std::string archive = Archives() + "\\deflated.zip";
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, Watch, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    seen = {};
    seen.Screenshot = "zip_extract";
    std::string target = dir / "out";
    bool error = true;
    ExtractZip(archive, target, 2, error);
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(error);
    EXPECT_TRUE(!WorkInfo().Shown && !WorkInfo().Window) << "hidden and released again";
    ASSERT_FALSE(seen.Texts.empty());
    EXPECT_EQ(seen.Texts[0], "Extract " + archive);
    EXPECT_TRUE(seen.Visible);
    std::vector<std::string> members(seen.Texts.begin() + 1, seen.Texts.end());
    for (const char* name : {"readme.txt", "docs\\deep\\er\\most.txt", "data\\empty.dat", "with blank.txt"})
        EXPECT_NE(std::find(members.begin(), members.end(), target + "\\" + name), members.end()) << name;
}

} // namespace
