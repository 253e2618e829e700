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

SinkError ErrorOf(DWORD err) {
    return (err == ERROR_DISK_FULL || err == ERROR_HANDLE_DISK_FULL) ? SinkError::DiskFull
                                                                     : SinkError::Failed;
}

bool IsFolder(const char* path) {
    DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

class FolderSink : public ZipSink {
  public:
    explicit FolderSink(std::string base) : base_(std::move(base)) {
        full_.reserve(base_.size() + 256);
        open_.reserve(base_.size() + 256);
    }
    ~FolderSink() override {
        if (h_ != INVALID_HANDLE_VALUE) Close(false, 0);
    }

    SinkError MakeFolder(const std::string& path) override {
        const char* p = Full(path);
        if (CreateDirectoryA(p, nullptr)) return SinkError::None;
        DWORD err = GetLastError();
        return IsFolder(p) ? SinkError::None : ErrorOf(err);
    }

    bool Exists(const std::string& path) override {
        return GetFileAttributesA(Full(path)) != INVALID_FILE_ATTRIBUTES;
    }

    SinkError Create(const std::string& path) override {
        const char* p = Full(path);
        h_ = Open(p);
        if (h_ == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED) {
            // CREATE_ALWAYS refuses read-only files, and hidden or system ones with plain attributes.
            DWORD a = GetFileAttributesA(p);
            const DWORD stoppers = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
            if (a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY) && (a & stoppers) &&
                SetFileAttributesA(p, FILE_ATTRIBUTE_NORMAL))
                h_ = Open(p);
            else
                SetLastError(ERROR_ACCESS_DENIED);
        }
        if (h_ == INVALID_HANDLE_VALUE) return ErrorOf(GetLastError());
        open_.assign(full_);
        return SinkError::None;
    }

    SinkError Write(const void* data, size_t n) override {
        const char* p = static_cast<const char*>(data);
        while (n > 0) {
            DWORD done = 0;
            DWORD want = n > 0x40000000 ? 0x40000000 : static_cast<DWORD>(n);
            if (!WriteFile(h_, p, want, &done, nullptr)) return ErrorOf(GetLastError());
            if (done == 0) return SinkError::DiskFull;
            p += done;
            n -= done;
        }
        return SinkError::None;
    }

    SinkError Close(bool keep, uint32_t dosTime) override {
        SinkError result = SinkError::None;
        FILETIME local, utc;
        if (keep && dosTime != 0 &&
            DosDateTimeToFileTime(static_cast<WORD>(dosTime >> 16), static_cast<WORD>(dosTime), &local) &&
            LocalFileTimeToFileTime(&local, &utc))
            SetFileTime(h_, nullptr, nullptr, &utc);
        if (!CloseHandle(h_)) result = ErrorOf(GetLastError());
        h_ = INVALID_HANDLE_VALUE;
        if (!keep || result != SinkError::None) DeleteFileA(open_.c_str());
        return result;
    }

  private:
    static HANDLE Open(const char* p) {
        return CreateFileA(p, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    }

    const char* Full(const std::string& path) {
        full_.assign(base_);
        for (char c : path) full_ += (c == '/') ? '\\' : c;
        return full_.c_str();
    }

    std::string base_; // ends with a backslash
    std::string full_; // scratch for the path of each operation
    std::string open_; // the file Create opened, for Close to remove
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

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
    return std::make_unique<FolderSink>(std::move(base));
}

} // namespace unzip
