// The work-info window while an archive is extracted: its caption, animation and the member texts it
// shows, watched through the texts the window receives.
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

namespace {

// What the work-info window looked like each time one of its controls got a text.
struct Seen {
    std::vector<std::string> Texts;
    bool Visible = false;
    bool Animated = false;
    ui::CommonAvi Avi{};
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
        seen.Animated = w->Animate.Visible() && w->Animate.Active();
        seen.Avi = w->Animate.GetCommonAvi();
        if (seen.Texts.size() == 3 && !seen.Screenshot.empty())
            testsupport::SaveScreenshot(w->Handle(), seen.Screenshot);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(ExtractZipProgress, WorkInfoWindowNamesEachMemberAsTheFileItBecomes) {
    std::string tests = testsupport::TestProgramDir();
    SetUnzipDir(tests.substr(0, tests.find_last_of('\\')) + "\\src\\unzip32");
    testsupport::TempDir dir{"zip_progress"};
    std::string archive = tests + "\\unzip32\\archives\\deflated.zip";
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, Watch, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    // kind, the window shown, animated
    const std::tuple<int, bool, bool> cases[] = {{2, true, true}, {1, true, false}, {0, false, false}};
    for (auto [kind, shown, animated] : cases) {
        SCOPED_TRACE(kind);
        seen = {};
        if (kind == 2) seen.Screenshot = "zip_extract";
        std::string target = dir / ("out" + std::to_string(kind));
        bool error = true;
        ExtractZip(archive, target, kind, error);
        EXPECT_FALSE(error);
        EXPECT_FALSE(WorkInfo().Shown) << "hidden again";
        if (!shown) {
            EXPECT_TRUE(seen.Texts.empty());
            continue;
        }
        ASSERT_FALSE(seen.Texts.empty());
        EXPECT_EQ(seen.Texts[0], "Extract " + archive);
        EXPECT_TRUE(seen.Visible);
        EXPECT_EQ(seen.Animated, animated);
        if (animated) {
            EXPECT_EQ(seen.Avi, ui::CommonAvi::CopyFiles);
        }
        std::vector<std::string> members(seen.Texts.begin() + 1, seen.Texts.end());
        for (const char* name :
             {"readme.txt", "docs\\deep\\er\\most.txt", "data\\empty.dat", "with blank.txt"})
            EXPECT_NE(std::find(members.begin(), members.end(), target + "\\" + name), members.end()) << name;
        for (const std::string& m : members) EXPECT_EQ(m.find('/'), std::string::npos) << m;
    }
    UnhookWindowsHookEx(hook);
    SetUnzipDir("");
}

} // namespace
