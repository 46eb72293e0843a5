#include "window_place.h"

namespace fenlodar {

WindowPlace CentredPlace(int screen_width, int screen_height) {
  return {(screen_width - kWindowWidth) / 2, (screen_height - kWindowHeight) / 2};
}

}  // namespace fenlodar
