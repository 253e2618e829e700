// Record files reading arbitrary bytes: lines against the line rules (never past the buffer, always
// to an end) and buffered writes that give back exactly what went in.
// The first input byte picks the line capacity; the rest is the file.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "fuzz_check.h"
#include "lib/recfile.h"

namespace {

const std::string FileName = "/tmp/recfile_fuzz_" + std::to_string(getpid()) + ".dat";

// The lines the rules give for the bytes: LF, CR (with an LF right behind it as its partner) and 26
// end a line; the end of the file ends a line that has characters and is the end otherwise. Each line
// comes with the character that ended it (0 for the end of the file).
std::vector<std::pair<std::string, int>> ExpectedLines(const std::string& bytes) {
    std::vector<std::pair<std::string, int>> lines;
    size_t pos = 0;
    while (pos < bytes.size()) {
        std::string line;
        int ended = 0;
        while (pos < bytes.size() && !ended) {
            char c = bytes[pos++];
            if (c == 13 && pos < bytes.size() && bytes[pos] == 10) ++pos;
            if (c == 10 || c == 13 || c == 26)
                ended = c;
            else
                line += c;
        }
        lines.emplace_back(line, ended);
    }
    return lines;
}

void CheckLines(const std::string& bytes, int cap) {
    RecordFile f;
    bool failed;
    OpenRead(f, FileName, failed);
    Check(!failed, "open");
    std::vector<char> buf(cap + 2);
    for (const auto& [line, endedBy] : ExpectedLines(bytes)) {
        std::memset(buf.data(), '#', buf.size());
        int length = ReadLine(f, buf.data(), cap, false);
        Check(!f.Failed, "early end");
        Check(f.EndedBy == endedBy, "the character that ended the line");
        size_t stored = line.size() < static_cast<size_t>(cap) + 1 ? line.size() : cap + 1;
        Check(length == BufLen(buf.data(), cap), "length returned");
        Check(std::memcmp(buf.data(), line.data(), stored) == 0, "line content");
        Check(stored == static_cast<size_t>(cap) + 1 || buf[stored] == 0, "terminator");
        Check(buf[cap + 1] == '#', "wrote past the capacity");
    }
    ReadLine(f, buf.data(), cap, false);
    Check(f.Failed && f.ErrorCode == RecShortRead && buf[0] == 0, "end not reported");
}

void WriteBack(const std::string& bytes, unsigned step) {
    RecordFile f;
    bool failed;
    CreateWrite(f, FileName, failed);
    for (size_t pos = 0; pos < bytes.size(); pos += step)
        WriteBytes(f, bytes.data() + pos, static_cast<int>(std::min<size_t>(step, bytes.size() - pos)));
    Close(f, failed);
    Check(!failed, "close after writing");
    OpenRead(f, FileName, failed);
    std::string back(bytes.size(), 0);
    ReadBytes(f, back.data(), static_cast<int>(back.size()));
    Check(back == bytes && !f.Failed, "written bytes differ");
    SkipBytes(f, 1);
    Check(f.ErrorCode == RecShortRead, "no end after the written bytes");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    ResetTextFormatSettings();
    int cap = data[0];
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    WriteBack(bytes, cap + 1);
    CheckLines(bytes, cap);
    std::remove(FileName.c_str());
    return 0;
}
