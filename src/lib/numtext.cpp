// Number text in both directions, the text-format settings and the small numeric helpers.
// Formatting uses std::to_chars and parsing std::from_chars after a syntax check of our own: no
// locale, no streams, no allocation on the paths that every value of a data file takes.
#include <algorithm>
#include <bit>
#include <charconv>
#include <climits>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "lib/realfmt.h"
#include "lib/strnum.h"
#include "lib/strnum_detail.h"

using namespace textdetail;

TextFormatRecord TextFormatSettings = {{13, 10}, -3, 32};

void ResetTextFormatSettings() {
    TextFormatSettings = {{13, 10}, -3, 32};
}

namespace {

// Widths of dynamic-string results are capped so a wild width cannot ask for gigabytes.
constexpr int MaxStrWidth = 4096;

std::string_view PlainDigits(int value, char (&text)[16]) {
    auto r = std::to_chars(text, text + sizeof text, value);
    return std::string_view(text, static_cast<size_t>(r.ptr - text));
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    char u = UpperAscii(c);
    return (u >= 'A' && u <= 'F') ? u - 'A' + 10 : -1;
}

bool IsTrailingTokenJunk(char c) {
    return static_cast<unsigned char>(c) <= 32 || c == ',' || c == '/' || c == ';';
}

} // namespace

// ---- Integers to text -----------------------------------------------------------------------------

void IntToText(int value, int width, char* buf, int n) {
    char text[16];
    StoreJustified(PlainDigits(value, text), width == -1 ? Room(n) : width, buf, n);
}

void IntToPlainText(int value, char* buf, int n) {
    char text[16];
    Store(PlainDigits(value, text), buf, n);
}

std::string IntToStrW(int value, int width) {
    char text[16];
    std::string s(PlainDigits(value, text));
    long long target = std::min<long long>(width < 0 ? -static_cast<long long>(width) : width, MaxStrWidth);
    if (static_cast<long long>(s.size()) >= target) return s;
    size_t pad = static_cast<size_t>(target) - s.size();
    return width > 0 ? std::string(pad, ' ') + s : s + std::string(pad, ' ');
}

// Zeros go after a minus sign, so -7 in width 3 reads -07.
std::string IntToStrZ(int value, int width) {
    char text[16];
    std::string s(PlainDigits(value, text));
    int target = std::min(width, MaxStrWidth);
    if (static_cast<int>(s.size()) >= target) return s;
    s.insert(value < 0 ? 1 : 0, static_cast<size_t>(target) - s.size(), '0');
    return s;
}

// The digits are the value's 32-bit pattern, so a negative value always shows all eight of them and
// reads back through TextToInt as the same value.
void IntToHexText(int value, int bytes, char* buf, int n) {
    char digits[8];
    int count = 0;
    for (uint32_t bits = static_cast<uint32_t>(value); bits != 0 || count == 0; bits >>= 4)
        digits[count++] = HexDigit(static_cast<int>(bits & 15));
    int pos = 0;
    BufAppend("$", buf, pos, n);
    long long zeros = std::min<long long>(2LL * bytes - count, Room(n));
    for (long long i = 0; i < zeros; ++i) BufAppend("0", buf, pos, n);
    for (int i = count - 1; i >= 0; --i) BufAppend(std::string_view(&digits[i], 1), buf, pos, n);
}

// ---- Reals to text --------------------------------------------------------------------------------

int RealToText(int width, int decimals, char* buf, int n, double x) {
    // The usual case, the exponent form in a buffer with room to spare, is written in place.
    if (decimals < 0 && width >= 1 && n >= RealExponentCap) {
        int len = RealExponentText(decimals, x, buf);
        if (width <= len) {
            buf[len] = 0;
            return len;
        }
        char text[RealExponentCap];
        std::memcpy(text, buf, static_cast<size_t>(len));
        StoreJustified(std::string_view(text, static_cast<size_t>(len)), width, buf, n);
        return BufLen(buf, n);
    }
    if (Room(n) == 0) return 0;
    char text[RealCoreCap];
    int len = RealCoreText(decimals, x, text);
    if (width >= 1) {
        StoreJustified(std::string_view(text, static_cast<size_t>(len)), width, buf, n);
        return BufLen(buf, n);
    }
    int compact = 0;
    for (int i = 0; i < len; ++i)
        if (text[i] != ' ') text[compact++] = text[i];
    Store(std::string_view(text, static_cast<size_t>(compact)), buf, n);
    return BufLen(buf, n);
}

TextBuf<29> RealToTextStd(double x) {
    TextBuf<29> out;
    RealToTextStd(x, out.c);
    return out;
}

int RealToTextStd(double x, char* out) {
    return RealToText(RealTextWidth(), TextFormatSettings.Decimals, out, TextBuf<29>::Cap, x);
}

int RealTextWidth() {
    long long width = 7LL - TextFormatSettings.Decimals;
    return static_cast<int>(std::clamp<long long>(width, INT_MIN, INT_MAX));
}

