#include "file_dialog.h"

#include <array>

#include "dialog_filter.h"
#include "system_library.h"
#include "texts.h"

namespace fenlodar {

bool FileDialog::Open(HWND owner) {
  // Without the dialog library there is no dialog to show: the same as a
  // dialog that failed to open, so nothing changes and nothing is said.
  const auto get_open_file_name = GetOpenFileNameCall();
  if (get_open_file_name == nullptr) return false;

  std::array<char, kPathBufferSize> path{};
  file_name_.copy(path.data(), path.size() - 1);
  // Converted at every open, as the filter text is kept in its plain form.
  const std::string filter = DialogFilterOf(texts::kFileDialogFilter);

  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = kPathBufferSize;
  dialog.lpstrInitialDir =
      initial_directory_.empty() ? nullptr : initial_directory_.c_str();
  // No OFN_NOCHANGEDIR: the dialog leaves the working directory at the
  // picked file's folder, which becomes the next initial directory.
  dialog.Flags =
      OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
  const bool confirmed = get_open_file_name(&dialog) != 0;
  if (confirmed) file_name_ = path.data();
  return confirmed;
}

std::string CurrentDirectory() {
  std::array<char, kPathBufferSize> folder{};
  const DWORD length = GetCurrentDirectoryA(kPathBufferSize, folder.data());
  if (length == 0 || length >= kPathBufferSize) return "";
  return std::string(folder.data(), length);
}

}  // namespace fenlodar
