// Focus and keys of MainWindow, done by hand rather than by the platform's
// dialog navigation so Enter never reaches a default button.
#include <algorithm>
#include <vector>

#include "control_styles.h"
#include "main_window.h"

namespace fenlodar {

namespace {

bool IsDown(int key) { return GetKeyState(key) < 0; }

// The control's own flags: the frame may not be shown yet at start-up.
bool CanTakeFocus(HWND control) {
  return control != nullptr && (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0 &&
         IsWindowEnabled(control);
}

}  // namespace

bool MainWindow::PreTranslateKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || window_ == nullptr) return false;
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
  if (IsDown(VK_CONTROL) || IsDown(VK_MENU)) return false;
  const bool shift = IsDown(VK_SHIFT);
  switch (message.wParam) {
    case VK_TAB:
      MoveFocus(shift);
      return true;
    case VK_ESCAPE:
      if (shift) return false;
      // The same request as the close box, wherever the focus is.
      SendMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    case VK_RETURN: {
      if (shift) return false;
      // A box of several lines starts a new line; elsewhere Enter does nothing.
      HWND focus = GetFocus();
      for (const ControlRecord& row : Controls())
        if (IsMultilineBox(row.role) && focus == ControlOf(row.role)) return false;
      return true;
    }
  }
  return false;
}

void MainWindow::MoveFocus(bool backwards) const {
  std::vector<HWND> cycle;
  for (Role role : FocusCycle()) {
    HWND control = ControlOf(role);
    if (CanTakeFocus(control)) cycle.push_back(control);
  }
  if (cycle.empty()) return;
  const auto at = std::find(cycle.begin(), cycle.end(), GetFocus());
  std::size_t next = 0;
  if (at == cycle.end()) {
    next = backwards ? cycle.size() - 1 : 0;
  } else {
    const std::size_t here = static_cast<std::size_t>(at - cycle.begin());
    next =
        backwards ? (here + cycle.size() - 1) % cycle.size() : (here + 1) % cycle.size();
  }
  SetFocus(cycle[next]);
}

// Every deactivation, the minimized one included: on Windows minimizing
// deactivates with the minimized flag set.
void MainWindow::OnActivate(WPARAM wparam) {
  if (LOWORD(wparam) == WA_INACTIVE) {
    RememberFocus();
    return;
  }
  GiveFocus();
}

// A minimize may take the focus away before any deactivation arrives (Wine
// sends none at all), so the focus is remembered when it begins.
void MainWindow::OnSysCommand(WPARAM command) {
  if ((command & 0xFFF0) == SC_MINIMIZE) RememberFocus();
}

// A focus outside the controls leaves the memory as it was.
void MainWindow::RememberFocus() {
  HWND focus = GetFocus();
  if (focus != nullptr && IsChild(window_, focus)) remembered_focus_ = focus;
}

// A restore from minimized gives the frame the focus and then activates it
// once more: the second time a control already has the focus and keeps it.
void MainWindow::GiveFocus() {
  HWND target = remembered_focus_;
  remembered_focus_ = nullptr;
  if (target == nullptr || !IsChild(window_, target)) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(window_, focus)) return;
    for (Role role : FocusCycle()) {
      if (CanTakeFocus(ControlOf(role))) {
        target = ControlOf(role);
        break;
      }
    }
  }
  if (target != nullptr) SetFocus(target);
}

}  // namespace fenlodar
