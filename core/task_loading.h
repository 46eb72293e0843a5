// Deciding whether a file is an acceptable task file and showing it.
#pragma once

#include <cstdint>
#include <string>

#include "task_window.h"

namespace fenlodar {

inline constexpr std::int64_t MaxTaskFileSize = 102400;
inline constexpr char TaskFileMark[] = ".td.cfg";

// Brings the boxes up to date with the file CurrentTaskPath names, or shows
// the one notice that says why that file is refused.
void LoadTaskFile(TaskWindow& window);

// Size, then content, then name; the first failing check shows its notice.
bool ValidateTaskFile(TaskWindow& window, const std::string& path);

// The last backslash-separated component (a trail byte 0x5C of a GBK
// character does not separate).
std::string TaskFileNameOf(const std::string& path);

}  // namespace fenlodar
