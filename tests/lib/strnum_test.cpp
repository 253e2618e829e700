#include "lib/strnum.h"

#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cmath>
#include <limits>
#include <tuple>

#include "support/guarded_buffer.h"

using testsupport::GuardedBuffer;

namespace {

template <int N> TextBuf<N> Buf(std::string_view s) {
    TextBuf<N> b;
    b.Set(s);
    return b;
}

std::string Real(int width, int decimals, double x, int n = 63) {
    GuardedBuffer out(n, std::string());
    RealToText(width, decimals, out.data(), out.n(), x);
    EXPECT_TRUE(out.Intact());
    return std::string(BufView(out.data(), out.n()));
}

} // namespace

// ---- Buffers --------------------------------------------------------------------------------------

TEST(TextBuffer, OperationsCutAtTheTargetAndMayReadTheirOwnText) {
    GuardedBuffer full(29, std::string(30, 'x')); // full: no terminator, and never read past
    EXPECT_EQ(BufLen(full.data(), full.n()), 30);
    EXPECT_EQ(BufLen(full.data(), -1), 0);
    using Op = void (*)(char*, int);
    const std::tuple<Op, int, const char*, const char*> cases[] = {
        {[](char* b, int n) { BufPutAt(b, n, "XYZ", -2); }, 5, "abcdef", "Zbcdef"},
        {[](char* b, int n) { BufSub(b, n, 2, 30, b, n); }, 9, "abcdef", "cdef"},
        {[](char* b, int n) { BufDelete(b, n, 4, 99); }, 9, "abcdef", "abcd"},
        {[](char* b, int n) { BufAssign(BufView(b, n).substr(2), b, n); }, 9, "abcdef", "cdef"},
        {[](char* b, int n) { BufConcat2("<", BufView(b, n), b, n); }, 9, "abc", "<abc"},
        {[](char* b, int n) { BufConcat3("ab", "cd", "ef", b, n); }, 3, "", "abcd"},
        {[](char* b, int n) { BufTrim(4, b, n); }, 9, "  a  b  ", "a b"}};
    for (auto [op, n, start, want] : cases) {
        GuardedBuffer b(n, start);
        op(b.data(), b.n());
        EXPECT_EQ(BufView(b.data(), b.n()), want) << start;
        EXPECT_TRUE(b.Intact());
    }
}

TEST(TextBuffer, Searching) {
    auto path = Buf<20>("C:\\A\\B.TXT");
    EXPECT_EQ(BufFindChar(-1, true, '\\', path.c, path.Cap), 4);
    EXPECT_EQ(BufFindChar(10, false, 'T', path.c, path.Cap), NotFound);
    const std::tuple<int, bool, bool, const char*, int> finds[] = {{6, true, false, "ab", 4},
                                                                   {0, false, true, "AB", 1}};
    for (auto [start, back, fold, sub, want] : finds)
        EXPECT_EQ(StrFind(start, back, fold, sub, "abxabxab"), want) << sub << " from " << start;
    EXPECT_EQ(BufCompareText("ABC", Buf<9>("abc").c, 9), 0);
}

// ---- Tokens, fields, comments ------------------------------------------------------------------------

TEST(Tokenizer, NumbersOfALineComeOneByOne) {
    auto placement = Buf<127>("44, 0, 1 -200 300;640/480,\r\n");
    std::vector<int> seven;
    for (int i = 0; i < 7; ++i) seven.push_back(TokenToInt(placement.c, placement.Cap));
    EXPECT_EQ(seven, (std::vector<int>{44, 0, 1, -200, 300, 640, 480}));
    EXPECT_TRUE(placement.Empty());
}

TEST(Tokenizer, FieldsAndComments) {
    const std::tuple<const char*, const char*, const char*> fields[] = {
        {"12;34;56", "12", "34;56"}, {";5;6", "", ""}, {"abcdef", "abcd", ""}};
    for (auto [text, wantField, wantRest] : fields) {
        GuardedBuffer b(20, text), field(3, "junk");
        BufSplitAt(';', b.data(), b.n(), field.data(), field.n());
        EXPECT_EQ(BufView(field.data(), field.n()), wantField) << text;
        EXPECT_EQ(BufView(b.data(), b.n()), wantRest) << text;
    }
    const std::pair<const char*, const char*> comments[] = {{"1.5 2.5 *note", "1.5 2.5"},
                                                            {"a*b *c*d", "a*b"}};
    for (auto [text, want] : comments) {
        auto b = Buf<40>(text);
        BufCutComment(b.c, b.Cap);
        EXPECT_EQ(b.Str(), want) << text;
    }
}

// ---- Integers -------------------------------------------------------------------------------------

TEST(IntegerText, Parsing) {
    const std::tuple<const char*, int, bool> cases[] = {
        {"  -42", -42, true},     {"$ff", 255, true}, {"-2147483648", INT_MIN, true},
        {"2147483648", 0, false}, {"", 0, false},     {"42 ", 0, false}};
    for (auto [text, value, valid] : cases) {
        bool ok = !valid;
        EXPECT_EQ(TextToIntOk(text, ok), value) << '"' << text << '"';
        EXPECT_EQ(ok, valid) << '"' << text << '"';
    }
    EXPECT_EQ(DigitsToInt("Version 1.2.3"), 123);
}

