#include "app/settings_text.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/plat_file.h"

namespace {

bool IsKeyChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool ValidKey(const char* szKey) {
    if (!szKey || !*szKey || std::strlen(szKey) > 32) return false;
    for (const char* p = szKey; *p; ++p)
        if (!IsKeyChar(*p)) return false;
    return true;
}

bool ValidValue(const std::string& szValue) {
    if (szValue.empty() || szValue.size() > SETTINGS_VALUE_MAX) return false;
    if (szValue.front() == ' ' || szValue.back() == ' ') return false;
    for (char c : szValue)
        if (c < 0x20 || c > 0x7E) return false;
    return true;
}

// The file's lines without their line ends. 1: read; 0: no file; -1: not a settings file.
int ReadLines(const char* szFile, std::vector<std::string>* lpLines) {
    lpLines->clear();
    std::FILE* fp = Plat_FileOpen(szFile, "rb");
    if (!fp) return 0;
    std::string szText;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, fp)) > 0 && szText.size() <= SETTINGS_FILE_MAX)
        szText.append(buf, n);
    const bool bError = std::ferror(fp) != 0;
    std::fclose(fp);
    if (bError || szText.size() > SETTINGS_FILE_MAX) return -1;
    size_t nStart = 0;
    while (nStart < szText.size()) {
        size_t nEnd = szText.find('\n', nStart);
        if (nEnd == std::string::npos) nEnd = szText.size();
        std::string szLine = szText.substr(nStart, nEnd - nStart);
        if (!szLine.empty() && szLine.back() == '\r') szLine.pop_back();
        // Text only: a zero byte or another control character means some other file.
        for (char c : szLine)
            if ((c >= 0 && c < 0x20 && c != '\t')) return -1;
        lpLines->push_back(szLine);
        nStart = nEnd + 1;
    }
    return 1;
}

// The key a line sets, or "" for a comment, a blank line or text that is no setting.
std::string LineKey(const std::string& szLine, std::string* lpValue) {
    size_t nSpace = szLine.find(' ');
    if (nSpace == std::string::npos || nSpace == 0) return "";
    std::string szKey = szLine.substr(0, nSpace);
    if (!ValidKey(szKey.c_str())) return "";
    size_t nValue = szLine.find_first_not_of(' ', nSpace);
    if (nValue == std::string::npos) return "";
    if (lpValue) {
        *lpValue = szLine.substr(nValue);
        while (!lpValue->empty() && lpValue->back() == ' ') lpValue->pop_back();
    }
    return szKey;
}

}  // namespace

bool ReadSettingsValue(const char* szFile, const char* szKey, char* szValue, size_t nSize) {
    if (nSize == 0) return false;
    szValue[0] = '\0';
    std::vector<std::string> lines;
    if (!ValidKey(szKey) || ReadLines(szFile, &lines) != 1) return false;
    std::string szFound;
    bool bFound = false;
    for (const std::string& szLine : lines) {
        std::string szLineValue;
        if (LineKey(szLine, &szLineValue) == szKey) {
            szFound = szLineValue;
            bFound = true;
        }
    }
    if (!bFound || !ValidValue(szFound) || szFound.size() >= nSize) return false;
    std::memcpy(szValue, szFound.c_str(), szFound.size() + 1);
    return true;
}

bool WriteSettingsValue(const char* szFile, const char* szKey, const char* szValue) {
    if (!ValidKey(szKey) || !szValue || !ValidValue(szValue)) return false;
    std::vector<std::string> lines;
    if (ReadLines(szFile, &lines) < 0) return false;
    const std::string szNew = std::string(szKey) + " " + szValue;
    bool bDone = false;
    std::string szText;
    for (const std::string& szLine : lines) {
        if (LineKey(szLine, nullptr) == szKey) {
            if (bDone) continue;
            szText += szNew + "\n";
            bDone = true;
        } else {
            szText += szLine + "\n";
        }
    }
    if (!bDone) szText += szNew + "\n";
    if (szText.size() > SETTINGS_FILE_MAX) return false;
    // Written beside the old file and renamed over it only when complete.
    const std::string szTemp = std::string(szFile) + ".tmp";
    std::FILE* fp = Plat_FileOpen(szTemp.c_str(), "wb");
    if (!fp) return false;
    bool bOk = std::fwrite(szText.data(), 1, szText.size(), fp) == szText.size();
    bOk = Plat_FileSync(fp) && bOk;
    bOk = std::fclose(fp) == 0 && bOk;
    if (!bOk || !Plat_FileReplace(szTemp.c_str(), szFile)) {
        Plat_FileRemove(szTemp.c_str());
        return false;
    }
    return true;
}
