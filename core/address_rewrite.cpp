#include "address_rewrite.h"

#include "current_task.h"
#include "file_io.h"
#include "task_loading.h"
#include "text_ops.h"
#include "texts.h"

namespace fenlodar {

namespace {

// One pass: replaces the first occurrence at or after `from`. Gives the
// position just behind the replacement, or kNotFound with `content` as it was.
Position ReplaceOnce(std::string& content, const std::string& old_address,
                     const std::string& new_address, std::size_t from) {
  const Position at = FindByteSequence(content, old_address, from);
  if (at == kNotFound) return kNotFound;
  const auto start = static_cast<std::size_t>(at);
  content = ReplaceByteRange(content, start, old_address.size(), new_address);
  return static_cast<Position>(start + new_address.size());
}

// Ends a rewrite whose task file write failed: the file keeps the bytes it
// had, and the boxes show what it holds.
void ReportWriteFailure(TaskWindow& window) {
  LoadTaskFile(window);
  window.ShowNotice(texts::kNoticeModifyWriteFailed);
}

}  // namespace

std::string BackupPathOf(const std::string& task_path) {
  return task_path + BackupSuffix;
}

RewriteResult ReplaceFirstTwo(const std::string& content,
                              const std::string& old_address,
                              const std::string& new_address) {
  RewriteResult result{content, 0};
  const Position behind = ReplaceOnce(result.content, old_address, new_address, 0);
  if (behind == kNotFound) return result;
  result.replaced = 1;
  if (ReplaceOnce(result.content, old_address, new_address,
                  static_cast<std::size_t>(behind)) != kNotFound)
    result.replaced = 2;
  return result;
}

void OnModifyClicked(TaskWindow& window) {
  if (window.BoxText(Box::NewAddressBox).size() < MinNewAddressLength) {
    window.ShowNotice(texts::kNoticeNewAddressTooShort);
    return;
  }
  // Without a loaded file there is nothing to back up; going on would
  // create a stray ".bak" in the working directory.
  if (CurrentTaskPath.empty()) {
    window.ShowNotice(texts::kNoticeNoTaskLoaded);
    return;
  }
  RewriteAddress(window, CurrentTaskPath);
}

void RewriteAddress(TaskWindow& window, const std::string& task_path) {
  // Everything is decided before the first write, so a refused rewrite
  // leaves both the task file and an earlier backup as they were.
  const std::string content = ReadWholeFile(task_path);
  if (content.empty()) {
    window.ShowNotice(texts::kNoticeReadFailed);
    return;
  }
  const std::string old_address = TextToBytes(window.BoxText(Box::OriginalAddressBox));
  const std::string new_address = TextToBytes(window.BoxText(Box::NewAddressBox));
  std::string first = content;
  const Position behind = ReplaceOnce(first, old_address, new_address, 0);
  if (behind == kNotFound) {
    window.ShowNotice(texts::kNoticeOldAddressNotFound);
    return;
  }
  // No rewrite without a backup of exactly the bytes it changes.
  if (!WriteWholeFile(BackupPathOf(task_path), content)) {
    window.ShowNotice(texts::kNoticeBackupFailed);
    return;
  }
  if (!WriteWholeFile(task_path, first)) return ReportWriteFailure(window);

  // The second pass works on what the disk holds now, and only behind the
  // first replacement, so a new address that contains the old one is never
  // rewritten inside itself.
  std::string second = ReadWholeFile(task_path);
  if (second.empty()) return ReportWriteFailure(window);
  if (ReplaceOnce(second, old_address, new_address,
                  static_cast<std::size_t>(behind)) != kNotFound &&
      !WriteWholeFile(task_path, second))
    return ReportWriteFailure(window);

  LoadTaskFile(window);
  window.ShowNotice(texts::kNoticeModifyDone);
}

}  // namespace fenlodar
