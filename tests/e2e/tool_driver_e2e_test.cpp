// The driver itself: a tool that stops answering must fail the test that
// asks it something, never hand back an empty text that an expectation of
// an empty box would take for the truth.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tested_tool.h"
#include "tool_driver.h"

namespace fenlodar::e2e {
namespace {

class HungToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(
        tool_.Start(WindowsPathOfUnixPath(fenlodar::testing::TestedToolPath()), &why))
        << why;
    // Its one thread frozen: every message to its window waits.
    ASSERT_NE(SuspendThread(tool_.thread()), static_cast<DWORD>(-1));
    suspended_ = true;
  }
  void TearDown() override {
    if (suspended_) ResumeThread(tool_.thread());
    tool_.Kill();
  }

  RunningTool tool_;
  bool suspended_ = false;
};

TEST_F(HungToolTest, ReadingAnEmptyBoxFailsTheTest) {
  std::string text = "untouched";
  EXPECT_NONFATAL_FAILURE(text = tool_.Text(Control::NewAddressBox),
                          "did not give the text of its NewAddressBox");
  EXPECT_NE(text, "");
}

TEST_F(HungToolTest, TypingFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(tool_.Type(Control::NewAddressBox, "http://a.example/x.zip"),
                          "did not take a text into its NewAddressBox");
}

}  // namespace
}  // namespace fenlodar::e2e
