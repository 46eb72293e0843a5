// The version resource as Windows reads it back from the built exe: the
// numbers of the project version, and the texts of both blocks, through
// the ANSI calls (as GBK under code page 936) and the wide ones.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "tool_driver.h"
#include "wide_text.h"

namespace fenlodar::testing {
namespace {

using fenlodar::e2e::WindowsPathOfUnixPath;

const std::string kExe = WindowsPathOfUnixPath(FENLODAR_EXE);

class VersionResourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(kExe.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource in " << kExe << " (error "
                        << GetLastError() << ")";
    block_.resize(size);
    ASSERT_TRUE(GetFileVersionInfoA(kExe.c_str(), 0, size, block_.data()));
  }

  // The value at `path`, or nothing when the resource has none.
  std::pair<const void*, UINT> Value(const std::string& path) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block_.data(), path.c_str(), &value, &length))
      return {nullptr, 0};
    return {value, length};
  }

  std::vector<char> block_;
};

TEST_F(VersionResourceTest, NumbersAreTheProjectVersion) {
  unsigned major = 0, minor = 0, patch = 0, tweak = 0;
  ASSERT_GE(std::sscanf(FENLODAR_VERSION, "%u.%u.%u.%u", &major, &minor, &patch, &tweak),
            3)
      << FENLODAR_VERSION;
  const auto [value, length] = Value("\\");
  ASSERT_NE(value, nullptr);
  ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, (major << 16) | minor);
  EXPECT_EQ(fixed->dwFileVersionLS, (patch << 16) | tweak);
  EXPECT_EQ(fixed->dwProductVersionMS, (major << 16) | minor);
  EXPECT_EQ(fixed->dwProductVersionLS, (patch << 16) | tweak);
  // A release: not marked as a debug, pre-release or patched build.
  EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u);
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_F(VersionResourceTest, ChineseTranslationComesFirst) {
  const auto [value, length] = Value("\\VarFileInfo\\Translation");
  ASSERT_NE(value, nullptr);
  const auto* words = static_cast<const WORD*>(value);
  std::vector<std::pair<WORD, WORD>> translations;
  for (UINT i = 0; i + 1 < length / sizeof(WORD); i += 2)
    translations.emplace_back(words[i], words[i + 1]);
  const std::vector<std::pair<WORD, WORD>> expected = {{0x0804, 936}, {0x0409, 1200}};
  EXPECT_EQ(translations, expected);
}

struct StringCase {
  const char* block;
  const char* key;
  std::string utf8;
};

std::vector<StringCase> StringCases() {
  const std::string version = FENLODAR_VERSION;
  std::vector<StringCase> cases;
  for (const char* block : {"080403a8", "040904b0"}) {
    cases.push_back({block, "ProductName", "Fenlodar"});
    cases.push_back({block, "FileVersion", version});
    cases.push_back({block, "ProductVersion", version});
    cases.push_back({block, "OriginalFilename", "fenlodar.exe"});
    cases.push_back({block, "InternalName", "fenlodar"});
  }
  cases.push_back({"080403a8", "FileDescription", "Fenlodar 下载任务地址修改工具"});
  cases.push_back({"080403a8", "LegalCopyright", "版权所有 (C) 2026 Fenlodar 开发者"});
  cases.push_back(
      {"040904b0", "FileDescription", "Fenlodar download task address editor"});
  cases.push_back(
      {"040904b0", "LegalCopyright", "Copyright (C) 2026 the Fenlodar developers"});
  return cases;
}

TEST_F(VersionResourceTest, TextsReadBackThroughTheAnsiCallsAsGbk) {
  ASSERT_EQ(GetACP(), 936u) << "the tests run under code page 936";
  for (const StringCase& c : StringCases()) {
    const std::string path = std::string("\\StringFileInfo\\") + c.block + "\\" + c.key;
    SCOPED_TRACE(path);
    const auto [value, length] = Value(path);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(std::string(static_cast<const char*>(value)), CodePageOfUtf8(936, c.utf8));
  }
}

TEST_F(VersionResourceTest, TextsReadBackThroughTheWideCalls) {
  for (const StringCase& c : StringCases()) {
    const std::wstring path =
        L"\\StringFileInfo\\" + WideOfUtf8(c.block) + L"\\" + WideOfUtf8(c.key);
    SCOPED_TRACE(std::string(c.block) + "\\" + c.key);
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block_.data(), path.c_str(), &value, &length));
    EXPECT_EQ(Utf8OfWide(static_cast<const wchar_t*>(value)), c.utf8);
  }
}

}  // namespace
}  // namespace fenlodar::testing
