// Where the game finds its pictures and sounds, and where it keeps the player's own files
// (the settings and the key file).
#pragma once
#include <string>

// The folder of the player's files. "user_data" in the data folder (a build folder, an unpacked
// zip) unless FindDataFolder found an installed game; "" when an installed game has no home.
extern std::string g_szUserDataDir;

// Enters the data folder and chooses the player's folder. An installed game (its data in
// ../share/games/pomrin from the executable's folder szExeDir) keeps the player's files in
// $XDG_DATA_HOME/pomrin/user_data; otherwise the data is the working directory when it holds
// bmp/, else szExeDir/data, with user_data/ in it.
void FindDataFolder(const std::string& szExeDir);
// The per-user folder of an installed game: $XDG_DATA_HOME/pomrin/user_data, where an unset,
// empty or relative XDG_DATA_HOME means $HOME/.local/share. "" without either.
std::string XdgUserDataDir();
// Path of the player's file szName ("Option.dat", "CustomKey.dat").
std::string UserDataFile(const char* szName);
// Before a save: makes the per-user folder of an installed game. False when there is none.
bool PrepareUserDataDir();
