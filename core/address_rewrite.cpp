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

RewriteResult ReplaceFirstTwo(const std::string& content, const std::string& old_address,
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
  // Refused before it is read: a huge file would freeze the window.
  if (FileSizeOf(task_path) > MaxRewriteFileSize) {
    window.ShowNotice(texts::kNoticeFileTooLarge);
    return;
  }
  // Everything is decided before the first write, so a refused rewrite
  // leaves both the task file and an earlier backup as they were. Only a
  // complete read is ever written anywhere.
  const FileRead read = ReadWholeFileChecked(task_path, MaxRewriteFileSize);
  if (!read.complete || read.bytes.empty()) {
    window.ShowNotice(texts::kNoticeReadFailed);
    return;
  }
  const std::string& content = read.bytes;
  // Both passes in memory, the second only behind the first replacement,
  // so a new address that contains the old one is never rewritten inside
  // itself; the task file is then written once, so no failure can leave
  // one occurrence rewritten and the other not.
  const RewriteResult rewritten =
      ReplaceFirstTwo(content, TextToBytes(window.BoxText(Box::OriginalAddressBox)),
                      TextToBytes(window.BoxText(Box::NewAddressBox)));
  if (rewritten.replaced == 0) {
    window.ShowNotice(texts::kNoticeOldAddressNotFound);
    return;
  }
  // No rewrite without a backup of exactly the bytes it changes.
  if (!WriteWholeFile(BackupPathOf(task_path), content)) {
    window.ShowNotice(texts::kNoticeBackupFailed);
    return;
  }
  if (!WriteWholeFile(task_path, rewritten.content)) return ReportWriteFailure(window);
  LoadTaskFile(window);
  window.ShowNotice(texts::kNoticeModifyDone);
}

}  // namespace fenlodar
