#include "button_handlers.h"

#include <shellapi.h>

#include "task_selection.h"
#include "texts.h"

namespace fenlodar {

void OnOpenClicked(TaskWindow& window, FileDialog& dialog, HWND owner) {
  if (!dialog.Open(owner)) return;
  dialog.SetInitialDirectory(CurrentDirectory());
  OnTaskFileChosen(window, dialog.FileName());
}

void ShellOpen(const std::string& target) {
  ShellExecuteA(nullptr, "open", target.c_str(), "", "", SW_SHOWNORMAL);
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
