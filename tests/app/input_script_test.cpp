// Input scripts: what a line means for the frames after it, and refusals with their line.
#include <gtest/gtest.h>
#include <tuple>

#include "app/input_script.h"

namespace {

INPUTSCRIPT Parse(const std::string& szText) {
    INPUTSCRIPT script;
    std::string szError;
    EXPECT_TRUE(ParseInputScript(szText, &script, &szError)) << szError;
    return script;
}

TEST(InputScript, LinesHoldUntilTheNextAndJoysticksStayConnected) {
    INPUTSCRIPT script = Parse(
        "# warm-up\n"
        "\n"
        "3 LEFT z 7   # three keys\r\n"
        "10 J1=0,65535,0x9,DL ESCAPE\n"
        "12\n");
    INPUTDEVICES dev = InputScriptAt(script, 2);
    EXPECT_TRUE(dev.Keys.none());
    EXPECT_FALSE(dev.bJoyConnected[0] || dev.bJoyConnected[1]);

    dev = InputScriptAt(script, 9);
    EXPECT_EQ(dev.Keys.count(), 3u);
    EXPECT_TRUE(dev.Keys.test(VK_LEFT) && dev.Keys.test('Z') && dev.Keys.test('7'));

    dev = InputScriptAt(script, 10);
    EXPECT_EQ(std::tuple(dev.Keys.test(VK_ESCAPE), dev.Keys.test(VK_LEFT), dev.bJoyConnected[0]),
              std::tuple(true, false, false));
    ASSERT_TRUE(dev.bJoyConnected[1]);
    auto Joy1 = [&] {
        return std::tuple(dev.Joy[1].dwX, dev.Joy[1].dwY, dev.Joy[1].dwButtons, dev.dwJoyHat[1]);
    };
    EXPECT_EQ(Joy1(), std::tuple(0u, 65535u, 9u, 0xCu));  // the hat down 0x4, left 0x8

    dev = InputScriptAt(script, 4000000000u);
    EXPECT_TRUE(dev.Keys.none());
    ASSERT_TRUE(dev.bJoyConnected[1]);
    EXPECT_EQ(Joy1(), std::tuple(32767u, 32767u, 0u, 0u));
}

TEST(InputScript, BadLinesAreRefusedWithTheirNumber) {
    const std::pair<const char*, const char*> cases[] = {
        {"LEFT\n", "line 1: frame number expected"},
        {"-1 LEFT\n", "line 1: frame number expected"},
        {"4294967296\n", "line 1: frame number expected"},
        {"5\n5 UP\n", "line 2: frame 5 does not come after"},
        {"5\n4 UP\n", "line 2: frame 4 does not come after"},
        {"1 UPP\n", "line 1: unknown key 'UPP'"},
        {"1 VK0\n", "line 1: unknown key 'VK0'"},
        {"1 VK256\n", "line 1: unknown key 'VK256'"},
        {"1 J0=1,2\n", "line 1: joystick state"},
        {"1 J0=1,65536,0\n", "line 1: joystick state"},
        {"1 J0=1,2,3,4\n", "line 1: joystick state"},
        {"1 J0=1,2,3,UD\n", "line 1: joystick state"},
        {"1 J0=1,2,3,C,C\n", "line 1: joystick state"},
        {"1 J2=1,2,3\n", "line 1: unknown key 'J2=1,2,3'"},
    };
    for (const auto& [szText, szError] : cases) {
        INPUTSCRIPT script;
        script.Lines.resize(3);
        std::string szGot;
        EXPECT_FALSE(ParseInputScript(szText, &script, &szGot)) << szText;
        EXPECT_EQ(szGot.rfind(szError, 0), 0u) << szText << " gave " << szGot;
        EXPECT_TRUE(script.Lines.empty()) << szText;
    }
}

}  // namespace
