#include "support/screens_win32.h"

#include <cstdlib>

#include "support/unix_shell_win32.h"

namespace testsupport {

void PumpMessages(int milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    } while (GetTickCount() - start < static_cast<DWORD>(milliseconds));
}

std::string SaveScreenshot(HWND window, const std::string& name) {
    const char* screens = std::getenv("SETUP_SCREENS");
    const char* source = std::getenv("SETUP_SOURCE");
    if (!screens || !source || !std::getenv("DISPLAY")) return "";
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    PumpMessages(300);
    RECT r;
    GetWindowRect(window, &r);
    // The PNG is written on the Unix side; the script's exit code says whether it was.
    std::string out = std::string(screens) + "/" + name + ".png";
    std::string script = std::string("/bin/sh ") + source + "/tools/screenshot.sh " + out + " " +
                         std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                         std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top);
    return RunUnixShell(script) == 0 ? out : "";
}

} // namespace testsupport
