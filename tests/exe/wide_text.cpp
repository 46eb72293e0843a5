#include "wide_text.h"

#include <windows.h>

namespace fenlodar::testing {

std::wstring WideOfUtf8(const std::string& utf8) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(),
                                    static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                      n);
  return wide;
}

std::string Utf8OfWide(const std::wstring& wide) {
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                          0, nullptr, nullptr);
  std::string utf8(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                      n, nullptr, nullptr);
  return utf8;
}

std::string CodePageOfUtf8(unsigned code_page, const std::string& utf8) {
  const std::wstring wide = WideOfUtf8(utf8);
  const int n =
      WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()),
                          nullptr, 0, nullptr, nullptr);
  std::string bytes(n, '\0');
  WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()),
                      bytes.data(), n, nullptr, nullptr);
  return bytes;
}

}  // namespace fenlodar::testing
