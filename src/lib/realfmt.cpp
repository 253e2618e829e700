// Real-number digits for the data files. std::to_chars with a precision rounds to nearest on the exact
// binary value but breaks exact ties towards an even digit; the program's texts break them away from
// zero. An exact tie is recognised from the binary form alone (below), and only then the digits are
// produced one place longer (exactly, ending in 5) and rounded up by hand. The usual exponent forms
// take a shorter way in double arithmetic that gives the same digits, and leave the rest to the exact
// one. Nothing here allocates.
#include "lib/realfmt.h"

#include <bit>
#include <cfloat>
#include <charconv>
#include <climits>
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

// "00" to "99": the two digits of every number below 100.
constexpr char DigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The digits of m (exactly count of them) as "d.ddd", two at a time from the right.
template <class Unsigned> void PutMantissa(Unsigned m, int count, char* mantissa) {
    int last = count - 1; // index of the rightmost digit not yet written; digit i >= 1 goes to i + 1
    for (; last >= 2; last -= 2) {
        auto pair = static_cast<int>(m % 100);
        m /= 100;
        mantissa[last] = DigitPairs[2 * pair];
        mantissa[last + 1] = DigitPairs[2 * pair + 1];
    }
    if (last == 1) {
        mantissa[2] = static_cast<char>('0' + m % 10);
        m /= 10;
    }
    mantissa[0] = static_cast<char>('0' + m);
    mantissa[1] = '.';
}

// Powers of ten that a double holds exactly.
constexpr double ExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int MaxExactPower = 22;
constexpr int MaxScaledDigits = 15; // every half up to 10^15 is a double

// x * 10^power rounded to a double. Where arithmetic is wider than double (x87) the store rounds it
// once more, so every later use sees one and the same double.
double ScaledByPowerOfTen(double x, int power) {
#if FLT_EVAL_METHOD != 0
    volatile double y = power >= 0 ? x * ExactPowersOfTen[power] : x / ExactPowersOfTen[-power];
    return y;
#else
    return power >= 0 ? x * ExactPowersOfTen[power] : x / ExactPowersOfTen[-power];
#endif
}

// Exponent-form digits the short way, for the usual case: the magnitude is scaled by 10^(P-1-k), k its
// decimal exponent, so that its P = places + 1 digits stand before the point, and the scaled y is
// rounded to an integer m. Rounding to a double is monotonic and keeps doubles as they are, so y lies
// on the same side as the exact product t of every double, or on it: of every half n + 1/2 (all are
// doubles below 2^52, and 10^15 is less), of 10^(P-1) and of 10^P. Hence, unless y is a half,
//  - m is the rounding of t as well, and y < 10^P means t < 10^P;
//  - y >= 10^(P-1) means t >= 10^(P-1), or y = 10^(P-1) and t less than an ulp (1/64 at most) below
//    it: then k is one too high, and the right digits, 10 t rounded, are 10^P: the same text as m.
// A y that is a half is taken when t is that very half (seen in the binary form), and rounded up.
// False when y is a half that t is not, for 16 digits or more, and where 10^(P-1-k) is not exact in
// a double; the exact way takes over.
bool ScaledExponentDigits(double magnitude, int places, char* mantissa, int& exponent) {
    int digits = places + 1;
    if (digits > MaxScaledDigits) return false;
    uint64_t m = 0;
    int k = 0;
    if (magnitude != 0) {
        int binary = static_cast<int>(std::bit_cast<uint64_t>(magnitude) >> 52 & 0x7FF) - 1023;
        k = (binary * 78913) >> 18; // about floor(binary * log10 2): the decimal exponent or one below
        for (int attempt = 0;; ++attempt) {
            int power = digits - 1 - k;
            if (attempt == 3 || power < -MaxExactPower || power > MaxExactPower) return false;
            double y = ScaledByPowerOfTen(magnitude, power);
            if (y < ExactPowersOfTen[digits - 1]) {
                --k;
                continue;
            }
            if (y >= ExactPowersOfTen[digits]) {
                ++k;
                continue;
            }
            auto whole = static_cast<int64_t>(y); // y < 10^15: exact, and floor as y > 0
            double fraction = y - static_cast<double>(whole);
            if (fraction == 0.5 && !IsExactHalf(Decompose(magnitude), power)) return false;
            m = static_cast<uint64_t>(whole) + (fraction >= 0.5 ? 1 : 0);
            break;
        }
        if (m == static_cast<uint64_t>(ExactPowersOfTen[digits])) { // rounded up to the next power
            m /= 10;
            ++k;
        }
    }
    if (m <= UINT32_MAX)
        PutMantissa(static_cast<uint32_t>(m), digits, mantissa);
    else
        PutMantissa(m, digits, mantissa);
    exponent = k;
    return true;
}

// Exponent-form digits of a magnitude: mantissa with places decimals and its decimal exponent.
void ExponentDigits(double magnitude, int places, char* mantissa, int& exponent) {
    if (ScaledExponentDigits(magnitude, places, mantissa, exponent)) return;
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

int RealExponentText(int decimals, double x, char* out) {
    x = Clamp(x);
    double magnitude = std::fabs(x);
    int places = decimals < -MaxExpDecimals ? MaxExpDecimals : -decimals;
    int pos = 0;
    out[pos++] = x < 0 ? '-' : ' ';
    int exponent = 0;
    ExponentDigits(magnitude, places, out + pos, exponent);
    pos += places + 2;
    out[pos++] = 'E';
    out[pos++] = exponent < 0 ? '-' : '+';
    int e = exponent < 0 ? -exponent : exponent;
    if (e >= 100) out[pos++] = static_cast<char>('0' + e / 100);
    out[pos++] = DigitPairs[2 * (e % 100)];
    out[pos++] = DigitPairs[2 * (e % 100) + 1];
    return pos;
}

int RealCoreText(int decimals, double x, char (&out)[RealCoreCap]) {
    if (decimals < 0) return RealExponentText(decimals, x, out);
    x = Clamp(x);
    int pos = 0;
    if (x < 0) out[pos++] = '-';
    int places = decimals > MaxFixedDecimals ? MaxFixedDecimals : decimals;
    return pos + FixedDigits(std::fabs(x), places, out + pos, out + RealCoreCap);
}
