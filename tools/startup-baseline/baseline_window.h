// Shared by the empty window and the launcher that waits for it.
#pragma once

namespace fenlodar::startup {

inline constexpr char kBaselineTitle[] = "Fenlodar start-up baseline";
// The tool's main window is this size.
inline constexpr int kWidth = 485;
inline constexpr int kHeight = 454;

}  // namespace fenlodar::startup
