// Every text the tool shows must be the GBK form of its Chinese original;
// a wrong escape in texts.h would show the user garbage.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "texts_utf8.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace fenlodar::testing {
namespace {

// Code page 936 to UTF-8, by the platform's own converter; "?" on failure.
std::string GbkToUtf8(const std::string& gbk) {
#ifdef _WIN32
  const int n = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, gbk.data(),
                                    static_cast<int>(gbk.size()), nullptr, 0);
  if (n <= 0 && !gbk.empty()) return "?";
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), n);
  const int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(m), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, utf8.data(), m, nullptr, nullptr);
  return utf8;
#else
  iconv_t cd = iconv_open("UTF-8", "GBK");
  if (cd == reinterpret_cast<iconv_t>(-1)) return "?";
  std::string in = gbk;
  std::string out(in.size() * 4 + 4, '\0');
  char* src = in.data();
  char* dst = out.data();
  std::size_t src_left = in.size();
  std::size_t dst_left = out.size();
  const bool ok = iconv(cd, &src, &src_left, &dst, &dst_left) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!ok) return "?";
  out.resize(out.size() - dst_left);
  return out;
#endif
}

TEST(Texts, EveryTextIsItsChineseOriginalInGbk) {
  for (const TextCase& t : kAllTexts) {
    EXPECT_EQ(GbkToUtf8(t.gbk), t.utf8) << t.name;
    // Commas and exclamation marks are the single-byte ones.
    EXPECT_EQ(std::strstr(t.gbk, "\xa3\xac"), nullptr) << t.name << ": full-width comma";
    EXPECT_EQ(std::strstr(t.gbk, "\xa3\xa1"), nullptr) << t.name << ": full-width !";
  }
}

}  // namespace
}  // namespace fenlodar::testing
