// Number text and tokenizers under arbitrary input. The first bytes choose a value and the
// formatting arguments; the whole input is also parsed and tokenized as text. Checks: formatted
// reals read back within half a unit of their last digit, parsed numbers format and read back to
// themselves, the short way of reading a real gives what std::from_chars gives, tokenizer loops end,
// and nothing touches memory outside its buffer (buffers are allocated at their exact size, so the
// sanitizer sees any overrun).
#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "lib/strnum.h"

namespace {

// A heap buffer of exactly n+1 bytes holding the text (cut to fit, NULs after when shorter).
std::vector<char> Exact(std::string_view text, int n) {
    std::vector<char> buf(static_cast<size_t>(n + 1), 0);
    std::memcpy(buf.data(), text.data(), std::min(text.size(), buf.size()));
    return buf;
}

double Clamped(double x) {
    if (std::isnan(x) || x == 0) return 0;
    double m = std::fmin(std::fmax(std::fabs(x), 1e-99), 1e99);
    return x < 0 ? -m : m;
}

void RoundTripReal(double x, int places, int width) {
    TextBuf<63> text;
    RealToText(width, -places, text.c, text.Cap, x);
    bool ok = false;
    double back = TextToRealOk(text.View(), ok);
    Check(ok);
    double want = Clamped(x);
    double unit = want == 0 ? 0 : std::pow(10.0, std::floor(std::log10(std::fabs(want))) - places);
    Check(std::fabs(back - want) <= 0.5 * unit * (1 + 1e-9) + std::fabs(want) * 1e-15);
}

void ParseAndReformat(std::string_view s) {
    bool ok = false;
    int i = TextToIntOk(s, ok);
    if (ok) {
        TextBuf<15> plain;
        IntToPlainText(i, plain.c, plain.Cap);
        bool again = false;
        Check(TextToIntOk(plain.View(), again) == i && again);
    } else {
        Check(i == 0);
    }
    double fast = 7, full = 7;
    auto a = RealFromChars(s.data(), s.data() + s.size(), fast);
    auto b = std::from_chars(s.data(), s.data() + s.size(), full, std::chars_format::general);
    Check(a.ptr == b.ptr && a.ec == b.ec && std::bit_cast<uint64_t>(fast) == std::bit_cast<uint64_t>(full),
          "RealFromChars differs from from_chars");
    double r = TextToRealOk(s, ok);
    Check(std::isfinite(r));
    if (ok && std::fabs(r) >= 1e-99 && std::fabs(r) <= 1e99) RoundTripReal(r, 17, 0);
    if (!ok) Check(r == 0);
}

void Tokenize(std::string_view s, int n) {
    auto numbers = Exact(s, n);
    std::string token;
    for (int guard = 0;; ++guard) {
        Check(guard <= n + 1);
        int before = BufLen(numbers.data(), n);
        NextNumberToken(numbers.data(), n, token);
        if (token.empty()) break;
        Check(BufLen(numbers.data(), n) < before);
        TextToReal(token);
    }
    auto ints = Exact(s, n);
    for (int guard = 0; BufLen(ints.data(), n) > 0; ++guard) {
        Check(guard <= n + 1);
        TokenToInt(ints.data(), n);
    }
    auto line = Exact(s, n), field = Exact(s, n / 2);
    for (int guard = 0; BufLen(line.data(), n) > 0; ++guard) {
        Check(guard <= n + 1);
        BufSplitAt(';', line.data(), n, field.data(), n / 2);
    }
    auto comment = Exact(s, n);
    BufCutComment(comment.data(), n);
    Check(BufLen(comment.data(), n) <= BufLen(Exact(s, n).data(), n));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 11) return 0;
    double x;
    std::memcpy(&x, data, sizeof x);
    int places = data[8] % 17 + 1;
    int width = data[9] % 30;
    int n = data[10] % 80;
    RoundTripReal(x, places, width);
    TextBuf<63> fixed;
    RealToText(width, data[9] % 7, fixed.c, fixed.Cap, x);
    std::string_view text(reinterpret_cast<const char*>(data) + 11, size - 11);
    ParseAndReformat(text);
    Tokenize(text, n);
    return 0;
}
