#include "task_selection.h"

#include <gtest/gtest.h>

#include "address_rewrite.h"
#include "task_file_builder.h"
#include "task_test_fixture.h"
#include "texts.h"

namespace fenlodar::testing {
namespace {

using Notices = std::vector<std::string>;
const std::string kAddress = "http://dl.example.com/a.zip";
const std::string kReferrer = "http://www.example.com/";

// What TaskNameBox shows for `name` in the test folder: its last backslash
// component, which on POSIX, whose paths have none, is the whole path.
std::string ShownName(const std::string& name, const std::string& path) {
#ifdef _WIN32
  (void)path;
  return name;
#else
  (void)name;
  return path;
#endif
}

class SelectionTest : public TaskTest {};

TEST_F(SelectionTest, DropStoresTheTextAndLetsLoadingJudgeIt) {
  const std::string a = folder.Put("a.td.cfg", TypicalTaskFile(kAddress, kReferrer));
  const std::string b = folder.Put("b.td.cfg", TypicalTaskFile(kAddress, kReferrer));
  // Two dropped names arrive as one text, each ended by CR LF.
  const std::string two = a + "\r\n" + b + "\r\n";
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
  EXPECT_EQ(window.boxes[Box::TaskNameBox], ShownName("a.td.cfg", a));
}

// A refused drop still names the file to work on: the rewrite takes the
// address shown for the last accepted file and replaces it in the refused
// one, whose reload is refused again before the confirmation.
TEST_F(SelectionTest, ModifyAfterARefusedDropRewritesTheRefusedFile) {
  const std::string task = TypicalTaskFile(kAddress, kReferrer);
  const std::string a = folder.Put("a.td.cfg", task);
  OnFileDropped(window, a);
  const std::string notes =
      "mirror: http://dl.example.com/a.zip\r\nold: http://dl.example.com/a.zip\r\n";
  const std::string b = folder.Put("b.txt", notes);
  OnFileDropped(window, b);
  ASSERT_EQ(window.Notices(), Notices{texts::kNoticeNotTaskFile});

  window.boxes[Box::NewAddressBox] = "http://mirror.example.net/a.zip";
  window.events.clear();
  OnModifyClicked(window);
  EXPECT_EQ(window.events, (std::vector<WindowEvent>{Notice(texts::kNoticeNotTaskFile),
                                                     Notice(texts::kNoticeModifyDone)}));
  EXPECT_EQ(CurrentTaskPath, b);
  EXPECT_EQ(ReadWholeFile(b),
            "mirror: http://mirror.example.net/a.zip\r\n"
            "old: http://mirror.example.net/a.zip\r\n");
  EXPECT_EQ(ReadWholeFile(folder.PathOf("b.txt.bak")), notes);
  EXPECT_EQ(ReadWholeFile(a), task);
  EXPECT_EQ(folder.Entries(),
            (std::vector<std::string>{"a.td.cfg", "b.txt", "b.txt.bak"}));
  // The boxes still show the accepted file.
  EXPECT_EQ(window.boxes[Box::TaskNameBox], ShownName("a.td.cfg", a));
  EXPECT_EQ(window.boxes[Box::OriginalAddressBox], kAddress);
  EXPECT_EQ(window.boxes[Box::ReferrerBox], kReferrer);
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
