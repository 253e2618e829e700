#include "unzip32/zipreader.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <new>
#include <string_view>

#include "lib/textfold.h"
#include "lib/unzipdll.h"
#include "unzip32/zippath.h"

namespace unzip {

namespace {

constexpr size_t kBufferSize = 256 * 1024;
constexpr uint32_t kLocalSig = 0x04034b50;
constexpr uint32_t kCentralSig = 0x02014b50;
constexpr uint32_t kEndSig = 0x06054b50;
constexpr uint32_t kEnd64Sig = 0x06064b50;
constexpr uint32_t kLocator64Sig = 0x07064b50;
constexpr size_t kEndSize = 22;
constexpr size_t kCentralSize = 46;
constexpr size_t kLocalSize = 30;
constexpr size_t kEnd64Size = 56;
constexpr size_t kLocator64Size = 20;

uint16_t Get16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t Get32(const uint8_t* p) {
    return Get16(p) | static_cast<uint32_t>(Get16(p + 2)) << 16;
}
uint64_t Get64(const uint8_t* p) {
    return Get32(p) | static_cast<uint64_t>(Get32(p + 4)) << 32;
}

// One member as the central directory lists it.
struct Entry {
    uint16_t flags = 0;
    uint16_t method = 0;
    uint32_t dosTime = 0;
    uint32_t crc = 0;
    uint64_t compressed = 0;
    uint64_t size = 0;
    uint64_t offset = 0;
};

// Where the central directory lies, as the end records say and as the file shows.
struct Directory {
    uint64_t entries = 0;
    uint64_t start = 0; // first central header, in the file
    uint64_t end = 0;   // first byte after the last central header
    uint64_t shift = 0; // bytes in front of the archive that its offsets do not count
    uint32_t commentLength = 0;
};

} // namespace

bool MemorySource::ReadAt(uint64_t offset, void* buf, size_t n) {
    if (offset > size_ || size_ - offset < n) return false;
    if (n > 0) std::memcpy(buf, data_ + offset, n);
    return true;
}

struct ZipReader::State {
    std::unique_ptr<uint8_t[]> window; // central directory and end records
    std::unique_ptr<uint8_t[]> in;     // member data as stored
    std::unique_ptr<uint8_t[]> out;    // inflated data
    z_stream z{};
    bool inflateReady = false;
    ZipTotals totals;
    std::string name, path, folders, text;

    ~State() {
        if (inflateReady) inflateEnd(&z);
    }
};

ZipReader::ZipReader() : s_(new (std::nothrow) State) {
    if (!s_) return;
    s_->window.reset(new (std::nothrow) uint8_t[kBufferSize]);
    s_->in.reset(new (std::nothrow) uint8_t[kBufferSize]);
    s_->out.reset(new (std::nothrow) uint8_t[kBufferSize]);
    s_->inflateReady = inflateInit2(&s_->z, -MAX_WBITS) == Z_OK;
}

ZipReader::~ZipReader() = default;

bool ZipReader::Ready() const {
    return s_ && s_->window && s_->in && s_->out && s_->inflateReady;
}

const ZipTotals& ZipReader::Totals() const {
    static const ZipTotals none;
    return s_ ? s_->totals : none;
}

namespace {

// One call of Extract: the archive, the sink and the sticky result.
class Run {
  public:
    Run(ZipReader::State& s, ZipSource& src, ZipSink& sink, const ZipOptions& opt, ZipEvents& ev)
        : s_(s), src_(src), sink_(sink), opt_(opt), ev_(ev), size_(src.Size()) {}

    int Go();

  private:
    const uint8_t* Fetch(uint64_t pos, size_t n, uint64_t limit);
    bool FindDirectory(Directory& dir);
    bool ReadEntry(const uint8_t* h, size_t extraLength, Entry& e);
    bool Selected(const std::string& name);
    bool Member(const Entry& e);
    void ExtractFile(const Entry& e);
    bool LocateData(const Entry& e, uint64_t& data);
    int CopyStored(const Entry& e, uint64_t pos, uint32_t& crc);
    int Inflate(const Entry& e, uint64_t pos, uint32_t& crc);
    bool MakeFolders(const std::string& path, size_t length);
    void Note(int code, std::string_view what);
    int SinkCode(SinkError e) const { return e == SinkError::DiskFull ? UZ_DISK : UZ_ERR; }

