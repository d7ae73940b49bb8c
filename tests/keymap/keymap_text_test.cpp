// The key file's text form used by the keymap tool.
#include <gtest/gtest.h>

#include <string>

#include "input/keymap_text.h"
#include "net/hex_fixture.h"

// Key codes without a name are written as "key code N": a bare "5" would read back as the
// digit key 5 (code 53).
TEST(KeyMapText, DefaultsAndUnnamedKeyCodesPrintReadablyAndReadBack) {
    KEYMAP map;
    SetDefaultKeyMap(&map);
    map.Player[0].Bind[4].wCode = 0;
    map.Player[0].Bind[5].wCode = 5;
    map.Player[0].Bind[6].wCode = 200;
    std::string szText = KeyMapToText(map);
    for (const char* szLine :
         {"player1 left key LEFT\n", "player1 button4 key V\n", "player2 up joy0 Y-\n",
          "player2 button3 joy0 button 3\n", "custom 0\njoysticks 2\n", "player1 button2 key code 5\n"})
        EXPECT_NE(szText.find(szLine), std::string::npos) << szLine << szText;

    KEYMAP back{};
    std::string szError;
    ASSERT_TRUE(KeyMapFromText(szText, &back, &szError)) << szError;
    uint8_t a[KEYMAP_FILE_SIZE], b[KEYMAP_FILE_SIZE];
    KeyMapEncode(&map, a);
    KeyMapEncode(&back, b);
    EXPECT_EQ(std::string(a, a + 144), std::string(b, b + 144));
}

TEST(KeyMapText, WrittenTextGivesTheFileBytes) {
    KEYMAP map{};
    std::string szError;
    ASSERT_TRUE(
        KeyMapFromText("custom 1  # on\n\nplayer1 count 6\nplayer1 button1 key SPACE\n"
                       "player1 left joy1 button 1+3\nplayer1 right joy0 X+\nplayer2 right key F2\n",
                       &map, &szError))
        << szError;
    Bytes bytes(KEYMAP_FILE_SIZE), want;
    KeyMapEncode(&map, bytes.data());
    const auto fixture = ReadHexFixture("keymap_file.txt");
    for (const Bytes& line : fixture.at("file")) want.insert(want.end(), line.begin(), line.end());
    EXPECT_EQ(bytes, want);
}

TEST(KeyMapText, TextThatCannotBeMappedIsRefused) {
    const char* kBad[] = {
        "player1 left key NOSUCHKEY\n",
        "player1 count 9\n",
        "player1 count 3\n",
        "player3 left key A\n",
        "player1 jump key A\n",
        "player1 left joy0 Z+\n",
        "player1 left joy0 button 17\n",
        "player1 left joy8 X-\n",
        "joysticks 17\n",
        "custom yes\n",
        "player2 left joy2 X-\n",  // joystick 2 is not polled with "joysticks 2"
        "joysticks 0\n",           // player 2 still uses joystick 0
        "player1 left key 256\n",
        "player1 left key code 256\n",
    };
    for (const char* szText : kBad) {
        SCOPED_TRACE(szText);
        KEYMAP map;
        SetDefaultKeyMap(&map);
        map.bCustom = 77;
        std::string szError;
        EXPECT_FALSE(KeyMapFromText(szText, &map, &szError));
        EXPECT_EQ(szError.rfind("line", 0) == 0 || szError.find("joysticks is") != std::string::npos, true)
            << szError;
        EXPECT_EQ(map.bCustom, 77u);  // nothing changed
    }
}
