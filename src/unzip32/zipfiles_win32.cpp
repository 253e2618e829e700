#include <windows.h>

#include <string>

#include "unzip32/zipfiles.h"

namespace unzip {

namespace {

class FileSource : public ZipSource {
  public:
    FileSource(HANDLE h, uint64_t size) : h_(h), size_(size) {}
    ~FileSource() override { CloseHandle(h_); }
    uint64_t Size() const override { return size_; }

    bool ReadAt(uint64_t offset, void* buf, size_t n) override {
        if (offset != pos_) {
            LONG high = static_cast<LONG>(offset >> 32);
            DWORD low = SetFilePointer(h_, static_cast<LONG>(offset & 0xFFFFFFFF), &high, FILE_BEGIN);
            if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return false;
            pos_ = offset;
        }
        char* p = static_cast<char*>(buf);
        while (n > 0) {
            DWORD got = 0;
            DWORD want = n > 0x40000000 ? 0x40000000 : static_cast<DWORD>(n);
            if (!ReadFile(h_, p, want, &got, nullptr) || got == 0) {
                pos_ = UINT64_MAX; // the position is unknown now
                return false;
            }
            p += got;
            n -= got;
            pos_ += got;
        }
        return true;
    }

  private:
    HANDLE h_;
    uint64_t size_;
    uint64_t pos_ = 0;
};

bool IsFolder(const char* path) {
    DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Where the folder levels start: after "C:\" or after "\\server\share\".
size_t FirstLevel(const std::string& p) {
    if (p.size() >= 2 && p[1] == ':') return (p.size() > 2 && (p[2] == '\\' || p[2] == '/')) ? 3 : 2;
    if (p.size() >= 2 && (p[0] == '\\' || p[0] == '/') && (p[1] == '\\' || p[1] == '/')) {
        size_t seps = 0, i = 2;
        for (; i < p.size() && seps < 2; ++i)
            if (p[i] == '\\' || p[i] == '/') ++seps;
        return i;
    }
    return (!p.empty() && (p[0] == '\\' || p[0] == '/')) ? 1 : 0;
}

} // namespace

std::unique_ptr<ZipSource> OpenFileSource(const char* path) {
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    DWORD high = 0;
    DWORD low = GetFileSize(h, &high);
    if ((low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) || GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return nullptr;
    }
    return std::make_unique<FileSource>(h, static_cast<uint64_t>(high) << 32 | low);
}

std::unique_ptr<ZipSink> OpenFolderSink(const char* folder) {
    std::string base = (folder && *folder) ? folder : ".";
    // Make each missing level, then insist the whole is a folder.
    for (size_t i = FirstLevel(base) + 1; i <= base.size(); ++i) {
        if (i < base.size() && base[i] != '\\' && base[i] != '/') continue;
        std::string level = base.substr(0, i);
        if (!IsFolder(level.c_str())) CreateDirectoryA(level.c_str(), nullptr);
    }
    if (!IsFolder(base.c_str())) return nullptr;
    if (base.back() != '\\' && base.back() != '/') base += '\\';
    return NewFolderSink(std::move(base));
}

bool sys::Exists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

void sys::Stamp(FileHandle file, uint32_t dosTime) {
    FILETIME local, utc;
    if (DosDateTimeToFileTime(static_cast<WORD>(dosTime >> 16), static_cast<WORD>(dosTime), &local) &&
        LocalFileTimeToFileTime(&local, &utc))
        SetFileTime(reinterpret_cast<HANDLE>(file), nullptr, nullptr, &utc);
}

// A replacing move refuses a read-only target, and on the 95 family the old file set aside could not
// be deleted while read-only: such a target loses its read-only, hidden and system attributes first (the
// new file has plain ones, as when it was written over the old one), and gets them back when it stays.
FsError sys::PutInPlace(const std::string& temp, const std::string& target) {
    const DWORD stoppers = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    DWORD a = GetFileAttributesA(target.c_str());
    DWORD plain = (a & ~stoppers) ? a & ~stoppers : FILE_ATTRIBUTE_NORMAL; // 0 would change nothing
    bool cleared = a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY) && (a & stoppers) &&
                   SetFileAttributesA(target.c_str(), plain);
    FsError error = PutFileInPlace(temp, target);
    if (error != FsOk && cleared) SetFileAttributesA(target.c_str(), a);
    return error;
}

} // namespace unzip
