#include "tool_driver.h"

#include <algorithm>
#include <future>
#include <memory>
#include <thread>

#include "texts.h"

namespace fenlodar::e2e {

namespace {

enum class Kind { Label, Edit, Button };

// Where a user finds each control: client coordinates of the main window.
struct ExpectedControl {
  Control control;
  Kind kind;
  int left, top, width, height;
  const char* caption;  // nullptr for edit boxes, which start empty
};

constexpr ExpectedControl kLayout[] = {
    {Control::TaskNameLabel, Kind::Label, 15, 6, 80, 24, texts::kCaptionTaskName},
    {Control::TaskNameBox, Kind::Edit, 16, 28, 440, 36, nullptr},
    {Control::ReferrerLabel, Kind::Label, 17, 67, 120, 24, texts::kCaptionReferrer},
    {Control::ReferrerBox, Kind::Edit, 19, 93, 365, 27, nullptr},
    {Control::VisitButton, Kind::Button, 392, 90, 64, 32, texts::kCaptionVisit},
    {Control::OriginalAddressLabel, Kind::Label, 18, 136, 80, 24,
     texts::kCaptionOriginalAddress},
    {Control::OriginalAddressBox, Kind::Edit, 18, 163, 440, 63, nullptr},
    {Control::NewAddressLabel, Kind::Label, 18, 236, 120, 24, texts::kCaptionNewAddress},
    {Control::NewAddressBox, Kind::Edit, 16, 264, 440, 112, nullptr},
    {Control::OpenButton, Kind::Button, 18, 385, 80, 32, texts::kCaptionOpen},
    {Control::ModifyButton, Kind::Button, 137, 385, 80, 32, texts::kCaptionModify},
    {Control::ReloadButton, Kind::Button, 251, 385, 80, 32, texts::kCaptionReload},
    {Control::RestoreButton, Kind::Button, 369, 385, 80, 32, texts::kCaptionRestore},
};

constexpr char kDialogClass[] = "#32770";
constexpr int kNoticeTextId = 0xFFFF;
constexpr int kFileNameFieldId = 0x47c;
constexpr int kFilterListId = 0x470;

bool SameClass(const std::string& actual, const char* expected) {
  return lstrcmpiA(actual.c_str(), expected) == 0;
}

RECT ClientRectOf(HWND child, HWND parent) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The enumeration callbacks are named CALLBACK functions, not lambdas: on
// x86 Windows calls them with the stdcall convention, which a lambda cannot
// carry.
struct ChildSearch {
  HWND parent;
  std::vector<HWND> found;
};

BOOL CALLBACK KeepDirectChild(HWND child, LPARAM param) {
  auto* s = reinterpret_cast<ChildSearch*>(param);
  if (GetParent(child) == s->parent) s->found.push_back(child);
  return TRUE;
}

std::vector<HWND> DirectChildrenOf(HWND parent) {
  ChildSearch search{parent, {}};
  EnumChildWindows(parent, KeepDirectChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct WindowSearch {
  DWORD process_id;
  std::vector<HWND> found;
};

BOOL CALLBACK KeepVisibleWindowOfProcess(HWND window, LPARAM param) {
  auto* s = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == s->process_id && IsWindowVisible(window)) s->found.push_back(window);
  return TRUE;
}

std::vector<HWND> VisibleTopLevelWindowsOf(DWORD process_id) {
  WindowSearch search{process_id, {}};
  EnumWindows(KeepVisibleWindowOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

std::string WindowsPathOfUnixPath(const std::string& unix_path) {
  std::string path = "Z:" + unix_path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::optional<LRESULT> SendWithin(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                  milliseconds deadline) {
  // The thread is left behind on a timeout; it ends when the tool is killed.
  auto result = std::make_shared<std::promise<LRESULT>>();
  std::future<LRESULT> answer = result->get_future();
  std::thread([=] {
    result->set_value(SendMessageA(window, message, wparam, lparam));
  }).detach();
  if (answer.wait_for(deadline) != std::future_status::ready) return std::nullopt;
  return answer.get();
}

std::optional<std::string> TextOf(HWND window) {
  const auto length = SendWithin(window, WM_GETTEXTLENGTH, 0, 0);
  if (!length) return std::nullopt;
  // Shared with the worker, which may outlive this call.
  auto buffer =
      std::make_shared<std::vector<char>>(static_cast<std::size_t>(*length) + 2);
  auto result = std::make_shared<std::promise<LRESULT>>();
  std::future<LRESULT> answer = result->get_future();
  std::thread([=] {
    result->set_value(SendMessageA(window, WM_GETTEXT, buffer->size(),
                                   reinterpret_cast<LPARAM>(buffer->data())));
  }).detach();
  if (answer.wait_for(kDeadline) != std::future_status::ready) return std::nullopt;
  const LRESULT copied = answer.get();
  return std::string(buffer->data(),
                     static_cast<std::size_t>(std::max<LRESULT>(copied, 0)));
}

bool SetTextOf(HWND window, const std::string& text) {
  auto copy = std::make_shared<std::string>(text);
  auto result = std::make_shared<std::promise<LRESULT>>();
  std::future<LRESULT> answer = result->get_future();
  std::thread([=] {
    result->set_value(
        SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy->c_str())));
  }).detach();
  return answer.wait_for(kDeadline) == std::future_status::ready && answer.get() != 0;
}

bool Eventually(const std::function<bool()>& done, milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    Sleep(20);
  }
}

std::string CaptionOf(HWND window) {
  char buffer[512] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

std::string ClassOf(HWND window) {
  char buffer[256] = {};
  GetClassNameA(window, buffer, sizeof buffer);
  return buffer;
}

RunningTool::~RunningTool() { Kill(); }

bool RunningTool::Start(const std::string& exe_path, std::string* why) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string command = "\"" + exe_path + "\"";
  if (!CreateProcessA(exe_path.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &startup, &process_)) {
    *why = "cannot start " + exe_path + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  const bool shown = Eventually([&] {
    for (HWND window : VisibleTopLevelWindowsOf(process_.dwProcessId)) {
      if (CaptionOf(window) == texts::kWindowTitle) {
        window_ = window;
        return true;
      }
    }
    return false;
  });
  if (!shown) {
    *why = "no visible window titled \"" + std::string(texts::kWindowTitle) + "\"";
    return false;
  }

  // Every control must stand exactly at its place, with its caption.
  const std::vector<HWND> children = DirectChildrenOf(window_);
  for (const ExpectedControl& expected : kLayout) {
    HWND match = nullptr;
    for (HWND child : children) {
      const RECT rect = ClientRectOf(child, window_);
      if (rect.left == expected.left && rect.top == expected.top &&
          rect.right - rect.left == expected.width &&
          rect.bottom - rect.top == expected.height) {
        match = child;
        break;
      }
    }
    const std::string where =
        std::to_string(expected.left) + "," + std::to_string(expected.top) + " " +
        std::to_string(expected.width) + "x" + std::to_string(expected.height);
    if (!match) {
      *why = "no control at " + where;
      return false;
    }
    const std::string class_name = ClassOf(match);
    if ((expected.kind == Kind::Edit && !SameClass(class_name, "Edit")) ||
        (expected.kind == Kind::Button && !SameClass(class_name, "Button"))) {
      *why = "control at " + where + " is a " + class_name;
      return false;
    }
    if (!IsWindowVisible(match) || !IsWindowEnabled(match)) {
      *why = "control at " + where + " is hidden or disabled";
      return false;
    }
    const std::string text = TextOf(match).value_or("<no answer>");
    const std::string caption = expected.caption ? expected.caption : "";
    if (text != caption) {
      *why = "control at " + where + " shows \"" + text + "\", not \"" + caption + "\"";
      return false;
    }
    controls_.emplace_back(expected.control, match);
  }
  return true;
}

void RunningTool::Kill() {
  if (!process_.hProcess) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, kDeadline.count());
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
  process_ = {};
  window_ = nullptr;
}

HWND RunningTool::control(Control which) const {
  for (const auto& [control, window] : controls_)
    if (control == which) return window;
  return nullptr;
}

std::string RunningTool::Text(Control which) const {
  return TextOf(control(which)).value_or("");
}

void RunningTool::Type(Control which, const std::string& text) const {
  SetTextOf(control(which), text);
}

void RunningTool::Click(Control which) const {
  PostMessageA(control(which), BM_CLICK, 0, 0);
}

HWND RunningTool::VisibleDialog() const {
  for (HWND window : VisibleTopLevelWindowsOf(process_.dwProcessId))
    if (ClassOf(window) == kDialogClass) return window;
  return nullptr;
}

std::optional<Notice> RunningTool::AnswerNotice(milliseconds deadline) const {
  HWND box = nullptr;
  if (!Eventually([&] { return (box = VisibleDialog()) != nullptr; }, deadline))
    return std::nullopt;
  Notice notice;
  notice.title = CaptionOf(box);
  notice.text = TextOf(GetDlgItem(box, kNoticeTextId)).value_or("<no answer>");
  notice.has_owner = GetWindow(box, GW_OWNER) != nullptr;
  notice.tool_window_enabled = IsWindowEnabled(window_);
  for (HWND child : DirectChildrenOf(box))
    if (SameClass(ClassOf(child), "Button") && IsWindowVisible(child))
      notice.button_ids.push_back(GetDlgCtrlID(child));
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  // Gone, and the tool's window usable again, before the next step.
  Eventually([&] { return !IsWindow(box) || !IsWindowVisible(box); });
  Eventually([&] { return IsWindowEnabled(window_) != FALSE; });
  return notice;
}

bool RunningTool::NoNoticeWithin(milliseconds wait) const {
  return !Eventually([&] { return VisibleDialog() != nullptr; }, wait);
}

HWND RunningTool::WaitForFileDialog(milliseconds deadline) const {
  HWND dialog = nullptr;
  Eventually([&] { return (dialog = VisibleDialog()) != nullptr; }, deadline);
  return dialog;
}

bool RunningTool::WaitForExit(milliseconds deadline, DWORD* exit_code) {
  if (WaitForSingleObject(process_.hProcess, deadline.count()) != WAIT_OBJECT_0)
    return false;
  GetExitCodeProcess(process_.hProcess, exit_code);
  return true;
}

HWND RunningTool::Focused() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info))
    return nullptr;
  return info.hwndFocus;
}

