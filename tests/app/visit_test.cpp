// Only web addresses reach the shell; anything else gets the notice.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "button_handlers.h"
#include "recording_window.h"
#include "texts.h"

namespace fenlodar::testing {
namespace {

std::vector<std::string> opened;
void RecordOpen(const std::string& target) { opened.push_back(target); }

TEST(VisitTest, OpensWebAddressesAndRefusesEverythingElse) {
  const struct {
    std::string referrer;
    bool opens;
  } cases[] = {
      {"http://example.com/page.html", true},
      {"HTTPS://EXAMPLE.COM/", true},
      {"hTtP://x", true},
      {"", false},
      {"ftp://example.com/", false},
      {" http://example.com/", false},  // only a leading scheme counts
      {"C:\\Windows\\system32\\cmd.exe", false},
      {"file:///C:/a.bat", false},
      {"http:/example.com", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.referrer);
    opened.clear();
    RecordingWindow window;
    window.boxes[Box::ReferrerBox] = c.referrer;
    OnVisitClicked(window, RecordOpen);
    if (c.opens) {
      EXPECT_EQ(opened, std::vector<std::string>{c.referrer});
      EXPECT_EQ(window.Notices(), std::vector<std::string>{});
    } else {
      EXPECT_EQ(opened, std::vector<std::string>{});
      EXPECT_EQ(window.Notices(),
                std::vector<std::string>{texts::kNoticeReferrerNotWebAddress});
    }
  }
}

}  // namespace
}  // namespace fenlodar::testing