    ZipReader::State& s_;
    ZipSource& src_;
    ZipSink& sink_;
    const ZipOptions& opt_;
    ZipEvents& ev_;
    uint64_t size_;
    uint64_t winStart_ = 0;
    size_t winLength_ = 0;
    uint64_t shift_ = 0;
    uint64_t lowestOffset_ = UINT64_MAX;
    bool matched_ = false;
    int result_ = UZ_OK;
};

// Records a problem: the first error decides the result, a warning counts only without one.
void Run::Note(int code, std::string_view what) {
    s_.text.assign(s_.name.empty() ? std::string_view("archive") : std::string_view(s_.name));
    s_.text.append(": ").append(what);
    ev_.Problem(s_.text);
    if (code >= UZ_ERR && result_ < UZ_ERR) result_ = code;
    if (code == UZ_WARN && result_ == UZ_OK) result_ = UZ_WARN;
}

// n bytes at pos from the directory window, refilled when they are not in it; null past limit.
const uint8_t* Run::Fetch(uint64_t pos, size_t n, uint64_t limit) {
    if (n > kBufferSize || pos > limit || limit - pos < n) return nullptr;
    if (pos >= winStart_ && pos - winStart_ <= winLength_ && winLength_ - (pos - winStart_) >= n)
        return s_.window.get() + (pos - winStart_);
    size_t want = static_cast<size_t>(std::min<uint64_t>(kBufferSize, limit - pos));
    winLength_ = 0;
    if (!src_.ReadAt(pos, s_.window.get(), want)) return nullptr;
    winStart_ = pos;
    winLength_ = want;
    return s_.window.get();
}

bool Run::FindDirectory(Directory& dir) {
    if (size_ < kEndSize) return false;
    // The end record sits within the last 64 KiB + 22 bytes (its comment is at most 65535 bytes).
    size_t tail = static_cast<size_t>(std::min<uint64_t>(size_, kEndSize + 0xFFFF));
    uint64_t tailStart = size_ - tail;
    const uint8_t* t = Fetch(tailStart, tail, size_);
    if (!t) return false;
    // Prefer a record whose comment reaches exactly to the end; a comment may itself hold the signature.
    size_t found = SIZE_MAX;
    for (size_t i = tail - kEndSize + 1; i-- > 0;) {
        if (Get32(t + i) != kEndSig) continue;
        size_t end = i + kEndSize + Get16(t + i + 20);
        if (end == tail) {
            found = i;
            break;
        }
        if (end < tail && found == SIZE_MAX) found = i;
    }
    if (found == SIZE_MAX) return false;
    const uint8_t* e = t + found;
    uint64_t endPos = tailStart + found;
    uint32_t disk = Get16(e + 4), cdDisk = Get16(e + 6);
    uint64_t onDisk = Get16(e + 8), entries = Get16(e + 10), cdSize = Get32(e + 12), cdOffset = Get32(e + 16);
    dir.commentLength = Get16(e + 20);
    dir.end = endPos;
    // Zip64: a locator in front of the end record points at a larger end record, which then holds the
    // true values (the plain record may show 0xFFFF...) and ends the central directory. Writers add it
    // also when no value needs it.
    uint8_t loc[kLocator64Size], rec[kEnd64Size];
    auto record = [&](uint64_t pos) {
        return endPos >= kLocator64Size + kEnd64Size && pos <= endPos - kLocator64Size - kEnd64Size &&
               src_.ReadAt(pos, rec, sizeof rec) && Get32(rec) == kEnd64Sig;
    };
    if (endPos >= kLocator64Size && src_.ReadAt(endPos - kLocator64Size, loc, sizeof loc) &&
        Get32(loc) == kLocator64Sig) {
        uint64_t recPos = Get64(loc + 8);
        // With offsets that do not count a stub in front, the record lies just before the locator.
        if (!record(recPos)) recPos = endPos - kLocator64Size - kEnd64Size;
        if (record(recPos)) {
            disk = Get32(rec + 16);
            cdDisk = Get32(rec + 20);
            onDisk = Get64(rec + 24);
            entries = Get64(rec + 32);
            cdSize = Get64(rec + 40);
            cdOffset = Get64(rec + 48);
            dir.end = recPos;
        }
    }
    if (disk != 0 || cdDisk != 0 || onDisk != entries) {
        Note(UZ_BADERR, "archives split over several disks are not supported");
        return true;
    }
    if (cdSize > dir.end || dir.end - cdSize < cdOffset) {
        Note(UZ_BADERR, "the central directory is incomplete (the archive is truncated or damaged)");
        return true;
    }
    dir.start = dir.end - cdSize;
    dir.shift = dir.start - cdOffset;
    dir.entries = entries;
    return true;
}

// Reads the fixed part of a central header and its zip64 sizes and offset, where present.
bool Run::ReadEntry(const uint8_t* h, size_t extraLength, Entry& e) {
    e.flags = Get16(h + 8);
    e.method = Get16(h + 10);
    e.dosTime = Get32(h + 12);
    e.crc = Get32(h + 16);
    e.compressed = Get32(h + 20);
    e.size = Get32(h + 24);
    e.offset = Get32(h + 42);
    if (e.size != 0xFFFFFFFF && e.compressed != 0xFFFFFFFF && e.offset != 0xFFFFFFFF) return true;
    const uint8_t* x = h + kCentralSize + Get16(h + 28);
    const uint8_t* xEnd = x + extraLength;
    while (xEnd - x >= 4) {
        uint16_t id = Get16(x), length = Get16(x + 2);
        const uint8_t* d = x + 4;
        if (length > xEnd - d) break;
        if (id == 0x0001) {
            const uint8_t* dEnd = d + length;
            for (uint64_t* field : {&e.size, &e.compressed, &e.offset}) {
                if (*field != 0xFFFFFFFF) continue;
                if (dEnd - d < 8) return false;
                *field = Get64(d);
                d += 8;
            }
            return true;
        }
        x = d + length;
    }
    return false;
}

// Include and exclude names match whole member names, "*" across "/" too.
bool Run::Selected(const std::string& name) {
    bool in = opt_.includeCount <= 0;
    for (int i = 0; !in && i < opt_.includeCount; ++i)
        in = opt_.include[i] && WildcardMatch(opt_.include[i], name, opt_.ignoreCase);
    for (int i = 0; in && i < opt_.excludeCount; ++i)
        in = !(opt_.exclude[i] && WildcardMatch(opt_.exclude[i], name, opt_.ignoreCase));
    matched_ = matched_ || in;
    return in;
}

// Makes the folders of path's first length characters, each level once per run of equal paths.
bool Run::MakeFolders(const std::string& path, size_t length) {
    std::string_view want(path.data(), length);
    std::string_view made(s_.folders);
    if (made.substr(0, length) == want && (made.size() == length || made[length] == '/')) return true;
    for (size_t i = 1; i <= length; ++i) {
        if (i < length && path[i] != '/') continue;
        if (made.substr(0, i) == want.substr(0, i) &&
            (made.size() == i || (made.size() > i && made[i] == '/')))
            continue;
        s_.text.assign(path, 0, i);
        SinkError err = sink_.MakeFolder(s_.text);
        if (err != SinkError::None) {
            s_.folders.clear();
            Note(SinkCode(err), "cannot make the folder " + s_.text);
            return false;
        }
    }
    s_.folders.assign(want);
    return true;
}

// Handles one member; false stops the run.
bool Run::Member(const Entry& e) {
    if (!Selected(s_.name)) return true;
    NameKind kind = MemberPath(s_.name, !opt_.keepFolders, opt_.blanksToUnderscore, s_.path);
    if (kind == NameKind::Refused) {
        Note(UZ_ERR, "refused: the name leaves the target folder or is not a valid file name");
        return true;
    }
    if (!ev_.Member(s_.name, e.size)) {
        Note(UZ_ABORT, "stopped by the caller");
        return false;
    }
    s_.totals.size += e.size;
    s_.totals.compressed += e.compressed;
    if (kind == NameKind::Folder) {
        if (!s_.path.empty()) MakeFolders(s_.path, s_.path.size());
        return true;
    }
    ExtractFile(e);
    return true;
}

// Finds the member's data behind its local header; offsets are tried with and without the shift.
bool Run::LocateData(const Entry& e, uint64_t& data) {
    uint8_t h[kLocalSize];
    int problem = UZ_ERR;
    for (int attempt = 0; attempt < (shift_ ? 2 : 1); ++attempt) {
        uint64_t pos = e.offset + (attempt == 0 ? shift_ : 0);
        if (pos < e.offset || pos > size_ || size_ - pos < kLocalSize) {
            problem = UZ_EOF;
            continue;
        }
        if (!src_.ReadAt(pos, h, sizeof h) || Get32(h) != kLocalSig) continue;
        data = pos + kLocalSize + Get16(h + 26) + Get16(h + 28);
        if (data > size_ || size_ - data < e.compressed) {
            Note(UZ_EOF, "the archive ends inside this member");
            return false;
        }
        return true;
    }
    Note(problem, problem == UZ_EOF ? "the archive ends before this member" : "no local header (damaged)");
    return false;
}

int Run::CopyStored(const Entry& e, uint64_t pos, uint32_t& crc) {
    uint8_t* in = s_.in.get();
    for (uint64_t left = e.compressed; left > 0;) {
        size_t n = static_cast<size_t>(std::min<uint64_t>(left, kBufferSize));
        if (!src_.ReadAt(pos, in, n)) return UZ_EOF;
        crc = static_cast<uint32_t>(crc32(crc, in, static_cast<uInt>(n)));
        SinkError err = sink_.Write(in, n);
        if (err != SinkError::None) return SinkCode(err);
        pos += n;
        left -= n;
    }
    return UZ_OK;
}

int Run::Inflate(const Entry& e, uint64_t pos, uint32_t& crc) {
    z_stream& z = s_.z;
    inflateReset(&z);
    z.avail_in = 0;
    uint64_t left = e.compressed, produced = 0;
    for (;;) {
        if (z.avail_in == 0 && left > 0) {
            size_t n = static_cast<size_t>(std::min<uint64_t>(left, kBufferSize));
            if (!src_.ReadAt(pos, s_.in.get(), n)) return UZ_EOF;
            z.next_in = s_.in.get();
            z.avail_in = static_cast<uInt>(n);
            pos += n;
            left -= n;
        }
        z.next_out = s_.out.get();
        z.avail_out = static_cast<uInt>(kBufferSize);
        int zr = inflate(&z, Z_NO_FLUSH);
        if (zr == Z_MEM_ERROR) return UZ_MEM;
        if (zr != Z_OK && zr != Z_STREAM_END) return UZ_ERR; // damaged data, or it ends early
        size_t got = kBufferSize - z.avail_out;
        if (got > e.size - produced) return UZ_ERR; // more data than the directory says
        produced += got;
        crc = static_cast<uint32_t>(crc32(crc, s_.out.get(), static_cast<uInt>(got)));
        if (got > 0) {
            SinkError err = sink_.Write(s_.out.get(), got);
            if (err != SinkError::None) return SinkCode(err);
        }
        if (zr == Z_STREAM_END) return produced == e.size ? UZ_OK : UZ_ERR;
    }
}

void Run::ExtractFile(const Entry& e) {
    if (e.flags & 1) return Note(UZ_UNSUP, "encrypted members are not supported; skipped");
    if (e.method != 0 && e.method != 8) return Note(UZ_UNSUP, "unsupported compression method; skipped");
    if (e.method == 0 && e.compressed != e.size) return Note(UZ_ERR, "stored sizes disagree (damaged)");
    uint64_t data = 0;
    if (!LocateData(e, data)) return;
    if (opt_.overwrite != Overwrite::Always && sink_.Exists(s_.path)) {
        if (opt_.overwrite == Overwrite::Never || !ev_.Replace(s_.name)) return;
    }
    size_t slash = s_.path.rfind('/');
    if (slash != std::string::npos && !MakeFolders(s_.path, slash)) return;
    SinkError err = sink_.Create(s_.path);
    if (err != SinkError::None) return Note(SinkCode(err), "cannot create the file");
    uint32_t crc = static_cast<uint32_t>(crc32(0, Z_NULL, 0));
    int code = e.method == 0 ? CopyStored(e, data, crc) : Inflate(e, data, crc);
    if (code == UZ_OK && crc != e.crc) code = UZ_ERR;
    if (code != UZ_OK) {
        sink_.Close(false, 0);
        static constexpr std::string_view damaged = "damaged (bad CRC, size or compressed data); not kept";
        return Note(code, code == UZ_EOF   ? "the archive ends inside this member"
                          : code == UZ_ERR ? damaged
                          : code == UZ_MEM ? "out of memory"
                                           : "write failed (disk full?); not kept");
    }
    err = sink_.Close(true, e.dosTime);
    if (err != SinkError::None) Note(SinkCode(err), "write failed; not kept");
}

int Run::Go() {
    s_.totals = ZipTotals{};
    s_.folders.clear();
    s_.name.clear();
    Directory dir;
    if (!FindDirectory(dir)) {
        Note(UZ_BADERR, "no end of central directory found: not a ZIP archive, or truncated");
        return result_;
    }
    s_.totals.members = dir.entries;
    s_.totals.commentLength = dir.commentLength;
    if (result_ != UZ_OK) return result_;
    shift_ = dir.shift;
    uint64_t pos = dir.start;
    for (uint64_t k = 0; k < dir.entries; ++k) {
        s_.name.clear();
        const uint8_t* h = Fetch(pos, kCentralSize, dir.end);
        if (!h || Get32(h) != kCentralSig) {
            Note(UZ_BADERR, "the central directory is damaged or truncated");
            return result_;
        }
        size_t nameLength = Get16(h + 28), extraLength = Get16(h + 30);
        size_t length = kCentralSize + nameLength + extraLength + Get16(h + 32);
        h = Fetch(pos, length, dir.end);
        if (!h) {
            Note(UZ_BADERR, "the central directory is truncated");
            return result_;
        }
        pos += length;
        s_.name.assign(reinterpret_cast<const char*>(h + kCentralSize), nameLength);
        Entry e;
        if (!ReadEntry(h, extraLength, e)) {
            Note(UZ_ERR, "damaged zip64 sizes; skipped");
            continue;
        }
        lowestOffset_ = std::min(lowestOffset_, e.offset);
        if (!Member(e)) return result_;
    }
    s_.name.clear();
    if (opt_.includeCount > 0 && !matched_) Note(UZ_FIND, "no member matches the names given");
    if (dir.entries == 0 && opt_.includeCount <= 0) Note(UZ_WARN, "the archive is empty");
    // Data in front of the first member: a program stub, whether or not the offsets count it.
    if (dir.entries == 0 ? dir.start > 0 : (shift_ > 0 || (lowestOffset_ > 0 && lowestOffset_ != UINT64_MAX)))
        Note(UZ_WARN, "extra bytes at the start of the archive (a self-extracting program?)");
    return result_;
}

} // namespace

int ZipReader::Extract(ZipSource& source, ZipSink& sink, const ZipOptions& options, ZipEvents& events) {
    if (!Ready()) return UZ_MEM;
    return Run(*s_, source, sink, options, events).Go();
}

} // namespace unzip
