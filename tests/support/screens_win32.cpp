#include "support/screens_win32.h"

#include <cstdlib>

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

// Wine starts Unix programs given by their Unix path, which is how the X screen is read.
static bool RunUnix(const std::string& commandLine) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = commandLine;
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    // Wine does not report the end of a Unix child, so callers wait for its result instead.
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

std::string SaveScreenshot(HWND window, const std::string& name) {
    const char* screens = std::getenv("SETUP_SCREENS");
    const char* source = std::getenv("SETUP_SOURCE");
    if (!screens || !source || !std::getenv("DISPLAY"))
        return "";
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    PumpMessages(300);
    RECT r;
    GetWindowRect(window, &r);
    std::string out = std::string(screens) + "/" + name + ".png";
    std::string unixOut = out;
    std::string cmd = std::string("/bin/sh ") + source + "/tools/screenshot.sh " + out + " " +
                      std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                      std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top);
    // The PNG lies on the Unix side; Wine shows it under drive Z:.
    std::string winPath = "Z:" + unixOut;
    for (char& c : winPath)
        if (c == '/')
            c = '\\';
    DeleteFileA(winPath.c_str());
    if (!RunUnix(cmd))
        return "";
    for (int waited = 0; waited < 20000; waited += 100) {
        if (GetFileAttributesA(winPath.c_str()) != INVALID_FILE_ATTRIBUTES)
            return out;
        Sleep(100);
    }
    return "";
}

} // namespace testsupport
