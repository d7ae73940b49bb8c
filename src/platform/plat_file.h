// Platform layer: files named by UTF-8 paths, the program's own folder and the system's fonts.
// Every path the game hands over is UTF-8 (the data files have Japanese names); the platform
// turns it into whatever its file calls take.
#pragma once
#include <cstdio>
#include <string>

// Opens a file with a C mode string ("rb", "wb", ...). Null when it cannot be opened.
std::FILE* Plat_FileOpen(const char* szPath, const char* szMode);
// Pushes what was written to fp down to the storage device. False on failure.
bool Plat_FileSync(std::FILE* fp);
// Puts szFrom in the place of szTo in one step, also when szTo exists. False on failure.
bool Plat_FileReplace(const char* szFrom, const char* szTo);
// Deletes a file; false when it was not there or cannot be removed.
bool Plat_FileRemove(const char* szPath);
// The folder holding the running program, or "" when the platform cannot tell.
std::string Plat_ExecutableDir();
// The file of the installed font family szFamily, or "" when the system has none.
std::string Plat_SystemFontFile(const char* szFamily);
