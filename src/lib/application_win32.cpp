// The application's title, icon and taskbar button.
#include "lib/application_win32.h"

#include "ui/form.h"

ApplicationRecord Application;

void ResetApplication() {
    CloseApplicationButton(nullptr);
    SetApplicationIcon(nullptr);
    Application.Title.Set("SetUp");
}

void SetApplicationIcon(HICON icon) {
    if (Application.Icon && Application.Icon != icon) DestroyIcon(Application.Icon);
    Application.Icon = icon;
}

namespace {

HWND applicationWindow = nullptr;

LRESULT CALLBACK ApplicationProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) {
        // Its own window shows nothing: the window last active in the run takes the activation.
        HWND target = GetLastActivePopup(hwnd);
        if (target == hwnd) target = GetWindow(hwnd, GW_ENABLEDPOPUP);
        if (target && target != hwnd) SetActiveWindow(target);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

void ShowApplicationButton(HWND mainWindow) {
    if (!applicationWindow) {
        ui::RegisterWindowClass("VexaApplication", ApplicationProc);
        int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
        applicationWindow = CreateWindowExA(WS_EX_APPWINDOW, "VexaApplication", "", WS_POPUP | WS_SYSMENU, x,
                                            y, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (!applicationWindow) return;
    }
    SetWindowTextA(applicationWindow, Application.Title.c);
    SendMessageA(applicationWindow, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Application.Icon));
    SendMessageA(applicationWindow, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Application.Icon));
    SetWindowPos(applicationWindow, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (mainWindow)
        SetWindowLongPtrA(mainWindow, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(applicationWindow));
}

HWND ApplicationButtonWindow() {
    return applicationWindow;
}

void CloseApplicationButton(HWND mainWindow) {
    if (!applicationWindow) return;
    if (mainWindow && GetWindow(mainWindow, GW_OWNER) == applicationWindow)
        SetWindowLongPtrA(mainWindow, GWLP_HWNDPARENT, 0);
    DestroyWindow(applicationWindow); // windows it still owns go with it
    applicationWindow = nullptr;
}
