// The ZIP reader inside UnZip32.DLL: finds an archive's central directory, then extracts the members it
// lists, stored or deflated, checking sizes and CRC-32. Portable: bytes come from a ZipSource and go to a
// ZipSink, so the DLL reads and writes Win32 files, the native build POSIX files, the fuzzer memory.
//
// One reader holds three 256 KiB buffers and one inflate state for all its runs: memory stays flat
// whatever the size of the archive, and a member costs no heap traffic.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace unzip {

// Where the archive's bytes come from.
class ZipSource {
  public:
    virtual ~ZipSource() = default;
    virtual uint64_t Size() const = 0;
    // Reads exactly n bytes at offset; false when they are not all there or cannot be read.
    virtual bool ReadAt(uint64_t offset, void* buf, size_t n) = 0;
};

// An archive held in memory (the caller keeps the bytes alive).
class MemorySource : public ZipSource {
  public:
    MemorySource(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t offset, void* buf, size_t n) override;

  private:
    const uint8_t* data_;
    size_t size_;
};

enum class SinkError { None, Failed, DiskFull };

// Where members go. Paths are relative to the target folder, parts joined by '/', already checked by
// MemberPath, so a sink never sees an absolute path or a "..".
class ZipSink {
  public:
    virtual ~ZipSink() = default;
    // Makes one folder whose parent exists; a folder that is already there is fine.
    virtual SinkError MakeFolder(const std::string& path) = 0;
    virtual bool Exists(const std::string& path) = 0;
    // Starts a file that is to replace an existing one of that name.
    virtual SinkError Create(const std::string& path) = 0;
    virtual SinkError Write(const void* data, size_t n) = 0;
    // Finishes the file Create started. keep true puts it in place of an existing one; keep false, or a
    // failure to finish it, drops it, so no partial file survives and an existing one keeps its bytes.
    // dosTime (date in the high word, time in the low word) becomes its modification time.
    virtual SinkError Close(bool keep, uint32_t dosTime) = 0;
};

// Writes nothing: testing an archive.
class NullSink : public ZipSink {
  public:
    SinkError MakeFolder(const std::string&) override { return SinkError::None; }
    bool Exists(const std::string&) override { return false; }
    SinkError Create(const std::string&) override { return SinkError::None; }
    SinkError Write(const void*, size_t) override { return SinkError::None; }
    SinkError Close(bool, uint32_t) override { return SinkError::None; }
};

enum class Overwrite { Always, Ask, Never };

struct ZipOptions {
    bool keepFolders = true; // false drops the folders of member names
    Overwrite overwrite = Overwrite::Always;
    bool blanksToUnderscore = false;
    bool ignoreCase = false;              // for the name lists
    const char* const* include = nullptr; // members to extract (wildcards); none: all
    int includeCount = 0;
    const char* const* exclude = nullptr; // members to leave out
    int excludeCount = 0;
};

// The caller's side of a run. The defaults go on, replace and stay silent.
class ZipEvents {
  public:
    virtual ~ZipEvents() = default;
    // A member is about to be extracted (name as stored); false stops the run.
    virtual bool Member(const std::string& name, uint64_t size) {
        (void)name, (void)size;
        return true;
    }
    // The member's file exists and the options say ask; true replaces it.
    virtual bool Replace(const std::string& name) {
        (void)name;
        return true;
    }
    // A problem, as one line of text.
    virtual void Problem(const std::string& text) { (void)text; }
};

struct ZipTotals {
    uint64_t members = 0;       // members the archive lists
    uint64_t size = 0;          // sizes of the members processed
    uint64_t compressed = 0;    // their compressed sizes
    uint32_t commentLength = 0; // the archive comment
};

class ZipReader {
  public:
    ZipReader();
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // False when the buffers or the inflate state could not be had; Extract then returns UZ_MEM.
    bool Ready() const;
    // Extracts the selected members; returns a UZ_ result code (lib/unzipdll.h). The first error
    // decides the result; a warning counts only when there is no error.
    int Extract(ZipSource& source, ZipSink& sink, const ZipOptions& options, ZipEvents& events);
    const ZipTotals& Totals() const;

    struct State; // buffers and inflate state, kept between runs

  private:
    std::unique_ptr<State> s_;
};

} // namespace unzip