// ---- Text to numbers ------------------------------------------------------------------------------

// Plain decimal numbers of at most 19 digits with a mantissa M <= 2^53 and a decimal exponent e
// within +-22 are M * 10^e or M / 10^-e of two exact doubles, and one correctly rounded operation
// gives the correctly rounded value, as std::from_chars does (Clinger's fast way). Only where double
// arithmetic is not wider than double; everything else goes to std::from_chars.
std::from_chars_result RealFromChars(const char* first, const char* last, double& value) {
#if FLT_EVAL_METHOD == 0
    static constexpr double ExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = first;
    bool negative = p < last && *p == '-';
    if (negative) ++p;
    uint64_t mantissa = 0;
    int digits = 0; // taken into the mantissa, which 19 digits cannot overflow
    int exponent = 0;
    auto take = [&](bool fraction) {
        const char* from = p;
        while (p < last && IsDigit(*p)) ++p;
        for (const char* d = from; d < p; ++d) mantissa = mantissa * 10 + static_cast<uint64_t>(*d - '0');
        digits += static_cast<int>(p - from);
        if (fraction) exponent -= static_cast<int>(p - from);
    };
    take(false);
    if (p < last && *p == '.') {
        ++p;
        take(true);
    }
    bool plain = digits > 0 && digits <= 19;
    if (plain && p < last && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        bool down = q < last && *q == '-';
        if (q < last && (*q == '-' || *q == '+')) ++q;
        int written = 0;
        int e = 0;
        for (; q < last && IsDigit(*q) && written < 4; ++q, ++written) e = e * 10 + (*q - '0');
        plain = written > 0 && !(q < last && IsDigit(*q));
        exponent += down ? -e : e;
        p = q;
    }
    if (plain && mantissa <= (uint64_t{1} << 53) && exponent >= -22 && exponent <= 22) {
        double m = static_cast<double>(mantissa);
        double x = exponent >= 0 ? m * ExactPowersOfTen[exponent] : m / ExactPowersOfTen[-exponent];
        value = negative ? -x : x;
        return {p, std::errc()};
    }
#endif
    return std::from_chars(first, last, value, std::chars_format::general);
}

// Decimal integers outside the 32-bit range are invalid. After "$" up to eight significant hex
// digits are a 32-bit pattern ($FFFFFFFF is -1), so hex text written by IntToHexText reads back.
int TextToIntOk(std::string_view s, bool& ok) {
    ok = false;
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    bool hex = i < s.size() && s[i] == '$';
    if (hex) ++i;
    if (i == s.size()) return 0;
    uint64_t value = 0;
    for (; i < s.size(); ++i) {
        int digit = hex ? HexValue(s[i]) : (IsDigit(s[i]) ? s[i] - '0' : -1);
        if (digit < 0) return 0;
        value = value * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
        if (value > (hex ? 0xFFFFFFFFull : 0x80000000ull)) return 0;
    }
    uint32_t bits = static_cast<uint32_t>(value);
    if (!hex && !negative && value > 0x7FFFFFFFull) return 0;
    ok = true;
    return std::bit_cast<int32_t>(negative ? 0u - bits : bits);
}

// Syntax: blanks, sign, digits with an optional fraction (at least one digit in all), optional
// exponent E or e with sign and digits, nothing after. Values beyond the double range are invalid;
// values too small for it read as zero.
double TextToRealOk(std::string_view s, bool& ok) {
    ok = false;
    size_t i = 0;
    auto digitsFrom = [&](size_t& at) {
        size_t from = at;
        while (at < s.size() && IsDigit(s[at])) ++at;
        return at - from;
    };
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    size_t numberStart = i;
    size_t intDigits = digitsFrom(i);
    size_t fracDigits = 0;
    if (i < s.size() && s[i] == '.') fracDigits = digitsFrom(++i);
    if (intDigits + fracDigits == 0) return 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (digitsFrom(i) == 0) return 0;
    }
    if (i != s.size()) return 0;
    double value = 0;
    auto r = RealFromChars(s.data() + numberStart, s.data() + s.size(), value);
    if (r.ec == std::errc::result_out_of_range) {
        // Tell underflow from overflow by the decimal magnitude of the first significant digit.
        std::string_view number = s.substr(numberStart);
        size_t exp = number.find_first_of("Ee");
        std::string_view mantissa = number.substr(0, exp);
        long long magnitude = static_cast<long long>(intDigits) - 1;
        for (char c : mantissa) {
            if (c == '.') continue;
            if (c != '0') break;
            --magnitude;
        }
        if (exp != std::string_view::npos) {
            long long e = 0;
            std::string_view text = number.substr(exp + 1);
            bool expNegative = !text.empty() && text[0] == '-';
            for (char c : text)
                if (IsDigit(c)) e = std::min(e * 10 + (c - '0'), 1000000LL);
            magnitude += expNegative ? -e : e;
        }
        if (magnitude >= 0) return 0;
        value = 0;
    } else if (r.ec != std::errc() || r.ptr != s.data() + s.size()) {
        return 0;
    }
    ok = true;
    return negative ? -value : value;
}