// ---- Reals ----------------------------------------------------------------------------------------

// The exponent forms the converter writes: clamping, the halves and the decade edges rounding crosses, a
// single real widened, and a buffer too small.
TEST(RealText, ExponentFormsRoundingAndClamping) {
    const double inf = std::numeric_limits<double>::infinity();
    // width, decimals, value, buffer capacity, text
    const std::tuple<int, int, double, int, const char*> cases[] = {
        {11, -4, std::nan(""), 63, " 0.0000E+00"},
        {0, -3, -inf, 63, "-1.000E+99"},
        {0, -3, -1e-300, 63, "-1.000E-99"},
        {0, -1, 99.5, 63, "1.0E+02"},
        {1, -4, 9.99995, 63, " 1.0000E+01"},
        {1, -4, -1.03125, 63, "-1.0313E+00"}, // exact halves round away from zero
        {1, -8, 0.1f, 63, " 1.00000001E-01"},
        {11, -4, 1234.5678, 4, " 1.23"}}; // small buffers cut the text
    for (auto [width, decimals, x, n, want] : cases)
        EXPECT_EQ(Real(width, decimals, x, n), want) << x << " w" << width << " d" << decimals;
    GuardedBuffer none(-1, std::string());
    RealToText(11, -4, none.data(), none.n(), 1.0);
    EXPECT_TRUE(none.Intact());
}

TEST(RealText, Parsing) {
    // clang-format off
    const std::tuple<const char*, double, bool> cases[] = {
        {"  -2.5E-3", -2.5e-3, true}, {"+.5", 0.5, true}, {"1e-400", 0, true},
        {"1e400", 0, false},          {"1e+", 0, false},  {"1,5", 0, false}};
    // clang-format on
    for (auto [text, value, valid] : cases) {
        bool ok = !valid;
        EXPECT_EQ(TextToRealOk(text, ok), value) << '"' << text << '"';
        EXPECT_EQ(ok, valid) << '"' << text << '"';
    }
}

// ---- Small helpers --------------------------------------------------------------------------------

TEST(NumberHelpers, Delimiters) {
    const std::pair<int, const char*> delimiters[] = {{30, "\r\n"}, {0, " "}};
    for (auto [code, text] : delimiters) EXPECT_EQ(DelimiterText(code), text) << code;
}

// ---- Any arguments --------------------------------------------------------------------------------

TEST(TextBufferSafety, EveryOperationStaysInsideItsBuffers) {
    testsupport::ThrowRandomArguments(
        {
            BUFFER_OP(BufLen(r.a, r.an)), BUFFER_OP(BufCut(r.Flag(), r.Num(), r.a, r.an)),
                BUFFER_OP(BufCopy(r.a, r.an, r.b, r.bn)),
                BUFFER_OP(BufFromPChar(r.Text().c_str(), r.a, r.an)),
                BUFFER_OP(BufPutAt(r.a, r.an, r.Text(), r.Num())),
                BUFFER_OP(BufSub(r.a, r.an, r.Num(), r.Num(), r.b, r.bn)),
                BUFFER_OP(BufSub(r.a, r.an, r.Num(), r.Num(), r.a, r.an)),
                BUFFER_OP(BufDelete(r.a, r.an, r.Num(), r.Num())), BUFFER_OP(BufAssign(r.Text(), r.a, r.an)),
                BUFFER_OP(BufAssign(
                    BufView(r.a, r.an).substr(std::min<size_t>(BufLen(r.a, r.an), r.rng() % 3)), r.a, r.an)),
                BUFFER_OP(BufConcat2(r.Text(), BufView(r.a, r.an), r.a, r.an)),
                BUFFER_OP(BufConcat3(BufView(r.b, r.bn), r.Text(), BufView(r.a, r.an), r.a, r.an)),
                BUFFER_OP(int pos = r.Num(); BufAppend(r.Text(), r.a, pos, r.an)),
                BUFFER_OP(BufTrim(r.Num() % 6, r.a, r.an)),
                BUFFER_OP(BufFindChar(r.Num(), r.Flag(), ' ', r.a, r.an)),
                BUFFER_OP(BufCompareText(r.Text(), r.a, r.an)),
                BUFFER_OP(BufSplitAt(r.Flag() ? ';' : ' ', r.a, r.an, r.b, r.bn)),
                BUFFER_OP(BufCutComment(r.a, r.an)), BUFFER_OP(IntToText(r.Num(), r.Num(), r.a, r.an)),
                BUFFER_OP(IntToPlainText(r.Num(), r.a, r.an)),
                BUFFER_OP(RealToText(r.Num(), r.Num() % 40 - 20, r.a, r.an,
                                     std::bit_cast<double>(static_cast<uint64_t>(r.rng()) << 32 | r.rng()))),
                BUFFER_OP(TokenToInt(r.a, r.an)),
        },
        7, 4000);
}
