// The real tool minimized and restored through the system commands that its
// title-bar button and the taskbar send, with real key presses before.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tested_tool.h"
#include "tool_driver.h"

namespace fenlodar::e2e {
namespace {

class WindowStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(
        tool_.Start(WindowsPathOfUnixPath(fenlodar::testing::TestedToolPath()), &why))
        << why;
  }
  void TearDown() override { tool_.Kill(); }

  // Sent, so it has run to its end inside the tool when this returns.
  void SystemCommand(WPARAM command) {
    ASSERT_TRUE(SendWithin(tool_.window(), WM_SYSCOMMAND, command, 0))
        << "the tool did not carry out system command " << command;
  }

  RunningTool tool_;
};

TEST_F(WindowStateTest, FocusComesBackToTheControlItWasOnAfterMinimizeAndRestore) {
  ASSERT_EQ(tool_.Focused(), tool_.control(Control::NewAddressBox));
  // NewAddressBox, VisitButton, OpenButton, ModifyButton.
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(PressKeyOn(tool_.window(), VK_TAB));
  ASSERT_TRUE(Eventually(
      [&] { return tool_.Focused() == tool_.control(Control::ModifyButton); }));

  SystemCommand(SC_MINIMIZE);
  ASSERT_TRUE(IsIconic(tool_.window())) << "not minimized";
  SystemCommand(SC_RESTORE);
  ASSERT_FALSE(IsIconic(tool_.window())) << "not restored";
  // Whatever the restore left queued is handled before a sent message.
  ASSERT_TRUE(SendWithin(tool_.window(), WM_NULL, 0, 0));
  EXPECT_EQ(tool_.Focused(), tool_.control(Control::ModifyButton));

  // Twice in a row: the first restore must not have used up what a second
  // minimize needs.
  SystemCommand(SC_MINIMIZE);
  SystemCommand(SC_RESTORE);
  ASSERT_TRUE(SendWithin(tool_.window(), WM_NULL, 0, 0));
  EXPECT_EQ(tool_.Focused(), tool_.control(Control::ModifyButton));
}

}  // namespace
}  // namespace fenlodar::e2e
