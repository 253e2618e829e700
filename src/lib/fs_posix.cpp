// File primitives for native builds: plain POSIX paths, errno values reported as the Windows error
// numbers the Windows build gives for the same failure.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "lib/fs.h"

namespace {

bool IsDir(const char* path) {
    struct stat st;
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

// Windows tells a missing file (2) from a missing directory on the way (3).
bool ParentMissing(const char* path) {
    std::string parent(path);
    size_t slash = parent.find_last_of('/');
    if (slash == std::string::npos) return false;
    parent.resize(slash == 0 ? 1 : slash);
    return !IsDir(parent.c_str());
}

FsError FromErrno(int e, const char* path = nullptr) {
    switch (e) {
    case ENOENT:
        return path && ParentMissing(path) ? FsPathNotFound : FsFileNotFound;
    case ENOTDIR:
        return FsPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
        return FsAccessDenied;
    case EROFS:
        return FsWriteProtect;
    case EBUSY:
    case ETXTBSY:
        return FsSharingViolation;
    case EEXIST:
        return FsFileExists;
    case ENOSPC:
    case EDQUOT:
        return FsDiskFull;
    case EBADF:
        return FsInvalidHandle;
    case ENAMETOOLONG:
        return FsNameTooLong;
    case ENOTEMPTY:
        return FsDirNotEmpty;
    case EMFILE:
    case ENFILE:
        return FsTooManyOpen;
    case ENOMEM:
        return FsNotEnoughMemory;
    case EINVAL:
        return FsInvalidParameter;
    default:
        return FsGeneralFailure;
    }
}

// Emptying refuses texts of 3 characters or fewer and whatever resolves to the file-system root.
bool RefusedDir(const char* dir) {
    if (std::strlen(dir) <= 3) return true;
    std::error_code ec;
    auto canonical = std::filesystem::canonical(dir, ec);
    return ec || canonical == canonical.root_path();
}

// Mode 1 deletes the files in dir, mode 2 everything below it; links are removed, never followed.
void EmptyDir(const char* dir, int mode) {
    if (RefusedDir(dir)) return;
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(dir, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::error_code ignored;
        if (mode == 2)
            std::filesystem::remove_all(it->path(), ignored);
        else if (!it->is_directory(ignored) || it->is_symlink(ignored))
            std::filesystem::remove(it->path(), ignored);
    }
}

} // namespace

void ResetFsState() {
    ClearReadOnlyOnCopy = false;
    ArmFsFault(0, FsOk);
}

FileHandle OpenFile(std::string_view name, FileAccess access, unsigned, FsError& error) {
    SysName path(name);
    int flags = O_CLOEXEC | O_RDONLY;
    if (access == FileAccess::Write)
        flags = O_CLOEXEC | O_WRONLY | O_CREAT | O_TRUNC;
    else if (access == FileAccess::ReadWrite)
        flags = O_CLOEXEC | O_RDWR | O_CREAT;
    else if (access == FileAccess::CreateNew)
        flags = O_CLOEXEC | O_WRONLY | O_CREAT | O_EXCL;
    if (access != FileAccess::Read && fsdetail::FaultHere(error)) return NoFile;
    int fd = open(path.c, flags, 0666);
    if (fd < 0) {
        error = FromErrno(errno, path.c);
        return NoFile;
    }
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) { // Windows refuses to open a directory as a file
        close(fd);
        error = FsAccessDenied;
        return NoFile;
    }
    error = FsOk;
    return fd;
}

FsError CloseFile(FileHandle handle) {
    if (handle == NoFile) return FsInvalidHandle;
    FsError injected;
    bool fault = fsdetail::FaultHere(injected);
    FsError error = close(static_cast<int>(handle)) == 0 ? FsOk : FromErrno(errno);
    return fault ? injected : error;
}

int ReadBlock(FileHandle handle, void* buffer, int count, FsError& error) {
    error = FsOk;
    int total = 0;
    while (total < count) {
        ssize_t got = read(static_cast<int>(handle), static_cast<char*>(buffer) + total, count - total);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = FromErrno(errno);
            break;
        }
        if (got == 0) break;
        total += static_cast<int>(got);
    }
    return total;
}

int WriteBlock(FileHandle handle, const void* buffer, int count, FsError& error) {
    error = FsOk;
    if (count > 0 && fsdetail::FaultHere(error)) return 0;
    int total = 0;
    while (total < count) {
        ssize_t put =
            write(static_cast<int>(handle), static_cast<const char*>(buffer) + total, count - total);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            // Nothing written at all is the system's own error; a part written is a short write.
            error = total == 0 && put < 0 ? FromErrno(errno) : FsShortWrite;
            break;
        }
        total += static_cast<int>(put);
    }
    return total;
}

FsError DeleteOneFile(std::string_view name) {
    FsError error;
    if (fsdetail::FaultHere(error)) return error;
    SysName path(name);
    return unlink(path.c) == 0 ? FsOk : FromErrno(errno, path.c);
}

FsError PutFileInPlace(std::string_view source, std::string_view target) {
    FsError error;
    if (fsdetail::FaultHere(error)) return error;
    SysName from(source);
    std::string to = SysName(target).c;
    // A link is followed, as opening it for writing would; a device or pipe cannot be replaced.
    struct stat st;
    if (lstat(to.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        std::error_code ec;
        std::filesystem::path real = std::filesystem::canonical(to, ec);
        if (!ec) to = real.string();
    }
    if (stat(to.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return FsAccessDenied;
    return rename(from.c, to.c_str()) == 0 ? FsOk : FromErrno(errno, to.c_str());
}

bool SameFile(std::string_view a, std::string_view b) {
    struct stat sa, sb;
    return stat(SysName(a).c, &sa) == 0 && stat(SysName(b).c, &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

FsError MakeDir(std::string_view dir) {
    SysName path(dir);
    if (mkdir(path.c, 0777) == 0) return FsOk;
    if (errno == EEXIST) return FsAlreadyExists;
    return errno == ENOENT ? FsPathNotFound : FromErrno(errno, path.c);
}

FsError RemoveDir(std::string_view dir) {
    SysName path(dir);
    if (rmdir(path.c) == 0) return FsOk;
    return errno == EEXIST ? FsDirNotEmpty : FromErrno(errno, path.c);
}

bool DirExists(std::string_view path) {
    return IsDir(SysName(path).c);
}

bool FileExists(std::string_view path) {
    struct stat st;
    return stat(SysName(path).c, &st) == 0 && !S_ISDIR(st.st_mode);
}

FsError ForceDir(std::string_view path, int mode) {
    SysName name(path);
    std::string_view full(name.c);
    if (IsDir(name.c)) {
        if (mode == 1 || mode == 2) EmptyDir(name.c, mode);
        return FsOk;
    }
    for (size_t i = 1; i < full.size(); ++i) {
        if (full[i] == '/' && !DirExists(full.substr(0, i))) MakeDir(full.substr(0, i));
    }
    FsError error = MakeDir(full);
    if (error == FsAlreadyExists && IsDir(name.c)) error = FsOk;
    return error;
}

void ProgramDir(char* out, int n) {
    char path[1024];
    ssize_t len = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string_view exe(path, len > 0 ? static_cast<size_t>(len) : 0);
    size_t slash = exe.find_last_of('/');
    BufAssign(slash == std::string_view::npos ? std::string_view() : exe.substr(0, slash == 0 ? 1 : slash),
              out, n);
}
