// Reading a data file's records into arrays.
#include "convert/convread.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "convert/convlayout.h"

namespace {

// The C library seeks with a long, which is 32 bits on Windows: large skips go in steps.
bool SkipForward(std::FILE* file, int64_t bytes) {
    constexpr int64_t Step = 1 << 30;
    for (; bytes > 0; bytes -= Step)
        if (std::fseek(file, static_cast<long>(std::min(bytes, Step)), SEEK_CUR) != 0) return false;
    return true;
}

// Whole items of `size` bytes read into out; fread is asked for at most 1 GB at a time.
int64_t ReadItems(std::FILE* file, unsigned char* out, int size, int64_t count) {
    int64_t perCall = std::max<int64_t>(1, (1 << 30) / size);
    int64_t done = 0;
    while (done < count) {
        size_t want = static_cast<size_t>(std::min(perCall, count - done));
        size_t got = std::fread(out + done * size, static_cast<size_t>(size), want, file);
        done += static_cast<int64_t>(got);
        if (got < want) break;
    }
    return done;
}

uint32_t Le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

float RealAt(const unsigned char* p) {
    uint32_t bits = Le32(p);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

int IntAt(const unsigned char* p) {
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}

} // namespace

int64_t DataPart::RecordsOfBlock(int64_t b) const {
    if (PerBlock == 0) return Records;
    return std::clamp<int64_t>(Records - b * PerBlock, 0, PerBlock);
}

DataPart DataPartOf(const LookFile& file) {
    const DataLook& look = file.Look();
    DataPart part;
    part.Path = file.BinaryPath();
    part.Offset = file.DataOffset();
    part.Version = look.Version;
    part.Reals = look.Reals;
    part.Ints = look.Ints;
    part.PerBlock = look.PerBlock;
    if (look.Kind == 'A') part.HeaderBytes = convlayout::BinarySize(convlayout::BlockHeaderA(look.Version));
    if (!look.Readable() || !look.Note.empty() || part.RecordBytes() == 0) return part;
    std::error_code ec;
    auto size = std::filesystem::file_size(part.Path, ec);
    int64_t data = ec ? 0 : static_cast<int64_t>(size) - part.Offset;
    if (data <= 0) return part;
    if (part.PerBlock == 0) {
        part.Records = data / part.RecordBytes();
        return part;
    }
    int64_t rest = data % part.BlockBytes();
    bool lastHeader = rest >= part.HeaderBytes; // a last, partial block whose header is whole
    part.Blocks = data / part.BlockBytes() + (lastHeader ? 1 : 0);
    part.Records = data / part.BlockBytes() * part.PerBlock +
                   (lastHeader ? (rest - part.HeaderBytes) / part.RecordBytes() : 0);
    return part;
}

RecordReader::~RecordReader() {
    if (file_) std::fclose(file_);
}

bool RecordReader::Open(int64_t block, std::string& error) {
    file_ = std::fopen(part_.Path.c_str(), "rb");
    if (!file_) {
        error = "cannot be opened";
        return false;
    }
    int64_t skip = part_.Offset + (part_.PerBlock ? block * part_.BlockBytes() : 0);
    if (!SkipForward(file_, skip)) {
        error = "cannot be read";
        return false;
    }
    leftInBlock_ = 0;
    return true;
}

int64_t RecordReader::Read(unsigned char* out, int64_t count) {
    int size = part_.RecordBytes();
    std::vector<unsigned char> header(static_cast<size_t>(part_.HeaderBytes));
    int64_t done = 0;
    while (done < count) {
        int64_t run = count - done;
        if (part_.PerBlock) {
            if (leftInBlock_ == 0 && !ReadHeader(header.data())) break;
            run = std::min(run, leftInBlock_);
        }
        int64_t got = ReadItems(file_, out + done * size, size, run);
        done += got;
        if (part_.PerBlock) leftInBlock_ -= got;
        if (got < run) break;
    }
    return done;
}

bool RecordReader::ReadHeader(unsigned char* out) {
    size_t bytes = static_cast<size_t>(part_.HeaderBytes);
    if (std::fread(out, 1, bytes, file_) != bytes) return false;
    leftInBlock_ = part_.PerBlock;
    return true;
}

void RecordsToDoubles(const DataPart& part, const unsigned char* bytes, int64_t count, double* out) {
    int size = part.RecordBytes();
    for (int64_t r = 0; r < count; ++r) {
        const unsigned char* p = bytes + r * size;
        for (int c = 0; c < part.Reals; ++c, p += 4) *out++ = RealAt(p);
        for (int c = 0; c < part.Ints; ++c, p += 2) *out++ = IntAt(p);
    }
}

std::vector<LookField> BlockHeaderFields(int version, const unsigned char* bytes) {
    using convlayout::FieldType;
    static const char* const typeNames[] = {"Int", "Word", "Real", "Text"};
    std::vector<LookField> fields;
    int counts[4] = {};
    for (const convlayout::Field& f : convlayout::BlockHeaderA(version)) {
        for (int i = 0; i < f.Count; ++i) {
            int type = static_cast<int>(f.Type);
            LookField field;
            field.Name = std::string(typeNames[type]) + " " + std::to_string(++counts[type]);
            if (f.Type == FieldType::Text) {
                const char* text = reinterpret_cast<const char*>(bytes);
                field.Value.assign(text, std::find(text, text + f.Size, '\0'));
                bytes += f.Size + 1;
            } else if (f.Type == FieldType::Real) {
                char text[32];
                auto r = std::to_chars(text, text + sizeof text, RealAt(bytes));
                field.Value.assign(text, r.ptr);
                field.Number = std::isfinite(RealAt(bytes));
                bytes += 4;
            } else {
                field.Value =
                    std::to_string(f.Type == FieldType::Word ? IntAt(bytes) & 0xFFFF : IntAt(bytes));
                field.Number = true;
                bytes += 2;
            }
            fields.push_back(std::move(field));
        }
    }
    return fields;
}
