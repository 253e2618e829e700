// The practical limit for the benchmark: plain std::to_chars / std::from_chars loops that write and
// read the same Col ASCII text as vexaconv (records of single reals in exponent form with 4 decimals
// and 16-bit ints, blank-delimited, CR LF between records), streaming through 1 MB buffers.
//   convbench write REALS INTS SKIP BINARY TEXT   binary data part (after SKIP bytes) to text
//   convbench read REALS INTS TEXT BINARY         text back to binary records
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr size_t Chunk = 1 << 20;

char* PutReal(char* p, float x) {
    if (!(x < 0)) *p++ = ' ';
    char* end = std::to_chars(p, p + 32, static_cast<double>(x), std::chars_format::scientific, 4).ptr;
    for (char* c = p; c < end; ++c)
        if (*c == 'e') *c = 'E';
    return end;
}

char* PutInt(char* p, int v) {
    char digits[16];
    char* end = std::to_chars(digits, digits + sizeof digits, v).ptr;
    size_t len = static_cast<size_t>(end - digits);
    for (size_t i = len; i < 7; ++i) *p++ = ' ';
    std::memcpy(p, digits, len);
    return p + len;
}

int Write(int reals, int ints, long skip, const char* binary, const char* text) {
    std::FILE* in = std::fopen(binary, "rb");
    std::FILE* out = std::fopen(text, "wb");
    if (!in || !out || std::fseek(in, skip, SEEK_SET) != 0) return 1;
    size_t record = static_cast<size_t>(4 * reals + 2 * ints);
    std::vector<char> src(Chunk / record * record);
    std::vector<char> dst(Chunk * 8);
    bool first = true;
    size_t got;
    while ((got = std::fread(src.data(), 1, src.size(), in)) >= record) {
        char* p = dst.data();
        for (size_t off = 0; off + record <= got; off += record) {
            if (!first) {
                *p++ = '\r';
                *p++ = '\n';
            }
            first = false;
            const char* r = src.data() + off;
            for (int i = 0; i < reals; ++i, r += 4) {
                float x;
                std::memcpy(&x, r, 4);
                if (i > 0) *p++ = ' ';
                p = PutReal(p, x);
            }
            for (int i = 0; i < ints; ++i, r += 2) {
                int16_t v;
                std::memcpy(&v, r, 2);
                *p++ = ' ';
                p = PutInt(p, v);
            }
        }
        std::fwrite(dst.data(), 1, static_cast<size_t>(p - dst.data()), out);
    }
    std::fclose(in);
    return std::fclose(out) == 0 ? 0 : 1;
}

int Read(int reals, int ints, const char* text, const char* binary) {
    std::FILE* in = std::fopen(text, "rb");
    std::FILE* out = std::fopen(binary, "wb");
    if (!in || !out) return 1;
    std::vector<char> buf(Chunk + 4096);
    std::vector<char> dst;
    dst.reserve(Chunk);
    size_t kept = 0;
    int column = 0;
    for (;;) {
        size_t got = std::fread(buf.data() + kept, 1, Chunk, in);
        size_t len = kept + got;
        // Parse whole lines only; the tail waits for the next chunk.
        size_t end = len;
        if (got > 0)
            while (end > 0 && buf[end - 1] != '\n') --end;
        const char* p = buf.data();
        const char* stop = buf.data() + end;
        while (p < stop) {
            while (p < stop && (*p == ' ' || *p == '\r' || *p == '\n')) ++p;
            if (p >= stop) break;
            if (column < reals) {
                double x = 0;
                p = std::from_chars(p, stop, x).ptr;
                float f = static_cast<float>(x);
                dst.insert(dst.end(), reinterpret_cast<char*>(&f), reinterpret_cast<char*>(&f) + 4);
            } else {
                int v = 0;
                p = std::from_chars(p, stop, v).ptr;
                int16_t s = static_cast<int16_t>(v);
                dst.insert(dst.end(), reinterpret_cast<char*>(&s), reinterpret_cast<char*>(&s) + 2);
            }
            column = (column + 1) % (reals + ints);
            while (p < stop && *p != ' ' && *p != '\r' && *p != '\n') ++p;
        }
        std::fwrite(dst.data(), 1, dst.size(), out);
        dst.clear();
        if (got == 0) break;
        kept = len - end;
        std::memmove(buf.data(), buf.data() + end, kept);
    }
    std::fclose(in);
    return std::fclose(out) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 7 && std::strcmp(argv[1], "write") == 0)
        return Write(std::atoi(argv[2]), std::atoi(argv[3]), std::atol(argv[4]), argv[5], argv[6]);
    if (argc == 6 && std::strcmp(argv[1], "read") == 0)
        return Read(std::atoi(argv[2]), std::atoi(argv[3]), argv[4], argv[5]);
    std::fputs("usage: convbench write REALS INTS SKIP BINARY TEXT | read REALS INTS TEXT BINARY\n", stderr);
    return 2;
}