bool PickInFileDialog(HWND dialog, const std::string& path) {
  HWND field = GetDlgItem(dialog, kFileNameFieldId);
  if (!field || !SetTextOf(field, path)) return false;
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  return Eventually([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

std::vector<std::string> FilterLabelsOf(HWND dialog) {
  // The list is a Unicode control that Wine does not convert for an ANSI
  // reader; read it wide and turn it into the code page a user sees.
  HWND list = GetDlgItem(dialog, kFilterListId);
  std::vector<std::string> labels;
  const LRESULT count = SendWithin(list, CB_GETCOUNT, 0, 0).value_or(0);
  for (LRESULT row = 0; row < count; ++row) {
    auto buffer = std::make_shared<std::vector<wchar_t>>(1024);
    auto result = std::make_shared<std::promise<LRESULT>>();
    std::future<LRESULT> answer = result->get_future();
    std::thread([=] {
      result->set_value(SendMessageW(list, CB_GETLBTEXT, row,
                                     reinterpret_cast<LPARAM>(buffer->data())));
    }).detach();
    if (answer.wait_for(kDeadline) != std::future_status::ready) break;
    char label[2048] = {};
    WideCharToMultiByte(CP_ACP, 0, buffer->data(), -1, label, sizeof label, nullptr,
                        nullptr);
    labels.emplace_back(label);
  }
  return labels;
}

int SelectedFilterOf(HWND dialog) {
  return static_cast<int>(
      SendWithin(GetDlgItem(dialog, kFilterListId), CB_GETCURSEL, 0, 0).value_or(CB_ERR));
}

bool SelectFilter(HWND dialog, int row) {
  HWND list = GetDlgItem(dialog, kFilterListId);
  if (SendWithin(list, CB_SETCURSEL, row, 0).value_or(CB_ERR) != row) return false;
  // What the list tells its dialog when a user picks a row.
  return SendWithin(dialog, WM_COMMAND, MAKEWPARAM(kFilterListId, CBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(list))
      .has_value();
}

bool PressKeyOn(HWND window, WORD virtual_key, bool shift) {
  SetForegroundWindow(window);
  if (!Eventually([&] { return GetForegroundWindow() == window; })) return false;
  std::vector<INPUT> keys;
  auto key = [&](WORD code, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    keys.push_back(input);
  };
  if (shift) key(VK_SHIFT, false);
  key(virtual_key, false);
  key(virtual_key, true);
  if (shift) key(VK_SHIFT, true);
  const UINT sent = SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
  return sent == keys.size();
}

}  // namespace fenlodar::e2e
