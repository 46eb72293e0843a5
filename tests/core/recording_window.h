// A stand-in for the main window that records, in order, every box write
// and every notice, so tests can check what the user would have seen.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "task_window.h"

namespace fenlodar::testing {

struct WindowEvent {
  enum Kind { kSetBox, kNotice } kind;
  Box box;  // kSetBox only
  std::string text;
  bool operator==(const WindowEvent&) const = default;
};

// Readable failure output: which box, and the text's bytes.
inline void PrintTo(const WindowEvent& e, std::ostream* os) {
  static const char* const kBoxNames[] = {"TaskNameBox", "OriginalAddressBox",
                                          "NewAddressBox", "ReferrerBox"};
  if (e.kind == WindowEvent::kNotice)
    *os << "Notice(";
  else
    *os << "SetBox(" << kBoxNames[static_cast<int>(e.box)] << ", ";
  *os << ::testing::PrintToString(e.text) << ")";
}

inline WindowEvent SetBox(Box box, std::string text) {
  return {WindowEvent::kSetBox, box, std::move(text)};
}
inline WindowEvent Notice(std::string text) {
  return {WindowEvent::kNotice, Box::TaskNameBox, std::move(text)};
}

class RecordingWindow : public TaskWindow {
 public:
  std::map<Box, std::string> boxes;
  std::vector<WindowEvent> events;

  std::string BoxText(Box box) override { return boxes[box]; }
  void SetBoxText(Box box, const std::string& text) override {
    boxes[box] = text;
    events.push_back(SetBox(box, text));
  }
  void ShowNotice(const std::string& text) override {
    events.push_back(Notice(text));
  }

  std::vector<std::string> Notices() const {
    std::vector<std::string> texts;
    for (const WindowEvent& e : events)
      if (e.kind == WindowEvent::kNotice) texts.push_back(e.text);
    return texts;
  }
};

}  // namespace fenlodar::testing
