#include "support/standins_win32.h"

#include <windows.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace testsupport {

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

std::string UnzipDllDir() {
    return fs::path(TestProgramDir()).parent_path().string() + "\\src\\unzip32";
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

} // namespace testsupport
