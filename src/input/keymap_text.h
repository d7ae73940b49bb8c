// The key file as readable text, for the keymap tool:
//   custom 1
//   joysticks 2
//   player1 count 8
//   player1 left key LEFT          (keyboard: a key name, or "code N" for 0..255)
//   player2 left joy0 X-           (joystick: X- X+ Y- Y+, "button 1+3", or "code N")
#pragma once
#include <string>

#include "input/input.h"

std::string KeyMapToText(const KEYMAP& map);
// Reads text over the default record. False with szError set (line and reason) when a line
// cannot be mapped.
bool KeyMapFromText(const std::string& szText, KEYMAP* lpMap, std::string* lpError);
// "LEFT", "Z", "F1"...; empty when the code has no name.
std::string KeyName(int nVk);
