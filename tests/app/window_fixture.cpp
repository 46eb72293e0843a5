#include "window_fixture.h"

#include "current_task.h"
#include "message_loop.h"

namespace fenlodar::testing {

namespace {

void SetShift(bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  keys[VK_LSHIFT] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

LPARAM KeyData(WPARAM key, bool release) {
  const LPARAM scan = MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
  LPARAM data = 1 | (scan << 16);
  if (release) data |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
  return data;
}

}  // namespace

void WindowTest::SetUp() {
  CurrentTaskPath.clear();
  Reopen();
}

void WindowTest::TearDown() {
  window_.reset();
  Pump();
  CurrentTaskPath.clear();
}

void WindowTest::Reopen() {
  window_.reset();
  Pump();
  quit_seen_ = false;
  window_ = std::make_unique<NoticeRecordingWindow>();
  ASSERT_TRUE(window_->Create(GetModuleHandleA(nullptr)));
  window_->Show(SW_SHOWNORMAL);
  Pump();
}

void WindowTest::Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      quit_seen_ = true;
      quit_code_ = message.wParam;
      continue;
    }
    if (window_) {
      DispatchWithKeys(*window_, message);
    } else {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

void WindowTest::PressKey(WPARAM key, bool shift) {
  HWND target = GetFocus();
  SetShift(shift);
  PostMessageA(target, WM_KEYDOWN, key, KeyData(key, false));
  Pump();
  // The window may be gone (Esc).
  if (IsWindow(target)) PostMessageA(target, WM_KEYUP, key, KeyData(key, true));
  Pump();
  SetShift(false);
}

std::string WindowTest::TextOf(HWND control) const {
  char text[1024] = {};
  GetWindowTextA(control, text, sizeof(text));
  return text;
}

}  // namespace fenlodar::testing
