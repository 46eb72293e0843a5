// Tab order, Esc, Enter and the focus kept across deactivation, with key
// messages going through the program's own dispatch.
#include <gtest/gtest.h>

#include <vector>

#include "control_table.h"
#include "texts.h"
#include "window_fixture.h"

namespace fenlodar::testing {
namespace {

const std::vector<Role> kCycle = {
    Role::NewAddressBox,      Role::VisitButton,   Role::OpenButton,
    Role::ModifyButton,       Role::RestoreButton, Role::ReloadButton,
    Role::OriginalAddressBox, Role::TaskNameBox,   Role::ReferrerBox,
};

const Role kBoxes[] = {Role::TaskNameBox, Role::OriginalAddressBox, Role::NewAddressBox,
                       Role::ReferrerBox};

TEST(FocusCycleTest, ComesFromTabIndexWithTiesLaterInTheTableFirst) {
  EXPECT_EQ(FocusCycle(), kCycle);
}

using KeysTest = WindowTest;

TEST_F(KeysTest, CaretStandsInTheNewAddressBoxAfterStartUp) {
  EXPECT_EQ(GetFocus(), Control(Role::NewAddressBox));
}

TEST_F(KeysTest, TabWalksTheCycleAndWrapsWithoutTypingATab) {
  std::vector<HWND> visited;
  for (std::size_t i = 0; i < kCycle.size(); ++i) {
    PressKey(VK_TAB);
    visited.push_back(GetFocus());
  }
  std::vector<HWND> expected;
  for (std::size_t i = 1; i <= kCycle.size(); ++i)
    expected.push_back(Control(kCycle[i % kCycle.size()]));
  EXPECT_EQ(visited, expected);
  for (Role box : kBoxes) EXPECT_EQ(TextOf(Control(box)), "") << static_cast<int>(box);
}

TEST_F(KeysTest, ShiftTabWalksTheCycleBackwards) {
  std::vector<HWND> visited;
  for (std::size_t i = 0; i < kCycle.size(); ++i) {
    PressKey(VK_TAB, /*shift=*/true);
    visited.push_back(GetFocus());
  }
  std::vector<HWND> expected;
  for (std::size_t i = kCycle.size(); i > 0; --i)
    expected.push_back(Control(kCycle[i - 1]));
  EXPECT_EQ(visited, expected);  // first step: NewAddressBox to ReferrerBox
}

TEST_F(KeysTest, EscClosesTheWindowWhereverTheFocusIs) {
  for (Role role : {Role::NewAddressBox, Role::ReferrerBox, Role::ModifyButton}) {
    SCOPED_TRACE(static_cast<int>(role));
    Reopen();
    HWND frame = Frame();
    SetFocus(Control(role));
    SetWindowTextA(Control(Role::NewAddressBox), "http://typing.example/");
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_TRUE(quit_seen_);
    EXPECT_EQ(quit_code_, 0u);
  }
}

TEST_F(KeysTest, EnterStartsALineInTallBoxesAndDoesNothingElsewhere) {
  // OpenButton is left out: a wrong click there would block in the dialog.
  const struct {
    Role role;
    const char* text_after;  // of the focused control, when it is a box
  } cases[] = {
      {Role::NewAddressBox, "\r\n"},  {Role::OriginalAddressBox, "\r\n"},
      {Role::TaskNameBox, "\r\n"},    {Role::ReferrerBox, ""},
      {Role::VisitButton, nullptr},   {Role::ModifyButton, nullptr},
      {Role::RestoreButton, nullptr}, {Role::ReloadButton, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.role));
    SetFocus(Control(c.role));
    PressKey(VK_RETURN);
    EXPECT_EQ(GetFocus(), Control(c.role));
    if (c.text_after != nullptr) {
      EXPECT_EQ(TextOf(Control(c.role)), c.text_after);
      SetWindowTextA(Control(c.role), "");
    }
  }
  // Every button click here would have shown a notice.
  EXPECT_EQ(window_->notices, std::vector<std::string>{});
}

TEST_F(KeysTest, SpaceOnAFocusedButtonClicksIt) {
  SetFocus(Control(Role::ReloadButton));
  PressKey(VK_SPACE);
  // The reload button's own answer when no task file was opened yet.
  EXPECT_EQ(window_->notices, std::vector<std::string>{texts::kNoticeNothingToReload});
}

// Another window of the test takes the activation, then gives it back.
void SwitchAwayAndBack(HWND frame) {
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetActiveWindow(other);
  ASSERT_EQ(GetActiveWindow(), other);
  SetActiveWindow(frame);
  ASSERT_EQ(GetActiveWindow(), frame);
  DestroyWindow(other);
}

// Minimize and restore. Wine sends no deactivation when minimizing; Windows
// sends one with the minimized flag in its high word, and the focus may
// have left before it arrives. Both restore alike: the frame gets the focus,
// then a WM_ACTIVATE with the flag cleared.
enum class Minimize {
  kAsWineDoes,             // the title-bar button's command, nothing added
  kWindowsDeactivation,    // minimized without the command, then Windows'
                           // deactivation sent by hand
  kWindowsFocusGoneFirst,  // the command, the focus gone, then Windows'
                           // deactivation sent by hand
};

void MinimizeAndRestore(HWND frame, Minimize how) {
  if (how == Minimize::kWindowsDeactivation) {
    ShowWindow(frame, SW_MINIMIZE);
  } else {
    SendMessageA(frame, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  }
  ASSERT_TRUE(IsIconic(frame));
  if (how != Minimize::kAsWineDoes) {
    if (how == Minimize::kWindowsFocusGoneFirst) SetFocus(nullptr);
    SendMessageA(frame, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, TRUE), 0);
    SetFocus(nullptr);
    // Clicked on the taskbar: activated while still minimized, then restored.
    SendMessageA(frame, WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, TRUE), 0);
  }
  SendMessageA(frame, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_FALSE(IsIconic(frame));
}

TEST_F(KeysTest, FocusComesBackAfterMinimizeAndRestore) {
  for (Minimize how : {Minimize::kAsWineDoes, Minimize::kWindowsDeactivation,
                       Minimize::kWindowsFocusGoneFirst}) {
    SCOPED_TRACE(static_cast<int>(how));
    Reopen();
    for (int i = 0; i < 3; ++i) PressKey(VK_TAB);
    ASSERT_EQ(GetFocus(), Control(Role::ModifyButton));
    MinimizeAndRestore(Frame(), how);
    Pump();
    EXPECT_EQ(GetFocus(), Control(Role::ModifyButton));
    // A second round finds the focus remembered again.
    MinimizeAndRestore(Frame(), how);
    Pump();
    EXPECT_EQ(GetFocus(), Control(Role::ModifyButton));
  }
}

TEST_F(KeysTest, FocusComesBackToTheControlThatHadItOnDeactivation) {
  for (Role role : {Role::ModifyButton, Role::ReferrerBox}) {
    SetFocus(Control(role));
    SwitchAwayAndBack(Frame());
    Pump();
    EXPECT_EQ(GetFocus(), Control(role)) << static_cast<int>(role);
  }
}

}  // namespace
}  // namespace fenlodar::testing
