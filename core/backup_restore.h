// Writing the backup back over the task file.
#pragma once

#include "task_window.h"

namespace fenlodar {

// Handler of RestoreButton.
void OnRestoreClicked(TaskWindow& window);

// Puts the backup's bytes over the task file, reloads and confirms when the
// reload found an address of 13 bytes or more.
void RestoreFromBackup(TaskWindow& window);

}  // namespace fenlodar
