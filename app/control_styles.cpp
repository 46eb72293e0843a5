#include "control_styles.h"

namespace fenlodar {

bool IsMultilineBox(Role role) {
  return role == Role::TaskNameBox || role == Role::OriginalAddressBox ||
         role == Role::NewAddressBox;
}

ControlStyle StyleOf(const ControlRecord& row) {
  // Clipped by their siblings so painting follows the stacking order (the
  // task name box lies over the bottom rows of its label).
  const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  switch (row.kind) {
    case ControlKind::PushButton:
      // BS_PUSHBUTTON, never BS_DEFPUSHBUTTON: Enter clicks nothing.
      return {"BUTTON",
              child | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE,
              0};
    case ControlKind::EditBox:
      // No ES_NOHIDESEL: the selection hides while the box is unfocused.
      if (IsMultilineBox(row.role))
        return {"EDIT",
                child | WS_TABSTOP | WS_VSCROLL | ES_LEFT | ES_MULTILINE |
                    ES_AUTOVSCROLL | ES_WANTRETURN,
                WS_EX_CLIENTEDGE};
      return {"EDIT", child | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::Label:
      return {"STATIC", child | SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX, 0};
    case ControlKind::DropTarget:
    case ControlKind::FileDialog:
      break;
  }
  return {nullptr, 0, 0};
}

}  // namespace fenlodar
