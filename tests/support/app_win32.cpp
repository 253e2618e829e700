#include "support/app_win32.h"

#include "support/screens_win32.h"

#include <algorithm>

namespace testsupport {

namespace {

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

BOOL CALLBACK Collect(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

std::vector<HWND> AllChildren(HWND parent) {
    std::vector<HWND> children;
    if (parent) EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&children));
    return children;
}

// A message box is a dialog of buttons and static texts only; a file dialog has lists and combo boxes.
bool IsMessageBox(HWND window) {
    if (ClassOf(window) != "#32770") return false;
    for (HWND child : AllChildren(window))
        if (ClassOf(child) != "Button" && ClassOf(child) != "Static") return false;
    return true;
}

// The visible top-level windows of the process: its message boxes, or its other windows.
std::vector<HWND> TopLevel(DWORD pid, bool boxes) {
    std::vector<HWND> all, found;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&all));
    for (HWND window : all) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid && IsWindowVisible(window) && IsMessageBox(window) == boxes) found.push_back(window);
    }
    return found;
}

} // namespace

App::~App() {
    if (Running()) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    if (process_.hProcess) CloseHandle(process_.hProcess);
    if (process_.hThread) CloseHandle(process_.hThread);
}

bool App::Start(const std::string& program, const std::string& args, const std::string& dir) {
    std::string commandLine = "\"" + program + "\"" + (args.empty() ? "" : " " + args);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    return CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                          &process_) != FALSE;
}

bool App::Running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND App::MainWindow(int timeoutMs) {
    if (main_ && IsWindow(main_)) return main_;
    WaitFor(
        [&] {
            for (HWND w : TopLevel(process_.dwProcessId, false))
                if (!Text(w).empty()) // Wine's helper windows of a process have no caption
                    main_ = w;
            return main_ != nullptr;
        },
        timeoutMs);
    return main_;
}

HWND App::Window(const std::string& caption, int timeoutMs) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND w : TopLevel(process_.dwProcessId, false))
                if (Text(w).rfind(caption, 0) == 0) found = w;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

std::vector<HWND> App::Children(HWND parent, const std::string& windowClass) {
    std::vector<HWND> result;
    for (HWND child : AllChildren(parent))
        if (lstrcmpiA(ClassOf(child).c_str(), windowClass.c_str()) == 0) result.push_back(child);
    return result;
}

HWND App::Child(HWND parent, const std::string& windowClass, const std::string& text) {
    for (HWND child : Children(parent, windowClass))
        if (Text(child) == text) return child;
    return nullptr;
}

std::string App::Text(HWND window) {
    char text[4096] = "";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 2000, &length))
        return "";
    return std::string(text, length < sizeof text ? length : 0);
}

void App::AnswerBoxes() {
    for (HWND box : TopLevel(process_.dwProcessId, true)) {
        if (std::find(answered_.begin(), answered_.end(), box) != answered_.end()) continue; // on its way out
        answered_.push_back(box);
        // A box holds buttons and static texts only. The default button is the one drawn as default:
        // Wine's message box answers DM_GETDEFID with IDOK even when MB_DEFBUTTON2 made Cancel the default.
        std::string seen = Text(box) + "\n";
        WORD button = IDOK;
        for (HWND child : AllChildren(box)) {
            if (ClassOf(child) == "Static")
                seen += Text(child);
            else if ((GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                button = static_cast<WORD>(GetDlgCtrlID(child));
        }
        Boxes.push_back(seen);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    }
}

void App::Screenshot(HWND window, const std::string& name) {
    Sleep(300);
    SaveScreenshot(window, name);
}

bool App::WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    for (DWORD start = GetTickCount(); !condition(); Sleep(50)) {
        if (GetTickCount() - start > static_cast<DWORD>(timeoutMs)) return false;
        AnswerBoxes();
    }
    return true;
}

bool App::WaitForExit(int timeoutMs) {
    return WaitFor([&] { return !Running(); }, timeoutMs);
}

} // namespace testsupport
