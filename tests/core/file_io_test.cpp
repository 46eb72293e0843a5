#include "file_io.h"

#include <gtest/gtest.h>

#include "file_faults.h"
#include "task_file_builder.h"
#include "temp_folder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <gtest/gtest-spi.h>
#include <sys/stat.h>

#include "size_limited_child.h"
#endif

namespace fenlodar::testing {
namespace {

using namespace std::string_literals;

const std::string kBytes = "\x01\0\0\0http://a/\xce\xc4\0\0\0\xff"s;

TEST(ReadWholeFile, GivesBytesOrNothing) {
  TempFolder folder;
  EXPECT_EQ(ReadWholeFile(folder.Put("a.bin", kBytes)), kBytes);
  EXPECT_EQ(ReadWholeFile(folder.Put(std::string(kGbkDownloadName) + ".td.cfg", kBytes)),
            kBytes);
  EXPECT_EQ(ReadWholeFile(""), "");
  EXPECT_EQ(ReadWholeFile(folder.PathOf("missing")), "");
  EXPECT_EQ(ReadWholeFile(folder.MakeFolder("dir")), "");
  EXPECT_EQ(ReadWholeFile(folder.Put("empty", "")), "");
}

TEST(ReadWholeFileChecked, TellsACompleteReadFromAnIncompleteOne) {
  TempFolder folder;
  const FileRead whole = ReadWholeFileChecked(folder.Put("a.bin", kBytes));
  EXPECT_TRUE(whole.opened && whole.complete);
  EXPECT_EQ(whole.bytes, kBytes);
  const FileRead empty = ReadWholeFileChecked(folder.Put("empty", ""));
  EXPECT_TRUE(empty.opened && empty.complete && empty.bytes.empty());
  for (const std::string& path :
       {std::string(), folder.PathOf("missing"), folder.MakeFolder("dir")}) {
    const FileRead none = ReadWholeFileChecked(path);
    EXPECT_FALSE(none.opened || none.complete) << path;
  }
  const FileRead over = ReadWholeFileChecked(folder.PathOf("a.bin"), 4);
  EXPECT_TRUE(over.opened);
  EXPECT_FALSE(over.complete);
  EXPECT_EQ(over.bytes, "") << "refused before reading";
  EXPECT_TRUE(ReadWholeFileChecked(folder.PathOf("a.bin"), kBytes.size()).complete);
}

TEST(ReadWholeFile, AllocationFailureIsAnEmptyRead) {
  TempFolder folder;
  const std::string path = folder.Put("a.bin", kBytes);
  CallTableGuard guard;
  guard.FailAllocation();
  FileRead read;
  EXPECT_NO_THROW(read = ReadWholeFileChecked(path));
  EXPECT_TRUE(read.opened);
  EXPECT_FALSE(read.complete);
  EXPECT_EQ(read.bytes, "");
  EXPECT_NO_THROW(EXPECT_EQ(ReadWholeFile(path), ""));
}

TEST(ReadWholeFile, ReadStoppedEarlyKeepsItsBytesButIsIncomplete) {
  TempFolder folder;
  const std::string path = folder.Put("a.bin", kBytes);
  CallTableGuard guard;
  guard.EndReadsEarly();
  const FileRead read = ReadWholeFileChecked(path);
  EXPECT_TRUE(read.opened);
  EXPECT_FALSE(read.complete);
  EXPECT_EQ(read.bytes, kBytes.substr(0, kBytes.size() / 2));
  // Loading shows what arrived, as before.
  EXPECT_EQ(ReadWholeFile(path), kBytes.substr(0, kBytes.size() / 2));
}

TEST(FileSizeOf, ReadsTheDirectoryEntry) {
  TempFolder folder;
  EXPECT_EQ(FileSizeOf(""), -1);
  EXPECT_EQ(FileSizeOf(folder.PathOf("missing")), -1);
  EXPECT_EQ(FileSizeOf(folder.Put("empty", "")), 0);
  EXPECT_EQ(FileSizeOf(folder.Put("big", std::string(102401, 'x'))), 102401);
}

TEST(WriteWholeFile, CreatesAndReplacesWholeFiles) {
  TempFolder folder;
  const std::string path = folder.PathOf("t.td.cfg");
  EXPECT_TRUE(WriteWholeFile(path, std::string(5000, 'a')));
  EXPECT_TRUE(WriteWholeFile(path, kBytes));  // shorter: nothing of the old left
  EXPECT_EQ(ReadWholeFile(path), kBytes);
  EXPECT_TRUE(WriteWholeFile(path, ""));
  EXPECT_EQ(FileSizeOf(path), 0);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"t.td.cfg"})
      << "no temporary file left";
}

