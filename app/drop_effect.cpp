#include "drop_effect.h"

#include <ole2.h>

namespace fenlodar {

namespace {

// With no key held: the first of copy, move, link that the source allows.
DWORD FirstAllowed(DWORD allowed_effects) {
  constexpr DWORD kPreferred[] = {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK};
  for (DWORD effect : kPreferred)
    if (allowed_effects & effect) return effect;
  return DROPEFFECT_NONE;
}

}  // namespace

DWORD DropEffectFor(DWORD key_state, DWORD allowed_effects) {
  const bool ctrl = (key_state & MK_CONTROL) != 0;
  const bool shift = (key_state & MK_SHIFT) != 0;
  if (ctrl && shift) return DROPEFFECT_NONE;
  DWORD effect = FirstAllowed(allowed_effects);
  if (ctrl) effect = DROPEFFECT_COPY;
  if (shift) effect = DROPEFFECT_MOVE;
  return (effect & allowed_effects) ? effect : DROPEFFECT_NONE;
}

}  // namespace fenlodar
