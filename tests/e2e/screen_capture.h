// What is on the screen, read back with GDI and kept as 24-bit pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace fenlodar::e2e {

class ScreenCapture {
 public:
  // The screen area `rect` (screen coordinates) as it shows now.
  static ScreenCapture Of(const RECT& rect);

  int width() const { return width_; }
  int height() const { return height_; }
  // Colour at x, y of the captured area, 0x00RRGGBB.
  std::uint32_t At(int x, int y) const;
  bool WriteBmp(const std::string& path) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> rows_;  // bottom-up BGR rows, padded to 4 bytes
  int stride_ = 0;
};

}  // namespace fenlodar::e2e