TEST(WriteWholeFile, FailureLeavesTargetAndFolderAlone) {
  TempFolder folder;
  EXPECT_FALSE(WriteWholeFile("", kBytes));
  EXPECT_FALSE(
      WriteWholeFile(folder.PathOf("no-such-folder") + kPathSeparator + "t", kBytes));
  // A folder where the file should be: refused, the folder survives.
  const std::string dir = folder.MakeFolder("t.td.cfg.bak");
  EXPECT_FALSE(WriteWholeFile(dir, kBytes));
  EXPECT_EQ(FileSizeOf(dir), 0);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"t.td.cfg.bak"});
}

#ifdef _WIN32

// Another program's handle, as the download manager would hold the file.
struct OtherHandle {
  HANDLE handle;
  OtherHandle(const std::string& path, DWORD access, DWORD share)
      : handle(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr)) {
    EXPECT_NE(handle, INVALID_HANDLE_VALUE) << path;
  }
  ~OtherHandle() { CloseHandle(handle); }
};

TEST(Win32Sharing, FileHeldOpenForWritingReadsEmptyButHasASize) {
  TempFolder folder;
  const std::string path = folder.Put("held.td.cfg", kBytes);
  OtherHandle writer(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
  EXPECT_EQ(ReadWholeFile(path), "");
  EXPECT_EQ(FileSizeOf(path), static_cast<std::int64_t>(kBytes.size()));
}

TEST(Win32Sharing, OtherReadersMayShare) {
  TempFolder folder;
  const std::string path = folder.Put("read.td.cfg", kBytes);
  OtherHandle reader(path, GENERIC_READ, FILE_SHARE_READ);
  EXPECT_EQ(ReadWholeFile(path), kBytes);
}

TEST(Win32Sharing, WriteOverAFileInUseFailsAndChangesNothing) {
  TempFolder folder;
  const std::string path = folder.Put("busy.td.cfg", kBytes);
  for (DWORD share : {DWORD{FILE_SHARE_READ},
                      DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}}) {
    OtherHandle reader(path, GENERIC_READ, share);
    EXPECT_FALSE(WriteWholeFile(path, "new bytes")) << "share " << share;
  }
  EXPECT_EQ(ReadWholeFile(path), kBytes);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"busy.td.cfg"});
}

TEST(Win32Sharing, ReadOnlyTargetIsRefused) {
  TempFolder folder;
  const std::string path = folder.Put("ro.td.cfg", kBytes);
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(WriteWholeFile(path, "new bytes"));
  EXPECT_EQ(ReadWholeFile(path), kBytes);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"ro.td.cfg"});
}

TEST(Win32Sharing, ReplaceKeepsTheTargetsAttributes) {
  TempFolder folder;
  const std::string path = folder.Put("hidden.td.cfg", kBytes);
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(WriteWholeFile(path, "new bytes"));
  EXPECT_EQ(ReadWholeFile(path), "new bytes");
  EXPECT_NE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

// ReplaceFileA's failures in the file states Windows documents for them,
// one at a time, through the call table.
struct ReplaceFault {
  static inline DWORD error = 0;
  static inline std::string displaced;  // where a 1177 moves the target
  static inline bool fail_moves = false;
  static BOOL WINAPI Replace(LPCSTR replaced, LPCSTR, LPCSTR, DWORD, LPVOID, LPVOID) {
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT) DeleteFileA(replaced);
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
      MoveFileExA(replaced, displaced.c_str(), 0);
    SetLastError(error);
    return FALSE;
  }
  static BOOL WINAPI Move(LPCSTR from, LPCSTR to, DWORD flags) {
    if (!fail_moves) return RealFileCalls().MoveFileExA(from, to, flags);
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
};

TEST(Win32Replace, TargetRemovedByAFailedReplaceGetsTheNewBytes) {
  for (DWORD error : {DWORD{ERROR_UNABLE_TO_MOVE_REPLACEMENT},
                      DWORD{ERROR_UNABLE_TO_MOVE_REPLACEMENT_2}}) {
    TempFolder folder, elsewhere;
    const std::string path = folder.Put("t.td.cfg", kBytes);
    CallTableGuard guard;
    ReplaceFault::error = error;
    ReplaceFault::displaced = elsewhere.PathOf("displaced");
    ReplaceFault::fail_moves = false;
    guard.calls().ReplaceFileA = ReplaceFault::Replace;
    EXPECT_TRUE(WriteWholeFile(path, "new bytes")) << error;
    EXPECT_EQ(ReadWholeFile(path), "new bytes") << error;
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"t.td.cfg"}) << error;
  }
}

