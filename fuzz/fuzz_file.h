// The readers under test open files by name: each input is written to one scratch file.
#pragma once
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

inline const char* FuzzWriteFile(const uint8_t* lpData, size_t nSize) {
    static const std::string szFile = [] {
        // Memory-backed when the machine has it: the file is rewritten for every input.
        const char* szDir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::getenv("TMPDIR");
        return std::string(szDir ? szDir : "/tmp") + "/pomrin_fuzz_" + std::to_string(getpid());
    }();
    std::FILE* fp = std::fopen(szFile.c_str(), "wb");
    if (!fp) std::abort();
    if (nSize && std::fwrite(lpData, 1, nSize, fp) != nSize) std::abort();
    std::fclose(fp);
    return szFile.c_str();
}
