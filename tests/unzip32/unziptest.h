// Helpers of the unzip32 tests: the archives the build made with the real zip tool, fresh folders, and
// the file trees and bytes the tests compare. Portable (std::filesystem), so the same tests run natively
// and under Wine.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

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

inline std::string ReadAll(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

inline void WriteAll(const fs::path& p, const std::string& bytes) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
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
            out[rel] = ReadAll(e.path());
    }
    return out;
}

// A fresh, empty folder for one test, removed with everything in it afterwards.
class TempDir {
  public:
    TempDir() {
        // Named after the running test: ctest runs the test files of one program side by side.
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "." + test->name();
        for (char& c : name)
            if (c == '/') c = '_';
        static int count = 0;
        path_ = fs::temp_directory_path() / ("unzip32-" + name + "-" + std::to_string(count++));
        Remove();
        fs::create_directories(path_);
    }
    ~TempDir() { Remove(); }
    const fs::path& Path() const { return path_; }
    std::string operator/(const std::string& rel) const { return (path_ / rel).string(); }

  private:
    // Read-only files (Windows refuses to delete them) are made writable first.
    void Remove() {
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(path_, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
            fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }

    fs::path path_;
};

} // namespace unziptest
