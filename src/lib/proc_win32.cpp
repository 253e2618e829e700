#include "lib/proc_win32.h"

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <string>

namespace {

// Lets queued window messages run once, the way a long command lets its window repaint; a quit
// request found here is posted again so the main loop still sees it.
void ProcessPendingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool VersionInfo(OSVERSIONINFOA& v) {
    v = {};
    v.dwOSVersionInfoSize = sizeof v; // 148: the ANSI record
    return GetVersionExA(&v) != FALSE;
}

std::wstring Wide(std::string_view text) {
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

} // namespace

bool InitComForProcess() {
    return SUCCEEDED(CoInitialize(nullptr));
}

bool IsWindowsNT() {
    OSVERSIONINFOA v;
    return VersionInfo(v) && v.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool IsWindows95() {
    OSVERSIONINFOA v;
    return VersionInfo(v) && v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && v.dwMajorVersion == 4 &&
           v.dwMinorVersion < 10;
}

void RunProgram(std::string_view program, std::string_view directory, std::string_view args, bool wait) {
    char line[240] = {};
    std::string text = BuildCommandLine(program, directory, args);
    text.copy(line, sizeof line - 1);
    PathBuf dirBuf;
    dirBuf.Set(directory);
    std::string dir = dirBuf.Str();

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                       dir.empty() ? nullptr : dir.c_str(), &startup, &process)) {
        if (wait) WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    ProcessPendingMessages();
}

void SpecialFolder(int folder, PathBuf& path, bool& ok) {
    ok = false;
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, folder, &items)) || !items) return;
    // The shell writes up to MAX_PATH characters, more than a PathBuf holds: receive in full, then cut.
    char full[MAX_PATH] = {};
    if (SHGetPathFromIDListA(items, full)) {
        path.Set(full);
        ok = true;
    }
    CoTaskMemFree(items);
}

void CreateShellLink(std::string_view target, std::string_view linkFile, std::string_view description,
                     std::string_view args, std::string_view iconFile, int iconNumber, bool& ok) {
    ok = false;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return;
    link->SetPath(std::string(target).c_str());
    link->SetDescription(std::string(description).c_str());
    link->SetArguments(std::string(args).c_str());
    if (iconNumber > 0) link->SetIconLocation(std::string(iconFile).c_str(), iconNumber - 1);
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        ok = SUCCEEDED(file->Save(Wide(linkFile).c_str(), TRUE));
        file->Release();
    }
    link->Release();
}

void MakeProgramLink(std::string_view program, std::string_view linkName, std::string_view programDir,
                     std::string_view linkDir, std::string_view args, std::string_view iconFile,
                     int iconNumber, bool& ok) {
    std::string target = JoinFile(programDir, program) + ".EXE";
    std::string link = JoinFile(linkDir, linkName.empty() ? program : linkName) + ".LNK";
    CreateShellLink(target, link, "", args, iconFile, iconNumber, ok);
}

void MakePlainLink(std::string_view program, std::string_view linkName, std::string_view programDir, bool& ok,
                   std::string_view linkDir) {
    MakeProgramLink(program, linkName, programDir, linkDir, "", "", 0, ok);
}
