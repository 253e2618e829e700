#include "support/standins_win32.h"

#include <windows.h>

namespace testsupport {

namespace {
std::string Parent(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
} // namespace

ScratchDir::ScratchDir(const std::string& name) : path_("C:\\t\\" + name) {
    RemoveTree(path_);
    MakeDirs(path_);
}

ScratchDir::~ScratchDir() {
    RemoveTree(path_);
}

ScopedEnv::ScopedEnv(const std::string& name, const std::string& value) : name_(name) {
    char old[4096];
    DWORD n = GetEnvironmentVariableA(name.c_str(), old, sizeof old);
    had_ = n > 0 && n < sizeof old;
    if (had_) old_.assign(old, n);
    SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str());
}

ScopedEnv::~ScopedEnv() {
    SetEnvironmentVariableA(name_.c_str(), had_ ? old_.c_str() : nullptr);
}

std::string TestProgramDir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return Parent(path);
}

std::string StandinDir() {
    return Parent(TestProgramDir()) + "\\tools\\standins";
}

bool CopyStandin(const std::string& program, const std::string& toDir) {
    return CopyFileA((StandinDir() + "\\" + program + ".EXE").c_str(),
                     (toDir + "\\" + program + ".EXE").c_str(), FALSE) != FALSE;
}

std::vector<StandinRun> ReadStandinLog(const std::string& path) {
    std::vector<StandinRun> runs;
    for (const std::string& line : ReadTextLines(path)) {
        size_t tab1 = line.find('\t');
        size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 == std::string::npos) continue;
        runs.push_back({line.substr(0, tab1), line.substr(tab1 + 1, tab2 - tab1 - 1), line.substr(tab2 + 1)});
    }
    return runs;
}

void MakeDirs(const std::string& path) {
    if (path.size() <= 3 || GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    MakeDirs(Parent(path));
    CreateDirectoryA(path.c_str(), nullptr);
}

bool FileExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines) {
    HANDLE f =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    DWORD written = 0;
    bool ok = WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
              written == text.size();
    CloseHandle(f);
    return ok;
}

std::vector<std::string> ReadTextLines(const std::string& path) {
    std::vector<std::string> lines;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return lines;
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
    CloseHandle(f);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

} // namespace testsupport
