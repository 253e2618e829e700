#include "datagen/sample_data.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

namespace sampledata {

namespace {

// Layouts as words: i<n> ints, w<n> words, r<n> reals, t<n> one text of capacity n; X XOffset,
// S XStart, P XStep.
constexpr const char* HeaderBefore20 = "i2 t59 t9 t1 t7 w2 r4 t19 r9 w2 t1 t9 t7 t7 t19 t11 t23 t23 t19 "
                                       "t19 w4 r9 w3 r10 r1 X S P r1 w1 r13";
constexpr const char* HeaderFrom20 = "t9 t59 t7 w1 i1 t9 t3 t1 t7 i2 r4 t19 r9 w2 t1 t19 t7 t23 t23 t23 "
                                     "t23 r1 w4 r20 i2 r13 P X S i2";
// The extended block: ten lines of two ints and seven reals, three of two reals and a text, eight
// ints, five lines of four reals, a text.
constexpr const char* Extended =
    "i2 r7 i2 r7 i2 r7 i2 r7 i2 r7 i2 r7 i2 r7 i2 r7 i2 r7 i2 r7 r2 t7 r2 t7 r2 t7 i8 r4 r4 r4 r4 r4 t47";
constexpr const char* BlockFrom20 = "t63 i4 r3 i6 r12 i4";
constexpr const char* BlockBefore20 = "t11 i10 r12";

constexpr int AttachmentSize = 1024;
constexpr int LongTExtra = 144;

uint32_t Mix(uint64_t a, uint64_t b, uint32_t seed) {
    uint64_t h = a * 0x9E3779B97F4A7C15ull ^ (b + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full ^ seed;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    return static_cast<uint32_t>(h);
}

// Header values of field number f: varied signs, magnitudes and text lengths.
int HeaderInt(int f) {
    return (f * 37) % 2001 - 1000;
}
int HeaderWord(int f) {
    return (f * 911 + 40000) % 65536;
}
float HeaderReal(int f) {
    double mantissa = 1 + (f * 7919 % 9000) / 1000.0;
    double value = mantissa * std::pow(10.0, f % 11 - 5);
    return static_cast<float>(f % 3 == 0 ? -value : value);
}
// Letters, digits and an inner blank; never a trailing blank, "*" or ";", so every text survives the
// way through text lines and ";" field lines. Some fill their field completely.
std::string HeaderText(int f, int capacity) {
    int len = f % (capacity + 2);
    std::string text;
    for (int i = 0; i < len; ++i)
        text += i % 5 == 4 && i + 1 < len ? ' ' : static_cast<char>('A' + (f + i) % 26);
    return text;
}

// Little-endian sinks: one writes bytes (up to a limit), one notes what each byte range is.
class ByteSink {
  public:
    ByteSink(std::FILE* file, std::string* memory, int64_t limit)
        : file_(file), memory_(memory), limit_(limit) {}
    ~ByteSink() { Flush(); }
    void Raw(const void* data, int n, Span) {
        const char* p = static_cast<const char*>(data);
        for (int i = 0; i < n && written_ < limit_; ++i, ++written_) {
            buf_[len_++] = p[i];
            if (len_ == sizeof buf_) Flush();
        }
    }
    void Int(int value, Span type) {
        unsigned char b[2] = {static_cast<unsigned char>(value & 0xFF),
                              static_cast<unsigned char>((value >> 8) & 0xFF)};
        Raw(b, 2, type);
    }
    void Real(float value, Span type) {
        uint32_t bits;
        std::memcpy(&bits, &value, 4);
        unsigned char b[4] = {static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
                              static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
        Raw(b, 4, type);
    }
    void Text(const std::string& text, int capacity) {
        std::string field(static_cast<size_t>(capacity) + 1, '\0');
        std::memcpy(field.data(), text.data(), text.size() < field.size() ? text.size() : field.size());
        Raw(field.data(), capacity + 1, Span::Text);
    }
    bool Ok() const { return ok_; }

  private:
    void Flush() {
        if (len_ == 0) return;
        if (file_ && std::fwrite(buf_, 1, len_, file_) != len_) ok_ = false;
        if (memory_) memory_->append(buf_, len_);
        len_ = 0;
    }
    std::FILE* file_;
    std::string* memory_;
    int64_t limit_;
    int64_t written_ = 0;
    char buf_[1 << 16];
    size_t len_ = 0;
    bool ok_ = true;
};

class MapSink {
  public:
    void Raw(const void*, int n, Span type) { Note(n, type); }
    void Int(int, Span type) { Note(2, type); }
    void Real(float, Span type) { Note(4, type); }
    void Text(const std::string&, int capacity) { Note(capacity + 1, Span::Text); }
    std::vector<FieldSpan> Spans;

  private:
    void Note(int n, Span type) {
        Spans.push_back({offset_, n, type});
        offset_ += n;
    }
    int64_t offset_ = 0;
};

template <class Sink>
void Fields(const SampleSpec& spec, const char* layout, Sink& sink, int& f, Span realType) {
    std::string_view words(layout);
    while (!words.empty()) {
        size_t end = words.find(' ');
        std::string_view word = words.substr(0, end);
        words = end == std::string_view::npos ? std::string_view() : words.substr(end + 1);
        int count = word.size() > 1 ? std::atoi(std::string(word.substr(1)).c_str()) : 1;
        char type = word[0];
        for (int i = 0; i < (type == 't' ? 1 : count); ++i, ++f) {
            bool zero = spec.ZeroHeader;
            switch (type) {
            case 'i':
                sink.Int(zero ? 0 : HeaderInt(f), Span::Int);
                break;
            case 'w':
                sink.Int(zero ? 0 : HeaderWord(f), Span::Word);
                break;
            case 'r':
                sink.Real(zero ? 0.0f : HeaderReal(f), realType);
                break;
            case 't':
                sink.Text(zero ? std::string() : HeaderText(f, count), count);
                break;
            case 'X':
                sink.Int(spec.XOffset, Span::Int);
                break;
            case 'S':
                sink.Int(spec.XStart, Span::Int);
                break;
            case 'P':
                sink.Real(spec.XStep, Span::HeaderReal);
                break;
            }
        }
    }
}

template <class Sink> void Record(const SampleSpec& spec, const Shape& shape, int64_t r, Sink& sink) {
    for (int c = 0; c < shape.Reals; ++c) sink.Real(static_cast<float>(DataReal(spec, r, c)), Span::DataReal);
    for (int c = 0; c < shape.Ints; ++c) sink.Int(DataInt(spec, r, c), Span::DataInt);
}

template <class Sink> void Walk(const SampleSpec& spec, Sink& sink) {
    std::string ident = Ident(spec);
    sink.Raw(ident.data(), 40, Span::Ident);
    int f = 0;
    Fields(spec, spec.Version >= 20 ? HeaderFrom20 : HeaderBefore20, sink, f, Span::HeaderReal);
    if (spec.Kind == 'T' && spec.LongHeaderT) {
        char extra[LongTExtra] = {};
        sink.Raw(extra, LongTExtra, Span::Extra);
    }
    if (spec.Version >= 20) Fields(spec, Extended, sink, f, Span::ExtendedReal);
    if (spec.Attachment) {
        char attachment[AttachmentSize];
        for (int i = 0; i < AttachmentSize; ++i) attachment[i] = static_cast<char>((i * 7 + 3) & 0xFF);
        sink.Raw(attachment, AttachmentSize, Span::Attachment);
    }
    Shape shape = ShapeOf(spec.Kind, spec.Version);
    if (shape.PerBlock == 0) {
        for (int64_t r = 0; r < spec.Records; ++r) Record(spec, shape, r, sink);
        return;
    }
    for (int64_t b = 0; b < spec.Records; ++b) {
        int blockField = 1000 + static_cast<int>(b % 1000) * 40;
        Fields(spec, spec.Version >= 20 ? BlockFrom20 : BlockBefore20, sink, blockField, Span::HeaderReal);
        for (int i = 0; i < shape.PerBlock; ++i) Record(spec, shape, b * shape.PerBlock + i, sink);
    }
}

} // namespace

Shape ShapeOf(char kind, int version) {
    switch (kind) {
    case 'K':
        return {2, 0, 0};
    case 'Q':
        return {6, 0, 0};
    case 'Y':
        return {1, 0, 0};
    case 'A':
        return version >= 20 ? Shape{20, 2, 30} : Shape{7, 2, 20};
    default:
        return {35, 2, 0};
    }
}

std::string Ident(const SampleSpec& spec) {
    std::string id = "SW0-DAT-20.0-A" + std::string(1, spec.Kind) + " SAMPLE    000GENERATOR01";
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02d", spec.Version % 100);
    id.replace(8, 2, digits);
    if (spec.OldNumbering) {
        // The older numbering for versions 8..19: two-digit codes, and 340..349 for 16..19.
        static const char* codes[] = {"99.", "12.", "13.", "20.", "30.", "31.",
                                      "32.", "33.", "340", "343", "345", "348"};
        int v = spec.Version < 8 ? 8 : spec.Version > 19 ? 19 : spec.Version;
        id[2] = '1';
        id.replace(8, 3, codes[v - 8]);
    }
    if (spec.Kind == 'T' && spec.LongHeaderT) id[13] = '8';
    if (spec.Attachment) id.replace(26, 3, "001");
    return id;
}

double DataReal(const SampleSpec& spec, int64_t record, int column) {
    if (!spec.Reals.empty()) {
        Shape shape = ShapeOf(spec.Kind, spec.Version);
        return spec.Reals[static_cast<size_t>(record * shape.Reals + column) % spec.Reals.size()];
    }
    if (spec.Kind == 'A' && column == 0) {
        static const double firsts[] = {0.0, 1.0, 1.1, 2.5, 37.0}; // kind A's Col ASCII skips the first two
        return static_cast<float>(firsts[record % 5]);
    }
    uint32_t h = Mix(static_cast<uint64_t>(record), static_cast<uint64_t>(column), spec.Seed);
    double mantissa = 1 + (h % 900000) / 100000.0;
    int exponent = static_cast<int>((h >> 20) % 13) - 6;
    double value = mantissa * std::pow(10.0, exponent);
    return static_cast<float>((h >> 8) & 1 ? -value : value);
}

int DataInt(const SampleSpec& spec, int64_t record, int column) {
    if (!spec.Ints.empty()) {
        Shape shape = ShapeOf(spec.Kind, spec.Version);
        return spec.Ints[static_cast<size_t>(record * shape.Ints + column) % spec.Ints.size()];
    }
    return static_cast<int>(Mix(static_cast<uint64_t>(record), 1000u + column, spec.Seed) % 65536) - 32768;
}

int64_t FullSize(const SampleSpec& spec) {
    SampleSpec header = spec;
    header.Records = 0;
    MapSink map;
    Walk(header, map);
    int64_t size = map.Spans.empty() ? 0 : map.Spans.back().Offset + map.Spans.back().Size;
    Shape shape = ShapeOf(spec.Kind, spec.Version);
    int64_t record = 4 * shape.Reals + 2 * shape.Ints;
    int64_t unit = shape.PerBlock ? (spec.Version >= 20 ? 152 : 80) + shape.PerBlock * record : record;
    return size + spec.Records * unit;
}

std::string Bytes(const SampleSpec& spec) {
    std::string bytes;
    {
        auto sink = std::make_unique<ByteSink>(nullptr, &bytes, FullSize(spec) - spec.Cut);
        Walk(spec, *sink);
    }
    return bytes;
}

bool WriteFile(const SampleSpec& spec, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok;
    {
        auto sink = std::make_unique<ByteSink>(file, nullptr, FullSize(spec) - spec.Cut);
        Walk(spec, *sink);
        ok = sink->Ok();
    }
    return std::fclose(file) == 0 && ok;
}

std::vector<FieldSpan> FieldMap(const SampleSpec& spec) {
    MapSink map;
    Walk(spec, map);
    return map.Spans;
}

} // namespace sampledata
