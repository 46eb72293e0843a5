// How long the window tests wait. Each wait is written as the time it
// needs on an idle machine and stretched by one factor, read once from
// FENLODAR_TEST_TIME_SCALE (default 1), so a slow or busy machine is given
// more time in one place instead of in every test.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace fenlodar::testing {

inline double TimeScale() {
  static const double scale = [] {
    const char* text = std::getenv("FENLODAR_TEST_TIME_SCALE");
    if (text == nullptr || *text == '\0') return 1.0;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(value > 0.0) || value > 1000.0) {
      std::fprintf(stderr, "FENLODAR_TEST_TIME_SCALE=\"%s\" is no factor; using 1\n",
                   text);
      return 1.0;
    }
    return value;
  }();
  return scale;
}

inline std::chrono::milliseconds Scaled(std::chrono::milliseconds nominal) {
  return std::chrono::milliseconds(
      static_cast<std::chrono::milliseconds::rep>(nominal.count() * TimeScale()));
}

}  // namespace fenlodar::testing
