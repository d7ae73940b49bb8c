// "user_data/Settings.txt": the player's settings beyond Option.dat's 40 bytes, one "key value"
// line each (for example "language en", "lobby example.org:27820"). Keys are lower-case letters,
// digits and '_'; values are printable ASCII without leading or trailing spaces. Lines the game
// does not know, and '#' comments, are kept as they are when it writes a value.
#pragma once
#include <cstddef>

constexpr size_t SETTINGS_VALUE_MAX = 255;       // longest value, in bytes
constexpr size_t SETTINGS_FILE_MAX = 16 * 1024;  // a larger file is no settings file

// The value of szKey (the last line that sets it) into szValue (nSize bytes with the end zero).
// False when the file is missing, unreadable, too large or not text, has no such line, or the
// value does not fit or is not printable ASCII; szValue is then "".
bool ReadSettingsValue(const char* szFile, const char* szKey, char* szValue, size_t nSize);

// Sets szKey to szValue, keeping every other line in its place (the key's first line is replaced,
// later ones removed; a new key goes at the end). The old file is replaced only once the new one
// is complete. False, and the file unchanged, on a bad key or value, a file that is not a
// settings file (too large, not text), or a failed write.
bool WriteSettingsValue(const char* szFile, const char* szKey, const char* szValue);
