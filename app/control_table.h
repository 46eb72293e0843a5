// The main window's description: every control, in stacking order (the
// first row on top), with its place, caption, tab index and handler.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace fenlodar {

enum class ControlKind { PushButton, EditBox, Label, DropTarget, FileDialog };

enum class Role {
  ReloadButton,
  RestoreButton,
  VisitButton,
  FileDropTarget,
  FileDialog,
  ReferrerBox,
  ReferrerLabel,
  ModifyButton,
  OpenButton,
  NewAddressLabel,
  NewAddressBox,
  OriginalAddressLabel,
  OriginalAddressBox,
  TaskNameBox,
  TaskNameLabel,
};

// What an event of the control runs; the window binds each to its routine.
enum class Handler {
  None,
  OnReloadClicked,
  OnRestoreClicked,
  OnVisitClicked,
  OnFileDropped,
  OnModifyClicked,
  OnOpenClicked,
};

inline constexpr int kNoTabIndex = -1;

struct ControlRecord {
  ControlKind kind;
  const char* stored_name;
  Role role;
  int left, top, width, height;  // client coordinates of the main window
  const char* caption;           // nullptr for the two unseen components
  int tab_index;                 // kNoTabIndex when not a tab stop
  Handler handler;
};

inline constexpr std::size_t kControlCount = 15;

const std::array<ControlRecord, kControlCount>& Controls();

// Position of the role's row in Controls().
std::size_t IndexOf(Role role);

// Only these kinds become windows.
bool HasWindow(ControlKind kind);
bool IsTabStop(const ControlRecord& row);

// Window identifier of a row, and the row of an identifier (kControlCount
// when the identifier is none of ours).
int ControlIdOf(std::size_t index);
std::size_t IndexOfControlId(int id);

// Tab stops by tab index, ties with the row later in the table first.
std::vector<Role> FocusCycle();

}  // namespace fenlodar
