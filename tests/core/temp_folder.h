// A fresh folder under the system's temporary folder, removed with all it
// holds when the test ends. Every fixture lives in one, never at a fixed path.
#pragma once

#include <string>
#include <vector>

namespace fenlodar::testing {

// The separator of the platform's paths: tests build real paths with it.
#ifdef _WIN32
inline constexpr char kPathSeparator[] = "\\";
#else
inline constexpr char kPathSeparator[] = "/";
#endif

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  // The full path of `name` inside the folder.
  std::string PathOf(const std::string& name) const {
    return path_ + kPathSeparator + name;
  }
  // Writes `bytes` to `name` inside the folder and gives its full path.
  std::string Put(const std::string& name, const std::string& bytes) const;
  // Creates a subfolder and gives its full path.
  std::string MakeFolder(const std::string& name) const;
  // Names of every entry in the folder (to catch stray temporary files).
  std::vector<std::string> Entries() const;

 private:
  std::string path_;
};

}  // namespace fenlodar::testing
