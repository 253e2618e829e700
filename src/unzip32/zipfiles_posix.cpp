#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <string>

#include "unzip32/zipfiles.h"

namespace unzip {

namespace {

class FileSource : public ZipSource {
  public:
    FileSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
    ~FileSource() override { close(fd_); }
    uint64_t Size() const override { return size_; }

    bool ReadAt(uint64_t offset, void* buf, size_t n) override {
        char* p = static_cast<char*>(buf);
        while (n > 0) {
            ssize_t got = pread(fd_, p, n, static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            p += got;
            n -= static_cast<size_t>(got);
            offset += static_cast<uint64_t>(got);
        }
        return true;
    }

  private:
    int fd_;
    uint64_t size_;
};

bool IsFolder(const char* path) {
    struct stat st;
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

// A DOS date and time (local time, 2-second steps) as calendar time; -1 when it is not a valid one.
time_t DosToTime(uint32_t dosTime) {
    struct tm t = {};
    t.tm_year = static_cast<int>(dosTime >> 25) + 80;
    t.tm_mon = static_cast<int>((dosTime >> 21) & 15) - 1;
    t.tm_mday = static_cast<int>((dosTime >> 16) & 31);
    t.tm_hour = static_cast<int>((dosTime >> 11) & 31);
    t.tm_min = static_cast<int>((dosTime >> 5) & 63);
    t.tm_sec = static_cast<int>(dosTime & 31) * 2;
    t.tm_isdst = -1;
    if (t.tm_mon < 0 || t.tm_mday == 0) return -1;
    return mktime(&t);
}

} // namespace

std::unique_ptr<ZipSource> OpenFileSource(const char* path) {
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return nullptr;
    }
    return std::make_unique<FileSource>(fd, static_cast<uint64_t>(st.st_size));
}

std::unique_ptr<ZipSink> OpenFolderSink(const char* folder) {
    std::string base = (folder && *folder) ? folder : ".";
    // Make each missing level, then insist the whole is a folder.
    for (size_t i = 1; i <= base.size(); ++i) {
        if (i < base.size() && base[i] != '/') continue;
        std::string level = base.substr(0, i);
        if (!IsFolder(level.c_str())) mkdir(level.c_str(), 0777);
    }
    if (!IsFolder(base.c_str())) return nullptr;
    if (base.back() != '/') base += '/';
    return NewFolderSink(std::move(base));
}

bool sys::Exists(const char* path) {
    struct stat st;
    return lstat(path, &st) == 0;
}

void sys::Stamp(FileHandle file, uint32_t dosTime) {
    time_t t = DosToTime(dosTime);
    if (t == -1) return;
    struct timespec times[2] = {{t, 0}, {t, 0}};
    futimens(static_cast<int>(file), times);
}

// rename replaces whatever has the name, a link too, without following it.
FsError sys::PutInPlace(const std::string& temp, const std::string& target) {
    return PutFileInPlace(temp, target);
}

} // namespace unzip
