#include "drop_effect.h"

#include <ole2.h>

namespace fenlodar {

DWORD DropEffectFor(DWORD key_state, DWORD allowed_effects) {
  const bool ctrl = (key_state & MK_CONTROL) != 0;
  const bool shift = (key_state & MK_SHIFT) != 0;
  DWORD effect = DROPEFFECT_NONE;
  if (ctrl && shift) {
    effect = DROPEFFECT_NONE;
  } else if (ctrl) {
    effect = DROPEFFECT_COPY;
  } else if (shift) {
    effect = DROPEFFECT_MOVE;
  } else if (allowed_effects & DROPEFFECT_COPY) {
    effect = DROPEFFECT_COPY;
  } else if (allowed_effects & DROPEFFECT_MOVE) {
    effect = DROPEFFECT_MOVE;
  } else if (allowed_effects & DROPEFFECT_LINK) {
    effect = DROPEFFECT_LINK;
  }
  return (effect & allowed_effects) ? effect : DROPEFFECT_NONE;
}

}  // namespace fenlodar