int TextToInt(std::string_view s) {
    bool ok = false;
    return TextToIntOk(s, ok);
}

double TextToReal(std::string_view s) {
    bool ok = false;
    return TextToRealOk(s, ok);
}

int DigitsToInt(std::string_view s) {
    char digits[128];
    size_t count = 0;
    for (char c : s)
        if (IsDigit(c) && count < sizeof digits) digits[count++] = c;
    return TextToInt(std::string_view(digits, count));
}

int SubToInt(const char* buf, int n, int start, int count) {
    int len = BufLen(buf, n);
    if (start < 0 || count < 1 || start >= len) return 0;
    return TextToInt(std::string_view(buf + start, static_cast<size_t>(std::min(count, len - start))));
}

void NextNumberToken(char* buf, int n, std::string& token) {
    int len = BufLen(buf, n);
    TokenSpan t = FindToken(buf, len, true);
    token.assign(buf + t.begin, static_cast<size_t>(t.end - t.begin));
    BufDelete(buf, n, 0, t.rest);
}

int TokenToInt(char* buf, int n) {
    int len = BufLen(buf, n);
    int end = len;
    while (end > 0 && IsTrailingTokenJunk(buf[end - 1])) --end;
    if (end < len) std::memset(buf + end, 0, static_cast<size_t>(len - end));
    TokenSpan t = FindToken(buf, end, true);
    int value = TextToInt(std::string_view(buf + t.begin, static_cast<size_t>(t.end - t.begin)));
    BufDelete(buf, n, 0, t.rest);
    return value;
}

// ---- Characters and small helpers -----------------------------------------------------------------

bool IsYes(std::string_view s) {
    size_t i = s.find_first_not_of(' ');
    return i != std::string_view::npos && UpperAscii(s[i]) == 'Y';
}

char YesNoChar(bool value) {
    return value ? 'Y' : 'N';
}

// Values outside 0..200 have no digit character and give character 255.
char DigitChar(int value) {
    if (value < 0 || value > 200) return static_cast<char>(255);
    return static_cast<char>(value < 10 ? '0' + value : 'A' + value - 10);
}

int CharDigit(char ch) {
    int c = static_cast<unsigned char>(UpperAscii(ch));
    if (c < '0') return 255;
    if (c <= '9') return c - '0';
    if (c < 'A') return 254;
    return c - 'A' + 10;
}

bool IsDigitChar(char ch) {
    return IsDigit(ch);
}

char HexDigit(int value) {
    return "0123456789ABCDEF"[value & 15];
}

int IntMin(int a, int b) {
    return a < b ? a : b;
}

int IntMax(int a, int b) {
    return a > b ? a : b;
}

int IntClamp(int x, int low, int high) {
    if (x < low) return low;
    if (x <= high) return x;
    return high < low ? low : high;
}

bool TensInList(int value, std::initializer_list<int> list) {
    return std::find(list.begin(), list.end(), value / 10) != list.end();
}

// Exact: adding 0.5 in floating point would turn 0.49999999999999994 into 1 and odd integers above
// 2^52 into their even neighbours. NaN gives 0; values beyond the 64-bit range are clamped.
int64_t RoundHalfAway(double x) {
    if (std::isnan(x)) return 0;
    double r = std::round(x);
    if (r >= 9223372036854775807.0) return INT64_MAX;
    if (r <= -9223372036854775808.0) return INT64_MIN;
    return static_cast<int64_t>(r);
}

// NaN gives 0, so a binary data file never receives one.
float ClampToSingle(double x) {
    if (std::isnan(x)) return 0.0f;
    if (x > 3.4e38) return 3.4e38f;
    if (x < -3.4e38) return -3.4e38f;
    if (std::fabs(x) < 1.5e-45) return 0.0f;
    return static_cast<float>(x);
}

int32_t ClampToInt32(uint32_t value) {
    return value >= 0x80000000u ? INT32_MAX : static_cast<int32_t>(value);
}

void SetBit(uint32_t& mask, int bit) {
    if (bit >= 0 && bit < 32) mask |= uint32_t{1} << bit;
}

void ClearBit(uint32_t& mask, int bit) {
    if (bit >= 0 && bit < 32) mask &= ~(uint32_t{1} << bit);
}

bool TestBit(uint32_t mask, int bit) {
    return bit >= 0 && bit < 32 && (mask >> bit & 1u) != 0;
}

// Codes without a character of their own (0, negative, above 255) give the default blank, so a
// damaged setting cannot put NULs or nothing between columns.
std::string DelimiterText(int code) {
    switch (code) {
    case 31:
        return "  ";
    case 17:
        return "\";\"";
    case 18:
        return "\"\t\"";
    case 29:
        return " & ";
    case 30:
        return "\r\n";
    default:
        break;
    }
    if (code < 1 || code > 255) return " ";
    return std::string(1, static_cast<char>(code));
}
