#include "main_window.h"

#include "address_rewrite.h"
#include "backup_restore.h"
#include "button_handlers.h"
#include "control_styles.h"
#include "task_selection.h"
#include "texts.h"
#include "window_place.h"

namespace fenlodar {

namespace {

constexpr char kWindowClass[] = "FenlodarMainWindow";
constexpr char kIconResource[] = "DEFAULT_ICON";
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(236, 236, 236);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Fixed frame with a title bar, minimize box and no maximize box.
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

HICON LoadIconSized(HINSTANCE instance, int size) {
  return static_cast<HICON>(
      LoadImageA(instance, kIconResource, IMAGE_ICON, size, size, 0));
}

bool RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExA(instance, kWindowClass, &existing)) return true;

  WNDCLASSEXA window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconSized(instance, 32);
  window_class.hIconSm = LoadIconSized(instance, 16);
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kWindowClass;
  return RegisterClassExA(&window_class) != 0;
}

Role RoleOf(Box box) {
  switch (box) {
    case Box::TaskNameBox:
      return Role::TaskNameBox;
    case Box::OriginalAddressBox:
      return Role::OriginalAddressBox;
    case Box::NewAddressBox:
      return Role::NewAddressBox;
    case Box::ReferrerBox:
      return Role::ReferrerBox;
  }
  return Role::TaskNameBox;
}

}  // namespace

MainWindow::MainWindow()
    : drop_target_([this](const std::string& names) { OnFileDropped(*this, names); }) {}

MainWindow::~MainWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

bool MainWindow::Create(HINSTANCE instance) {
  instance_ = instance;
  if (!RegisterWindowClass(instance, WindowProc)) return false;
  const WindowPlace place =
      CentredPlace(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  if (!CreateWindowExA(WS_EX_APPWINDOW, kWindowClass, texts::kWindowTitle, kWindowStyle,
                       place.left, place.top, kWindowWidth, kWindowHeight, nullptr,
                       nullptr, instance, this))
    return false;
  created_ = true;
  RECT outer{};
  GetWindowRect(window_, &outer);
  if (outer.right - outer.left != kWindowWidth ||
      outer.bottom - outer.top != kWindowHeight)
    SetWindowPos(window_, nullptr, place.left, place.top, kWindowWidth, kWindowHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  OnWindowCreated();
  return true;
}

void MainWindow::Show(int show_command) {
  ShowWindow(window_, show_command);
  UpdateWindow(window_);
}

HWND MainWindow::ControlOf(Role role) const {
  const std::size_t index = IndexOf(role);
  return index < controls_.size() ? controls_[index] : nullptr;
}

std::string MainWindow::BoxText(Box box) {
  HWND control = ControlOf(RoleOf(box));
  std::string text(GetWindowTextLengthA(control), '\0');
  if (text.empty()) return text;
  const int copied =
      GetWindowTextA(control, text.data(), static_cast<int>(text.size() + 1));
  text.resize(copied > 0 ? copied : 0);
  return text;
}

void MainWindow::SetBoxText(Box box, const std::string& text) {
  SetWindowTextA(ControlOf(RoleOf(box)), text.c_str());
}

void MainWindow::ShowNotice(const std::string& text) {
  MessageBoxA(nullptr, text.c_str(), texts::kNoticeTitle, MB_OK | MB_TASKMODAL);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wparam,
                                        LPARAM lparam) {
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<MainWindow*>(
        reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (self == nullptr) return DefWindowProcA(window, message, wparam, lparam);
  const LRESULT result = self->HandleMessage(message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
  }
  return result;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return 0;
    case WM_CTLCOLOREDIT:
      return OnCtlColorEdit(reinterpret_cast<HDC>(wparam),
                            reinterpret_cast<HWND>(lparam));
    case WM_CTLCOLORSTATIC:
      return OnCtlColorStatic(reinterpret_cast<HDC>(wparam));
    case WM_ACTIVATE:
      // Activated while still minimized: no control takes the focus until
      // the restore gives it to the frame (WM_SETFOCUS).
      if (LOWORD(wparam) != WA_INACTIVE && HIWORD(wparam) != 0) break;
      OnActivate(wparam);
      return 0;
    case WM_SYSCOMMAND:
      OnSysCommand(wparam);
      break;
    case WM_SETFOCUS:
      GiveFocus();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
  }
  return DefWindowProcA(window_, message, wparam, lparam);
}

// Makes every control of the table that has a face, in table order.
bool MainWindow::OnCreate() {
  grey_brush_ = CreateSolidBrush(kGrey);
  const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
  HWND above = HWND_TOP;
  for (std::size_t i = 0; i < kControlCount; ++i) {
    const ControlRecord& row = Controls()[i];
    if (!HasWindow(row.kind)) continue;
    const ControlStyle style = StyleOf(row);
    HWND control =
        CreateWindowExA(style.ex_style, style.window_class, row.caption, style.style,
                        row.left, row.top, row.width, row.height, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdOf(i))),
                        instance_, nullptr);
    if (control == nullptr) return false;
    // Stacking follows the table, first row on top, whatever the platform's
    // default placement of new children.
    SetWindowPos(control, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(control, WM_SETFONT, font, FALSE);
    controls_[i] = control;
    above = control;
  }
  return true;
}

// The created event: drops are taken on the top-level window itself, so a
// drop over any control arrives here too. A failed registration is silent.
void MainWindow::OnWindowCreated() { drop_target_.Register(window_); }

void MainWindow::OnCommand(int id, int notification, HWND control) {
  if (notification != BN_CLICKED) return;
  const std::size_t index = IndexOfControlId(id);
  if (index >= kControlCount || controls_[index] != control) return;
  RunHandler(Controls()[index].handler);
}

void MainWindow::RunHandler(Handler handler) {
  switch (handler) {
    case Handler::OnOpenClicked:
      OnOpenClicked(*this, dialog_, window_);
      break;
    case Handler::OnModifyClicked:
      OnModifyClicked(*this);
      break;
    case Handler::OnVisitClicked:
      OnVisitClicked(*this);
      break;
    case Handler::OnRestoreClicked:
      OnRestoreClicked(*this);
      break;
    case Handler::OnReloadClicked:
      OnReloadClicked(*this);
      break;
    case Handler::OnFileDropped:  // reaches us through drop_target_
    case Handler::None:
      break;
  }
}

LRESULT MainWindow::OnCtlColorEdit(HDC dc, HWND control) {
  const bool white = control == ControlOf(Role::NewAddressBox);
  SetTextColor(dc, kBlack);
  SetBkColor(dc, white ? kWhite : kGrey);
  return reinterpret_cast<LRESULT>(white ? GetStockObject(WHITE_BRUSH) : grey_brush_);
}

// Labels: black text on the button face.
LRESULT MainWindow::OnCtlColorStatic(HDC dc) {
  SetTextColor(dc, kBlack);
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void MainWindow::OnDestroy() {
  drop_target_.Revoke();
  if (grey_brush_ != nullptr) DeleteObject(grey_brush_);
  grey_brush_ = nullptr;
  controls_.fill(nullptr);
  remembered_focus_ = nullptr;
  // Windows destroys a window whose WM_CREATE failed with this message too;
  // a quit posted then would end the box that reports the failure.
  if (created_) PostQuitMessage(0);
  created_ = false;
}

}  // namespace fenlodar
