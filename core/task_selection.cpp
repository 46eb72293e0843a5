#include "task_selection.h"

#include <vector>

#include "current_task.h"
#include "task_loading.h"
#include "texts.h"

namespace fenlodar {

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

}  // namespace

void OnFileDropped(TaskWindow& window, const std::string& dropped) {
  CurrentTaskPath = dropped;
  LoadTaskFile(window);
}

void OnTaskFileChosen(TaskWindow& window, const std::string& chosen) {
  if (chosen.empty()) return;
  CurrentTaskPath = chosen;
  LoadTaskFile(window);
}

void OnReloadClicked(TaskWindow& window) {
  // TaskNameBox is written only when a file is accepted, so an empty box
  // means nothing was ever shown.
  if (window.BoxText(Box::TaskNameBox).empty()) {
    window.ShowNotice(texts::kNoticeNothingToReload);
    return;
  }
  LoadTaskFile(window);
}

bool IsWebAddress(const std::string& text) {
  return StartsWithNoCase(text, "http://") || StartsWithNoCase(text, "https://");
}

std::string JoinDroppedNames(const std::vector<std::string>& names) {
  if (names.size() == 1) return names.front();
  std::string joined;
  for (const std::string& name : names) joined += name + "\r\n";
  return joined;
}

}  // namespace fenlodar
