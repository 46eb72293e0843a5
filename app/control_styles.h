// The platform window class and styles each kind of control is made with.
#pragma once

#include <windows.h>

#include "control_table.h"

namespace fenlodar {

struct ControlStyle {
  const char* window_class;
  DWORD style;
  DWORD ex_style;
};

// Only for rows whose kind HasWindow().
ControlStyle StyleOf(const ControlRecord& row);

// ReferrerBox is the one single-line box.
bool IsMultilineBox(Role role);

}  // namespace fenlodar
