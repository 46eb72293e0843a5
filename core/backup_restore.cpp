#include "backup_restore.h"

#include "address_rewrite.h"
#include "current_task.h"
#include "file_io.h"
#include "task_loading.h"
#include "texts.h"

namespace fenlodar {

void OnRestoreClicked(TaskWindow& window) { RestoreFromBackup(window); }

void RestoreFromBackup(TaskWindow& window) {
  // Emptied first, on every press: after the reload it holds a text again
  // only if an address was found, which is what the confirmation judges.
  window.SetBoxText(Box::OriginalAddressBox, "");
  const std::string task_path = CurrentTaskPath;
  if (task_path.empty()) {
    window.ShowNotice(texts::kNoticeNoTaskLoaded);
    return;
  }
  const std::string backup_path = BackupPathOf(task_path);
  // Refused before either is read: a huge file would freeze the window.
  if (FileSizeOf(task_path) > MaxRewriteFileSize ||
      FileSizeOf(backup_path) > MaxRewriteFileSize) {
    window.ShowNotice(texts::kNoticeFileTooLarge);
    return;
  }
  const FileRead backup = ReadWholeFileChecked(backup_path, MaxRewriteFileSize);
  // A missing task file is never recreated from its backup.
  if (ReadWholeFileChecked(task_path, MaxRewriteFileSize).bytes.empty()) {
    window.ShowNotice(texts::kNoticeRestoreTaskUnreadable);
    return;
  }
  // A backup that was opened but not read whole is never written out.
  if (backup.opened && !backup.complete) {
    window.ShowNotice(texts::kNoticeReadFailed);
    return;
  }
  // An empty backup would empty a good task file.
  if (backup.bytes.empty()) {
    window.ShowNotice(texts::kNoticeRestoreNoBackup);
    return;
  }
  if (!WriteWholeFile(task_path, backup.bytes)) {
    LoadTaskFile(window);
    window.ShowNotice(texts::kNoticeRestoreWriteFailed);
    return;
  }
  LoadTaskFile(window);
  if (window.BoxText(Box::OriginalAddressBox).size() > 12)
    window.ShowNotice(texts::kNoticeRestoreDone);
}

}  // namespace fenlodar
