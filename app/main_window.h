// The tool's one window: builds its controls from the control table, binds
// their clicks to the handlers, and gives the task routines its boxes.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "control_table.h"
#include "file_dialog.h"
#include "file_drop_target.h"
#include "task_window.h"

namespace fenlodar {

class MainWindow : public TaskWindow {
 public:
  MainWindow();
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window centred on the primary screen with all controls and
  // runs OnWindowCreated; the window is not shown yet. False on failure.
  bool Create(HINSTANCE instance);
  void Show(int show_command);

  HWND Handle() const { return window_; }
  HWND ControlOf(Role role) const;
  FileDropTarget& DropTarget() { return drop_target_; }

  // The window's own keys, looked at before the focused control sees the
  // message. True when the message was handled and must go no further.
  bool PreTranslateKey(const MSG& message);

  // TaskWindow
  std::string BoxText(Box box) override;
  void SetBoxText(Box box, const std::string& text) override;
  void ShowNotice(const std::string& text) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam,
                                     LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  bool OnCreate();
  void OnWindowCreated();
  void OnCommand(int id, int notification, HWND control);
  void RunHandler(Handler handler);
  LRESULT OnCtlColorEdit(HDC dc, HWND control);
  LRESULT OnCtlColorStatic(HDC dc);
  void OnActivate(WPARAM wparam);
  void OnSysCommand(WPARAM command);
  void OnDestroy();

  // Focus rules: the control that had the focus when the window lost it,
  // given back when the window gets it again, else the first of the cycle.
  void RememberFocus();
  void GiveFocus();
  void MoveFocus(bool backwards) const;

  HWND window_ = nullptr;
  // Set once CreateWindowExA has succeeded: only such a window ends the loop.
  bool created_ = false;
  HINSTANCE instance_ = nullptr;
  std::array<HWND, kControlCount> controls_{};
  HWND remembered_focus_ = nullptr;
  HBRUSH grey_brush_ = nullptr;
  FileDialog dialog_;
  FileDropTarget drop_target_;
};

}  // namespace fenlodar
