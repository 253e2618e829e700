#include "support/demo_win32.h"

#include <cstdlib>
#include <filesystem>

#include "support/standins_win32.h"

namespace fs = std::filesystem;

namespace testsupport {

std::string DemoMediumDir() {
    const char* source = std::getenv("SETUP_SOURCE");
    std::string path = std::string("Z:") + (source ? source : "") + "/build/demo/medium";
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

void CopyFolder(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::create_directories(to, ec);
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
}

bool MakeVexaTree(const std::string& dir, const std::string& version) {
    MakeDirs(dir + "\\KORVO\\InitDat");
    return WriteTextLines(dir + "\\KORVO\\InitDat\\Version.DAT", {version, "15.03.1999"});
}

} // namespace testsupport
