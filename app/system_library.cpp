#include "system_library.h"

#include <array>

namespace fenlodar {

namespace {

enum Library { kDialogs, kShell, kLibraryCount };

constexpr const char* kFileNames[kLibraryCount] = {"comdlg32.dll", "shell32.dll"};

struct Loaded {
  std::array<HMODULE, kLibraryCount> modules{};
  std::string folder_for_testing;
};

Loaded& State() {
  static Loaded loaded;
  return loaded;
}

std::string LibraryFolder() {
  if (!State().folder_for_testing.empty()) return State().folder_for_testing;
  std::array<char, MAX_PATH> folder{};
  const UINT length = GetSystemDirectoryA(folder.data(), MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return "";
  return std::string(folder.data(), length);
}

FARPROC ProcOf(Library library, const char* name) {
  HMODULE& module = State().modules[library];
  if (module == nullptr) {
    // A full path: the working directory follows the user's picks in the
    // open dialog, and a file there must never stand in for the system's.
    const std::string folder = LibraryFolder();
    if (folder.empty()) return nullptr;
    module = LoadLibraryA((folder + "\\" + kFileNames[library]).c_str());
    if (module == nullptr) return nullptr;
  }
  return GetProcAddress(module, name);
}

// FARPROC to the function's own type, by way of the generic function
// pointer type so the compiler sees the cast is meant.
template <typename Function>
Function As(FARPROC proc) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

}  // namespace

decltype(&GetOpenFileNameA) GetOpenFileNameCall() {
  return As<decltype(&GetOpenFileNameA)>(ProcOf(kDialogs, "GetOpenFileNameA"));
}

decltype(&DragQueryFileA) DragQueryFileCall() {
  return As<decltype(&DragQueryFileA)>(ProcOf(kShell, "DragQueryFileA"));
}

decltype(&ShellExecuteA) ShellExecuteCall() {
  return As<decltype(&ShellExecuteA)>(ProcOf(kShell, "ShellExecuteA"));
}

void SetLibraryFolderForTesting(const std::string& folder) {
  // Loaded modules stay mapped; they are only forgotten.
  State().modules = {};
  State().folder_for_testing = folder;
}

}  // namespace fenlodar
