#include "program.h"

#include <ole2.h>

#include <array>

#include "current_task.h"
#include "main_window.h"
#include "message_loop.h"
#include "texts.h"

namespace fenlodar {

namespace {

// The file dialog's first folder is the working directory.
void MoveToProgramFolder() {
  std::array<char, MAX_PATH> path{};
  const DWORD length = GetModuleFileNameA(nullptr, path.data(), MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  SetCurrentDirectoryA(FolderOf(std::string(path.data(), length)).c_str());
}

// A quit already queued would end the next message box at once, before the
// user has read it.
void DropPendingQuit() {
  MSG message;
  while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

}  // namespace

std::string FolderOf(const std::string& path) {
  // 0x5C can be the trail byte of a GBK character: walk by characters so
  // such a byte is never taken for a separator.
  std::size_t last = std::string::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (static_cast<unsigned char>(path[i]) >= 0x80) {
      ++i;
      continue;
    }
    if (path[i] == '\\') last = i;
  }
  if (last == std::string::npos) return path;
  // "C:" alone names the current folder of drive C, not its root.
  if (last == 2 && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, last);
}

void OnProgramExit() {
  CurrentTaskPath.clear();
  CurrentTaskPath.shrink_to_fit();
}

int RunProgram(HINSTANCE instance, int show_command) {
  OleInitialize(nullptr);
  MoveToProgramFolder();
  // Called by hand after the loop, not through atexit: it must run while the
  // object services are still up.
  void (*const exit_routine)() = OnProgramExit;

  MainWindow window;
  if (!window.Create(instance)) {
    DropPendingQuit();
    MessageBoxA(nullptr, texts::kNoticeWindowNotCreated, texts::kNoticeTitle,
                MB_OK | MB_ICONERROR | MB_TASKMODAL);
    OleUninitialize();
    return 1;
  }
  window.Show(show_command);
  const int exit_code = RunMessageLoop(window);
  exit_routine();
  OleUninitialize();
  return exit_code;
}

}  // namespace fenlodar
