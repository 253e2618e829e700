#include "lib/strnum.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <random>

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

TEST(TextBuffer, FullBufferHasNoTerminatorAndIsNeverReadPastItsEnd) {
    GuardedBuffer b(29, std::string(30, 'x'));
    EXPECT_EQ(BufLen(b.data(), b.n()), 30);
    EXPECT_EQ(BufView(b.data(), b.n()).size(), 30u);
    EXPECT_EQ(BufLen(b.data(), -1), 0);
    EXPECT_EQ(Buf<5>("abcdefgh").Str(), "abcdef");
}

TEST(TextBuffer, CopyingAndCuttingStayInsideTheTarget) {
    struct Case {
        const char* what;
        std::function<void(char*, int)> op;
        int n;
        const char* start;
        std::string want;
    };
    const Case cases[] = {
        {"cut at 2", [](char* b, int n) { BufCut(false, 2, b, n); }, 9, "abcdef", "ab"},
        {"cut past end", [](char* b, int n) { BufCut(true, 10, b, n); }, 9, "abcdef", "abcdef"},
        {"cut negative, keep", [](char* b, int n) { BufCut(false, -1, b, n); }, 9, "abc", "abc"},
        {"cut negative, clear", [](char* b, int n) { BufCut(true, -1, b, n); }, 9, "abc", ""},
        {"copy cuts", [](char* b, int n) { BufCopy("123456789", 8, b, n); }, 3, "", "1234"},
        {"copyZ keeps n chars", [](char* b, int n) { BufCopyZ("123456789", 8, b, n); }, 3, "", "123"},
        {"from pchar", [](char* b, int n) { BufFromPChar("hello", b, n); }, 2, "", "hel"},
        {"put at", [](char* b, int n) { BufPutAt(b, n, "XY", 2); }, 9, "abcdef", "abXYef"},
        {"put at overhangs", [](char* b, int n) { BufPutAt(b, n, "XYZ", 4); }, 5, "abcdef", "abcdXY"},
        {"put at negative", [](char* b, int n) { BufPutAt(b, n, "XYZ", -2); }, 5, "abcdef", "Zbcdef"},
        {"sub", [](char* b, int n) { BufSub("abcdef", 9, 2, 3, b, n); }, 9, "zz", "cde"},
        {"sub beyond end", [](char* b, int n) { BufSub("abcdef", 9, 4, 30, b, n); }, 9, "zz", "ef"},
        {"sub negative start", [](char* b, int n) { BufSub("abcdef", 9, -1, 3, b, n); }, 9, "zz", ""},
        {"sub zero count", [](char* b, int n) { BufSub("abcdef", 9, 1, 0, b, n); }, 9, "zz", ""},
        {"sub of itself", [](char* b, int n) { BufSub(b, n, 2, 3, b, n); }, 9, "abcdef", "cde"},
        {"delete", [](char* b, int n) { BufDelete(b, n, 1, 2); }, 9, "abcdef", "adef"},
        {"delete clipped", [](char* b, int n) { BufDelete(b, n, 4, 99); }, 9, "abcdef", "abcd"},
        {"delete past end", [](char* b, int n) { BufDelete(b, n, 6, 1); }, 9, "abcdef", "abcdef"},
        {"assign own tail", [](char* b, int n) { BufAssign(BufView(b, n).substr(2), b, n); }, 9, "abcdef",
         "cdef"},
        {"concat3 cuts", [](char* b, int n) { BufConcat3("ab", "cd", "ef", b, n); }, 3, "", "abcd"},
        {"concat own text", [](char* b, int n) { BufConcat2("<", BufView(b, n), b, n); }, 9, "abc", "<abc"},
        {"replace char", [](char* b, int n) { BufReplaceChar('/', '\\', b, n); }, 9, "a/b/c", "a\\b\\c"},
        {"remove blanks", [](char* b, int n) { BufRemoveBlanks(b, n); }, 9, " a b  c ", "abc"},
        {"pad left", [](char* b, int n) { BufPadLeft(5, '.', b, n); }, 9, "ab", "...ab"},
        {"pad left cut at buffer", [](char* b, int n) { BufPadLeft(50, '.', b, n); }, 3, "ab", "..ab"},
        {"pad right", [](char* b, int n) { BufPadRight(4, '-', b, n); }, 9, "ab", "ab--"},
        {"trim right ctl", [](char* b, int n) { BufTrimRightCtl(b, n); }, 9, "ab \t\r\n", "ab"},
    };
    for (const Case& c : cases) {
        GuardedBuffer b(c.n, c.start);
        c.op(b.data(), b.n());
        EXPECT_EQ(BufView(b.data(), b.n()), c.want) << c.what;
        EXPECT_TRUE(b.Intact()) << c.what;
    }
}

