// The message loop, with the main window's keys looked at first.
#pragma once

#include <windows.h>

#include "main_window.h"

namespace fenlodar {

// One retrieved message: the window's own keys, else the usual translate
// and dispatch.
void DispatchWithKeys(MainWindow& window, const MSG& message);

// Runs until WM_QUIT; gives its exit code.
int RunMessageLoop(MainWindow& window);

}  // namespace fenlodar
