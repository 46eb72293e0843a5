// The effect offered to a drag source for the keys held: a pure rule so it
// can be checked without a drag.
#pragma once

#include <windows.h>

namespace fenlodar {

// None held: copy, else move, else link, whichever the source allows first.
// Ctrl: copy. Shift: move. Both: none. A disallowed result becomes none.
DWORD DropEffectFor(DWORD key_state, DWORD allowed_effects);

}  // namespace fenlodar
