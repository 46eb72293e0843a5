// The handlers of the open and visit buttons: the parts that need the
// platform's dialog and shell. The other handlers live in core.
#pragma once

#include <windows.h>

#include <string>

#include "file_dialog.h"
#include "task_window.h"

namespace fenlodar {

// Lets the user pick a task file; a confirmed pick moves the dialog's
// initial directory to the working directory and is loaded.
void OnOpenClicked(TaskWindow& window, FileDialog& dialog, HWND owner);

// Asks the shell to open a target; the result is not looked at.
using ShellOpener = void (*)(const std::string& target);
void ShellOpen(const std::string& target);

// Opens ReferrerBox's text in the browser when it is a web address;
// anything else, the empty text included, is refused with a notice.
void OnVisitClicked(TaskWindow& window, ShellOpener open = ShellOpen);

}  // namespace fenlodar
