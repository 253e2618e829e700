#include "support/temp_dir.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace testsupport {

TempDir::TempDir(std::string_view name) {
#ifdef _WIN32
    path_ = "C:\\t\\" + std::string(name) + "-" + std::to_string(getpid());
#else
    path_ = "/tmp/setup-" + std::string(name) + "-" + std::to_string(getpid());
#endif
    RemoveTree(path_);
    std::error_code ec;
    home_ = fs::current_path(ec).string();
    fs::create_directories(path_, ec);
    EXPECT_FALSE(ec) << "cannot create " << path_;
}

// Programs a test starts may leave the current folder inside; a current folder cannot be removed on
// Windows, so go back to the one of the start first, or the removal fails without a word.
TempDir::~TempDir() {
    std::error_code ec;
    std::string cwd = fs::current_path(ec).string();
    auto same = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    };
    if (!ec && cwd.size() >= path_.size() && std::equal(path_.begin(), path_.end(), cwd.begin(), same) &&
        (cwd.size() == path_.size() || cwd[path_.size()] == Sep))
        fs::current_path(home_, ec);
    RemoveTree(path_);
}

std::string TempDir::operator/(std::string_view rel) const {
    std::string result = path_ + Sep + std::string(rel);
    for (size_t i = path_.size() + 1; i < result.size(); ++i)
        if (result[i] == '/') result[i] = Sep;
    return result;
}

void TempDir::Write(std::string_view rel, std::string_view bytes) const {
    EXPECT_TRUE(WriteBytes(*this / rel, bytes)) << "cannot write " << (*this / rel);
}

std::string TempDir::Read(std::string_view rel) const {
    return ReadBytes(*this / rel);
}

void TempDir::MakeFiles(std::initializer_list<std::string_view> entries) const {
    for (std::string_view entry : entries) {
        fs::path path = *this / entry;
        MakeDirs((entry.ends_with('/') ? path : path.parent_path()).string());
        if (!entry.ends_with('/')) Write(entry, "x");
    }
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

bool WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
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
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::error_code ignored;
        if (!it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
    fs::remove_all(path, ec);
}

} // namespace testsupport
