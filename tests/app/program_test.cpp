#include "program.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <atomic>
#include <thread>

#include "current_task.h"
#include "texts.h"

namespace fenlodar {
namespace {

TEST(ProgramFolderTest, IsThePathUpToItsLastBackslash) {
  const struct {
    std::string path;
    std::string folder;
  } cases[] = {
      {"C:\\tools\\fenlodar.exe", "C:\\tools"},
      {"C:\\fenlodar.exe", "C:"},
      {"\\\\server\\share\\fenlodar.exe", "\\\\server\\share"},
      // 0xB1 0x5C is one GBK character: its trail byte is no separator.
      {"C:\\a\xb1\x5c"
       "b.exe",
       "C:"},
      {"fenlodar.exe", "fenlodar.exe"},
  };
  for (const auto& c : cases) EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
}

TEST(ProgramExitTest, ReleasesTheCurrentTaskPath) {
  CurrentTaskPath = "C:\\tasks\\a.td.cfg";
  OnProgramExit();
  EXPECT_EQ(CurrentTaskPath, "");
}

// The whole run in this process: a worker waits for the shown window and
// closes it as the close box would.
TEST(RunProgramTest, ShowsTheWindowInTheProgramFolderAndRunsTheExitRoutineAfterTheLoop) {
  std::array<char, MAX_PATH> start{};
  GetCurrentDirectoryA(MAX_PATH, start.data());
  std::array<char, MAX_PATH> program{};
  GetModuleFileNameA(nullptr, program.data(), MAX_PATH);
  CurrentTaskPath = "C:\\tasks\\a.td.cfg";

  std::atomic<bool> shown{false};
  std::atomic<bool> focus_in_new_address_box{false};
  std::thread closer([&, thread = GetCurrentThreadId()] {
    for (int tries = 0; tries < 400; ++tries) {
      HWND window = FindWindowA(nullptr, texts::kWindowTitle);
      GUITHREADINFO info{};
      info.cbSize = sizeof(info);
      GetGUIThreadInfo(thread, &info);
      // Shown, and activated far enough that a control has the focus.
      if (window != nullptr && IsWindowVisible(window) && info.hwndFocus != nullptr) {
        shown = true;
        // Known by its place: this thread cannot ask the window object.
        RECT box{};
        GetWindowRect(info.hwndFocus, &box);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
        focus_in_new_address_box = box.left == 16 && box.top == 264;
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
      }
      Sleep(25);
    }
  });
  const int exit_code = RunProgram(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
  closer.join();

  std::array<char, MAX_PATH> during{};
  GetCurrentDirectoryA(MAX_PATH, during.data());
  SetCurrentDirectoryA(start.data());
  EXPECT_TRUE(shown);
  EXPECT_TRUE(focus_in_new_address_box);
  EXPECT_EQ(exit_code, 0);
  EXPECT_EQ(std::string(during.data()), FolderOf(program.data()));
  EXPECT_EQ(CurrentTaskPath, "");
}

}  // namespace
}  // namespace fenlodar
