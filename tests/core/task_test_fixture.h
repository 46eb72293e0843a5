// Common ground of the task routine tests: a fresh folder, a recording
// window, and CurrentTaskPath empty before and after each test.
#pragma once

#include <gtest/gtest.h>

#include "current_task.h"
#include "file_io.h"
#include "recording_window.h"
#include "temp_folder.h"

namespace fenlodar::testing {

class TaskTest : public ::testing::Test {
 protected:
  void SetUp() override { CurrentTaskPath.clear(); }
  void TearDown() override { CurrentTaskPath.clear(); }

  // Puts a task file in the folder and makes it the current one.
  std::string UseTaskFile(const std::string& name, const std::string& bytes) {
    CurrentTaskPath = folder.Put(name, bytes);
    return CurrentTaskPath;
  }

  TempFolder folder;
  RecordingWindow window;
};

}  // namespace fenlodar::testing
