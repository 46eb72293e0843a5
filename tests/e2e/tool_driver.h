// Works the real fenlodar.exe from outside, the way a user would: starts it,
// finds its window by title, reads and types into its boxes, clicks its
// buttons, answers its message boxes and file dialog. Every message sent
// to the tool goes through a worker thread with a deadline, so a tool that
// hangs fails the test instead of hanging the run.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "test_time.h"

namespace fenlodar::e2e {

using fenlodar::testing::Scaled;
using std::chrono::milliseconds;

// How long the tool may take to answer or to show something: on a busy
// 2-core machine a drop has taken over 5 s to show in the boxes. Every wait
// of these tests derives from FENLODAR_TEST_TIME_SCALE through Scaled().
inline const milliseconds kDeadline = Scaled(milliseconds{15000});
// A Wine program's first start on a busy machine can take many seconds.
inline const milliseconds kStartDeadline = Scaled(milliseconds{60000});

// "Z:\..." for a path of the Linux side (how Wine shows its root).
std::string WindowsPathOfUnixPath(const std::string& unix_path);

// SendMessageA on a worker thread; nothing when it has not returned in time.
std::optional<LRESULT> SendWithin(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                  milliseconds deadline = kDeadline);
// WM_GETTEXT / WM_SETTEXT across the process boundary, bytes as they are.
std::optional<std::string> TextOf(HWND window);
bool SetTextOf(HWND window, const std::string& text);

// Polls `done` until it holds or the deadline passes.
bool Eventually(const std::function<bool()>& done, milliseconds deadline = kDeadline);

std::string ClassOf(HWND window);
std::string CaptionOf(HWND window);  // a top-level window's title

// The controls a user sees, by what they are for.
enum class Control {
  TaskNameLabel,
  TaskNameBox,
  ReferrerLabel,
  ReferrerBox,
  VisitButton,
  OriginalAddressLabel,
  OriginalAddressBox,
  NewAddressLabel,
  NewAddressBox,
  OpenButton,
  ModifyButton,
  ReloadButton,
  RestoreButton,
};

// A message box of the tool, as it looked before it was answered.
struct Notice {
  std::string title;
  std::string text;
  bool has_owner = true;
  bool tool_window_enabled = true;  // task modal: the main window is disabled
  std::vector<int> button_ids;      // visible buttons
};

class RunningTool {
 public:
  RunningTool() = default;
  ~RunningTool();  // kills the tool if it still runs
  RunningTool(const RunningTool&) = delete;
  RunningTool& operator=(const RunningTool&) = delete;

  // Starts the exe, waits until it is ready for input and its visible main
  // window shows every control at its place; on failure says why.
  bool Start(const std::string& exe_path, std::string* why);
  void Kill();

  DWORD process_id() const { return process_.dwProcessId; }
  HANDLE process() const { return process_.hProcess; }
  HANDLE thread() const { return process_.hThread; }  // the tool's only thread
  HWND window() const { return window_; }
  // Fails the test when the control was not found at start.
  HWND control(Control which) const;

  // Each of these fails the test when the tool does not answer in time.
  std::string Text(Control which) const;
  void Type(Control which, const std::string& text) const;
  // Posted, so a handler that shows a message box does not block the driver.
  void Click(Control which) const;

  // Waits for a message box of the tool, records it and presses OK; fails
  // the test when the box cannot be read or does not go away.
  std::optional<Notice> AnswerNotice(milliseconds deadline = kDeadline) const;
  // True when no message box of the tool shows up within `wait`.
  bool NoNoticeWithin(milliseconds wait) const;

  // The visible file-open dialog of the tool, or nullptr.
  HWND WaitForFileDialog(milliseconds deadline = kDeadline) const;

  bool WaitForExit(milliseconds deadline, DWORD* exit_code);

  // The control of the tool that has the keyboard focus (nullptr when none
  // has); fails the test when the tool's thread cannot be asked.
  HWND Focused() const;

 private:
  HWND VisibleDialog() const;

  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
  std::vector<std::pair<Control, HWND>> controls_;
};

// Picks `path` in an open file dialog: types it into the name field and
// presses OK; true when the dialog went away.
bool PickInFileDialog(HWND dialog, const std::string& path);
// The file type list of the dialog: its labels, and the selected row. Both
// fail the test when the dialog does not answer in time.
std::vector<std::string> FilterLabelsOf(HWND dialog);
int SelectedFilterOf(HWND dialog);
bool SelectFilter(HWND dialog, int row);

// A real key press (with Shift held if asked), after making the window the
// foreground one.
bool PressKeyOn(HWND window, WORD virtual_key, bool shift = false);

}  // namespace fenlodar::e2e
