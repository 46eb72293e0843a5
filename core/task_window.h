// What the task routines need of the main window: its four boxes and the
// notice box. The window implements it; tests use a recording fake.
#pragma once

#include <string>

namespace fenlodar {

enum class Box { TaskNameBox, OriginalAddressBox, NewAddressBox, ReferrerBox };

class TaskWindow {
 public:
  virtual ~TaskWindow() = default;
  // The box's whole current text (ANSI code page).
  virtual std::string BoxText(Box box) = 0;
  // Replaces the box's whole text.
  virtual void SetBoxText(Box box, const std::string& text) = 0;
  // A modal notice titled "提示!"; returns once the user has closed it.
  virtual void ShowNotice(const std::string& text) = 0;
};

}  // namespace fenlodar
