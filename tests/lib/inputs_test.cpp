// Input filter, read-back processing and mode-box numbering rules; window kind rules and centring.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "lib/forms.h"
#include "lib/inputs.h"

namespace {

std::string Typed(int kind, const std::string& keys) {
    std::string out;
    for (char c : keys)
        if (char kept = FilterInputChar(kind, c))
            out += kept;
    return out;
}

TEST(InputFilter, RefusesAndUpperCasesPerKind) {
    struct Case {
        int kind;
        const char* keys;
        const char* text;
    } cases[] = {
        {0, "a*b:\\", "a*b:\\"},          {1, "ab c", "AB C"},        {2, "ab", "ab"},
        {3, "x1y", "X1Y"},                {10, "C:\\d*a?t<a>|\"", "C:\\data"}, {11, "a:b\\c.txt", "abc.txt"},
        {12, "C:\\DA.TA@1", "C\\DATA1"}, {13, "ab.c:d$", "ABCD$"},    {14, "ab.c:d$", "ABCD"},
        {99, "*?", "*?"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Typed(c.kind, c.keys), c.text) << "kind " << c.kind;
}

TEST(InputFilter, ReadBackCleansPerKind) {
    struct Case {
        int kind;
        const char* text;
        const char* result;
    } cases[] = {
        {0, " a b ", " a b "}, {1, " A B ", "AB"},          {10, "C:\\My Data\\", "C:\\My Data\\"},
        {11, " a b.txt", "ab.txt"}, {12, "C:\\DATA\\", "C:\\DATA"}, {12, "C:\\DATA\\\\", "C:\\DATA\\"},
        {13, "A B", "AB"},      {14, " X ", "X"},          {12, "", ""},
    };
    for (const Case& c : cases) {
        char buf[32];
        std::strcpy(buf, c.text);
        ProcessReadBack(c.kind, buf, 31);
        EXPECT_STREQ(buf, c.result) << "kind " << c.kind << " text '" << c.text << "'";
    }
}

TEST(InputFilter, ReadBackOfAFullBufferStaysInside) {
    char storage[8] = {'a', ' ', 'b', 'c', 'd', '#', '#', '#'}; // capacity 4: no terminator inside
    ProcessReadBack(11, storage, 4);
    EXPECT_EQ(std::string(storage, 4), "abcd");
    EXPECT_EQ(storage[5], '#');
}

TEST(ModeBoxNumbers, RowsAndNumbersFollowRangeAndMask) {
    struct Case {
        ModeRange range;
        int number;
        int row;      // ModeRowOf(number)
        int visible;  // ModeVisibleCount
    } cases[] = {
        {{4, 1, 3, 0}, 0, 0, 3}, // "dummy" hidden: number 0 selects "one"
        {{4, 1, 3, 0}, 2, 1, 3},
        {{4, 0, 3, 4}, 2, 2, 3}, // masked number 2: the next visible one (3) at row 2
        {{4, 0, 1, 0}, 3, 1, 2}, // nothing visible after 3: the last visible row
        {{4, 0, 3, 0xF}, 1, -1, 0},
        {{3, 0, 99, 0}, 1, 1, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ModeRowOf(c.range, c.number), c.row) << "number " << c.number;
        EXPECT_EQ(ModeVisibleCount(c.range), c.visible);
    }
    ModeRange masked{4, 0, 3, 1u << 2};
    const int numbers[] = {0, 1, 3, -1};
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(ModeNumberOf(masked, row), numbers[row]) << "row " << row;
    EXPECT_EQ(ModeNumberOf(masked, -1), -1);
}

TEST(WindowKinds, ScalingAndTitleBarRules) {
    struct Case {
        int kind;
        bool unscaled;
        bool noMinMax;
    } cases[] = {
        {0, true, false},   {5, false, false},  {10, true, false}, {39, true, false}, {40, true, true},
        {42, true, true},   {59, true, true},   {60, false, false}, {80, false, false}, {81, true, false},
        {89, true, false},  {90, false, false}, {99, true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KindUnscaled(c.kind), c.unscaled) << c.kind;
        EXPECT_EQ(KindNoMinMax(c.kind), c.noMinMax) << c.kind;
    }
}

TEST(WindowKinds, CentreTopNeverAboveTheScreen) {
    struct Case {
        int height;
        int screen;
        int top;
    } cases[] = {{200, 768, 268}, {201, 768, 267}, {736, 768, 0}, {900, 768, 0}, {0, 32, 0}, {100, 600, 234}};
    for (const Case& c : cases)
        EXPECT_EQ(CentreTop(c.height, c.screen), c.top) << c.height << " on " << c.screen;
}

TEST(WindowKinds, SlotsResetAndBadSlotNumbersTouchNothing) {
    ResetBuiltSlots();
    BuiltSlot(4).Left = 77;
    BuiltSlot(4).Flags = GeoHasPlacement;
    BuiltSlot(0).Left = 5; // outside 1..6: a scratch record
    BuiltSlot(7).Top = 9;
    EXPECT_EQ(BuiltSlot(4).Left, 77);
    for (int n = 1; n <= BuiltSlotCount; ++n) {
        EXPECT_EQ(BuiltSlot(n).Flags, n == 4 ? GeoHasPlacement : 0) << n;
    }
    ResetBuiltSlots();
    EXPECT_EQ(BuiltSlot(4).Left, 0);
    FormGeometry g{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    ResetGeometry(g);
    EXPECT_EQ(std::memcmp(&g, &BuiltSlot(1), sizeof g), 0);
}

} // namespace
