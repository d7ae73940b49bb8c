// Net records: the settings and both players' confirmed inputs of a session, a frame a line,
// and their replay as an offline two-player game from the character select.
//   pomrin-net-record 1
//   version 1.0.0
//   settings <the 40-byte settings record in hex>
//   <frame> <player 1 input word, hex> <player 2 input word, hex>   (frames 0, 1, 2, ...)
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

struct OPTIONDATA;

FILE* NetRecordOpen(const char* szFile, const OPTIONDATA* lpSettings);
void NetRecordFrame(FILE* fp, uint32_t dwFrame, const uint32_t dwRaw[2]);
void NetRecordClose(FILE* fp);

// Reads a file for --replay (a net record or an input script): false, with the reason in lpError,
// if it cannot be read or is larger than any record of a session (over two hours).
constexpr size_t NET_RECORD_MAX_BYTES = 8u << 20;
bool NetRecordRead(const std::string& szFile, std::string* lpText, std::string* lpError);

// Reads a record (text from outside: every line checked) and takes over the game's frames to
// play it from the character select; bPace: at the game's pace. The program ends after the
// last frame, or when the scenes reach the title as a session's end (exit code 0); nothing it
// does writes the settings file. False, with the reason in lpError, if the record is not valid.
bool NetReplayStart(const std::string& szText, bool bPace, std::string* lpError);
// True if the text starts as a net record (else it may be an input script of a local game).
bool NetRecordLooksLike(const std::string& szText);
