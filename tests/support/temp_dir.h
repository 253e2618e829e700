// A fresh scratch folder for one test, removed with everything in it afterwards: C:\t\<name>-<pid>
// in the Windows build (inside the private Wine prefix), /tmp/setup-<name>-<pid> natively; and the
// file helpers the tests share on both builds.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

class TempDir {
  public:
    explicit TempDir(std::string_view name);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Path of rel inside the folder; "/" in rel becomes the platform's separator.
    std::string operator/(std::string_view rel) const;
    // Writes a file (relative path) with the given bytes.
    void Write(std::string_view rel, std::string_view bytes) const;
    // Makes files holding "x", and folders given with a trailing "/", with the folders above them.
    void MakeFiles(std::initializer_list<std::string_view> entries) const;
    // The bytes of a file, or "<missing>".
    std::string Read(std::string_view rel) const;

    static constexpr char Sep =
#ifdef _WIN32
        '\\';
#else
        '/';
#endif

  private:
    std::string path_;
    std::string home_; // the current folder when the folder was made
};

void MakeDirs(const std::string& path);
bool FileExists(const std::string& path);
bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines); // CR LF each
std::vector<std::string> ReadTextLines(const std::string& path);                     // empty when missing
std::string CrLf(const std::vector<std::string>& lines); // each line ended by CR LF
bool WriteBytes(const std::string& path, std::string_view bytes);
std::string ReadBytes(const std::string& path); // "<missing>" when it cannot be read
void RemoveTree(const std::string& path);       // read-only entries included

} // namespace testsupport
