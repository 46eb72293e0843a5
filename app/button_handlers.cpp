#include "button_handlers.h"

#include "system_library.h"
#include "task_selection.h"
#include "texts.h"

namespace fenlodar {

void OnOpenClicked(TaskWindow& window, FileDialog& dialog, HWND owner) {
  if (!dialog.Open(owner)) return;
  dialog.SetInitialDirectory(CurrentDirectory());
  OnTaskFileChosen(window, dialog.FileName());
}

void ShellOpen(const std::string& target) {
  // Only starts something: without the shell library the request fails
  // silently, as a refused request does.
  const auto shell_execute = ShellExecuteCall();
  if (shell_execute == nullptr) return;
  shell_execute(nullptr, "open", target.c_str(), "", "", SW_SHOWNORMAL);
}

void OnVisitClicked(TaskWindow& window, ShellOpener open) {
  const std::string referrer = window.BoxText(Box::ReferrerBox);
  if (!IsWebAddress(referrer)) {
    window.ShowNotice(texts::kNoticeReferrerNotWebAddress);
    return;
  }
  open(referrer);
}

}  // namespace fenlodar
