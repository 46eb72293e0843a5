#include "task_selection.h"

#include <gtest/gtest.h>

#include "task_file_builder.h"
#include "task_loading.h"
#include "task_test_fixture.h"
#include "texts.h"

namespace fenlodar::testing {
namespace {

using Notices = std::vector<std::string>;
const std::string kAddress = "http://dl.example.com/a.zip";
const std::string kReferrer = "http://www.example.com/";

class SelectionTest : public TaskTest {};

TEST_F(SelectionTest, DropStoresTheTextAndLetsLoadingJudgeIt) {
  const std::string a = folder.Put("a.td.cfg", TypicalTaskFile(kAddress, kReferrer));
  const std::string b = folder.Put("b.td.cfg", TypicalTaskFile(kAddress, kReferrer));
  const std::string two = JoinDroppedNames({a, b});
  OnFileDropped(window, two);
  EXPECT_EQ(CurrentTaskPath, two);
  EXPECT_EQ(window.events, std::vector<WindowEvent>{Notice(texts::kNoticeReadFailed)});

  window.events.clear();
  OnFileDropped(window, folder.MakeFolder("dir"));
  EXPECT_EQ(window.Notices(), Notices{texts::kNoticeReadFailed});

  window.events.clear();
  OnFileDropped(window, a);
  EXPECT_EQ(window.boxes[Box::OriginalAddressBox], kAddress);
  EXPECT_TRUE(window.Notices().empty());
}

TEST(JoinDroppedNames, OneAloneSeveralEachEndedByCrLf) {
  EXPECT_EQ(JoinDroppedNames({}), "");
  EXPECT_EQ(JoinDroppedNames({"C:\\a.td.cfg"}), "C:\\a.td.cfg");
  EXPECT_EQ(JoinDroppedNames({"C:\\a", "C:\\b"}), "C:\\a\r\nC:\\b\r\n");
}

TEST_F(SelectionTest, ChosenEmptyPathIsIgnored) {
  CurrentTaskPath = "kept";
  OnTaskFileChosen(window, "");
  EXPECT_EQ(CurrentTaskPath, "kept");
  EXPECT_TRUE(window.events.empty());
}

TEST_F(SelectionTest, ReloadNeedsAFileShownFirst) {
  // A refused first file: the reload still says nothing was opened.
  OnTaskFileChosen(window, folder.Put("notes.txt", "hello"));
  EXPECT_EQ(window.Notices(), Notices{texts::kNoticeNotTaskFile});
  window.events.clear();
  OnReloadClicked(window);
  EXPECT_EQ(window.Notices(), Notices{texts::kNoticeNothingToReload});

  // Typed text passes the test; the empty path then cannot be read.
  CurrentTaskPath.clear();
  window.boxes[Box::TaskNameBox] = "typed";
  window.events.clear();
  OnReloadClicked(window);
  EXPECT_EQ(window.Notices(), Notices{texts::kNoticeReadFailed});
}

TEST_F(SelectionTest, ReloadShowsWhatTheFileHoldsNowOrItsRefusal) {
  const std::string a = folder.Put("a.td.cfg", TypicalTaskFile(kAddress, kReferrer));
  OnFileDropped(window, a);
  WriteWholeFile(a, TypicalTaskFile("http://new.example.com/a.zip", kReferrer));
  OnReloadClicked(window);
  EXPECT_EQ(window.boxes[Box::OriginalAddressBox], "http://new.example.com/a.zip");

  OnFileDropped(window, folder.Put("b.txt", "http://x/y"));
  window.events.clear();
  OnReloadClicked(window);
  EXPECT_EQ(window.Notices(), Notices{texts::kNoticeNotTaskFile});
  EXPECT_EQ(window.boxes[Box::TaskNameBox], TaskFileNameOf(a));
}

TEST(IsWebAddress, OnlyHttpAndHttpsInAnyCase) {
  const struct {
    const char* text;
    bool web;
  } cases[] = {
      {"http://www.example.com/", true},
      {"HTTPS://www.example.com/", true},
      {"hTtP://x", true},
      {"", false},
      {"http:/x", false},
      {"C:\\Windows\\system32\\calc.exe", false},
      {"file:///C:/x.bat", false},
      {"ftp://example.com/", false},
      {" http://x", false},
      {"javascript:alert(1)", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsWebAddress(c.text), c.web) << c.text;
}

}  // namespace
}  // namespace fenlodar::testing
