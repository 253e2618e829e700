// Arbitrary bytes as an archive for UnZip32.DLL's reader core. The sink writes nothing but checks what
// a real one would be asked to write: every path must stay below the target folder, every file must be
// closed, and no file may grow past the size the directory declares.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "unzip32/zipreader.h"

namespace {

class CheckingSink : public unzip::ZipSink {
  public:
    unzip::SinkError MakeFolder(const std::string& path) override { return Check(path); }
    bool Exists(const std::string& path) override { return Check(path), path.size() % 2 == 0; }
    unzip::SinkError Create(const std::string& path) override {
        if (open_) std::abort();
        open_ = true;
        return Check(path);
    }
    unzip::SinkError Write(const void*, size_t n) override {
        if (!open_) std::abort();
        written_ += n;
        return unzip::SinkError::None;
    }
    unzip::SinkError Close(bool, uint32_t) override {
        if (!open_) std::abort();
        open_ = false;
        return unzip::SinkError::None;
    }
    bool Open() const { return open_; }
    uint64_t Written() const { return written_; }

  private:
    static unzip::SinkError Check(const std::string& path) {
        if (path.empty() || path[0] == '/' || path.find(':') != std::string::npos ||
            path.find('\\') != std::string::npos || ("/" + path + "/").find("/../") != std::string::npos)
            std::abort();
        return unzip::SinkError::None;
    }
    bool open_ = false;
    uint64_t written_ = 0;
};

unzip::ZipReader& Reader() {
    static unzip::ZipReader reader;
    return reader;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    unzip::MemorySource source(data, size);
    CheckingSink sink;
    unzip::ZipOptions options;
    options.overwrite = size % 3 == 0 ? unzip::Overwrite::Ask : unzip::Overwrite::Always;
    unzip::ZipEvents events;
    int result = Reader().Extract(source, sink, options, events);
    if (sink.Open() || result < 0 || sink.Written() > Reader().Totals().size) std::abort();
    return 0;
}