TEST(Win32Replace, TheOnlyCopyIsNeverDeleted) {
  TempFolder folder;
  const std::string path = folder.Put("t.td.cfg", kBytes);
  CallTableGuard guard;
  ReplaceFault::error = ERROR_UNABLE_TO_MOVE_REPLACEMENT;
  ReplaceFault::fail_moves = true;
  guard.calls().ReplaceFileA = ReplaceFault::Replace;
  guard.calls().MoveFileExA = ReplaceFault::Move;
  EXPECT_FALSE(WriteWholeFile(path, "new bytes"));
  const std::vector<std::string> entries = folder.Entries();
  ASSERT_EQ(entries.size(), 1u) << "the temporary file, and nothing else";
  EXPECT_EQ(ReadWholeFile(folder.PathOf(entries[0])), "new bytes");
}

TEST(Win32Replace, NothingReplacedKeepsTheTargetAndLeavesNoTemporary) {
  TempFolder folder;
  const std::string path = folder.Put("t.td.cfg", kBytes);
  CallTableGuard guard;
  ReplaceFault::error = ERROR_UNABLE_TO_REMOVE_REPLACED;
  guard.calls().ReplaceFileA = ReplaceFault::Replace;
  EXPECT_FALSE(WriteWholeFile(path, "new bytes"));
  EXPECT_EQ(ReadWholeFile(path), kBytes);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"t.td.cfg"});
}

#else

bool WriteWithSizeLimit(const std::string& path, const std::string& bytes, rlim_t limit) {
  return RunWithFileSizeLimit(limit, [&] { return WriteWholeFile(path, bytes); });
}

TEST(PosixWrite, WriteCutOffMidwayKeepsTheOldBytes) {
  TempFolder folder;
  const std::string path = folder.Put("t.td.cfg", kBytes);
  EXPECT_FALSE(WriteWithSizeLimit(path, std::string(8000, 'n'), 4096));
  EXPECT_EQ(ReadWholeFile(path), kBytes);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"t.td.cfg"});
  EXPECT_TRUE(WriteWithSizeLimit(path, std::string(4000, 'n'), 4096));
  EXPECT_EQ(ReadWholeFile(path), std::string(4000, 'n'));
}

TEST(PosixWrite, ForkThatFailsIsATestFailure) {
  ForkForSizeLimit = [] {
    errno = EAGAIN;
    return pid_t{-1};
  };
  bool ran = true;
  EXPECT_NONFATAL_FAILURE(ran = RunWithFileSizeLimit(4096, [] { return true; }),
                          "fork failed");
  ForkForSizeLimit = ::fork;
  EXPECT_FALSE(ran);
}

// As the Win32 backend refuses a read-only file, whoever runs the test
// (root may write to it all the same).
TEST(PosixWrite, ReadOnlyTargetIsRefused) {
  TempFolder folder;
  const std::string path = folder.Put("ro.td.cfg", kBytes);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  EXPECT_FALSE(WriteWholeFile(path, "new bytes"));
  EXPECT_EQ(ReadWholeFile(path), kBytes);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"ro.td.cfg"});
}

TEST(PosixWrite, KeepsPermissionBits) {
  TempFolder folder;
  const std::string path = folder.Put("t.td.cfg", kBytes);
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  EXPECT_TRUE(WriteWholeFile(path, "new"));
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

#endif

}  // namespace
}  // namespace fenlodar::testing
