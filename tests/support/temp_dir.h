// A fresh scratch folder for one test, removed with everything in it afterwards: C:\t\<name>-<pid>
// in the Windows build (inside the private Wine prefix), /tmp/setup-<name>-<pid> natively.
#pragma once

#include <string>
#include <string_view>

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
};

} // namespace testsupport
