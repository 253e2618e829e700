#include "support/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace testsupport {

TempDir::TempDir(std::string_view name) {
#ifdef _WIN32
    path_ = "C:\\t\\" + std::string(name) + "-" + std::to_string(getpid());
#else
    path_ = "/tmp/setup-" + std::string(name) + "-" + std::to_string(getpid());
#endif
    std::error_code ec;
    fs::remove_all(path_, ec);
    fs::create_directories(path_, ec);
    EXPECT_FALSE(ec) << "cannot create " << path_;
}

TempDir::~TempDir() {
    // Read-only files cannot be deleted on Windows: give every entry write permission first.
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::error_code ignored;
        if (!it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
    fs::remove_all(path_, ec);
}

std::string TempDir::operator/(std::string_view rel) const {
    std::string result = path_ + Sep + std::string(rel);
    for (size_t i = path_.size() + 1; i < result.size(); ++i)
        if (result[i] == '/') result[i] = Sep;
    return result;
}

void TempDir::Write(std::string_view rel, std::string_view bytes) const {
    std::ofstream out(*this / rel, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    EXPECT_TRUE(out.good()) << "cannot write " << (*this / rel);
}

std::string TempDir::Read(std::string_view rel) const {
    std::ifstream in(*this / rel, std::ios::binary);
    if (!in) return "<missing>";
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace testsupport