TEST(TextBuffer, AppendAdvancesAndStopsAtTheEnd) {
    TextBuf<5> b;
    int pos = 0;
    BufAppend("abc", b.c, pos, b.Cap);
    BufAppend("defg", b.c, pos, b.Cap);
    EXPECT_EQ(b.Str(), "abcdef");
    EXPECT_EQ(pos, 6);
    BufAppend("x", b.c, pos, b.Cap);
    EXPECT_EQ(b.Str(), "abcdef");
}

TEST(TextBuffer, TrimModes) {
    const struct {
        int mode;
        const char* want;
    } cases[] = {{0, "a  b  "}, {1, "a  b  "}, {2, "  a  b"}, {3, "a  b"}, {4, "a b"}, {-1, "a  b  "}};
    for (const auto& c : cases) {
        auto b = Buf<20>("  a  b  ");
        BufTrim(c.mode, b.c, b.Cap);
        EXPECT_EQ(b.Str(), c.want) << "mode " << c.mode;
    }
}

TEST(TextBuffer, SearchAndCompare) {
    auto b = Buf<20>("C:\\A\\B.TXT");
    EXPECT_EQ(BufFindChar(0, false, '\\', b.c, b.Cap), 2);
    EXPECT_EQ(BufFindChar(3, false, '\\', b.c, b.Cap), 4);
    EXPECT_EQ(BufFindChar(-1, true, '\\', b.c, b.Cap), 4);
    EXPECT_EQ(BufFindChar(3, true, '\\', b.c, b.Cap), 2);
    EXPECT_EQ(BufFindChar(10, false, 'T', b.c, b.Cap), NotFound);
    EXPECT_EQ(BufFindChar(0, false, 'Q', b.c, b.Cap), NotFound);
    EXPECT_EQ(StrPos("B.", "C:\\A\\B.TXT"), 5);
    EXPECT_EQ(StrPos("X.", "C:\\A\\B.TXT"), -1);
    const struct {
        int start;
        bool back;
        bool fold;
        const char* sub;
        int want;
    } finds[] = {
        {0, false, false, "ab", 1},  {2, false, false, "ab", 4},  {0, true, false, "ab", 7},
        {6, true, false, "ab", 4},   {0, false, false, "AB", -2}, {0, false, true, "AB", 1},
        {8, false, false, "ab", -2}, {0, false, false, "", -2},   {0, false, false, "abxabxabx", -2},
    };
    for (const auto& f : finds)
        EXPECT_EQ(StrFind(f.start, f.back, f.fold, f.sub, "abxabxab"), f.want)
            << f.sub << " from " << f.start;
    EXPECT_TRUE(StrContains("xa", b.c, b.Cap) == false);
    EXPECT_TRUE(StrContains("B.T", b.c, b.Cap));
    EXPECT_LT(BufCompare("ABC", Buf<9>("abc").c, 9), 0);
    EXPECT_EQ(BufCompareText("ABC", Buf<9>("abc").c, 9), 0);
    EXPECT_NE(BufCompareText("\xC4", Buf<9>("\xE4").c, 9), 0); // only a..z fold
    EXPECT_LT(BufCompare("ab", Buf<9>("abc").c, 9), 0);
    EXPECT_GT(BufCompare("\xE4", Buf<9>("z").c, 9), 0); // bytes compare unsigned
}

// ---- Tokens, fields, comments, lines --------------------------------------------------------------

TEST(Tokenizer, NextTokenSplitsAtDelimiters) {
    const struct {
        bool exact;
        bool comma;
        const char* text;
        const char* token;
        const char* rest;
    } cases[] = {
        {true, false, "  12 34 56", "12", "34 56"},
        {false, false, "  12 34 56", "  12", "34 56"},
        {true, false, "12,34;56", "12,34", "56"},
        {true, true, "12,34;56", "12", "34;56"},
        {true, false, "\t/;x", "x", ""},
        {true, false, " ; / ", "", ""},
        {true, false, "", "", ""},
        {true, false, "last  ", "last", ""},
        {true, true,
         "1\x03"
         "2",
         "1", "2"},
    };
    for (const auto& c : cases) {
        GuardedBuffer src(40, c.text), token(40, "junk"), rest(40, "junk");
        BufNextToken(c.exact, c.comma, src.data(), src.n(), token.data(), token.n(), rest.data(), rest.n());
        EXPECT_EQ(BufView(token.data(), token.n()), c.token) << c.text;
        EXPECT_EQ(BufView(rest.data(), rest.n()), c.rest) << c.text;
    }
    GuardedBuffer line(40, "7 8 9"), token(0, "");
    BufNextToken(true, false, line.data(), line.n(), token.data(), token.n(), line.data(), line.n());
    EXPECT_EQ(std::string(token.data(), 1), "7");
    EXPECT_EQ(BufView(line.data(), line.n()), "8 9");
    EXPECT_TRUE(line.Intact() && token.Intact());
}

