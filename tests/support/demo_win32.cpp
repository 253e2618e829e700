#include "support/demo_win32.h"

#include <windows.h>

#include <cstdlib>

#include "support/standins_win32.h"

namespace testsupport {

std::string DemoMediumDir() {
    const char* source = std::getenv("SETUP_SOURCE");
    std::string path = std::string("Z:") + (source ? source : "") + "/build/demo/medium";
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

void CopyFolder(const std::string& from, const std::string& to) {
    MakeDirs(to);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyFolder(from + "\\" + name, to + "\\" + name);
        else
            CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

bool MakeVexaTree(const std::string& dir, const std::string& version) {
    MakeDirs(dir + "\\KORVO\\InitDat");
    return WriteTextLines(dir + "\\KORVO\\InitDat\\Version.DAT", {version, "15.03.1999"});
}

} // namespace testsupport
