#include "support/unix_shell_win32.h"

#include <windows.h>

#include <fstream>

namespace testsupport {

int RunUnixShell(const std::string& script, int timeoutMs) {
    static int counter = 0;
    // Z: is the Unix root in every Wine prefix.
    std::string base =
        "/tmp/setup-sh-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    std::string winBase = "Z:" + base;
    for (char& c : winBase)
        if (c == '/') c = '\\';
    std::remove((winBase + ".rc").c_str());
    {
        std::ofstream out(winBase + ".sh", std::ios::binary);
        out << "(\n"
            << script << "\n) >" << base << ".log 2>&1\n"
            << "echo $? >" << base << ".tmp && mv " << base << ".tmp " << base << ".rc\n";
    }
    std::string command = "/bin/sh " + base + ".sh";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    int code = -1;
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        std::ifstream in(winBase + ".rc");
        if (in >> code) break;
        Sleep(20);
    }
    std::remove((winBase + ".sh").c_str());
    std::remove((winBase + ".rc").c_str());
    std::remove((winBase + ".log").c_str());
    return code;
}

SmallDisk::SmallDisk() : mountDir_("/tmp/setup-smalldisk-" + std::to_string(GetCurrentProcessId())) {
    mounted_ = RunUnixShell("[ \"$(id -u)\" = 0 ] || exit 3\nmkdir -p " + mountDir_ +
                            " && mount -t tmpfs -o size=64k setupfull " + mountDir_) == 0;
    if (mounted_) Letter = drive_.DefineFree(mountDir_);
    if (Letter) Root = std::string(1, Letter) + ":\\";
}

SmallDisk::~SmallDisk() {
    if (mounted_) RunUnixShell("umount " + mountDir_ + " 2>/dev/null; rmdir " + mountDir_);
}

} // namespace testsupport
