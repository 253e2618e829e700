#include "support/standins_win32.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace testsupport {

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
    return fs::path(path).parent_path().string();
}

std::string StandinDir() {
    return fs::path(TestProgramDir()).parent_path().string() + "\\tools\\standins";
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
    std::error_code ec;
    fs::create_directories(path, ec);
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines) {
    return WriteBytes(path, CrLf(lines));
}

std::vector<std::string> ReadTextLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream f(path, std::ios::binary);
    for (std::string line; std::getline(f, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string CrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << bytes;
    f.close();
    return !f.fail();
}

std::string ReadBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(f), {});
}

void RemoveTree(const std::string& path) {
    // Windows refuses to delete read-only files: make everything writable first.
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(path, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        SetFileAttributesA(it->path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(path, ec);
}

} // namespace testsupport
