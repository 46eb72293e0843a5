#include "program.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "current_task.h"
#include "main_window.h"
#include "temp_folder.h"
#include "test_time.h"
#include "texts.h"

namespace fenlodar {
namespace {

using std::chrono::milliseconds;
using testing::Scaled;

std::string CurrentFolder() {
  std::array<char, MAX_PATH> folder{};
  GetCurrentDirectoryA(MAX_PATH, folder.data());
  return folder.data();
}

TEST(ProgramFolderTest, IsThePathUpToItsLastBackslash) {
  const struct {
    std::string path;
    std::string folder;
  } cases[] = {
      {"C:\\tools\\fenlodar.exe", "C:\\tools"},
      {"C:\\tools\\x86\\fenlodar.exe", "C:\\tools\\x86"},
      // A drive's root keeps its backslash: "C:" is drive C's current folder.
      {"C:\\fenlodar.exe", "C:\\"},
      {"D:\\fenlodar.exe", "D:\\"},
      {"\\\\server\\share\\fenlodar.exe", "\\\\server\\share"},
      // 0xB1 0x5C is one GBK character: its trail byte is no separator.
      {"C:\\a\xb1\x5c"
       "b.exe",
       "C:\\"},
      {"C:\\\xb1\x5c\\fenlodar.exe", "C:\\\xb1\x5c"},
      {"fenlodar.exe", "fenlodar.exe"},
  };
  for (const auto& c : cases) EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
}

// What start-up does with the folder of an exe in the root of drive C, from
// a working directory elsewhere on that drive.
TEST(ProgramFolderTest, OfAnExeInADriveRootMovesToThatRoot) {
  const std::string start = CurrentFolder();
  std::array<char, MAX_PATH> windows{};
  ASSERT_GT(GetWindowsDirectoryA(windows.data(), MAX_PATH), 3u);
  ASSERT_EQ(std::string(windows.data(), 3), "C:\\");
  ASSERT_TRUE(SetCurrentDirectoryA(windows.data()));

  SetCurrentDirectoryA(FolderOf("C:\\fenlodar.exe").c_str());
  const std::string moved_to = CurrentFolder();
  SetCurrentDirectoryA(start.c_str());
  EXPECT_EQ(moved_to, "C:\\");
}

TEST(ProgramExitTest, ReleasesTheCurrentTaskPath) {
  CurrentTaskPath = "C:\\tasks\\a.td.cfg";
  OnProgramExit();
  EXPECT_EQ(CurrentTaskPath, "");
}

// The folder of this test program as the build placed it, in the form Wine
// gives it ("Z:" and backslashes for the Unix side).
std::string TestProgramFolder() {
  std::string folder = FENLODAR_APP_TESTS_DIR;
  if (folder.front() == '/') folder = "Z:" + folder;
  std::replace(folder.begin(), folder.end(), '/', '\\');
  return folder;
}

// The whole run in this process, started from another folder: a worker
// waits for the shown window, notes the working directory and closes the
// window as the close box would.
TEST(RunProgramTest, ShowsTheWindowInTheProgramFolderAndRunsTheExitRoutineAfterTheLoop) {
  const std::string start = CurrentFolder();
  const testing::TempFolder elsewhere;
  ASSERT_TRUE(SetCurrentDirectoryA(elsewhere.path().c_str()));
  ASSERT_NE(CurrentFolder(), TestProgramFolder());
  CurrentTaskPath = "C:\\tasks\\a.td.cfg";

  std::atomic<bool> shown{false};
  std::atomic<bool> focus_in_new_address_box{false};
  std::string folder_while_shown;
  std::thread closer([&, thread = GetCurrentThreadId()] {
    const auto end = std::chrono::steady_clock::now() + Scaled(milliseconds{20000});
    while (std::chrono::steady_clock::now() < end) {
      HWND window = FindWindowA(nullptr, texts::kWindowTitle);
      GUITHREADINFO info{};
      info.cbSize = sizeof(info);
      GetGUIThreadInfo(thread, &info);
      // Shown, and activated far enough that a control has the focus.
      if (window != nullptr && IsWindowVisible(window) && info.hwndFocus != nullptr) {
        shown = true;
        folder_while_shown = CurrentFolder();
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
  SetCurrentDirectoryA(start.c_str());

  ASSERT_TRUE(shown) << "the window never showed";
  EXPECT_EQ(folder_while_shown, TestProgramFolder());
  EXPECT_TRUE(focus_in_new_address_box);
  EXPECT_EQ(exit_code, 0);
  EXPECT_EQ(CurrentTaskPath, "");
}

// A failed creation of a child of the main window, as when the system has
// no window resources left, and what Windows does after it that Wine does
// not: a window whose WM_CREATE failed gets WM_DESTROY before WM_NCDESTROY.
enum class AfterFailedCreate {
  kWineOrder,      // only WM_NCDESTROY
  kWindowsOrder,   // WM_DESTROY first, sent here by hand
  kQuitPostedNow,  // a quit already queued when the failure is reported
};

class ChildCreationFailure {
 public:
  explicit ChildCreationFailure(AfterFailedCreate after) {
    after_ = after;
    failed_creates_ = 0;
    hook_ = SetWindowsHookExA(WH_CBT, OnCbt, nullptr, GetCurrentThreadId());
  }
  ~ChildCreationFailure() { UnhookWindowsHookEx(hook_); }
  ChildCreationFailure(const ChildCreationFailure&) = delete;
  ChildCreationFailure& operator=(const ChildCreationFailure&) = delete;

  bool hooked() const { return hook_ != nullptr; }
  // How often the main window's WM_CREATE was seen failing: the Windows
  // order is only followed when this is 1.
  int failed_creates() const { return failed_creates_; }

 private:
  static bool IsMainWindowTitle(const char* title) {
    return title != nullptr && HIWORD(reinterpret_cast<UINT_PTR>(title)) != 0 &&
           std::string(title) == texts::kWindowTitle;
  }
  static bool IsMainWindow(HWND window) {
    char title[128] = {};
    return window != nullptr && GetWindowTextA(window, title, sizeof(title)) > 0 &&
           IsMainWindowTitle(title);
  }

  // The main window is followed from its birth; each of its children is
  // refused.
  static LRESULT CALLBACK OnCbt(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_CREATEWND) {
      const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lparam)->lpcs;
      if (create->style & WS_CHILD) {
        if (IsMainWindow(create->hwndParent)) return 1;
      } else if (IsMainWindowTitle(create->lpszName)) {
        const auto window = reinterpret_cast<HWND>(wparam);
        own_procedure_ =
            reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Follow));
      }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }

  static LRESULT CALLBACK Follow(HWND window, UINT message, WPARAM wparam,
                                 LPARAM lparam) {
    const LRESULT result =
        CallWindowProcA(own_procedure_, window, message, wparam, lparam);
    if (message == WM_CREATE && result == -1) {
      ++failed_creates_;
      if (after_ == AfterFailedCreate::kWindowsOrder)
        SendMessageA(window, WM_DESTROY, 0, 0);
      if (after_ == AfterFailedCreate::kQuitPostedNow) PostQuitMessage(0);
    }
    return result;
  }

  static inline AfterFailedCreate after_ = AfterFailedCreate::kWineOrder;
  static inline WNDPROC own_procedure_ = nullptr;
  static inline int failed_creates_ = 0;
  HHOOK hook_ = nullptr;
};

bool TakeQuit() {
  MSG message;
  return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

// A window that never came to be must not end a message loop: the next one
// to run is the box that reports the failure.
TEST(MainWindowCreationTest, AFailedCreationPostsNoQuit) {
  for (AfterFailedCreate after :
       {AfterFailedCreate::kWineOrder, AfterFailedCreate::kWindowsOrder}) {
    SCOPED_TRACE(static_cast<int>(after));
    while (TakeQuit()) {
    }
    {
      ChildCreationFailure failure(after);
      ASSERT_TRUE(failure.hooked());
      MainWindow window;
      EXPECT_FALSE(window.Create(GetModuleHandleA(nullptr)));
      EXPECT_EQ(window.Handle(), nullptr);
      EXPECT_EQ(failure.failed_creates(), 1);
    }
    EXPECT_FALSE(TakeQuit());
  }
}

// A named callback: a lambda lacks the platform's calling convention on
// 32-bit x86.
BOOL CALLBACK TakeVisibleBox(HWND window, LPARAM param) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof(name));
  if (std::string(name) != "#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(param) = window;
  return FALSE;
}

// The visible message box of one thread, or nullptr.
HWND VisibleBoxOf(DWORD thread) {
  HWND found = nullptr;
  EnumThreadWindows(thread, TakeVisibleBox, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::string TextOfWindow(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

// The box must show and stay until the user presses OK, whatever order the
// platform destroys the half-made window in.
TEST(RunProgramTest, AFailedWindowIsReportedUntilTheUserPressesOk) {
  for (AfterFailedCreate after :
       {AfterFailedCreate::kWineOrder, AfterFailedCreate::kWindowsOrder,
        AfterFailedCreate::kQuitPostedNow}) {
    SCOPED_TRACE(static_cast<int>(after));
    const std::string start = CurrentFolder();
    while (TakeQuit()) {
    }
    std::atomic<bool> returned{false};
    std::atomic<bool> shown{false};
    std::atomic<bool> stayed{false};
    std::atomic<bool> ok_pressed{false};
    std::string title;
    std::string text;
    auto failure = std::make_unique<ChildCreationFailure>(after);
    ASSERT_TRUE(failure->hooked());
    std::thread user([&, thread = GetCurrentThreadId()] {
      const auto end = std::chrono::steady_clock::now() + Scaled(milliseconds{20000});
      HWND box = nullptr;
      while (!returned && std::chrono::steady_clock::now() < end &&
             (box = VisibleBoxOf(thread)) == nullptr)
        Sleep(10);
      if (box == nullptr) return;
      shown = true;
      title = TextOfWindow(box);
      text = TextOfWindow(GetDlgItem(box, 0xFFFF));
      // Read, as a user would, before answering.
      Sleep(static_cast<DWORD>(Scaled(milliseconds{1000}).count()));
      stayed = !returned && IsWindow(box) && IsWindowVisible(box);
      ok_pressed = true;
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    const int exit_code = RunProgram(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    const int failed_creates = failure->failed_creates();
    failure.reset();
    returned = true;
    user.join();
    SetCurrentDirectoryA(start.c_str());
    while (TakeQuit()) {
    }

    EXPECT_EQ(failed_creates, 1);
    ASSERT_TRUE(shown) << "no message box showed";
    EXPECT_EQ(title, texts::kNoticeTitle);
    EXPECT_EQ(text, texts::kNoticeWindowNotCreated);
    EXPECT_TRUE(stayed) << "the message box went away by itself";
    EXPECT_TRUE(ok_pressed) << "the run ended before OK was pressed";
    EXPECT_EQ(exit_code, 1);
  }
}

}  // namespace
}  // namespace fenlodar
