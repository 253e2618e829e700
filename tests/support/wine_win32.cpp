#include "support/wine_win32.h"

#include <winioctl.h>

#include <cstring>

#include "support/standins_win32.h"
#include "support/unix_shell_win32.h"

namespace testsupport {

std::string UnixPathOf(const std::string& windowsPath) {
    using UnixName = char*(CDECL*)(const WCHAR*);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return "";
    std::wstring wide(windowsPath.begin(), windowsPath.end());
    char* name = unixName(wide.c_str());
    if (!name) return "";
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

namespace {

// The mount manager's record of a Unix drive, followed by its mount point text.
struct UnixDrive {
    ULONG Size;
    ULONG Type;
    ULONG FsType;
    DWORD Serial;
    ULONGLONG UnixDev;
    WCHAR Letter;
    USHORT MountPointOffset;
    USHORT DeviceOffset;
    USHORT LabelOffset;
};
constexpr DWORD DefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

// The letter's link in the prefix's dosdevices, quoted for the shell.
std::string DriveLink(char letter) {
    return "\"$WINEPREFIX/dosdevices/" + std::string(1, static_cast<char>(letter | 0x20)) + ":\"";
}

// Maps the letter to the Unix folder with the drive type; an empty folder removes the letter.
bool DefineDrive(char letter, const std::string& unixDir, unsigned type) {
    char buffer[1024] = {};
    auto* drive = reinterpret_cast<UnixDrive*>(buffer);
    drive->Size = sizeof *drive;
    drive->Type = type;
    drive->Letter = static_cast<WCHAR>(letter | 0x20);
    if (!unixDir.empty()) {
        std::memcpy(buffer + sizeof *drive, unixDir.c_str(), unixDir.size() + 1);
        drive->MountPointOffset = sizeof *drive;
        drive->Size += static_cast<ULONG>(unixDir.size() + 1);
    }
    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) return false;
    DWORD bytes = 0;
    BOOL ok = DeviceIoControl(manager, DefineUnixDrive, buffer, drive->Size, nullptr, 0, &bytes, nullptr);
    CloseHandle(manager);
    return ok != FALSE;
}

} // namespace

bool WineDrives::Define(char letter, const std::string& unixDir, unsigned type) {
    letters_ += letter;
    return DefineDrive(letter, unixDir, type);
}

char WineDrives::DefineFree(const std::string& unixDir, char from) {
    DWORD used = GetLogicalDrives();
    for (char letter = from; letter <= 'Y'; ++letter) {
        if (!(used & (1u << (letter - 'A'))) &&
            RunUnixShell("ln -s " + unixDir + " " + DriveLink(letter)) == 0) {
            links_ += letter;
            return letter;
        }
    }
    return 0;
}

WineDrives::~WineDrives() {
    for (char letter : letters_) DefineDrive(letter, "", DRIVE_NO_ROOT_DIR);
    // The mount manager does not know the links made behind its back: they go as they came.
    for (char letter : links_) RunUnixShell("rm -f " + DriveLink(letter));
}

ScopedRegistryValue::ScopedRegistryValue(const std::string& key, const std::string& name, HKEY root)
    : root_(root), key_(key), name_(name) {
    had_ = Query(old_, type_);
    if (!had_) type_ = REG_SZ;
}

ScopedRegistryValue::~ScopedRegistryValue() {
    if (had_)
        Set(old_);
    else
        Remove();
}

bool ScopedRegistryValue::Query(std::string& value, DWORD& type) const {
    char text[1024] = "";
    DWORD size = sizeof text - 1;
    HKEY k;
    if (RegOpenKeyExA(root_, key_.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    bool found = RegQueryValueExA(k, name_.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text), &size) ==
                 ERROR_SUCCESS;
    RegCloseKey(k);
    value = found ? text : "";
    return found;
}

std::string ScopedRegistryValue::Read() const {
    std::string value;
    DWORD type;
    Query(value, type);
    return value;
}

void ScopedRegistryValue::Set(const std::string& value) {
    HKEY k;
    if (RegCreateKeyExA(root_, key_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(k, name_.c_str(), 0, type_, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
}

void ScopedRegistryValue::Remove() {
    HKEY k;
    if (RegOpenKeyExA(root_, key_.c_str(), 0, KEY_WRITE, &k) != ERROR_SUCCESS) return;
    RegDeleteValueA(k, name_.c_str());
    RegCloseKey(k);
}

ScopedFile::ScopedFile(const std::string& path) : path_(path), backup_(path + ".test-backup") {
    had_ = FileExists(path_);
    if (had_) CopyFileA(path_.c_str(), backup_.c_str(), FALSE);
}

ScopedFile::~ScopedFile() {
    if (had_) {
        CopyFileA(backup_.c_str(), path_.c_str(), FALSE);
        DeleteFileA(backup_.c_str());
    } else {
        DeleteFileA(path_.c_str());
    }
}

} // namespace testsupport
