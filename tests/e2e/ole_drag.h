// A real OLE drag from the driver onto another process's window, as a file
// manager makes one: the cursor is put over the window, DoDragDrop runs with
// a data object of our own and a drop source that lets go after a few ticks.
#pragma once

#include <windows.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

namespace fenlodar::e2e {

struct DragOutcome {
  HRESULT result = E_FAIL;
  DWORD effect = 0xFFFFFFFF;  // what the target reported back
};

// Drags file names (CF_HDROP, ANSI) onto the window; with `as_text` the data
// object offers the first name as plain text instead. The drag runs on its
// own thread because the drop waits for the target, which may sit in a
// message box the test has to answer meanwhile.
std::future<DragOutcome> StartDrag(HWND target, std::vector<std::string> names,
                                   bool as_text = false);

}  // namespace fenlodar::e2e
