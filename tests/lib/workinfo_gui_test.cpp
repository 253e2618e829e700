// The work-info window: centring, reuse, text updates and release (its animation while an archive is
// extracted is the ZIP extraction's test's).
#include <gtest/gtest.h>

#include <tuple>

#include "lib/workinfo_win32.h"
#include "support/screens_win32.h"

namespace {

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
