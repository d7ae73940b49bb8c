// Writers for the two file formats the game reads.
#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/plat_display.h"

// 8-bit uncompressed BMP: bottom-up rows padded to 4 bytes, a 256-entry colour table.
std::vector<uint8_t> EncodeBmp(const std::vector<uint8_t>& indices, int nWidth, int nHeight,
                               const PlatColor lpPalette[256]);
// PCM WAV, 8-bit unsigned mono, with the plain 16-byte "fmt " chunk.
std::vector<uint8_t> EncodeWav(const std::vector<uint8_t>& samples, int nRate);
bool WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
