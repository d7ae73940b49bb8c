// The gamepad rules every backend shares, on the inputs the SDL tests cannot make: D-pad buttons
// held against each other, and the browser's standard mapping and axis range.
#include <gtest/gtest.h>

#include <limits>

#include "platform/pad_fold.h"

TEST(PadFold, OppositeDpadButtonsLeaveTheStick) {
    PlatJoy joy{1000, 60000, 0};
    PadFold(&joy, PAD_HAT_LEFT | PAD_HAT_RIGHT | PAD_HAT_DOWN);
    EXPECT_EQ(joy.dwX, 1000u);
    EXPECT_EQ(joy.dwY, 65535u);
    PadFold(&joy, PAD_HAT_UP | PAD_HAT_DOWN);
    EXPECT_EQ(joy.dwY, 65535u);
}

TEST(PadFold, BrowserStandardMapping) {
    // Browser indices: 0..3 faces (south, east, west, north), 4 and 5 shoulders, 6 and 7
    // triggers, 8 back, 9 start, 10 and 11 stick clicks, 12..15 D-pad up, down, left, right, 16 guide.
    const uint32_t kButtons[17] = {0x1,  0x2,   0x4,   0x8, 0x10, 0x20, 0, 0,    0x40,
                                   0x80, 0x100, 0x200, 0,   0,    0,    0, 0x400};
    const uint32_t kHat[17] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x1, 0x4, 0x8, 0x2, 0};
    for (int i = 0; i < 17; ++i) {
        EXPECT_EQ(PadWebStandardButton(i).dwButton, kButtons[i]) << i;
        EXPECT_EQ(PadWebStandardButton(i).dwHat, kHat[i]) << i;
    }
    EXPECT_EQ(PadWebStandardButton(17).dwButton | PadWebStandardButton(-1).dwHat, 0u);

    // -1.0..1.0 to 0..65535: -1 is -32767, (-32767 + 32768) * 32767 / 32768 = 0.
    EXPECT_EQ(PadAxisFromUnit(-1.0), 0u);
    EXPECT_EQ(PadAxisFromUnit(-2.0), 0u);
    EXPECT_EQ(PadAxisFromUnit(0.0), 32767u);
    EXPECT_EQ(PadAxisFromUnit(std::numeric_limits<double>::quiet_NaN()), 32767u);
    EXPECT_EQ(PadAxisFromUnit(1.0), 65535u);
    EXPECT_EQ(PadAxisFromUnit(0.5), 32767u + 16383u * 32768u / 32767u);  // 0.5 * 32767 = 16383.5
}
