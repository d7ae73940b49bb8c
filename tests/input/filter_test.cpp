// The menus' direction repeat, fed frame by frame as the scenes do.
#include <gtest/gtest.h>

#include <vector>

#include "input/input.h"

namespace {

// Frames (1-based) of a hold on which InputRepeat lets wBit through.
std::vector<int> PassFrames(const std::vector<uint16_t>& raws, uint16_t wBit) {
    INPUTSTATE in{};
    std::vector<int> frames;
    for (size_t f = 0; f < raws.size(); ++f) {
        in.wDir = raws[f];
        InputRepeat(&in);
        if (in.wDir & wBit) frames.push_back(int(f) + 1);
    }
    return frames;
}

}  // namespace

// A held direction passes on frame 1, then from frame 25 every eight (followed on the title
// screen in the sim tests); each axis counts on its own. Right held throughout, up added on
// frame 10:
TEST(InputRepeat, EachAxisRepeatsOnItsOwnAndATurnRestartsTheCount) {
    std::vector<uint16_t> both(42, DIR_RIGHT);
    for (size_t f = 9; f < both.size(); ++f) both[f] |= DIR_UP;
    EXPECT_EQ(PassFrames(both, DIR_RIGHT), (std::vector<int>{1, 25, 33, 41}));
    EXPECT_EQ(PassFrames(both, DIR_UP), (std::vector<int>{10, 34, 42}));

    // Changing direction on the axis passes at once and restarts the count.
    std::vector<uint16_t> turn(30, DIR_RIGHT);
    for (size_t f = 5; f < turn.size(); ++f) turn[f] = DIR_LEFT;
    EXPECT_EQ(PassFrames(turn, DIR_RIGHT), (std::vector<int>{1}));
    EXPECT_EQ(PassFrames(turn, DIR_LEFT), (std::vector<int>{6, 30}));
}
