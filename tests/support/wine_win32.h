// Test set-up through Wine's own means: drive letters of a chosen type (the mount manager makes the
// dosdevices link and records the type in HKLM\Software\Wine\Drives, as winecfg does), Unix paths of
// Windows folders, and registry values and files that a test changes and puts back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// The Unix path Wine keeps a Windows path at; empty outside Wine.
std::string UnixPathOf(const std::string& windowsPath);

// Drive letters defined for the object's lifetime, removed afterwards (the private prefix has only C: and
// Z: of its own).
class WineDrives {
  public:
    WineDrives() = default;
    ~WineDrives();
    WineDrives(const WineDrives&) = delete;
    WineDrives& operator=(const WineDrives&) = delete;
    // Maps the letter to a Unix folder with a drive type (DRIVE_FIXED, DRIVE_CDROM, ...) through the
    // mount manager.
    bool Define(char letter, const std::string& unixDir, unsigned type);
    // Links the first free letter from `from` on to a Unix folder; the letter, or 0 when none could be
    // linked. The link is made only where none exists, so parallel tests never share a letter.
    char DefineFree(const std::string& unixDir, char from = 'Q');

  private:
    std::string letters_, links_;
};

// A string value set (or deleted) for the object's lifetime, under HKEY_LOCAL_MACHINE unless another
// root is named; it keeps the type it had (REG_SZ when new).
class ScopedRegistryValue {
  public:
    ScopedRegistryValue(const std::string& key, const std::string& name, HKEY root = HKEY_LOCAL_MACHINE);
    ~ScopedRegistryValue();
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;
    void Set(const std::string& value);
    void Remove();
    std::string Read() const; // empty when missing

  private:
    bool Query(std::string& value, DWORD& type) const;
    HKEY root_;
    std::string key_, name_, old_;
    DWORD type_ = REG_SZ;
    bool had_;
};

// A file that a test may write or delete; its old content (or its absence) comes back afterwards.
class ScopedFile {
  public:
    explicit ScopedFile(const std::string& path);
    ~ScopedFile();
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;

  private:
    std::string path_, backup_;
    bool had_;
};

} // namespace testsupport
