// Read-back processing of the input filter, centring and the placement slots.
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

TEST(WindowKinds, CentringKeepsTheTitleBarOnTheScreen) {
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
