// The least a program needs to put up a window of the tool's size: what
// the tool's start-up is measured against.
#include <windows.h>

#include "baseline_window.h"

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

// The parameters carry winbase.h's names.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nShowCmd) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = hInstance;
  window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = "FenlodarStartupBaseline";
  if (!RegisterClassA(&window_class)) return 1;
  HWND window =
      CreateWindowExA(0, window_class.lpszClassName, fenlodar::startup::kBaselineTitle,
                      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                      CW_USEDEFAULT, CW_USEDEFAULT, fenlodar::startup::kWidth,
                      fenlodar::startup::kHeight, nullptr, nullptr, hInstance, nullptr);
  if (!window) return 1;
  ShowWindow(window, nShowCmd);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
