// Platform layer: the running process under both backends: its arguments, text for the person
// who started it, and the lock that keeps a second copy of the game from running.
#pragma once
#include <string>
#include <vector>

// The program's arguments, argv[0] included, as UTF-8 whatever the system's code page.
std::vector<std::string> Plat_Arguments(int argc, char** argv);
// Text the command line asked for (usage, version): to the terminal the program was started
// from, or, with none, in a box with szCaption. bError: the error stream.
void Plat_ShowText(const char* szCaption, const char* szText, bool bError);

// The language the person who started the program uses, as the system names it: a locale
// ("ja_JP.UTF-8") or a language tag ("ja-JP", "en"); "" when the system names none.
std::string Plat_OsLanguage();

// Takes the system-wide lock named szName for the life of the process. False only when another
// process holds it; a system that offers no place for the lock lets the program run unguarded.
bool Plat_OsLockInstance(const char* szName);
void Plat_OsUnlockInstance();
