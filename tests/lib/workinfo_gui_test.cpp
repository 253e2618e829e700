// The work-info window: heights, places and animation per kind, centring, text updates and release.
#include <gtest/gtest.h>

#include <tuple>

#include "lib/workinfo_win32.h"
#include "support/screens_win32.h"

namespace {

TEST(WorkInfoWindow, LayoutPerKind) {
    // kind, progress bar, window height, label top, animation
    const std::tuple<int, bool, int, int, bool> cases[] = {
        {0, false, 102, 46, false}, {0, true, 142, 46, false},  {1, false, 152, 96, true},
        {1, true, 192, 96, true},   {13, false, 152, 96, true}, {20, false, 102, 46, false},
        {7, false, 152, 96, true}};
    for (auto [kind, progress, height, labelTop, animation] : cases) {
        SCOPED_TRACE(kind);
        ShowWorkInfo("Unpack", kind, progress);
        TFormWorkInfo& w = *WorkInfo().Window;
        EXPECT_EQ(w.Height(), height);
        EXPECT_EQ(w.Label1.Top(), labelTop);
        EXPECT_EQ(w.Label1.Left(), 19);
        EXPECT_EQ(w.ProgressBar.Visible(), progress);
        EXPECT_EQ(w.ProgressBar.Top(), labelTop + 32);
        EXPECT_EQ(w.Animate.Visible(), animation);
        EXPECT_EQ(w.Animate.Active(), animation);
        EXPECT_EQ(w.Caption(), "Unpack");
    }
    // Kind 7 kept the animation chosen last (13: find file).
    EXPECT_EQ(WorkInfo().Window->Animate.GetCommonAvi(), ui::CommonAvi::FindFile);
    HideWorkInfo();
}

TEST(WorkInfoWindow, TextAndRelease) {
    SetWorkText("nobody sees this"); // not shown: nothing happens
    EXPECT_EQ(WorkInfo().Window, nullptr);
    ShowWorkInfo("Unpack VEXA_1.ZIP", 1, false);
    TFormWorkInfo* first = WorkInfo().Window;
    EXPECT_EQ(first->Left(),
              (GetSystemMetrics(SM_CXSCREEN) - first->Width()) / 2); // centred at its first show
    ShowWorkInfo("Unpack VEXA_2.ZIP", 1, false);                     // shown again: the same window
    EXPECT_EQ(WorkInfo().Window, first);
    SetWorkText("C:\\Vexa_Dos\\KORVO\\Prg\\VEXA.EXE"); // the texts while shown: the ZIP extraction's test
    EXPECT_TRUE(first->Visible());
    testsupport::PumpMessages(300);
    testsupport::SaveScreenshot(first->Handle(), "workinfo_copy");
    HWND hwnd = first->Handle();
    HideWorkInfo();
    EXPECT_EQ(WorkInfo().Window, nullptr);
    testsupport::PumpMessages(50);
    EXPECT_FALSE(IsWindow(hwnd));
    HideWorkInfo(); // twice: nothing
}

} // namespace
