#include "address_rewrite.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "file_faults.h"
#include "rewrite_fixture.h"
#include "size_limited_child.h"
#include "sparse_file.h"
#include "task_loading.h"
#include "texts.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fenlodar::testing {
namespace {

using Notices = std::vector<std::string>;

TEST_F(RewriteTest, NewAddressNeedsThirteenBytes) {
  const struct {
    const char* why;
    std::string typed;
    bool runs;
  } cases[] = {
      {"12 bytes", "http://a/bcd", false},
      {"13 bytes", "http://a/bcde", true},
      // 下载的文件下 and 下载的文件下载: GBK, two bytes a character.
      {"six Chinese characters", "\xcf\xc2\xd4\xd8\xb5\xc4\xce\xc4\xbc\xfe\xcf\xc2",
       false},
      {"seven Chinese characters",
       "\xcf\xc2\xd4\xd8\xb5\xc4\xce\xc4\xbc\xfe\xcf\xc2\xd4\xd8", true},
  };
  for (const auto& c : cases) {
    const std::string original = Layout({kOld});
    const std::string path = Load(original, c.typed);
    OnModifyClicked(window);
    const Notices notices = window.Notices();
    ASSERT_FALSE(notices.empty()) << c.why;
    if (c.runs) {
      EXPECT_EQ(notices.back(), texts::kNoticeModifyDone) << c.why;
      EXPECT_EQ(ReadWholeFile(path), Layout({c.typed})) << c.why;
    } else {
      EXPECT_EQ(notices, Notices{texts::kNoticeNewAddressTooShort}) << c.why;
      EXPECT_EQ(ReadWholeFile(path), original) << c.why;
      EXPECT_EQ(FileSizeOf(BackupPathOf(path)), -1) << c.why;
    }
    std::filesystem::remove(BackupPathOf(path));
  }
}

TEST_F(RewriteTest, NothingLoadedTouchesNoFile) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.path());
  window.boxes[Box::NewAddressBox] = kNew;
  OnModifyClicked(window);
  std::filesystem::current_path(previous);
  EXPECT_EQ(window.Notices(), Notices{texts::kNoticeNoTaskLoaded});
  EXPECT_TRUE(folder.Entries().empty()) << "no stray .bak in the working directory";
}

TEST_F(RewriteTest, ReplacesTheFirstTwoOccurrences) {
  const struct {
    const char* why;
    std::vector<std::string> before, after;
  } cases[] = {
      {"once", {kOld}, {kNew}},
      {"twice", {kOld, kOld}, {kNew, kNew}},
      {"three times: the third stays", {kOld, kOld, kOld}, {kNew, kNew, kOld}},
  };
  for (const auto& c : cases) {
    const std::string original = Layout(c.before);
    const std::string path = Load(original);
    OnModifyClicked(window);
    const std::string rewritten = ReadWholeFile(path);
    EXPECT_EQ(rewritten, Layout(c.after)) << c.why;
    const std::size_t replaced = std::min<std::size_t>(c.before.size(), 2);
    EXPECT_EQ(rewritten.size() - original.size(), replaced * (kNew.size() - kOld.size()))
        << c.why;
    EXPECT_EQ(Backup(), original) << c.why;
    // Only a backslash separates: a POSIX path is its own name.
#ifdef _WIN32
    const std::string name = "t.td.cfg";
#else
    const std::string name = path;
#endif
    const std::vector<WindowEvent> expected = {
        SetBox(Box::TaskNameBox, name), SetBox(Box::OriginalAddressBox, kNew),
        SetBox(Box::ReferrerBox, kRef), Notice(texts::kNoticeModifyDone)};
    EXPECT_EQ(window.events, expected) << c.why;
  }
}

// Two occurrences a few bytes apart and a new address of 18 bytes, 20
// fewer than the old: a second pass started at the old address's end
// instead of the new one's would miss the second occurrence.
TEST_F(RewriteTest, SecondPassWithAShorterNewAddress) {
  using namespace std::string_literals;
  const std::string original =
      "TSK\0\0\0http://dl.example.com/pub/tool-1.0.zip\0\0\0ab"
      "http://dl.example.com/pub/tool-1.0.zip\0\0\0end"s;
  const std::string path = Load(original, "http://a.b/c/d.zip");
  ASSERT_EQ(window.boxes[Box::OriginalAddressBox],
            "http://dl.example.com/pub/tool-1.0.zip");
  OnModifyClicked(window);
  EXPECT_EQ(ReadWholeFile(path),
            "TSK\0\0\0http://a.b/c/d.zip\0\0\0abhttp://a.b/c/d.zip\0\0\0end"s);
  EXPECT_EQ(FileSizeOf(path), 53);
  EXPECT_EQ(window.Notices(), Notices{texts::kNoticeModifyDone});
}

