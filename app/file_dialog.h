// The open dialog and the two settings it keeps for the rest of the run:
// the last confirmed path and the folder the next open starts in.
#pragma once

#include <windows.h>

#include <string>

namespace fenlodar {

// The dialog's path buffer, the terminating zero included.
inline constexpr DWORD kPathBufferSize = 260;

class FileDialog {
 public:
  // Shows the modal dialog. True when the user confirmed a file, whose
  // full path is then FileName(); false on cancel or failure, with nothing
  // changed. The filter always starts at its first pair.
  bool Open(HWND owner);

  const std::string& FileName() const { return file_name_; }
  void SetInitialDirectory(const std::string& folder) { initial_directory_ = folder; }
  const std::string& InitialDirectory() const { return initial_directory_; }

 private:
  std::string file_name_;
  std::string initial_directory_;
};

// The working directory, or the empty text when it cannot be read into a
// buffer of kPathBufferSize bytes.
std::string CurrentDirectory();

}  // namespace fenlodar
