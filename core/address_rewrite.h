// Writing a new download address into a task file, after a backup.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "task_window.h"

namespace fenlodar {

// A new address shorter than this is refused.
inline constexpr std::size_t MinNewAddressLength = 13;
inline constexpr char BackupSuffix[] = ".bak";
// Modify and Restore refuse a task file or backup larger than this before
// reading it: 16 MiB, far above any task file and far below what would
// freeze the window or exhaust memory.
inline constexpr std::int64_t MaxRewriteFileSize = std::int64_t{16} * 1024 * 1024;

std::string BackupPathOf(const std::string& task_path);

// The in-memory rewrite of both passes, which RewriteAddress writes out
// whole: the first occurrence of `old_address` and then the next one wholly
// behind the first replacement are replaced by `new_address`. `replaced`
// counts the replacements made (0, 1 or 2).
struct RewriteResult {
  std::string content;
  int replaced = 0;
};
RewriteResult ReplaceFirstTwo(const std::string& content, const std::string& old_address,
                              const std::string& new_address);

// Handler of ModifyButton.
void OnModifyClicked(TaskWindow& window);

// Refuses a task file over MaxRewriteFileSize, reads it whole (an
// incomplete read is refused), backs it up, writes both passes in one
// write, reloads it and says how it went. Nothing is written unless the
// old address was found in a complete read, and the task file only once
// its backup holds exactly the bytes read.
void RewriteAddress(TaskWindow& window, const std::string& task_path);

}  // namespace fenlodar
