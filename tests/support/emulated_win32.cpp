#include "support/emulated_win32.h"

#include <windows.h>

#include <cstdlib>

#include "support/standins_win32.h"
#include "support/wine_win32.h"

namespace testsupport {

namespace {
const char* const VersionVariable = "SETUP_EMULATED_VERSION";
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
    std::string command = "\"" + std::string(exe) + "\" --gtest_filter=" + filter;
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
    return static_cast<int>(code);
}

std::string EmulatedVersion() {
    const char* value = std::getenv(VersionVariable); // set before this program started
    return value ? value : "";
}

} // namespace testsupport
