#include "support/wine_win32.h"

#include <winioctl.h>

#include <cstring>

#include "support/standins_win32.h"

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
constexpr DWORD QueryUnixDrive = CTL_CODE('m', 33, METHOD_BUFFERED, FILE_READ_ACCESS);

HANDLE MountManager() {
    return CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
}

bool DefineDrive(char letter, const std::string& unixDir, unsigned type) {
    HANDLE manager = MountManager();
    if (manager == INVALID_HANDLE_VALUE) return false;
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
    DWORD bytes = 0;
    BOOL ok = DeviceIoControl(manager, DefineUnixDrive, buffer, drive->Size, nullptr, 0, &bytes, nullptr);
    CloseHandle(manager);
    return ok != FALSE;
}

} // namespace

bool WineDrives::Define(char letter, const std::string& unixDir, unsigned type) {
    Saved old{letter, DRIVE_NO_ROOT_DIR, ""};
    HANDLE manager = MountManager();
    if (manager != INVALID_HANDLE_VALUE) {
        char buffer[1024] = {};
        auto* drive = reinterpret_cast<UnixDrive*>(buffer);
        drive->Letter = static_cast<WCHAR>(letter | 0x20);
        DWORD bytes = 0;
        if (DeviceIoControl(manager, QueryUnixDrive, drive, sizeof *drive, buffer, sizeof buffer - 1, &bytes,
                            nullptr)) {
            old.Type = drive->Type;
            if (drive->MountPointOffset) old.UnixDir = buffer + drive->MountPointOffset;
        }
        CloseHandle(manager);
    }
    saved_.push_back(old);
    return DefineDrive(letter, unixDir, type);
}

WineDrives::~WineDrives() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
        DefineDrive(it->Letter, it->UnixDir, it->UnixDir.empty() ? DRIVE_NO_ROOT_DIR : it->Type);
}

ScopedRegistryValue::ScopedRegistryValue(const std::string& key, const std::string& name)
    : key_(key), name_(name) {
    old_ = Read();
    had_ = false;
    HKEY k;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_READ, &k) == ERROR_SUCCESS) {
        had_ = RegQueryValueExA(k, name_.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
        RegCloseKey(k);
    }
}

ScopedRegistryValue::~ScopedRegistryValue() {
    if (had_)
        Set(old_);
    else
        Remove();
}

void ScopedRegistryValue::Set(const std::string& value) {
    HKEY k;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(k, name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
}

void ScopedRegistryValue::Remove() {
    HKEY k;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_WRITE, &k) != ERROR_SUCCESS) return;
    RegDeleteValueA(k, name_.c_str());
    RegCloseKey(k);
}

std::string ScopedRegistryValue::Read() const {
    char value[1024] = "";
    DWORD size = sizeof value - 1;
    HKEY k;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return "";
    LONG rc = RegQueryValueExA(k, name_.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(k);
    return rc == ERROR_SUCCESS ? value : "";
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
