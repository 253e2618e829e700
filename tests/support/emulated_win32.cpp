#include "support/emulated_win32.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/standins_win32.h"
#include "support/wine_win32.h"

namespace testsupport {

namespace {
const char* const VersionVariable = "SETUP_EMULATED_VERSION";

// The number of tests a child run reports in its JSON output; 0 when it ran none or wrote nothing.
int TestsRun(const std::string& report) {
    std::ifstream in(report);
    std::stringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    size_t at = s.find("\"tests\":");
    return at == std::string::npos ? 0 : std::atoi(s.c_str() + at + 8);
}
} // namespace

int RunTestsEmulated(const std::string& version, const std::string& filter) {
    char exe[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string name = exe;
    name = name.substr(name.find_last_of('\\') + 1);
    // The emulation is looked up by file name when a process starts, so it reaches only the child.
    ScopedRegistryValue emulated("Software\\Wine\\AppDefaults\\" + name, "Version", HKEY_CURRENT_USER);
    emulated.Set(version);
    ScopedEnv marker(VersionVariable, version);
    char report[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, report);
    std::string reportName =
        std::string(report) + "emulated-" + std::to_string(GetCurrentProcessId()) + ".json";
    DeleteFileA(reportName.c_str());
    std::string command =
        "\"" + std::string(exe) + "\" --gtest_filter=" + filter + " --gtest_output=json:" + reportName;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    // A filter that matches nothing passes without testing anything: that is a failure here.
    int ran = TestsRun(reportName);
    DeleteFileA(reportName.c_str());
    if (code == 0 && ran == 0) {
        std::fprintf(stderr, "the %s run of %s ran no test\n", version.c_str(), filter.c_str());
        return 3;
    }
    return static_cast<int>(code);
}

std::string EmulatedVersion() {
    const char* value = std::getenv(VersionVariable); // set before this program started
    return value ? value : "";
}

} // namespace testsupport
