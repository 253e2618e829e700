// The target folder as a ZipSink: each member is written under a temporary name beside its target and
// put in place only when it is whole, through the library's file primitives.
#include "unzip32/zipfiles.h"

namespace unzip {

namespace {

constexpr FsError FsHandleDiskFull = 39; // the full disk as Windows reports it for some drives

SinkError ErrorOf(FsError error) {
    if (error == FsOk) return SinkError::None;
    bool full = error == FsDiskFull || error == FsHandleDiskFull || error == FsShortWrite;
    return full ? SinkError::DiskFull : SinkError::Failed;
}

class FolderSink : public ZipSink {
  public:
    explicit FolderSink(std::string base) : base_(std::move(base)) {
        full_.reserve(base_.size() + 256);
        target_.reserve(base_.size() + 256);
    }
    ~FolderSink() override {
        if (file_ != NoFile) Close(false, 0);
    }

    SinkError MakeFolder(const std::string& path) override {
        const char* p = Full(path);
        FsError error = MakeDir(p);
        return (error == FsOk || DirExists(p)) ? SinkError::None : ErrorOf(error);
    }

    bool Exists(const std::string& path) override { return sys::Exists(Full(path)); }

    SinkError Create(const std::string& path) override {
        target_.assign(Full(path));
        FsError error;
        file_ = CreateTempBeside(target_, temp_, error);
        return file_ == NoFile ? ErrorOf(error) : SinkError::None;
    }

    SinkError Write(const void* data, size_t n) override {
        const char* p = static_cast<const char*>(data);
        while (n > 0) {
            int want = n > 0x40000000 ? 0x40000000 : static_cast<int>(n);
            FsError error;
            int done = WriteBlock(file_, p, want, error);
            if (error != FsOk) return ErrorOf(error);
            p += done;
            n -= static_cast<size_t>(done);
        }
        return SinkError::None;
    }

    // The member takes its name only when it is whole and its close succeeded; otherwise the
    // temporary file goes and whatever had the name keeps it.
    SinkError Close(bool keep, uint32_t dosTime) override {
        if (keep && dosTime != 0) sys::Stamp(file_, dosTime);
        FsError error = CloseFile(file_);
        file_ = NoFile;
        if (keep && error == FsOk) error = sys::PutInPlace(temp_, target_);
        if (!keep || error != FsOk) DiscardTemp(temp_);
        return ErrorOf(error);
    }

  private:
    const char* Full(const std::string& path) {
        full_.assign(base_);
        for (char c : path) full_ += (c == '/') ? sys::Separator : c;
        return full_.c_str();
    }

    std::string base_;   // ends with the separator
    std::string full_;   // scratch for the path of each operation
    std::string target_; // the member's name in the folder
    std::string temp_;   // the temporary file written for it
    FileHandle file_ = NoFile;
};

} // namespace

std::unique_ptr<ZipSink> NewFolderSink(std::string base) {
    return std::make_unique<FolderSink>(std::move(base));
}

} // namespace unzip
