// Proves the window-test harness: a real Win32 window under Wine on the private display, and its PNG.
#include <gtest/gtest.h>
#include <windows.h>

#include "support/screens_win32.h"

TEST(WindowHarness, RealWindowIsShownAndPhotographed) {
    HWND w = CreateWindowExA(0, "#32770", "Harness check", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                             100, 100, 320, 160, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(w, nullptr);
    HWND b = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 115, 80, 75, 25, w,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(b, nullptr);
    SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    testsupport::PumpMessages(200);
    EXPECT_TRUE(IsWindowVisible(w));
    std::string png = testsupport::SaveScreenshot(w, "harness");
    EXPECT_FALSE(png.empty()) << "no screenshot was written";
    DestroyWindow(w);
}
