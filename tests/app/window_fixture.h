// A shown main window whose notices are recorded instead of shown, and the
// means to feed it messages the way the program's loop does.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "main_window.h"

namespace fenlodar::testing {

// A notice box would block the test: the window records notices instead.
class NoticeRecordingWindow : public MainWindow {
 public:
  std::vector<std::string> notices;
  void ShowNotice(const std::string& text) override { notices.push_back(text); }
};

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A fresh window in place of the current one.
  void Reopen();
  // Handles every queued message through the program's dispatch; records a
  // WM_QUIT instead of stopping.
  void Pump();
  // A key press and release posted to the focused control, with Shift held
  // when asked, then pumped.
  void PressKey(WPARAM key, bool shift = false);

  HWND Frame() const { return window_->Handle(); }
  HWND Control(Role role) const { return window_->ControlOf(role); }
  std::string TextOf(HWND control) const;

  std::unique_ptr<NoticeRecordingWindow> window_;
  bool quit_seen_ = false;
  WPARAM quit_code_ = 0;
};

}  // namespace fenlodar::testing
