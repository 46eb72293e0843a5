// Writing a new download address into a task file, after a backup.
#pragma once

#include <cstddef>
#include <string>

#include "task_window.h"

namespace fenlodar {

// A new address shorter than this is refused.
inline constexpr std::size_t MinNewAddressLength = 13;
inline constexpr char BackupSuffix[] = ".bak";

std::string BackupPathOf(const std::string& task_path);

// The in-memory rewrite of both passes: the first occurrence of `old_address`
// and then the next one wholly behind the first replacement are replaced by
// `new_address`. `replaced` counts the replacements made (0, 1 or 2).
struct RewriteResult {
  std::string content;
  int replaced = 0;
};
RewriteResult ReplaceFirstTwo(const std::string& content,
                              const std::string& old_address,
                              const std::string& new_address);

// Handler of ModifyButton.
void OnModifyClicked(TaskWindow& window);

// Backs the task file up, rewrites it, reloads it and says how it went.
void RewriteAddress(TaskWindow& window, const std::string& task_path);

}  // namespace fenlodar
