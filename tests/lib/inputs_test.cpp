// Input filter, read-back processing and mode-box numbering rules; window kind rules and centring.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "lib/forms.h"
#include "lib/inputs.h"

namespace {

std::string Typed(int kind, const std::string& keys) {
    std::string out;
    for (char c : keys)
        if (char kept = FilterInputChar(kind, c)) out += kept;
    return out;
}

TEST(InputFilter, RefusesAndUpperCasesPerKind) {
    const std::tuple<int, const char*, const char*> cases[] = {{0, "a*b:\\", "a*b:\\"},
                                                               {1, "ab c", "AB C"},
                                                               {2, "ab", "ab"},
                                                               {3, "x1y", "X1Y"},
                                                               {10, "C:\\a*?<>|\"b", "C:\\ab"},
                                                               {11, "a:b\\c.txt", "abc.txt"},
                                                               {12, "C:\\DA.TA@1", "C\\DATA1"},
                                                               {13, "ab.c:d$", "ABCD$"},
                                                               {14, "ab.c:d$", "ABCD"},
                                                               {99, "*?", "*?"}};
    for (auto [kind, keys, text] : cases) EXPECT_EQ(Typed(kind, keys), text) << "kind " << kind;
}

TEST(InputFilter, ReadBackCleansPerKind) {
    const std::tuple<int, const char*, const char*> cases[] = {
        {0, " a b ", " a b "},      {1, " A B ", "AB"},       {10, "C:\\A B\\", "C:\\A B\\"},
        {11, " a b.txt", "ab.txt"}, {12, "C:\\D\\", "C:\\D"}, {12, "C:\\D\\\\", "C:\\D\\"},
        {13, "A B", "AB"},          {14, " X ", "X"},         {12, "", ""}};
    for (auto [kind, text, result] : cases) {
        char buf[32];
        std::strcpy(buf, text);
        ProcessReadBack(kind, buf, 31);
        EXPECT_STREQ(buf, result) << "kind " << kind << " text '" << text << "'";
    }
}

TEST(InputFilter, ReadBackOfAFullBufferStaysInside) {
    char storage[8] = {'a', ' ', 'b', 'c', 'd', '#', '#', '#'}; // capacity 4: no terminator inside
    ProcessReadBack(11, storage, 4);
    EXPECT_EQ(std::string(storage, 4), "abcd");
    EXPECT_EQ(storage[5], '#');
}

TEST(ModeBoxNumbers, RowsAndNumbersFollowRangeAndMask) {
    // range, number, ModeRowOf(number), ModeVisibleCount. With "dummy" hidden (first 1) number 0 selects
    // row 0; a masked number selects the next visible one; with none after it, the last visible row.
    const std::tuple<ModeRange, int, int, int> cases[] = {
        {{4, 1, 3, 0}, 0, 0, 3}, {{4, 1, 3, 0}, 2, 1, 3},    {{4, 0, 3, 4}, 2, 2, 3},
        {{4, 0, 1, 0}, 3, 1, 2}, {{4, 0, 3, 0xF}, 1, -1, 0}, {{3, 0, 99, 0}, 1, 1, 3}};
    for (auto [range, number, row, visible] : cases) {
        EXPECT_EQ(ModeRowOf(range, number), row) << "number " << number;
        EXPECT_EQ(ModeVisibleCount(range), visible);
    }
    ModeRange masked{4, 0, 3, 1u << 2};
    const int numbers[] = {0, 1, 3, -1};
    for (int row = 0; row < 4; ++row) EXPECT_EQ(ModeNumberOf(masked, row), numbers[row]) << "row " << row;
    EXPECT_EQ(ModeNumberOf(masked, -1), -1);
}

TEST(WindowKinds, ScalingTitleBarAndCentring) {
    // kind, unscaled, no minimize/maximize boxes: the edges of each range
    const std::tuple<int, bool, bool> kinds[] = {{0, true, false},  {5, false, false},  {39, true, false},
                                                 {40, true, true},  {59, true, true},   {60, false, false},
                                                 {81, true, false}, {90, false, false}, {99, true, false}};
    for (auto [kind, unscaled, noMinMax] : kinds) {
        EXPECT_EQ(KindUnscaled(kind), unscaled) << kind;
        EXPECT_EQ(KindNoMinMax(kind), noMinMax) << kind;
    }
    // window height, screen height, top: never above the screen
    const std::tuple<int, int, int> tops[] = {{200, 768, 268}, {201, 768, 267}, {736, 768, 0}, {900, 768, 0}};
    for (auto [height, screen, top] : tops) EXPECT_EQ(CentreTop(height, screen), top) << height;
}

TEST(WindowKinds, BadSlotNumbersTouchNothingAndResetClears) {
    ResetBuiltSlots();
    BuiltSlot(4).Flags = GeoHasPlacement;
    BuiltSlot(0).Flags = BuiltSlot(7).Flags = GeoMaximized; // outside 1..6: a scratch record
    for (int n = 1; n <= BuiltSlotCount; ++n)
        EXPECT_EQ(BuiltSlot(n).Flags, n == 4 ? GeoHasPlacement : 0) << n;
    ResetBuiltSlots();
    EXPECT_EQ(BuiltSlot(4).Flags, 0);
    FormGeometry g{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    ResetGeometry(g);
    EXPECT_EQ(std::memcmp(&g, &BuiltSlot(1), sizeof g), 0);
}

} // namespace
