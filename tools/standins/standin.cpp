#include "standin.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace standin {

std::string CommandTail(std::string_view line) {
    size_t i = 0;
    if (!line.empty() && line[0] == '"') {
        size_t close = line.find('"', 1);
        i = close == std::string_view::npos ? line.size() : close + 1;
    } else {
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') i++;
    }
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) i++;
    return std::string(line.substr(i));
}

std::vector<std::string> SplitAtBlanks(std::string_view tail) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < tail.size()) {
        while (i < tail.size() && tail[i] == ' ') i++;
        size_t start = i;
        while (i < tail.size() && tail[i] != ' ') i++;
        if (i > start) words.emplace_back(tail.substr(start, i - start));
    }
    return words;
}

std::vector<std::string> Words() {
    return SplitAtBlanks(CommandTail(GetCommandLineA()));
}

std::string Env(const char* name) {
    char value[1024];
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

bool Failing(std::string_view mode) {
    std::string modes = Env("VEXA_STANDIN_FAIL");
    size_t start = 0;
    while (start <= modes.size()) {
        size_t comma = modes.find(',', start);
        if (comma == std::string::npos) comma = modes.size();
        if (Upper(std::string_view(modes).substr(start, comma - start)) == Upper(mode)) return true;
        start = comma + 1;
    }
    return false;
}

std::string CurrentDir() {
    char dir[MAX_PATH] = {};
    DWORD n = GetCurrentDirectoryA(MAX_PATH, dir);
    return n > 0 && n < MAX_PATH ? std::string(dir, n) : std::string();
}

std::string OwnPath() {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, n < MAX_PATH ? n : 0);
}

std::string DirOf(std::string_view path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

std::string Join(std::string_view dir, std::string_view name) {
    std::string joined(dir);
    if (!joined.empty() && joined.back() != '\\') joined += '\\';
    return joined + std::string(name);
}

std::string Upper(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return u;
}

bool EndsWithNoCase(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && Upper(s.substr(s.size() - tail.size())) == Upper(tail);
}

bool FileExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeDirs(const std::string& path) {
    if (path.empty() || DirExists(path)) return;
    std::string parent = DirOf(path);
    if (!parent.empty() && parent.size() < path.size() && parent.back() != ':') MakeDirs(parent);
    CreateDirectoryA(path.c_str(), nullptr);
}

bool WriteLines(const std::string& path, const std::vector<std::string>& lines) {
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

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return lines;
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
    CloseHandle(f);
    std::string line;
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(line);
            line.clear();
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') i++;
        } else {
            line += text[i];
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

void CopyTree(const std::string& from, const std::string& to) {
    MakeDirs(to);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(Join(from, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(Join(from, name), Join(to, name));
        else
            CopyFileA(Join(from, name).c_str(), Join(to, name).c_str(), FALSE);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::string Today() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char text[16];
    std::snprintf(text, sizeof text, "%02u.%02u.%04u", t.wDay, t.wMonth, t.wYear);
    return text;
}

namespace {
// Appends one line; a log another stand-in holds open for a moment is tried again.
void AppendLog(const std::string& line) {
    std::string path = Env("VEXA_STANDIN_LOG");
    if (path.empty()) path = "C:\\standin.log";
    for (int attempt = 0; attempt < 50; attempt++) {
        HANDLE f = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(f);
            return;
        }
        if (GetLastError() != ERROR_SHARING_VIOLATION) return;
        Sleep(20);
    }
}
} // namespace

int Finish(const char* name, int exitCode) {
    int sleepMs = std::atoi(Env("VEXA_STANDIN_SLEEP").c_str());
    if (sleepMs > 0) Sleep(static_cast<DWORD>(sleepMs));
    AppendLog(std::string(name) + "\t" + CurrentDir() + "\t" + GetCommandLineA() + "\r\n");
    return exitCode;
}

} // namespace standin
