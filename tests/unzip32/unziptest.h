// Helpers of the unzip32 tests: the archives the build made with the real zip tool, and the file trees
// and bytes the tests compare. Portable (std::filesystem), so the same tests run natively
// and under Wine.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "support/temp_dir.h"

namespace unziptest {

namespace fs = std::filesystem;

// The folder make-archives.sh filled; a Unix path, reached under Wine through drive Z:.
inline std::string ArchiveDir() {
    const char* build = std::getenv("SETUP_BUILD");
    std::string dir = std::string(build ? build : ".") + "/tests/unzip32/archives/";
#ifdef _WIN32
    if (!dir.empty() && dir[0] == '/') dir = "Z:" + dir;
#endif
    return dir;
}

inline std::string Archive(const std::string& name) {
    return ArchiveDir() + name;
}

// Replaces every occurrence of from with to (same length); returns how many there were.
inline int Patch(std::string& bytes, const std::string& from, const std::string& to) {
    int n = 0;
    for (size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + 1), ++n)
        bytes.replace(at, to.size(), to);
    return n;
}

// Every file and folder below root (folders with a trailing '/'), with the files' contents.
inline std::map<std::string, std::string> Tree(const fs::path& root) {
    std::map<std::string, std::string> out;
    if (!fs::exists(root)) return out;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        std::string rel = fs::relative(e.path(), root).generic_string();
        if (e.is_directory())
            out[rel + "/"] = "";
        else
            out[rel] = testsupport::ReadBytes(e.path().string());
    }
    return out;
}

} // namespace unziptest
