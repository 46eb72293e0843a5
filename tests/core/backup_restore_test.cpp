#include "backup_restore.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "file_faults.h"
#include "rewrite_fixture.h"
#include "size_limited_child.h"
#include "sparse_file.h"
#include "texts.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fenlodar::testing {
namespace {

using Notices = std::vector<std::string>;

class RestoreTest : public RewriteTest {};

TEST_F(RestoreTest, NothingLoadedEmptiesTheAddressBoxAndStops) {
  window.boxes[Box::OriginalAddressBox] = kOld;
  OnRestoreClicked(window);
  EXPECT_EQ(window.events,
            (std::vector<WindowEvent>{SetBox(Box::OriginalAddressBox, ""),
                                      Notice(texts::kNoticeNoTaskLoaded)}));
}

TEST_F(RestoreTest, UndoesARewriteAndCanBeRepeated) {
  const std::string original = Layout({kOld, kOld});
  const std::string path = Load(original);
  OnModifyClicked(window);
  ASSERT_NE(ReadWholeFile(path), original);
  for (int press = 1; press <= 2; ++press) {
    window.events.clear();
    OnRestoreClicked(window);
    EXPECT_EQ(ReadWholeFile(path), original) << "press " << press;
    EXPECT_EQ(Backup(), original) << "the backup is never changed";
    EXPECT_EQ(window.boxes[Box::OriginalAddressBox], kOld);
    EXPECT_EQ(window.events.front(), SetBox(Box::OriginalAddressBox, ""));
    EXPECT_EQ(window.Notices(), Notices{texts::kNoticeRestoreDone}) << "press " << press;
  }
}

TEST_F(RestoreTest, ConfirmsOnlyAnAddressOfThirteenBytesOrMore) {
  const struct {
    const char* why;
    std::string backup;
    std::string shown;
    Notices notices;
  } cases[] = {
      {"12 bytes", Layout({"http://a/bcd"}), "http://a/bcd", {}},
      {"13 bytes",
       Layout({"http://a/bcde"}),
       "http://a/bcde",
       {texts::kNoticeRestoreDone}},
      {"no address", TaskFileBuilder().Header().Field("name.zip").bytes(), "", {}},
      {"too large to reload",
       TaskFileBuilder().Raw(Layout({kOld})).PadTo(MaxTaskFileSize + 1).bytes(),
       "",
       {texts::kNoticeFileTooLarge}},
  };
  for (const auto& c : cases) {
    const std::string path = Load(Layout({kOld}));
    WriteWholeFile(BackupPathOf(path), c.backup);
    OnRestoreClicked(window);
    EXPECT_EQ(ReadWholeFile(path), c.backup) << c.why;
    EXPECT_EQ(window.boxes[Box::OriginalAddressBox], c.shown) << c.why;
    EXPECT_EQ(window.Notices(), c.notices) << c.why;
  }
}

TEST_F(RestoreTest, RefusedWithoutWritingAnything) {
  const std::string task = Layout({kNew});
  const struct {
    const char* why;
    bool task_present;
    const char* backup;  // nullptr: no backup file
    const char* notice;
  } cases[] = {
      {"task file deleted after loading", false, "backup",
       texts::kNoticeRestoreTaskUnreadable},
      {"no backup", true, nullptr, texts::kNoticeRestoreNoBackup},
      {"empty backup", true, "", texts::kNoticeRestoreNoBackup},
  };
  for (const auto& c : cases) {
    const std::string path = Load(task);
    std::filesystem::remove(BackupPathOf(path));
    if (c.backup) folder.Put("t.td.cfg.bak", c.backup);
    if (!c.task_present) std::filesystem::remove(path);
    OnRestoreClicked(window);
    EXPECT_EQ(window.events, (std::vector<WindowEvent>{
                                 SetBox(Box::OriginalAddressBox, ""), Notice(c.notice)}))
        << c.why;
    if (c.task_present) {
      EXPECT_EQ(ReadWholeFile(path), task) << c.why;
    } else {
      EXPECT_EQ(FileSizeOf(path), -1) << c.why << ": never recreated";
    }
    if (c.backup) {
      EXPECT_EQ(Backup(), c.backup) << c.why;
    }
  }
}

TEST_F(RestoreTest, TaskFileOrBackupOver16MiBIsRefusedBeforeEitherIsRead) {
  const std::int64_t kOver = 16 * 1024 * 1024 + 1;
  for (const bool big_backup : {false, true}) {
    const std::string task = Layout({kNew});
    const std::string path = Load(task);
    const std::string backup = BackupPathOf(path);
    if (big_backup) {
      MakeSparseFile(backup, kOver);
    } else {
      folder.Put("t.td.cfg.bak", Layout({kOld}));
      MakeSparseFile(path, kOver);
    }
    CallTableGuard guard;
    guard.Count(path);
    OnRestoreClicked(window);
    EXPECT_EQ(window.events,
              (std::vector<WindowEvent>{SetBox(Box::OriginalAddressBox, ""),
                                        Notice(texts::kNoticeFileTooLarge)}))
        << big_backup;
    EXPECT_EQ(CallTableGuard::reads_opened, 0) << big_backup;
    if (big_backup) {
      EXPECT_EQ(ReadWholeFile(path), task);
      EXPECT_EQ(FileSizeOf(backup), kOver);
    } else {
      EXPECT_EQ(FileSizeOf(path), kOver);
      EXPECT_EQ(Backup(), Layout({kOld}));
    }
    window.events.clear();
  }
}

TEST_F(RestoreTest, IncompleteReadOfTheBackupWritesNothing) {
  for (const bool allocation : {false, true}) {
    const std::string task = Layout({kNew});
    const std::string path = Load(task);
    folder.Put("t.td.cfg.bak", Layout({kOld}));
    {
      CallTableGuard guard;
      if (allocation) {
        // Only the backup's read (the first) fails to get its memory.
        guard.calls().Allocate = [](std::string& bytes, std::size_t size) {
          static int calls = 0;
          if (++calls % 2 == 1) throw std::bad_alloc();
          bytes.resize(size);
        };
      } else {
        guard.EndReadsEarly();
      }
      EXPECT_NO_THROW(OnRestoreClicked(window));
    }
    EXPECT_EQ(window.events,
              (std::vector<WindowEvent>{SetBox(Box::OriginalAddressBox, ""),
                                        Notice(texts::kNoticeReadFailed)}))
        << allocation;
    EXPECT_EQ(ReadWholeFile(path), task) << allocation;
    EXPECT_EQ(Backup(), Layout({kOld})) << allocation;
    window.events.clear();
  }
}

#ifdef _WIN32
TEST_F(RestoreTest, TaskFileHeldForWritingIsNotRestored) {
  const std::string task = Layout({kNew});
  const std::string path = Load(task);
  folder.Put("t.td.cfg.bak", Layout({kOld}));
  HANDLE writer =
      CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  OnRestoreClicked(window);
  CloseHandle(writer);
  EXPECT_EQ(window.events,
            (std::vector<WindowEvent>{SetBox(Box::OriginalAddressBox, ""),
                                      Notice(texts::kNoticeRestoreTaskUnreadable)}));
  EXPECT_EQ(ReadWholeFile(path), task);
  EXPECT_EQ(Backup(), Layout({kOld}));
}

TEST_F(RestoreTest, TaskFileInUseIsReportedAndKeepsItsBytes) {
  const std::string task = Layout({kNew});
  const std::string path = Load(task);
  folder.Put("t.td.cfg.bak", Layout({kOld}));
  HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  OnRestoreClicked(window);
  CloseHandle(other);
  EXPECT_EQ(window.events.back(), Notice(texts::kNoticeRestoreWriteFailed));
  EXPECT_EQ(window.boxes[Box::OriginalAddressBox], kNew)
      << "reloaded from the unchanged file";
  EXPECT_EQ(ReadWholeFile(path), task);
  EXPECT_EQ(Backup(), Layout({kOld}));
}
#else
TEST_F(RestoreTest, WriteCutOffKeepsTheTaskFile) {
  const std::string task = Layout({kNew});
  const std::string path = Load(task);
  const std::string big_backup =
      TaskFileBuilder().Raw(Layout({kOld})).PadTo(20000).bytes();
  folder.Put("t.td.cfg.bak", big_backup);
  const bool as_promised = RunWithFileSizeLimit(10000, [&] {
    OnRestoreClicked(window);
    return window.events.back() == Notice(texts::kNoticeRestoreWriteFailed) &&
           window.boxes[Box::OriginalAddressBox] == kNew;
  });
  EXPECT_TRUE(as_promised) << "reload, then the write failure notice";
  EXPECT_EQ(ReadWholeFile(path), task);
  EXPECT_EQ(Backup(), big_backup);
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"t.td.cfg", "t.td.cfg.bak"}));
}
#endif

}  // namespace
}  // namespace fenlodar::testing
