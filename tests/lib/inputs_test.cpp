// Read-back processing and mode-box numbering rules (typing through the filter is the input controls'
// window test's); window kind rules and centring.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "lib/forms.h"
#include "lib/inputs.h"

namespace {

TEST(InputFilter, ReadBackOfAFullBufferStaysInside) {
    char storage[8] = {'a', 'b', 'c', 'd', 'e', '#', '#', '#'}; // capacity 4: no terminator inside
    ProcessReadBack(InputPath, storage, 4);
    EXPECT_EQ(std::string(storage, 4), "abcd");
    EXPECT_EQ(storage[5], '#');
}

TEST(ModeBoxNumbers, RowsAndNumbersFollowTheRange) {
    // range, number, ModeRowOf(number), ModeVisibleCount: a number below the first selects the first
    // row, one past the last the last row.
    const std::tuple<ModeRange, int, int, int> cases[] = {{{4, 1, 3, 0}, 0, 0, 3}, {{4, 0, 1, 0}, 3, 1, 2}};
    for (auto [range, number, row, visible] : cases) {
        EXPECT_EQ(ModeRowOf(range, number), row) << "number " << number;
        EXPECT_EQ(ModeVisibleCount(range), visible);
    }
    ModeRange cols{4, 1, 3, 0};
    EXPECT_EQ(ModeNumberOf(cols, 0), 1);
    EXPECT_EQ(ModeNumberOf(cols, -1), -1);
}

TEST(WindowKinds, ScalingTitleBarAndCentring) {
    // kind, unscaled, no minimize/maximize boxes
    const std::tuple<int, bool, bool> kinds[] = {{KindBrowExp, true, true},
                                                 {KindBrowPath, false, false},
                                                 {KindDialog, true, false},
                                                 {KindUnrecorded, true, false}};
    for (auto [kind, unscaled, noMinMax] : kinds) {
        EXPECT_EQ(KindUnscaled(kind), unscaled) << kind;
        EXPECT_EQ(KindNoMinMax(kind), noMinMax) << kind;
    }
    // window height, screen height, top: never above the screen
    const std::tuple<int, int, int> tops[] = {{200, 768, 268}, {900, 768, 0}};
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
