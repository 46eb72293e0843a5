#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fenlodar::testing {

namespace {

int ProcessId() {
#ifdef _WIN32
  return static_cast<int>(GetCurrentProcessId());
#else
  return static_cast<int>(getpid());
#endif
}

}  // namespace

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (;;) {
    const std::filesystem::path candidate =
        base / ("fenlodar-test-" + std::to_string(ProcessId()) + "-" +
                std::to_string(counter++));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate.string();
      break;
    }
  }
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::Put(const std::string& name, const std::string& bytes) const {
  const std::string full = PathOf(name);
  // The ANSI path as it is; no conversion through a wide path.
#ifdef _WIN32
  HANDLE file = CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE) << full;
  DWORD written = 0;
  if (!bytes.empty()) {
    EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                          &written, nullptr));
  }
  CloseHandle(file);
#else
  std::ofstream out(full, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  EXPECT_TRUE(out.good()) << full;
#endif
  return full;
}

std::string TempFolder::MakeFolder(const std::string& name) const {
  const std::string full = PathOf(name);
#ifdef _WIN32
  EXPECT_TRUE(CreateDirectoryA(full.c_str(), nullptr)) << full;
#else
  EXPECT_TRUE(std::filesystem::create_directory(full)) << full;
#endif
  return full;
}

std::vector<std::string> TempFolder::Entries() const {
  std::vector<std::string> names;
#ifdef _WIN32
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
#else
  for (const auto& entry : std::filesystem::directory_iterator(path_))
    names.push_back(entry.path().filename().string());
#endif
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace fenlodar::testing
