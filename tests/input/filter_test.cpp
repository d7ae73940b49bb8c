// Menu filters and cursors, fed frame by frame as the scenes do.
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

uint16_t Trigger(INPUTSTATE& in, uint16_t wRaw) {
    in.wButton = wRaw;
    InputTrigger(&in);
    return in.wButton;
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

TEST(InputTrigger, OnePressPerPressAndRelease) {
    INPUTSTATE in{};
    EXPECT_EQ(Trigger(in, 0x3), 0x3);  // Z and X together pass together
    EXPECT_EQ(Trigger(in, 0x3), 0);
    EXPECT_EQ(Trigger(in, 0), 0);
    EXPECT_EQ(Trigger(in, 0x1), 0x1);  // Z
    EXPECT_EQ(Trigger(in, 0x3), 0);    // X while Z held: nothing
    EXPECT_EQ(Trigger(in, 0x2), 0);
    EXPECT_EQ(Trigger(in, 0), 0);  // all up re-arms
    EXPECT_EQ(Trigger(in, 0x2), 0x2);
    EXPECT_EQ(in.bButtonHold, 1u);
}

TEST(CursorMove, WrapsAndPlacesTheCursor) {
    INPUTSTATE in{};
    CURSOR cur{};
    in.wDir = DIR_UP;
    CursorMove(&in, &cur, 100, 40, 10, 200, 2, 3);
    EXPECT_EQ(cur.nRow, 3);
    EXPECT_EQ(cur.nY, 3 * 40 + 200);
    in.wDir = DIR_DOWN;
    CursorMove(&in, &cur, 100, 40, 10, 200, 2, 3);
    EXPECT_EQ(cur.nRow, 0);
    in.wDir = DIR_LEFT | DIR_RIGHT;  // left is tested first
    CursorMove(&in, &cur, 100, 40, 10, 200, 2, 3);
    EXPECT_EQ(cur.nCol, 2);
    EXPECT_EQ(cur.nX, 210);
    in.wDir = 0;
    cur.nCol = 1;  // set elsewhere: placed by the next call
    CursorMove(&in, &cur, 100, 40, 10, 200, 2, 3);
    EXPECT_EQ(cur.nX, 110);
    CursorMove(&in, &cur, 100, 40, 10, 200, -1, 3);  // negative limit: untouched
    EXPECT_EQ(cur.nX, 110);
}