TEST(Tokenizer, NumbersOfALineComeOneByOne) {
    auto line = Buf<127>(" 1.5E+00, 2.5e-1;-3 \t/ 4,5,6;7 ;");
    std::string token;
    std::vector<std::string> tokens;
    for (NextNumberToken(line.c, line.Cap, token); !token.empty(); NextNumberToken(line.c, line.Cap, token))
        tokens.push_back(token);
    EXPECT_EQ(tokens, (std::vector<std::string>{"1.5E+00", "2.5e-1", "-3", "4", "5", "6", "7"}));

    auto placement = Buf<127>("44, 0, 1 -200 300;640/480,\r\n");
    int seven[7];
    for (int& v : seven) v = TokenToInt(placement.c, placement.Cap);
    EXPECT_EQ(std::vector<int>(seven, seven + 7), (std::vector<int>{44, 0, 1, -200, 300, 640, 480}));
    EXPECT_TRUE(placement.Empty());
    auto columns = Buf<79>("3 x 5");
    EXPECT_EQ(TokenToInt(columns.c, columns.Cap), 3);
    EXPECT_EQ(TokenToInt(columns.c, columns.Cap), 0); // not a number: ends a column list
    EXPECT_EQ(columns.Str(), "5");
}

TEST(Tokenizer, SplitAtCharacter) {
    const struct {
        const char* text;
        const char* field;
        const char* rest;
    } cases[] = {
        {"12;34;56", "12", "34;56"}, {";5;6", "", ""}, {"abc", "abc", ""}, {"abc;", "abc", ""}, {"", "", ""}};
    for (const auto& c : cases) {
        GuardedBuffer b(20, c.text), field(3, "junk");
        BufSplitAt(';', b.data(), b.n(), field.data(), field.n());
        EXPECT_EQ(BufView(field.data(), field.n()), std::string(c.field).substr(0, 4)) << c.text;
        EXPECT_EQ(BufView(b.data(), b.n()), c.rest) << c.text;
        EXPECT_TRUE(b.Intact() && field.Intact());
    }
}

TEST(Tokenizer, CutCommentAtFirstStarAfterBlank) {
    const struct {
        const char* text;
        const char* want;
    } cases[] = {
        {"1.5 2.5 *note", "1.5 2.5"}, {"a*b", "a"}, {"a*b*c", "a*b"}, {"a*b *c*d", "a*b"}, {"*all", ""},
        {"plain \t ", "plain"},       {"", ""},
    };
    for (const auto& c : cases) {
        auto b = Buf<40>(c.text);
        BufCutComment(b.c, b.Cap);
        EXPECT_EQ(b.Str(), c.want) << c.text;
    }
}

