#include "message_loop.h"

namespace fenlodar {

void DispatchWithKeys(MainWindow& window, const MSG& message) {
  if (window.PreTranslateKey(message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

int RunMessageLoop(MainWindow& window) {
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchWithKeys(window, message);
  return static_cast<int>(message.wParam);
}

}  // namespace fenlodar