TEST_F(RewriteTest, NewAddressContainingTheOldIsNotRewrittenInsideItself) {
  const std::string wrapping = "http://proxy.example/get?u=" + kOld;
  const std::string path = Load(Layout({kOld, kOld}), wrapping);
  OnModifyClicked(window);
  EXPECT_EQ(ReadWholeFile(path), Layout({wrapping, wrapping}));
}

TEST_F(RewriteTest, SameAddressStillRewritesTheBackup) {
  const std::string original = Layout({kOld, kOld});
  const std::string path = Load(original, kOld);
  WriteWholeFile(BackupPathOf(path), "an older backup");
  OnModifyClicked(window);
  EXPECT_EQ(ReadWholeFile(path), original);
  EXPECT_EQ(Backup(), original);
  EXPECT_EQ(window.Notices(), Notices{texts::kNoticeModifyDone});
}

TEST_F(RewriteTest, BackupHoldsTheStateBeforeTheLatestRewrite) {
  const std::string original = Layout({kOld});
  const std::string path = Load(original);
  OnModifyClicked(window);
  EXPECT_EQ(Backup(), original);
  // The reload put kNew into the box; the next rewrite replaces it.
  const std::string third = "http://third.example.org/tool-1.0.zip";
  window.boxes[Box::NewAddressBox] = third;
  OnModifyClicked(window);
  EXPECT_EQ(Backup(), Layout({kNew}));
  EXPECT_EQ(ReadWholeFile(path), Layout({third}));
}

TEST_F(RewriteTest, RefusedBeforeWritingAnything) {
  const std::string original = Layout({kOld});
  const struct {
    const char* why;
    std::string shown_address;  // what OriginalAddressBox holds
    bool remove_task_file;
    const char* notice;
  } cases[] = {
      {"address box emptied", "", false, texts::kNoticeOldAddressNotFound},
      {"address not in the file", "http://elsewhere.example/x.zip", false,
       texts::kNoticeOldAddressNotFound},
      {"task file gone since loading", kOld, true, texts::kNoticeReadFailed},
  };
  for (const auto& c : cases) {
    const std::string path = Load(original);
    WriteWholeFile(BackupPathOf(path), "an earlier backup");
    window.boxes[Box::OriginalAddressBox] = c.shown_address;
    if (c.remove_task_file) std::filesystem::remove(path);
    OnModifyClicked(window);
    EXPECT_EQ(window.Notices(), Notices{c.notice}) << c.why;
    EXPECT_EQ(Backup(), "an earlier backup") << c.why;
    if (c.remove_task_file) {
      EXPECT_EQ(FileSizeOf(path), -1) << c.why << ": not recreated";
    } else {
      EXPECT_EQ(ReadWholeFile(path), original) << c.why;
    }
  }
}

TEST_F(RewriteTest, BackupThatCannotBeWrittenStopsTheRewrite) {
  const std::string original = Layout({kOld});
  const std::string path = Load(original);
  folder.MakeFolder("t.td.cfg.bak");
  OnModifyClicked(window);
  EXPECT_EQ(window.Notices(), Notices{texts::kNoticeBackupFailed});
  EXPECT_EQ(ReadWholeFile(path), original);
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"t.td.cfg", "t.td.cfg.bak"}));
}

TEST_F(RewriteTest, ReloadNoticeComesBeforeTheConfirmation) {
  // Grows past the size limit with the longer address.
  const std::string original =
      TaskFileBuilder().Raw(Layout({kOld})).PadTo(MaxTaskFileSize).bytes();
  const std::string path = Load(original, kOld + "?mirror=2");
  OnModifyClicked(window);
  EXPECT_GT(FileSizeOf(path), MaxTaskFileSize);
  EXPECT_EQ(window.events, (std::vector<WindowEvent>{Notice(texts::kNoticeFileTooLarge),
                                                     Notice(texts::kNoticeModifyDone)}));
}

TEST_F(RewriteTest, TaskFileOver16MiBIsRefusedBeforeItIsRead) {
  const struct {
    std::int64_t size;
    const char* notice;
  } cases[] = {
      {16 * 1024 * 1024 + 1, texts::kNoticeFileTooLarge},
      {std::int64_t{2} * 1024 * 1024 * 1024, texts::kNoticeFileTooLarge},
      // Exactly 16 MiB is read: all zeros, so the address is not found.
      {16 * 1024 * 1024, texts::kNoticeOldAddressNotFound},
  };
  for (const auto& c : cases) {
    const std::string path = folder.PathOf("t.td.cfg");
    MakeSparseFile(path, c.size);
    CurrentTaskPath = path;  // a refused file stays the current one
    window.boxes[Box::OriginalAddressBox] = kOld;
    window.boxes[Box::NewAddressBox] = kNew;
    window.events.clear();
    CallTableGuard guard;
    guard.Count(path);
    OnModifyClicked(window);
    EXPECT_EQ(window.Notices(), Notices{c.notice}) << c.size;
    EXPECT_EQ(CallTableGuard::reads_opened,
              c.notice == texts::kNoticeFileTooLarge ? 0 : 1)
        << c.size;
    EXPECT_EQ(FileSizeOf(path), c.size);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"t.td.cfg"})
        << "nothing written";
  }
}

