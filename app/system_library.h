// The dialog and shell libraries, loaded from the system folder when they
// are first needed (the first Open, drop or Visit) rather than at start-up:
// the first screen uses neither, and mapping them is most of what made the
// tool start slower than a bare window.
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <commdlg.h>
#include <shellapi.h>

#include <string>

namespace fenlodar {

// Each is the library's own function, or nullptr when the library or the
// function cannot be had; the caller then treats it as that call failing.
// A library that failed to load is tried again at the next call.
decltype(&GetOpenFileNameA) GetOpenFileNameCall();  // comdlg32
decltype(&DragQueryFileA) DragQueryFileCall();      // shell32
decltype(&ShellExecuteA) ShellExecuteCall();        // shell32

// For the tests: load from `folder` instead of the system folder, as if
// loaded for the first time; the empty text goes back to the system folder.
void SetLibraryFolderForTesting(const std::string& folder);

}  // namespace fenlodar
