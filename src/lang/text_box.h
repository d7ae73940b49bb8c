// The boxes the texts of both tables must fit, by where the scenes draw them.
#pragma once
#include "lang/lang.h"

namespace textbox {
// Pictures, in the picture's own pixels: the logo across the title, the tagline ribbon and the
// menu panel of bmp/メッセージ.bmp inside their rims, the heading of the character select.
constexpr TEXTBOX kLogo{32, 608, 64};
constexpr TEXTBOX kTagline{8, 424, 22};
constexpr TEXTBOX kMenuRow{8, 280, 26};
constexpr TEXTBOX kHeading{112, 528, 28};
// The options screen, its menu at (32, 32) in the 24-pixel font: labels end before the values
// at x 352, values inside the panel's rim, help lines and the footer 32 pixels from the edge.
constexpr TEXTBOX kLabel{32, 344, 24};
constexpr TEXTBOX kValue{352, 624, 24};
constexpr TEXTBOX kHelp{32, 608, 24};
// The longest Japanese help lines run past the screen's edge (the help panel does too).
constexpr TEXTBOX kHelpWide{32, 680, 24};
// The character select in the 20-pixel font, by player 2's panel (the narrower): the name and
// the skill lines to the panel's rim, the statistics' labels before their numbers at x + 120,
// the battle mode inside its box (the shooting battle's name starts further left).
constexpr TEXTBOX kName{416, 624, 20};
constexpr TEXTBOX kStat{416, 536, 20};
constexpr TEXTBOX kSkillLine{416, 624, 20};
constexpr TEXTBOX kMode{260, 440, 20};
constexpr TEXTBOX kModeWide{230, 440, 20};
// A net session's screen: the waiting lines at x 120, the message line at the bottom.
constexpr TEXTBOX kNetWait{120, 624, 20};
constexpr TEXTBOX kNetLine{16, 624, 20};
// The online screen in the 24-pixel font: rows from x 64 before their values at x 352, the
// prompts, status lines and notes from x 32.
constexpr TEXTBOX kOnlineRow{64, 344, 24};
constexpr TEXTBOX kOnlineValue{352, 624, 24};
constexpr TEXTBOX kOnlineLine{32, 624, 24};
// Not drawn by the game: message boxes and the window's title.
constexpr TEXTBOX kNone{0, 0, 0};
}  // namespace textbox
