// Where the main window goes: centred on the whole primary screen.
#pragma once

namespace fenlodar {

// Outer size, frame and title bar included.
inline constexpr int kWindowWidth = 485;
inline constexpr int kWindowHeight = 454;

struct WindowPlace {
  int left;
  int top;
  bool operator==(const WindowPlace&) const = default;
};

// Integer division truncating toward zero, so a screen narrower than the
// window gives a small negative left edge.
WindowPlace CentredPlace(int screen_width, int screen_height);

}  // namespace fenlodar
