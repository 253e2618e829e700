// Real-number digits for the data files. std::to_chars with a precision rounds to nearest on the exact
// binary value but breaks exact ties towards an even digit; the program's texts break them away from
// zero. An exact tie is recognised from the binary form alone (below), and only then the digits are
// produced one place longer (exactly, ending in 5) and rounded up by hand. Nothing here allocates.
#include "lib/realfmt.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// Every double of magnitude 1e-99 or more has at most 382 decimals, so 400 places are exact.
constexpr int MaxFixedDecimals = 400;
constexpr int MaxExpDecimals = 17;

// A finite non-zero magnitude as Odd * 2^Exp2 with Odd odd.
struct BinaryValue {
    uint64_t Odd;
    int Exp2;
};

BinaryValue Decompose(double magnitude) {
    uint64_t bits = std::bit_cast<uint64_t>(magnitude);
    int biased = static_cast<int>((bits >> 52) & 0x7FF);
    uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
    uint64_t significand = biased ? fraction | (uint64_t{1} << 52) : fraction;
    int exp2 = biased ? biased - 1075 : -1074;
    int zeros = std::countr_zero(significand);
    return {significand >> zeros, exp2 + zeros};
}

// True when the value lies exactly halfway between two neighbouring multiples of 10^-places, that
// is when value * 2 * 10^places is an odd integer: Odd * 5^places * 2^(Exp2 + 1 + places) for
// places >= 0, and Odd / 5^-places * 2^(Exp2 + 1 + places) below.
bool IsExactHalf(BinaryValue v, int places) {
    if (places >= 0) return v.Exp2 == -places - 1;
    int fives = -places;
    if (v.Exp2 + 1 != fives || fives > 22) return false; // 5^23 exceeds any significand
    uint64_t power = 1;
    for (int i = 0; i < fives; ++i) power *= 5;
    return v.Odd % power == 0;
}

// Adds one unit in the last digit of a digit text (a point is passed over); true when the carry runs
// out at the front, leaving all zeros.
bool AddUnit(char* digits, int len) {
    for (int i = len - 1; i >= 0; --i) {
        if (digits[i] == '.') continue;
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    return true;
}

// NaN is written as zero and infinities like the largest values, so every text stays a number.
double Clamp(double x) {
    if (std::isnan(x) || x == 0) return 0.0;
    double magnitude = std::fabs(x);
    if (magnitude > 1e99)
        magnitude = 1e99;
    else if (magnitude < 1e-99)
        magnitude = 1e-99;
    return std::signbit(x) ? -magnitude : magnitude;
}

// Fixed-form digits of a magnitude, without sign.
int FixedDigits(double magnitude, int decimals, char* out, char* end) {
    if (magnitude != 0 && IsExactHalf(Decompose(magnitude), decimals)) {
        auto r = std::to_chars(out, end, magnitude, std::chars_format::fixed, decimals + 1);
        int len = static_cast<int>(r.ptr - out);
        if (r.ec == std::errc() && len >= 2 && out[len - 1] == '5') {
            len -= decimals == 0 ? 2 : 1;
            if (AddUnit(out, len)) {
                std::memmove(out + 1, out, static_cast<size_t>(len));
                out[0] = '1';
                ++len;
            }
            return len;
        }
    }
    auto r = std::to_chars(out, end, magnitude, std::chars_format::fixed, decimals);
    return r.ec == std::errc() ? static_cast<int>(r.ptr - out) : 0;
}

// Scientific digits "d.ddd" of a magnitude into mantissa (places + 2 characters) and its exponent.
bool Scientific(double magnitude, int places, char* mantissa, int& exponent) {
    char text[48];
    auto r = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, places);
    if (r.ec != std::errc()) return false;
    int mantLen = places + 2;
    if (r.ptr - text < mantLen + 3 || text[mantLen] != 'e') return false;
    int value = 0;
    std::from_chars(text + mantLen + 2, r.ptr, value);
    exponent = text[mantLen + 1] == '-' ? -value : value;
    std::memcpy(mantissa, text, static_cast<size_t>(mantLen));
    return true;
}

// Exponent-form digits of a magnitude: mantissa with places decimals and its decimal exponent.
void ExponentDigits(double magnitude, int places, char* mantissa, int& exponent) {
    exponent = 0;
    if (!Scientific(magnitude, places, mantissa, exponent)) {
        std::memset(mantissa, '0', static_cast<size_t>(places + 2));
        mantissa[1] = '.';
        return;
    }
    if (magnitude == 0 || !IsExactHalf(Decompose(magnitude), places - exponent)) return;
    char longer[MaxExpDecimals + 4];
    int longerExponent = 0;
    if (!Scientific(magnitude, places + 1, longer, longerExponent) || longerExponent != exponent ||
        longer[places + 2] != '5')
        return;
    std::memcpy(mantissa, longer, static_cast<size_t>(places + 2));
    if (AddUnit(mantissa, places + 2)) {
        mantissa[0] = '1';
        ++exponent;
    }
}

} // namespace

int RealCoreText(int decimals, double x, char (&out)[RealCoreCap]) {
    x = Clamp(x);
    bool negative = x < 0;
    double magnitude = std::fabs(x);
    int pos = 0;
    if (decimals >= 0) {
        if (negative) out[pos++] = '-';
        int places = decimals > MaxFixedDecimals ? MaxFixedDecimals : decimals;
        return pos + FixedDigits(magnitude, places, out + pos, out + RealCoreCap);
    }
    int places = decimals < -MaxExpDecimals ? MaxExpDecimals : -decimals;
    out[pos++] = negative ? '-' : ' ';
    int exponent = 0;
    ExponentDigits(magnitude, places, out + pos, exponent);
    pos += places + 2;
    out[pos++] = 'E';
    out[pos++] = exponent < 0 ? '-' : '+';
    int e = exponent < 0 ? -exponent : exponent;
    if (e >= 100) out[pos++] = static_cast<char>('0' + e / 100);
    out[pos++] = static_cast<char>('0' + e / 10 % 10);
    out[pos++] = static_cast<char>('0' + e % 10);
    return pos;
}
