// Conversions between UTF-8 (how the tests write their expected texts),
// UTF-16 (how resources keep them) and an ANSI code page.
#pragma once

#include <string>

namespace fenlodar::testing {

std::wstring WideOfUtf8(const std::string& utf8);
std::string Utf8OfWide(const std::wstring& wide);
// "?" stands for a character the code page lacks.
std::string CodePageOfUtf8(unsigned code_page, const std::string& utf8);

}  // namespace fenlodar::testing
