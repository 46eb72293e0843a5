// The built exe's image header: made for the processor of this build, a
// window program, and marked to run on Windows 7 (6.1), the oldest system
// it is for; Windows refuses an exe that asks for a newer one.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "tool_driver.h"

namespace fenlodar::testing {
namespace {

using fenlodar::e2e::WindowsPathOfUnixPath;

struct ImageFacts {
  WORD machine = 0;
  WORD subsystem = 0;
  WORD os_major = 0, os_minor = 0;
  WORD subsystem_major = 0, subsystem_minor = 0;
};

template <typename Header>
bool Read(const std::string& bytes, std::size_t at, Header* header) {
  if (at > bytes.size() || bytes.size() - at < sizeof(Header)) return false;
  std::memcpy(header, bytes.data() + at, sizeof(Header));
  return true;
}

template <typename Optional>
void Take(const Optional& optional, ImageFacts* facts) {
  facts->subsystem = optional.Subsystem;
  facts->os_major = optional.MajorOperatingSystemVersion;
  facts->os_minor = optional.MinorOperatingSystemVersion;
  facts->subsystem_major = optional.MajorSubsystemVersion;
  facts->subsystem_minor = optional.MinorSubsystemVersion;
}

// False when the bytes are no PE image.
bool FactsOf(const std::string& bytes, ImageFacts* facts) {
  IMAGE_DOS_HEADER dos;
  if (!Read(bytes, 0, &dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) return false;
  const std::size_t nt = static_cast<std::size_t>(dos.e_lfanew);
  DWORD signature = 0;
  IMAGE_FILE_HEADER file;
  if (!Read(bytes, nt, &signature) || signature != IMAGE_NT_SIGNATURE) return false;
  if (!Read(bytes, nt + sizeof(signature), &file)) return false;
  facts->machine = file.Machine;
  const std::size_t optional_at = nt + sizeof(signature) + sizeof(file);
  WORD magic = 0;
  if (!Read(bytes, optional_at, &magic)) return false;
  if (magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
    IMAGE_OPTIONAL_HEADER32 optional;
    if (!Read(bytes, optional_at, &optional)) return false;
    Take(optional, facts);
    return true;
  }
  if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
    IMAGE_OPTIONAL_HEADER64 optional;
    if (!Read(bytes, optional_at, &optional)) return false;
    Take(optional, facts);
    return true;
  }
  return false;
}

TEST(ExeImageTest, BuiltForThisProcessorAsAWindowProgramForWindows7On) {
  std::ifstream file(WindowsPathOfUnixPath(FENLODAR_EXE), std::ios::binary);
  ASSERT_TRUE(file) << "cannot read " << FENLODAR_EXE;
  const std::string bytes{std::istreambuf_iterator<char>(file), {}};
  ImageFacts facts;
  ASSERT_TRUE(FactsOf(bytes, &facts)) << FENLODAR_EXE << " is no PE image";
#ifdef _WIN64
  EXPECT_EQ(facts.machine, IMAGE_FILE_MACHINE_AMD64);
#else
  EXPECT_EQ(facts.machine, IMAGE_FILE_MACHINE_I386);
#endif
  EXPECT_EQ(facts.subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
  const auto at_most_windows_7 = [](WORD major, WORD minor) {
    return major < 6 || (major == 6 && minor <= 1);
  };
  EXPECT_TRUE(at_most_windows_7(facts.subsystem_major, facts.subsystem_minor))
      << "subsystem version " << facts.subsystem_major << "." << facts.subsystem_minor;
  EXPECT_TRUE(at_most_windows_7(facts.os_major, facts.os_minor))
      << "operating system version " << facts.os_major << "." << facts.os_minor;
}

}  // namespace
}  // namespace fenlodar::testing
