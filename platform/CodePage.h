// Code-page conversion between narrow text (bytes of a Windows code page) and wide text (UTF-16),
// through iconv. The "system code page" stands for the Windows ANSI code page: 936 unless the
// process sets another (environment variable KRV_SYSTEM_CODEPAGE at start, or the setter).
#pragma once

#include <string>

namespace krv {

int GetSystemCodePage();
void SetSystemCodePage(int codePage);

// Whether iconv can convert this Windows code page (936, 950, 437, 1252, 65001 ...).
bool IsCodePageSupported(int codePage);

// Conversions; codePage 0 means the system code page. A character without a form in the target
// code page becomes the default character "?"; invalid input bytes become U+FFFD when widened.
// An unsupported code page gives an empty result.
std::u16string AnsiToWide(const std::string& text, int codePage = 0);
std::string WideToAnsi(const std::u16string& text, int codePage = 0);

// UTF-8 for whatever shows text to a person outside the module (console, human-readable logs).
std::string AnsiToUtf8(const std::string& text, int codePage = 0);
std::string Utf8ToAnsi(const std::string& text, int codePage = 0);
std::u16string Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::u16string& text);

}  // namespace krv
