// UTF-8 <-> UTF-16 for the Windows calls that take wide strings.
#pragma once
#include <string>

// Empty when sz is not valid UTF-8 (a name that cannot be right must not open another file).
std::wstring Utf8ToWide(const char* sz);
std::string WideToUtf8(const wchar_t* wsz);