TEST_F(RewriteTest, IncompleteReadOfTheTaskFileWritesNothing) {
  const std::string original = Layout({kOld, kOld});
  const std::string path = Load(original);
  WriteWholeFile(BackupPathOf(path), "an earlier backup");
  {
    CallTableGuard guard;
    guard.EndReadsEarly();
    OnModifyClicked(window);
  }
  EXPECT_EQ(window.Notices(), Notices{texts::kNoticeReadFailed});
  EXPECT_EQ(ReadWholeFile(path), original);
  EXPECT_EQ(Backup(), "an earlier backup");
}

TEST_F(RewriteTest, AllocationFailureIsAReadFailureNotAnException) {
  const std::string original = Layout({kOld});
  const std::string path = Load(original);
  {
    CallTableGuard guard;
    guard.FailAllocation();
    EXPECT_NO_THROW(OnModifyClicked(window));
  }
  EXPECT_EQ(window.Notices(), Notices{texts::kNoticeReadFailed});
  EXPECT_EQ(ReadWholeFile(path), original);
  EXPECT_EQ(FileSizeOf(BackupPathOf(path)), -1);
}

// Both passes are made in memory and written in one write: no failure can
// leave one occurrence rewritten and the other not.
TEST_F(RewriteTest, TaskFileIsWrittenOnce) {
  const std::string path = Load(Layout({kOld, kOld}));
  {
    CallTableGuard guard;
    guard.Count(path);
    OnModifyClicked(window);
    EXPECT_EQ(CallTableGuard::replaced, 1);
    // The read, then the reload's check and its extraction: no read-back.
    EXPECT_EQ(CallTableGuard::reads_opened, 3);
  }
  EXPECT_EQ(ReadWholeFile(path), Layout({kNew, kNew}));
  EXPECT_EQ(window.Notices(), Notices{texts::kNoticeModifyDone});
}

#ifdef _WIN32
TEST_F(RewriteTest, TaskFileInUseIsReportedAndKeepsItsBytes) {
  const std::string original = Layout({kOld});
  const std::string path = Load(original);
  // Another program reading the file: readable, but not replaceable.
  HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  OnModifyClicked(window);
  CloseHandle(other);
  EXPECT_EQ(window.events.back(), Notice(texts::kNoticeModifyWriteFailed));
  EXPECT_EQ(ReadWholeFile(path), original);
  EXPECT_EQ(Backup(), original);
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"t.td.cfg", "t.td.cfg.bak"}));
}

TEST_F(RewriteTest, TaskFileHeldForWritingIsNotReadNorBackedUp) {
  const std::string path = Load(Layout({kOld}));
  HANDLE writer =
      CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  OnModifyClicked(window);
  CloseHandle(writer);
  EXPECT_EQ(window.Notices(), Notices{texts::kNoticeReadFailed});
  EXPECT_EQ(FileSizeOf(BackupPathOf(path)), -1);
}
#else
TEST_F(RewriteTest, TaskWriteCutOffKeepsTheOldBytes) {
  const std::string original = Layout({kOld});
  const std::string path = Load(original, kOld + "?longer-by-some-bytes");
  // The backup (as long as the original) fits; the longer rewrite does not.
  const bool as_promised = RunWithFileSizeLimit(original.size() + 4, [&] {
    OnModifyClicked(window);
    return window.events.size() == 4 &&
           window.events.back() == Notice(texts::kNoticeModifyWriteFailed) &&
           window.boxes[Box::OriginalAddressBox] == kOld;
  });
  EXPECT_TRUE(as_promised) << "reload, then the write failure notice";
  EXPECT_EQ(ReadWholeFile(path), original);
  EXPECT_EQ(Backup(), original);
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"t.td.cfg", "t.td.cfg.bak"}));
}
#endif

TEST(ReplaceFirstTwo, SecondSearchStartsBehindTheFirstReplacement) {
  const struct {
    std::string content, old_address, new_address, expected;
    int replaced;
  } cases[] = {
      {"xAyAzA", "A", "BB", "xBByBBzA", 2},
      {"xAy", "A", "AA", "xAAy", 1},  // the new one holds the old: not found again
      {"AAA", "A", "AA", "AAAAA", 2},
      {"xyz", "A", "B", "xyz", 0},
      {"xyz", "", "B", "xyz", 0},
  };
  for (const auto& c : cases) {
    const RewriteResult r = ReplaceFirstTwo(c.content, c.old_address, c.new_address);
    EXPECT_EQ(r.content, c.expected) << c.content;
    EXPECT_EQ(r.replaced, c.replaced) << c.content;
  }
}

}  // namespace
}  // namespace fenlodar::testing
