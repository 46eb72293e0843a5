#include "task_loading.h"

#include "address_extraction.h"
#include "current_task.h"
#include "file_io.h"
#include "text_ops.h"
#include "texts.h"

namespace fenlodar {

void LoadTaskFile(TaskWindow& window) {
  // Copied: a notice's message loop must not see the path change under us.
  const std::string path = CurrentTaskPath;
  if (!ValidateTaskFile(window, path)) return;
  window.SetBoxText(Box::TaskNameBox, TaskFileNameOf(path));
  ExtractAddresses(window, path);
}

bool ValidateTaskFile(TaskWindow& window, const std::string& path) {
  // The size comes first and from the directory entry, so a huge file is
  // refused without being read.
  if (FileSizeOf(path) > MaxTaskFileSize) {
    window.ShowNotice(texts::kNoticeFileTooLarge);
    return false;
  }
  if (ReadWholeFile(path).empty()) {
    window.ShowNotice(texts::kNoticeReadFailed);
    return false;
  }
  if (FindText(TaskFileNameOf(path), TaskFileMark) == kNotFound) {
    window.ShowNotice(texts::kNoticeNotTaskFile);
    return false;
  }
  return true;
}

std::string TaskFileNameOf(const std::string& path) {
  const std::vector<std::string> pieces = SplitText(path, "\\");
  return pieces.empty() ? path : pieces.back();
}

}  // namespace fenlodar
