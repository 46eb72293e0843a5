#include "task_loading.h"

#include <gtest/gtest.h>

#include "task_file_builder.h"
#include "task_test_fixture.h"
#include "texts.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fenlodar::testing {
namespace {

const std::string kAddress = "http://dl.example.com/files/setup-2.4.exe";
const std::string kReferrer = "http://www.example.com/download.html";

// A task file padded to exactly `size` bytes.
std::string TaskFileOfSize(std::size_t size) {
  return TaskFileBuilder().Raw(TypicalTaskFile(kAddress, kReferrer)).PadTo(size).bytes();
}

struct ValidationCase {
  const char* why;
  std::string name;  // file name in the folder
  enum { kFile, kFolder, kAbsent } kind;
  std::string bytes;
  const char* notice;  // nullptr: accepted
};

class ValidateTaskFileTest : public TaskTest {};

TEST_F(ValidateTaskFileTest, ChecksSizeThenContentThenName) {
  const ValidationCase cases[] = {
      {"exactly the limit", "a.td.cfg", ValidationCase::kFile, TaskFileOfSize(102400),
       nullptr},
      {"one byte over", "b.td.cfg", ValidationCase::kFile, TaskFileOfSize(102401),
       texts::kNoticeFileTooLarge},
      {"no file: read, never size", "gone.td.cfg", ValidationCase::kAbsent, "",
       texts::kNoticeReadFailed},
      {"empty file", "e.td.cfg", ValidationCase::kFile, "", texts::kNoticeReadFailed},
      {"size before name", "big.txt", ValidationCase::kFile, std::string(200 * 1024, 'x'),
       texts::kNoticeFileTooLarge},
      {"small wrong name", "a.txt", ValidationCase::kFile, "http://x",
       texts::kNoticeNotTaskFile},
      {"mark with exact case", "UPPER.TD.CFG", ValidationCase::kFile, "http://x",
       texts::kNoticeNotTaskFile},
      {"mark anywhere in the name", "a.td.cfg.bak", ValidationCase::kFile, "http://x",
       nullptr},
      {"GBK file name", std::string(kGbkDownloadName) + ".td.cfg", ValidationCase::kFile,
       "http://x", nullptr},
      {"a folder", "dir.td.cfg", ValidationCase::kFolder, "", texts::kNoticeReadFailed},
  };
  for (const ValidationCase& c : cases) {
    RecordingWindow w;
    std::string path = folder.PathOf(c.name);
    if (c.kind == ValidationCase::kFile) folder.Put(c.name, c.bytes);
    if (c.kind == ValidationCase::kFolder) folder.MakeFolder(c.name);
    EXPECT_EQ(ValidateTaskFile(w, path), c.notice == nullptr) << c.why;
    const std::vector<std::string> expected =
        c.notice ? std::vector<std::string>{c.notice} : std::vector<std::string>{};
    EXPECT_EQ(w.Notices(), expected) << c.why;
  }
}

TEST_F(ValidateTaskFileTest, EmptyPathCannotBeRead) {
  EXPECT_FALSE(ValidateTaskFile(window, ""));
  EXPECT_EQ(window.Notices(), std::vector<std::string>{texts::kNoticeReadFailed});
}

#ifdef _WIN32
// Only the last component counts; with POSIX paths the whole path is one
// component, so this holds on Windows alone.
TEST_F(ValidateTaskFileTest, MarkInAFolderNameIsNotEnough) {
  folder.MakeFolder("x.td.cfg");
  const std::string path = folder.Put("x.td.cfg\\readme.txt", "http://x");
  EXPECT_FALSE(ValidateTaskFile(window, path));
  EXPECT_EQ(window.Notices(), std::vector<std::string>{texts::kNoticeNotTaskFile});
}

// Another program holds it open for writing, so it cannot be read; its
// size, from the directory entry, is refused first.
TEST_F(ValidateTaskFileTest, FileTooLargeAndHeldForWritingGetsTheSizeNotice) {
  const std::string path = folder.Put("big.td.cfg", TaskFileOfSize(102401));
  HANDLE writer =
      CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  const bool accepted = ValidateTaskFile(window, path);
  CloseHandle(writer);
  EXPECT_FALSE(accepted);
  EXPECT_EQ(window.Notices(), std::vector<std::string>{texts::kNoticeFileTooLarge});
}
#endif

TEST(TaskFileNameOf, LastBackslashComponent) {
  const struct {
    std::string path, name;
  } cases[] = {
      {"C:\\tasks\\a.td.cfg", "a.td.cfg"},
      {"a.td.cfg", "a.td.cfg"},
      {"C:\\tasks\\", "tasks"},
      {"", ""},
      {"C:/tasks/a.td.cfg", "C:/tasks/a.td.cfg"},  // a forward slash separates nothing
      {"C:\\a\\\\b.td.cfg", "b.td.cfg"},
      // 臻 is D5 5C: its trail byte is no separator.
      {"C:\\\xd5\x5c.td.cfg", "\xd5\x5c.td.cfg"},
      {"C:\\\xd5\x5c\\a.td.cfg", "a.td.cfg"},
  };
  for (const auto& c : cases) EXPECT_EQ(TaskFileNameOf(c.path), c.name) << c.path;
}

class LoadTaskFileTest : public TaskTest {};

TEST_F(LoadTaskFileTest, ShowsNameThenAddressThenReferrer) {
  const std::string name = std::string(kGbkDownloadName) + ".td.cfg";
  const std::string path = UseTaskFile(name, TypicalTaskFile(kAddress, kReferrer));
  LoadTaskFile(window);
#ifdef _WIN32
  const std::string shown_name = name;
#else
  const std::string shown_name = path;  // no backslash: the whole path is the name
#endif
  const std::vector<WindowEvent> expected = {SetBox(Box::TaskNameBox, shown_name),
                                             SetBox(Box::OriginalAddressBox, kAddress),
                                             SetBox(Box::ReferrerBox, kReferrer)};
  EXPECT_EQ(window.events, expected);
}

TEST_F(LoadTaskFileTest, RefusalLeavesEveryBoxAsItWas) {
  UseTaskFile("a.td.cfg", TypicalTaskFile(kAddress, kReferrer));
  LoadTaskFile(window);
  const auto shown = window.boxes;
  for (const std::string& refused :
       {folder.Put("b.txt", "http://other/x"), folder.PathOf("missing.td.cfg"),
        folder.Put("c.td.cfg", TaskFileOfSize(102401))}) {
    window.events.clear();
    CurrentTaskPath = refused;
    LoadTaskFile(window);
    EXPECT_EQ(window.boxes, shown) << refused;
    ASSERT_EQ(window.events.size(), 1u) << refused;
    EXPECT_EQ(window.events[0].kind, WindowEvent::kNotice) << refused;
    EXPECT_EQ(CurrentTaskPath, refused) << "a refused path stays current";
  }
}

TEST_F(LoadTaskFileTest, ReadsTheFileAgainEveryTime) {
  const std::string path = UseTaskFile("a.td.cfg", TypicalTaskFile(kAddress, kReferrer));
  LoadTaskFile(window);
  ASSERT_TRUE(WriteWholeFile(
      path, TypicalTaskFile("http://mirror.example.org/s.exe", kReferrer)));
  LoadTaskFile(window);
  EXPECT_EQ(window.boxes[Box::OriginalAddressBox], "http://mirror.example.org/s.exe");
}

}  // namespace
}  // namespace fenlodar::testing
