// Each button's click reaches its own handler, seen through the notice that
// handler gives when no task file is loaded.
#include <gtest/gtest.h>

#include "current_task.h"
#include "texts.h"
#include "window_fixture.h"

namespace fenlodar::testing {
namespace {

using ButtonBindingTest = WindowTest;

TEST_F(ButtonBindingTest, ClicksRunTheirHandlers) {
  const struct {
    Role button;
    const char* notice;
  } cases[] = {
      {Role::ReloadButton, texts::kNoticeNothingToReload},
      {Role::ModifyButton, texts::kNoticeNewAddressTooShort},
      {Role::RestoreButton, texts::kNoticeNoTaskLoaded},
      // The referrer box is empty: not a web address.
      {Role::VisitButton, texts::kNoticeReferrerNotWebAddress},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.button));
    window_->notices.clear();
    SendMessageA(Control(c.button), BM_CLICK, 0, 0);
    EXPECT_EQ(window_->notices, std::vector<std::string>{c.notice});
  }
}

TEST_F(ButtonBindingTest, VisitReadsWhatTheReferrerBoxHoldsNow) {
  SetWindowTextA(Control(Role::ReferrerBox), "file:///C:/windows/system32/calc.exe");
  SendMessageA(Control(Role::VisitButton), BM_CLICK, 0, 0);
  EXPECT_EQ(window_->notices,
            std::vector<std::string>{texts::kNoticeReferrerNotWebAddress});
}

TEST_F(ButtonBindingTest, ReloadTakesTypedTaskNameAsAShownFile) {
  // The test is on the box, not on the path: with the path still empty the
  // load itself refuses.
  SetWindowTextA(Control(Role::TaskNameBox), "typed");
  SendMessageA(Control(Role::ReloadButton), BM_CLICK, 0, 0);
  EXPECT_EQ(window_->notices, std::vector<std::string>{texts::kNoticeReadFailed});
  EXPECT_EQ(CurrentTaskPath, "");
}

TEST_F(ButtonBindingTest, BoxesReadAndWriteWholeTextsByteExact) {
  // GBK text with a 0x5C trail byte and a typed line break.
  const std::string text = std::string("\xb1\x5c") + texts::kCaptionTaskName + "\r\nx";
  for (Box box : {Box::TaskNameBox, Box::OriginalAddressBox, Box::NewAddressBox}) {
    window_->SetBoxText(box, text);
    EXPECT_EQ(window_->BoxText(box), text);
  }
  window_->SetBoxText(Box::ReferrerBox, "http://example.com/");
  EXPECT_EQ(TextOf(Control(Role::ReferrerBox)), "http://example.com/");
  window_->SetBoxText(Box::ReferrerBox, "");
  EXPECT_EQ(window_->BoxText(Box::ReferrerBox), "");
}

}  // namespace
}  // namespace fenlodar::testing