TEST(Tokenizer, LinesOfAText) {
    EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb");
    const struct {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"a\r\n\r\nbc", {"a", "", "bc"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb", {"a", "b"}}, // a lone carriage return loses no character
        {"one", {"one"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> got;
        for (int pos = 1; pos > 0;) got.push_back(NextLine(c.text, pos));
        EXPECT_EQ(got, c.lines) << c.text;
    }
    int pos = 0;
    EXPECT_EQ(NextLine("abc", pos), "");
    EXPECT_EQ(pos, -1);
    pos = 4;
    NextLine("abc", pos);
    EXPECT_EQ(pos, -1);
}

// ---- Integers -------------------------------------------------------------------------------------

TEST(IntegerText, Forms) {
    EXPECT_EQ(IntToStrW(7, -4), "7   ");
    EXPECT_EQ(IntToStrW(7, 4), "   7");
    EXPECT_EQ(IntToStrW(-12345, 3), "-12345");
    EXPECT_EQ(IntToStrZ(7, 3), "007");
    EXPECT_EQ(IntToStrZ(-7, 3), "-07");
    EXPECT_EQ(IntToStrW(INT_MIN, INT_MIN).size(), 4096u);
    const struct {
        int value;
        int width;
        int n;
        const char* want;
    } cases[] = {
        {42, 6, 29, "    42"}, {-42, 6, 29, "   -42"}, {123456789, 3, 29, "123456789"},
        {5, -1, 3, "   5"},    {5, 10, 3, "    "},     {INT_MIN, 0, 29, "-2147483648"},
    };
    for (const auto& c : cases) {
        GuardedBuffer b(c.n, std::string());
        IntToText(c.value, c.width, b.data(), b.n());
        EXPECT_EQ(BufView(b.data(), b.n()), c.want) << c.value << " width " << c.width;
    }
}

TEST(IntegerText, HexReadsBack) {
    const struct {
        int value;
        int bytes;
        const char* want;
    } cases[] = {
        {255, 2, "$00FF"},
        {255, 0, "$FF"},
        {0, 1, "$00"},
        {-1, 4, "$FFFFFFFF"},
        {-1, 1, "$FFFFFFFF"},
        {INT_MIN, 2, "$80000000"},
        {0x12345678, 2, "$12345678"},
        {-2, 6, "$0000FFFFFFFE"},
    };
    for (const auto& c : cases) {
        TextBuf<29> b;
        IntToHexText(c.value, c.bytes, b.c, b.Cap);
        EXPECT_EQ(b.Str(), c.want);
        bool ok = false;
        EXPECT_EQ(TextToIntOk(b.View(), ok), c.value) << c.want;
        EXPECT_TRUE(ok);
    }
}

TEST(IntegerText, Parsing) {
    const struct {
        const char* text;
        int value;
        bool ok;
    } cases[] = {
        {"42", 42, true},
        {"  -42", -42, true},
        {"+7", 7, true},
        {"$ff", 255, true},
        {"-$10", -16, true},
        {"$FFFFFFFF", -1, true},
        {"2147483647", INT_MAX, true},
        {"-2147483648", INT_MIN, true},
        {"2147483648", 0, false},
        {"-2147483649", 0, false},
        {"99999999999999999999", 0, false},
        {"$100000000", 0, false},
        {"000000000000000000012", 12, true},
        {"", 0, false},
        {" ", 0, false},
        {"-", 0, false},
        {"$", 0, false},
        {"42 ", 0, false},
        {"4 2", 0, false},
        {"4.0", 0, false},
        {"\t4", 0, false},
        {"0x10", 0, false},
    };
    for (const auto& c : cases) {
        bool ok = !c.ok;
        EXPECT_EQ(TextToIntOk(c.text, ok), c.value) << '"' << c.text << '"';
        EXPECT_EQ(ok, c.ok) << '"' << c.text << '"';
        EXPECT_EQ(TextToInt(c.text), c.value);
    }
    EXPECT_EQ(DigitsToInt("Version 1.2.3"), 123);
    EXPECT_EQ(DigitsToInt("no digits"), 0);
    EXPECT_EQ(SubToInt(Buf<20>("ab123cd").c, 20, 2, 3), 123);
    EXPECT_EQ(SubToInt(Buf<20>("ab123cd").c, 20, -1, 3), 0);
}

// ---- Reals ----------------------------------------------------------------------------------------

TEST(RealText, WorkedResults) {
    const struct {
        int width;
        int decimals;
        double x;
        const char* want;
    } cases[] = {
        {11, -4, 1234.5678, " 1.2346E+03"},
        {11, -4, -0.001, "-1.0000E-03"},
        {11, -4, 0.0, " 0.0000E+00"},
        {11, -4, -0.0, " 0.0000E+00"},
        {0, -3, 0.5, "5.000E-01"},
        {0, 2, -0.5, "-0.50"},
        {0, -3, 1e200, "1.000E+99"},
        {0, -3, 1e-300, "1.000E-99"},
        {0, -3, -1e-300, "-1.000E-99"},
        {10, -3, 1e99, " 1.000E+99"},
        {0, -1, 9.96, "1.0E+01"},
        {0, -2, 9.999e-5, "1.00E-04"},
        {8, 2, 3.14159, "    3.14"},
        {3, 2, 123.456, "123.46"},
        {0, 0, 1e15, "1000000000000000"},
        {0, -17, 1.0 / 3, "3.33333333333333315E-01"},
        {0, -40, 1.0 / 3, "3.33333333333333315E-01"},
        {0, -3, 12345678.9, "1.235E+07"},
        {0, 3, 1e-99, "0.000"},
        {0, 0, 0.4, "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Real(c.width, c.decimals, c.x), c.want) << c.x << " w" << c.width << " d" << c.decimals;
}

TEST(RealText, ExactHalvesRoundAwayFromZero) {
    const struct {
        int decimals;
        double x;
        const char* want;
    } cases[] = {
        {0, 0.5, "1"},           {0, 1.5, "2"},
        {0, 2.5, "3"},           {0, -2.5, "-3"},
        {1, 1.25, "1.3"},        {1, -1.25, "-1.3"},
        {2, 0.125, "0.13"},      {1, 9.95, "9.9"},
        {1, 0.15, "0.1"},        {1, 0.35, "0.3"},
        {1, 0.45, "0.5"},        {0, 9.5, "10"},
        {-1, 1.25, "1.3E+00"},   {-2, 0.125, "1.25E-01"},
        {-1, 0.125, "1.3E-01"},  {-1, 125.0, "1.3E+02"},
        {-1, 9.5, "9.5E+00"},    {-1, 0.95, "9.5E-01"},
        {-1, 99.5, "1.0E+02"},   {-3, 1.0625, "1.063E+00"},
        {-1, 2.5e15, "2.5E+15"}, {-1, 1.25e16, "1.3E+16"},
        {2, 1.005, "1.00"},
    };
    for (const auto& c : cases) EXPECT_EQ(Real(0, c.decimals, c.x), c.want) << c.x << " d" << c.decimals;
}

TEST(RealText, NonFiniteValuesStayNumbers) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Real(0, -3, inf), "1.000E+99");
    EXPECT_EQ(Real(0, -3, -inf), "-1.000E+99");
    EXPECT_EQ(Real(11, -4, std::nan("")), " 0.0000E+00");
    EXPECT_EQ(Real(0, 2, -std::nan("")), "0.00");
    EXPECT_EQ(Real(0, 1, inf, 1023), Real(0, 1, 1e99, 1023));
    EXPECT_EQ(Real(0, 1000, 1.0, 1023), "1." + std::string(400, '0')); // more decimals than any double has
}

TEST(RealText, TruncatesAtTheBuffer) {
    EXPECT_EQ(Real(11, -4, 1234.5678, 4), " 1.23");
    EXPECT_EQ(Real(15, -4, 1234.5678, 9), "     1.234");
    EXPECT_EQ(Real(0, -3, -0.5, 0), "-");
    GuardedBuffer none(-1, std::string());
    RealToText(11, -4, none.data(), none.n(), 1.0);
    EXPECT_TRUE(none.Intact());
}

TEST(RealText, StandardFormFollowsTheSettings) {
    ResetTextFormatSettings();
    EXPECT_EQ(TextFormatSettings.LineEnd[0], '\r');
    EXPECT_EQ(TextFormatSettings.LineEnd[1], '\n');
    EXPECT_EQ(TextFormatSettings.DelimiterCode, 32);
    EXPECT_EQ(RealTextWidth(), 10);
    EXPECT_EQ(RealToTextStd(-1234.5678).Str(), "-1.235E+03");
    TextFormatSettings.Decimals = -12;
    EXPECT_EQ(RealToTextStd(0.1).Str(), " 1.000000000000E-01");
    TextFormatSettings.Decimals = -17;
    EXPECT_EQ(RealToTextStd(1).Str(), " 1.00000000000000000E+00");
    ResetTextFormatSettings();
}

TEST(RealText, Parsing) {
    const struct {
        const char* text;
        double value;
        bool ok;
    } cases[] = {
        {"1.5", 1.5, true},
        {"  -2.5E-3", -2.5e-3, true},
        {"+.5", 0.5, true},
        {"5.", 5, true},
        {"1e5", 1e5, true},
        {"1E+05", 1e5, true},
        {"7", 7, true},
        {"-0", 0, true},
        {"1e-400", 0, true},
        {"-0.0000001e-330", 0, true},
        {"1e400", 0, false},
        {"1000e306", 0, false},
        {"", 0, false},
        {".", 0, false},
        {"1e", 0, false},
        {"1e+", 0, false},
        {"1.5 ", 0, false},
        {"1,5", 0, false},
        {"inf", 0, false},
        {"nan", 0, false},
        {"0x1p3", 0, false},
        {"$10", 0, false},
        {"--1", 0, false},
        {"1.2.3", 0, false},
        {"00000000000000000000000000000001.5", 1.5, true},
    };
    for (const auto& c : cases) {
        bool ok = !c.ok;
        EXPECT_EQ(TextToRealOk(c.text, ok), c.value) << '"' << c.text << '"';
        EXPECT_EQ(ok, c.ok) << '"' << c.text << '"';
    }
    EXPECT_EQ(TextToReal("0.1"), 0.1);
    EXPECT_EQ(TextToReal("2.2250738585072014e-308"), DBL_MIN);
}

namespace {

// Expected texts from first principles: the exact decimal expansion of the double (800 places hold
// every double from 1e-99 up), cut after the wanted digits and raised when the next digit is 5 or
// more, which is rounding to nearest with exact halves away from zero.
struct Expansion {
    std::string digits;
    int pointAt = 0; // digits before the point
};

Expansion Exact(double x) {
    char text[1200];
    auto r = std::to_chars(text, text + sizeof text, std::fabs(x), std::chars_format::fixed, 800);
    Expansion e;
    for (char* p = text; p < r.ptr; ++p) {
        if (*p == '.')
            e.pointAt = static_cast<int>(e.digits.size());
        else
            e.digits += *p;
    }
    return e;
}

// Keeps count digits from index first and rounds by the digit after them; true when a new leading
// 1 was needed.
bool KeepRounded(const std::string& digits, size_t first, size_t count, std::string& kept) {
    kept = digits.substr(first, count);
    if (digits[first + count] < '5') return false;
    size_t i = count;
    while (i > 0 && kept[i - 1] == '9') kept[--i] = '0';
    if (i > 0) {
        ++kept[i - 1];
        return false;
    }
    kept.insert(kept.begin(), '1');
    return true;
}

std::string ReferenceExponentForm(double x, int places) {
    Expansion e = Exact(x);
    size_t first = e.digits.find_first_not_of('0');
    int exponent = e.pointAt - static_cast<int>(first) - 1;
    std::string kept;
    if (KeepRounded(e.digits, first, static_cast<size_t>(places) + 1, kept)) {
        kept.pop_back();
        ++exponent;
    }
    char tail[16];
    std::snprintf(tail, sizeof tail, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return (x < 0 ? "-" : "") + kept.substr(0, 1) + "." + kept.substr(1) + tail;
}

std::string ReferenceFixedForm(double x, int decimals) {
    Expansion e = Exact(x);
    std::string kept;
    int intDigits =
        e.pointAt + (KeepRounded(e.digits, 0, static_cast<size_t>(e.pointAt + decimals), kept) ? 1 : 0);
    size_t lead = std::min(kept.find_first_not_of('0'), static_cast<size_t>(intDigits - 1));
    std::string text = kept.substr(lead, static_cast<size_t>(intDigits) - lead);
    if (decimals > 0) text += "." + kept.substr(static_cast<size_t>(intDigits));
    return (x < 0 ? "-" : "") + text;
}

double RandomValue(std::mt19937_64& rng) {
    switch (rng() % 4) {
    case 0: // a binary fraction with few bits: exact halves are frequent
        return std::ldexp(static_cast<double>(rng() % 4096 + 1), -static_cast<int>(rng() % 40));
    case 1: // an integer: an exact half when it ends in 5
        return static_cast<double>(rng() % 100000000000ull);
    default:
        return std::uniform_real_distribution<double>(1.0, 10.0)(rng) *
               std::pow(10.0, static_cast<int>(rng() % 198) - 99);
    }
}

} // namespace

TEST(RealText, RandomValuesMatchExactRoundingAndReadBack) {
    std::mt19937_64 rng(20240611);
    for (int i = 0; i < 4000; ++i) {
        double x = RandomValue(rng);
        if (x == 0 || x < 1e-99 || x > 1e99) continue;
        if (rng() & 1) x = -x;
        int places = static_cast<int>(rng() % 17) + 1;
        std::string text = Real(0, -places, x);
        ASSERT_EQ(text, ReferenceExponentForm(x, places)) << std::hexfloat << x << " places " << places;
        bool ok = false;
        double back = TextToRealOk(text, ok);
        ASSERT_TRUE(ok) << text;
        double unitInLast = std::pow(10.0, std::floor(std::log10(std::fabs(back))) - places);
        EXPECT_LE(std::fabs(back - x), 0.5 * unitInLast * (1 + 1e-9) + std::fabs(x) * 1e-15) << text;
        if (std::fabs(x) < 1e12) {
            int decimals = static_cast<int>(rng() % 7);
            ASSERT_EQ(Real(0, decimals, x, 127), ReferenceFixedForm(x, decimals)) << std::hexfloat << x;
        }
    }
}

// ---- Small helpers --------------------------------------------------------------------------------

TEST(NumberHelpers, DigitsAndCharacters) {
    const struct {
        int value;
        char ch;
    } digits[] = {{0, '0'}, {9, '9'}, {10, 'A'}, {35, 'Z'}, {200, '\xFF'}, {201, '\xFF'}, {-1, '\xFF'}};
    for (const auto& d : digits) EXPECT_EQ(DigitChar(d.value), d.ch) << d.value;
    const struct {
        char ch;
        int value;
    } chars[] = {{'7', 7}, {'a', 10}, {'Z', 35}, {':', 254}, {'@', 254}, {' ', 255}, {'\xFF', 200}};
    for (const auto& c : chars) EXPECT_EQ(CharDigit(c.ch), c.value) << c.ch;
    EXPECT_EQ(HexDigit(11), 'B');
    EXPECT_TRUE(IsYes("  yes"));
    EXPECT_FALSE(IsYes("  no"));
    EXPECT_FALSE(IsYes(""));
    EXPECT_EQ(YesNoChar(true), 'Y');
    const struct {
        int code;
        const char* text;
    } delimiters[] = {{32, " "},   {31, "  "},   {44, ","},  {9, "\t"}, {17, "\";\""}, {18, "\"\t\""},
                      {29, " & "}, {30, "\r\n"}, {13, "\r"}, {0, " "},  {-5, " "},     {300, " "}};
    for (const auto& d : delimiters) EXPECT_EQ(DelimiterText(d.code), d.text) << d.code;
}

TEST(NumberHelpers, ClampsAndRounding) {
    EXPECT_EQ(IntClamp(5, 0, 3), 3);
    EXPECT_EQ(IntClamp(-5, 0, 3), 0);
    EXPECT_EQ(IntClamp(5, 4, 2), 4); // never below low
    EXPECT_TRUE(TensInList(-39, {-3, 7}));
    EXPECT_FALSE(TensInList(41, {3, 5}));
    const struct {
        double x;
        int64_t want;
    } rounds[] = {{0.5, 1},
                  {-0.5, -1},
                  {2.5, 3},
                  {-2.4, -2},
                  {0.49999999999999994, 0},
                  {4503599627370497.0, 4503599627370497},
                  {1e300, INT64_MAX},
                  {-1e300, INT64_MIN}};
    for (const auto& r : rounds) EXPECT_EQ(RoundHalfAway(r.x), r.want) << r.x;
    EXPECT_EQ(RoundHalfAway(std::nan("")), 0);
    EXPECT_EQ(ClampToSingle(1e39), 3.4e38f);
    EXPECT_EQ(ClampToSingle(-1e39), -3.4e38f);
    EXPECT_EQ(ClampToSingle(1e-46), 0.0f);
    EXPECT_EQ(ClampToSingle(std::nan("")), 0.0f);
    EXPECT_EQ(ClampToInt32(0x80000000u), INT32_MAX);
    EXPECT_EQ(ClampToInt32(5), 5);
    uint32_t mask = 0;
    SetBit(mask, 4);
    SetBit(mask, 31);
    SetBit(mask, 32);
    SetBit(mask, -1);
    EXPECT_EQ(mask, 0x80000010u);
    ClearBit(mask, 31);
    EXPECT_TRUE(TestBit(mask, 4));
    EXPECT_FALSE(TestBit(mask, 31));
    EXPECT_FALSE(TestBit(~0u, 40));
}

// ---- Any arguments --------------------------------------------------------------------------------

TEST(TextBufferSafety, EveryOperationStaysInsideItsBuffers) {
    using testsupport::RandomArgs;
    using Buffer = std::unique_ptr<GuardedBuffer>;
    using Op = std::function<void(RandomArgs&, Buffer&, Buffer&, Buffer&)>;
    const std::pair<const char*, Op> ops[] = {
        {"BufLen", [](RandomArgs&, Buffer& a, Buffer&, Buffer&) { BufLen(a->data(), a->n()); }},
        {"BufView", [](RandomArgs&, Buffer& a, Buffer&, Buffer&) { (void)BufView(a->data(), a->n()).size(); }},
        {"BufCut", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { BufCut(r.Flag(), r.Num(), a->data(), a->n()); }},
        {"BufCopy", [](RandomArgs&, Buffer& a, Buffer& b, Buffer&) { BufCopy(a->data(), a->n(), b->data(), b->n()); }},
        {"BufCopyZ", [](RandomArgs&, Buffer& a, Buffer& b, Buffer&) { BufCopyZ(a->data(), a->n(), b->data(), b->n()); }},
        {"BufFromPChar", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { BufFromPChar(r.Text().c_str(), a->data(), a->n()); }},
        {"BufPutAt", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { BufPutAt(a->data(), a->n(), r.Text(), r.Num()); }},
        {"BufSub", [](RandomArgs& r, Buffer& a, Buffer& b, Buffer&) { BufSub(a->data(), a->n(), r.Num(), r.Num(), b->data(), b->n()); }},
        {"BufSub self", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { BufSub(a->data(), a->n(), r.Num(), r.Num(), a->data(), a->n()); }},
        {"BufDelete", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { BufDelete(a->data(), a->n(), r.Num(), r.Num()); }},
        {"BufAssign", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { BufAssign(r.Text(), a->data(), a->n()); }},
        {"BufAssign self", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) {
             std::string_view own = BufView(a->data(), a->n());
             BufAssign(own.substr(std::min<size_t>(own.size(), r.rng() % 8)), a->data(), a->n());
         }},
        {"BufConcat2", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { BufConcat2(r.Text(), BufView(a->data(), a->n()), a->data(), a->n()); }},
        {"BufConcat3", [](RandomArgs& r, Buffer& a, Buffer& b, Buffer&) { BufConcat3(BufView(b->data(), b->n()), r.Text(), BufView(a->data(), a->n()), a->data(), a->n()); }},
        {"BufAppend", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) {
             int pos = r.Num();
             BufAppend(r.Text(), a->data(), pos, a->n());
         }},
        {"BufCharAt", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { BufCharAt(r.Num(), a->data(), a->n()); }},
        {"BufReplaceChar", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { BufReplaceChar(static_cast<char>(r.rng()), 0, a->data(), a->n()); }},
        {"BufRemoveBlanks", [](RandomArgs&, Buffer& a, Buffer&, Buffer&) { BufRemoveBlanks(a->data(), a->n()); }},
        {"BufTrim", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { BufTrim(static_cast<int>(r.rng() % 7) - 1, a->data(), a->n()); }},
        {"BufTrimRightCtl", [](RandomArgs&, Buffer& a, Buffer&, Buffer&) { BufTrimRightCtl(a->data(), a->n()); }},
        {"BufPadLeft", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { BufPadLeft(r.Num(), '.', a->data(), a->n()); }},
        {"BufPadRight", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { BufPadRight(r.Num(), '.', a->data(), a->n()); }},
        {"BufFindChar", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { BufFindChar(r.Num(), r.Flag(), ' ', a->data(), a->n()); }},
        {"StrContains", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { StrContains(r.Text().substr(0, 2), a->data(), a->n()); }},
        {"BufCompare", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { BufCompare(r.Text(), a->data(), a->n()); }},
        {"BufCompareText", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { BufCompareText(r.Text(), a->data(), a->n()); }},
        {"BufNextToken", [](RandomArgs& r, Buffer& a, Buffer& b, Buffer& c) {
             BufNextToken(r.Flag(), r.Flag(), a->data(), a->n(), b->data(), b->n(), c->data(), c->n());
         }},
        {"BufNextToken rest in place", [](RandomArgs& r, Buffer& a, Buffer& b, Buffer&) {
             BufNextToken(r.Flag(), r.Flag(), a->data(), a->n(), b->data(), b->n(), a->data(), a->n());
         }},
        {"BufNextToken token in place", [](RandomArgs& r, Buffer& a, Buffer& b, Buffer&) {
             BufNextToken(r.Flag(), r.Flag(), a->data(), a->n(), a->data(), a->n(), b->data(), b->n());
         }},
        {"BufSplitAt", [](RandomArgs& r, Buffer& a, Buffer& b, Buffer&) { BufSplitAt(r.Flag() ? ';' : ' ', a->data(), a->n(), b->data(), b->n()); }},
        {"BufCutComment", [](RandomArgs&, Buffer& a, Buffer&, Buffer&) { BufCutComment(a->data(), a->n()); }},
        {"IntToText", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { IntToText(r.Num(), r.Num(), a->data(), a->n()); }},
        {"IntToPlainText", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { IntToPlainText(r.Num(), a->data(), a->n()); }},
        {"IntToHexText", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { IntToHexText(r.Num(), r.Num(), a->data(), a->n()); }},
        {"RealToText", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) {
             double x = std::bit_cast<double>(static_cast<uint64_t>(r.rng()) << 32 | r.rng());
             RealToText(r.Num(), r.Num() % 40 - 20, a->data(), a->n(), x);
         }},
        {"SubToInt", [](RandomArgs& r, Buffer& a, Buffer&, Buffer&) { SubToInt(a->data(), a->n(), r.Num(), r.Num()); }},
        {"NextNumberToken", [](RandomArgs&, Buffer& a, Buffer&, Buffer&) {
             std::string token;
             NextNumberToken(a->data(), a->n(), token);
         }},
        {"TokenToInt", [](RandomArgs&, Buffer& a, Buffer&, Buffer&) { TokenToInt(a->data(), a->n()); }},
    };
    RandomArgs args(7);
    const int rounds = 4000;
    for (const auto& [name, op] : ops) {
        for (int i = 0; i < rounds; ++i) {
            Buffer a = args.Buffer(), b = args.Buffer(), c = args.Buffer();
            op(args, a, b, c);
            ASSERT_TRUE(a->Intact() && b->Intact() && c->Intact()) << name << " round " << i;
        }
    }
}
