// The failure matrix, run under Wine against the real Win32 backend: for
// each operation (load, rewrite, restore, WriteWholeFile alone over a file
// and to a new name), for each platform call it makes, in order, each way
// the platform documents for that call to fail is injected through the
// call table, and after every run:
// - the task file holds exactly its old bytes or exactly the expected new
//   ones;
// - whenever it holds anything but its old bytes, the backup holds them
//   (for Restore, whose new bytes are the backup's: the backup is as it was);
// - a success notice comes only when the files are as on success, and
//   otherwise exactly the notice that the failing step must give;
// - no temporary file is left beside the task file, nothing is thrown.
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <functional>
#include <map>
#include <new>
#include <set>

#include "backup_restore.h"
#include "file_faults.h"
#include "rewrite_fixture.h"
#include "texts.h"

namespace fenlodar::testing {
namespace {

using Notices = std::vector<std::string>;

enum class Fault {
  kAccessDenied,
  kSharingViolation,
  kPathNotFound,
  kFileNotFound,
  kDiskFull,
  kWriteFault,  // a failed write or flush, or a delayed write error at close
  kReadFault,
  kShort,      // a read or write that does half of what was asked
  kEndOfFile,  // a read that gives half, then the end before the file's size
  kNotSameDevice,
  kReplace1175,  // ERROR_UNABLE_TO_REMOVE_REPLACED: nothing changed
  kReplace1176,  // ERROR_UNABLE_TO_MOVE_REPLACEMENT: the target removed
  kReplace1177,  // ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: the target renamed
  kNoMemory,
};

const char* NameOf(Fault f) {
  static const char* const kNames[] = {
      "access denied", "sharing violation", "path not found", "file not found",
      "disk full",     "write fault",       "read fault",     "short",
      "end of file",   "not same device",   "replace 1175",   "replace 1176",
      "replace 1177",  "no memory"};
  return kNames[static_cast<int>(f)];
}

DWORD ErrorOf(Fault f) {
  switch (f) {
    case Fault::kAccessDenied:
      return ERROR_ACCESS_DENIED;
    case Fault::kSharingViolation:
      return ERROR_SHARING_VIOLATION;
    case Fault::kPathNotFound:
      return ERROR_PATH_NOT_FOUND;
    case Fault::kFileNotFound:
      return ERROR_FILE_NOT_FOUND;
    case Fault::kDiskFull:
      return ERROR_DISK_FULL;
    case Fault::kWriteFault:
      return ERROR_WRITE_FAULT;
    case Fault::kReadFault:
      return ERROR_READ_FAULT;
    case Fault::kNotSameDevice:
      return ERROR_NOT_SAME_DEVICE;
    case Fault::kReplace1175:
      return ERROR_UNABLE_TO_REMOVE_REPLACED;
    case Fault::kReplace1176:
      return ERROR_UNABLE_TO_MOVE_REPLACEMENT;
    case Fault::kReplace1177:
      return ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
    default:
      return ERROR_GEN_FAILURE;
  }
}

// The documented ways each call fails.
const std::map<std::string, std::vector<Fault>>& FaultsOf() {
  static const std::map<std::string, std::vector<Fault>> faults = {
      {"CreateFileA",
       {Fault::kAccessDenied, Fault::kSharingViolation, Fault::kPathNotFound,
        Fault::kDiskFull}},
      {"ReadFile", {Fault::kReadFault, Fault::kShort, Fault::kEndOfFile}},
      {"WriteFile", {Fault::kDiskFull, Fault::kWriteFault, Fault::kShort}},
      {"FlushFileBuffers", {Fault::kWriteFault, Fault::kDiskFull}},
      {"CloseHandle", {Fault::kWriteFault}},
      {"GetFileSizeEx", {Fault::kAccessDenied}},
      {"GetFileAttributesA",
       {Fault::kAccessDenied, Fault::kPathNotFound, Fault::kFileNotFound}},
      {"GetFileAttributesExA", {Fault::kAccessDenied, Fault::kPathNotFound}},
      {"SetFileAttributesA", {Fault::kAccessDenied}},
      {"MoveFileExA",
       {Fault::kAccessDenied, Fault::kSharingViolation, Fault::kNotSameDevice,
        Fault::kDiskFull}},
      {"ReplaceFileA",
       {Fault::kReplace1175, Fault::kReplace1176, Fault::kReplace1177,
        Fault::kSharingViolation, Fault::kAccessDenied}},
      {"DeleteFileA", {Fault::kAccessDenied, Fault::kSharingViolation}},
      {"Allocate", {Fault::kNoMemory}},
  };
  return faults;
}

struct Call {
  std::string function, path;
  DWORD access = 0;  // of the handle the call works on, or opens
};

// The injection's state: the calls made so far, the one to fail and how.
struct Injection {
  std::map<std::size_t, Fault> failing;  // 1-based call numbers
  Fault fault = Fault::kAccessDenied;    // of the call being made
  std::vector<Call> log;
  std::map<HANDLE, Call> handles;
  std::set<HANDLE> ended;        // reads from these give the end
  std::string displaced_folder;  // where a 1177 moves the target to
  int displaced = 0;
} g;

const FileCalls& Real() { return RealFileCalls(); }

bool Hit(const char* function, const std::string& path, DWORD access) {
  g.log.push_back({function, path, access});
  const auto found = g.failing.find(g.log.size());
  if (found == g.failing.end()) return false;
  g.fault = found->second;
  return true;
}
bool HitOn(const char* function, HANDLE handle) {
  const Call& opened = g.handles[handle];
  return Hit(function, opened.path, opened.access);
}
template <typename T>
T Fail(T result) {
  SetLastError(ErrorOf(g.fault));
  return result;
}

HANDLE WINAPI FakeCreateFileA(LPCSTR path, DWORD access, DWORD share,
                              LPSECURITY_ATTRIBUTES sa, DWORD disposition, DWORD flags,
                              HANDLE model) {
  if (Hit("CreateFileA", path, access)) return Fail(INVALID_HANDLE_VALUE);
  const HANDLE h = Real().CreateFileA(path, access, share, sa, disposition, flags, model);
  if (h != INVALID_HANDLE_VALUE) g.handles[h] = {"CreateFileA", path, access};
  return h;
}
BOOL WINAPI FakeReadFile(HANDLE h, LPVOID buffer, DWORD n, LPDWORD got, LPOVERLAPPED o) {
  const bool hit = HitOn("ReadFile", h);
  if (g.ended.count(h)) {
    *got = 0;
    return TRUE;
  }
  if (!hit) return Real().ReadFile(h, buffer, n, got, o);
  if (g.fault == Fault::kEndOfFile) g.ended.insert(h);
  if (g.fault == Fault::kShort || g.fault == Fault::kEndOfFile)
    return Real().ReadFile(h, buffer, n > 1 ? n / 2 : n, got, o);
  *got = 0;
  return Fail(FALSE);
}
BOOL WINAPI FakeWriteFile(HANDLE h, LPCVOID buffer, DWORD n, LPDWORD written,
                          LPOVERLAPPED o) {
  if (!HitOn("WriteFile", h)) return Real().WriteFile(h, buffer, n, written, o);
  if (g.fault == Fault::kShort)
    return Real().WriteFile(h, buffer, n > 1 ? n / 2 : n, written, o);
  // A full disk takes what fits, then refuses.
  if (g.fault == Fault::kDiskFull && n > 1)
    Real().WriteFile(h, buffer, n / 2, written, o);
  *written = 0;
  return Fail(FALSE);
}
BOOL WINAPI FakeFlushFileBuffers(HANDLE h) {
  return HitOn("FlushFileBuffers", h) ? Fail(FALSE) : Real().FlushFileBuffers(h);
}
BOOL WINAPI FakeCloseHandle(HANDLE h) {
  const bool hit = HitOn("CloseHandle", h);
  g.handles.erase(h);
  g.ended.erase(h);
  const BOOL closed = Real().CloseHandle(h);  // closed all the same
  return hit ? Fail(FALSE) : closed;
}
BOOL WINAPI FakeGetFileSizeEx(HANDLE h, PLARGE_INTEGER size) {
  return HitOn("GetFileSizeEx", h) ? Fail(FALSE) : Real().GetFileSizeEx(h, size);
}
DWORD WINAPI FakeGetFileAttributesA(LPCSTR path) {
  return Hit("GetFileAttributesA", path, 0) ? Fail(INVALID_FILE_ATTRIBUTES)
                                            : Real().GetFileAttributesA(path);
}
BOOL WINAPI FakeGetFileAttributesExA(LPCSTR path, GET_FILEEX_INFO_LEVELS level,
                                     LPVOID data) {
  return Hit("GetFileAttributesExA", path, 0)
             ? Fail(FALSE)
             : Real().GetFileAttributesExA(path, level, data);
}
BOOL WINAPI FakeSetFileAttributesA(LPCSTR path, DWORD attributes) {
  return Hit("SetFileAttributesA", path, 0) ? Fail(FALSE)
                                            : Real().SetFileAttributesA(path, attributes);
}
BOOL WINAPI FakeMoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
  return Hit("MoveFileExA", to, 0) ? Fail(FALSE) : Real().MoveFileExA(from, to, flags);
}
// The file states Windows documents for each of ReplaceFile's errors.
BOOL WINAPI FakeReplaceFileA(LPCSTR replaced, LPCSTR replacement, LPCSTR backup,
                             DWORD flags, LPVOID exclude, LPVOID reserved) {
  if (!Hit("ReplaceFileA", replaced, 0))
    return Real().ReplaceFileA(replaced, replacement, backup, flags, exclude, reserved);
  if (g.fault == Fault::kReplace1176) {
    // "the replaced file no longer exists and the replacement file exists
    // under its original name"
    Real().DeleteFileA(replaced);
  } else if (g.fault == Fault::kReplace1177) {
    // "The file to be replaced still exists with a different name": one of
    // Windows' own, which the tool cannot know; kept out of the folder, so
    // that the folder check stays about the tool's own files.
    const std::string moved =
        g.displaced_folder + "\\displaced-" + std::to_string(++g.displaced);
    Real().MoveFileExA(replaced, moved.c_str(), 0);
  }
  return Fail(FALSE);
}
BOOL WINAPI FakeDeleteFileA(LPCSTR path) {
  return Hit("DeleteFileA", path, 0) ? Fail(FALSE) : Real().DeleteFileA(path);
}
void FakeAllocate(std::string& bytes, std::size_t size) {
  if (Hit("Allocate", "", 0)) throw std::bad_alloc();
  Real().Allocate(bytes, size);
}

void InstallFakes(FileCalls& calls) {
  calls = {FakeCreateFileA,
           FakeReadFile,
           FakeWriteFile,
           FakeFlushFileBuffers,
           FakeCloseHandle,
           FakeGetFileSizeEx,
           FakeGetFileAttributesA,
           FakeGetFileAttributesExA,
           FakeSetFileAttributesA,
           FakeMoveFileExA,
           FakeReplaceFileA,
           FakeDeleteFileA,
           FakeAllocate};
}

enum class Op { kLoad, kRewrite, kRestore, kWriteOver, kWriteNew };
const char* NameOf(Op op) {
  static const char* const kNames[] = {"load", "rewrite", "restore",
                                       "WriteWholeFile over a file",
                                       "WriteWholeFile to a new name"};
  return kNames[static_cast<int>(op)];
}

// The steps of an operation, told from the calls made up to a point.
enum class Step {
  kSizeCheck,
  kTaskRead,     // the rewrite's and restore's read; the load's check
  kExtractRead,  // the load's second read, for the addresses
  kBackupRead,
  kBackupWrite,
  kTaskWrite,
  kReloadCheck,
  kReloadExtract,
};

const std::string kOriginal = Layout({kOld, kOld});
const std::string kRewritten = Layout({kNew, kNew});
const std::string kEarlierBackup =
    Layout({kOld, kOld}, "http://www.example.com/older.html");
const std::string kRestoreTask = Layout({kNew});
const std::string kRestoreBackup = Layout({kOld});

struct MatrixRun {
  Op op;
  TempFolder folder;
  TempFolder elsewhere;
  RecordingWindow window;
  std::string task, backup;
  bool written = false;  // WriteWholeFile's result
  bool threw = false;

  explicit MatrixRun(Op o) : op(o) {
    task = folder.PathOf("t.td.cfg");
    backup = BackupPathOf(task);
    g.log.clear();
    g.handles.clear();
    g.ended.clear();
    g.displaced_folder = elsewhere.path();
    switch (op) {
      case Op::kLoad:
        folder.Put("t.td.cfg", kOriginal);
        break;
      case Op::kRewrite:
        folder.Put("t.td.cfg", kOriginal);
        folder.Put("t.td.cfg.bak", kEarlierBackup);
        window.boxes[Box::OriginalAddressBox] = kOld;
        window.boxes[Box::NewAddressBox] = kNew;
        break;
      case Op::kRestore:
        folder.Put("t.td.cfg", kRestoreTask);
        folder.Put("t.td.cfg.bak", kRestoreBackup);
        window.boxes[Box::OriginalAddressBox] = kNew;
        break;
      case Op::kWriteOver:
        folder.Put("t.td.cfg", kOriginal);
        break;
      case Op::kWriteNew:
        break;
    }
    CurrentTaskPath = task;
  }
  ~MatrixRun() { CurrentTaskPath.clear(); }

  void Go(std::map<std::size_t, Fault> failing) {
    CallTableGuard guard;
    InstallFakes(guard.calls());
    g.failing = std::move(failing);
    try {
      switch (op) {
        case Op::kLoad:
          LoadTaskFile(window);
          break;
        case Op::kRewrite:
          OnModifyClicked(window);
          break;
        case Op::kRestore:
          OnRestoreClicked(window);
          break;
        case Op::kWriteOver:
        case Op::kWriteNew:
          written = WriteWholeFile(task, kRewritten);
          break;
      }
    } catch (...) {
      threw = true;
    }
    g.failing.clear();
  }

  Step StepOf(std::size_t index) const {
    Step step = Step::kSizeCheck;
    bool wrote = false;
    int reads = 0;
    for (std::size_t i = 0; i <= index; ++i) {
      const Call& c = g.log[i];
      const bool opens_to_read = c.function == "CreateFileA" && c.access == GENERIC_READ;
      if (c.function == "GetFileAttributesExA" && wrote) {
        step = Step::kReloadCheck;
        reads = 0;
      } else if (c.function == "GetFileAttributesA") {
        step = c.path == backup ? Step::kBackupWrite : Step::kTaskWrite;
        wrote = true;
      } else if (opens_to_read && c.path == backup) {
        step = Step::kBackupRead;
      } else if (opens_to_read && c.path == task) {
        ++reads;
        if (wrote)
          step = reads == 1 ? Step::kReloadCheck : Step::kReloadExtract;
        else
          step = reads == 1 || op != Op::kLoad ? Step::kTaskRead : Step::kExtractRead;
      }
    }
    return step;
  }
};

// Whether the fault leaves the operation's result as without it: retried,
// recovered, or of no consequence for the bytes.
bool Harmless(const Call& call, Fault fault, bool temporary, bool target_absent, Op op,
              Step step) {
  const std::string& f = call.function;
  // Reads that only show a file, or only learn that it holds a byte, take
  // the bytes that arrived.
  if (f == "ReadFile" && fault == Fault::kEndOfFile &&
      (op == Op::kLoad || step == Step::kReloadCheck || step == Step::kReloadExtract ||
       (op == Op::kRestore && step == Step::kTaskRead)))
    return true;
  if (f == "GetFileAttributesA" && fault == Fault::kFileNotFound) return target_absent;
  if (f == "GetFileAttributesExA") return true;  // size unknown: the check passes
  if (f == "SetFileAttributesA") return true;    // the bytes are in place
  if (f == "CloseHandle") return !temporary;     // a read or a probe: nothing to lose
  if (f == "ReadFile" || f == "WriteFile")
    return fault == Fault::kShort;  // the rest follows
  if (f == "ReplaceFileA")
    return fault == Fault::kReplace1176 || fault == Fault::kReplace1177 ||
           fault == Fault::kSharingViolation || fault == Fault::kAccessDenied;
  if (f == "MoveFileExA")
    return fault == Fault::kSharingViolation || fault == Fault::kAccessDenied;
  return false;
}

bool IsTemporary(const MatrixRun& run, const std::string& path) {
  return !path.empty() && path != run.task && path != run.backup;
}

// The notices each step must give when the call fails for real.
Notices ExpectedNotices(const MatrixRun& run, Step step, const Call& call) {
  switch (run.op) {
    case Op::kLoad:
      return step == Step::kTaskRead ? Notices{texts::kNoticeReadFailed} : Notices{};
    case Op::kRewrite:
      switch (step) {
        case Step::kTaskRead:
          return {texts::kNoticeReadFailed};
        case Step::kBackupWrite:
          return {texts::kNoticeBackupFailed};
        case Step::kTaskWrite:
          return {texts::kNoticeModifyWriteFailed};
        case Step::kReloadCheck:
          return {texts::kNoticeReadFailed, texts::kNoticeModifyDone};
        default:
          return {texts::kNoticeModifyDone};  // the extraction shows nothing
      }
    case Op::kRestore:
      switch (step) {
        case Step::kBackupRead:
          // Not opened: no backup to be had; opened but not read whole.
          return {call.function == "CreateFileA" ? texts::kNoticeRestoreNoBackup
                                                 : texts::kNoticeReadFailed};
        case Step::kTaskRead:
          return {texts::kNoticeRestoreTaskUnreadable};
        case Step::kTaskWrite:
          return {texts::kNoticeRestoreWriteFailed};
        case Step::kReloadCheck:
          return {texts::kNoticeReadFailed};
        default:
          return {};  // no address found: no confirmation
      }
    default:
      return {};
  }
}

Notices SuccessNotices(Op op) {
  switch (op) {
    case Op::kRewrite:
      return {texts::kNoticeModifyDone};
    case Op::kRestore:
      return {texts::kNoticeRestoreDone};
    default:
      return {};
  }
}

void CheckRun(MatrixRun& run, Op op, std::size_t k, Fault fault,
              const std::vector<Call>& sequence, bool delete_failed_too) {
  ASSERT_GE(g.log.size(), k) << "the run made other calls than the clean one";
  const Call call = g.log[k - 1];  // with this run's paths
  ASSERT_EQ(call.function, sequence[k - 1].function);
  const std::string where = std::string(NameOf(op)) + ", call " + std::to_string(k) +
                            " " + call.function + "(" + call.path + "), " +
                            NameOf(fault) +
                            (delete_failed_too ? ", then a failed delete" : "");
  SCOPED_TRACE(where);
  EXPECT_FALSE(run.threw);
  const bool temporary = IsTemporary(run, call.path);
  const Step step = run.StepOf(k - 1);
  const bool harmless = Harmless(call, fault, temporary, op == Op::kWriteNew, op, step);
  const std::int64_t present = FileSizeOf(run.task);
  const std::string task = ReadWholeFile(run.task);
  const std::string backup = ReadWholeFile(run.backup);
  std::string old_task, new_task;
  switch (op) {
    case Op::kRestore:
      old_task = kRestoreTask;
      new_task = kRestoreBackup;
      break;
    case Op::kWriteNew:
      new_task = kRewritten;
      break;
    default:
      old_task = kOriginal;
      new_task = kRewritten;
      break;
  }
  // 1. Old bytes or new ones (absent counts as old for a new file).
  const bool is_old = op == Op::kWriteNew ? present == -1 : task == old_task;
  const bool is_new = present != -1 && task == new_task;
  EXPECT_TRUE(is_old || is_new) << "the task file holds other bytes";
  if (op == Op::kLoad) {
    EXPECT_TRUE(is_old);
  }
  // 2. Never without the old bytes somewhere.
  if (op == Op::kRewrite && !is_old) {
    EXPECT_EQ(backup, kOriginal);
  }
  if (op == Op::kRestore) {
    EXPECT_EQ(backup, kRestoreBackup) << "the backup changed";
  }
  if (op == Op::kRewrite && is_old) {
    EXPECT_TRUE(backup == kEarlierBackup || backup == kOriginal);
  }
  // 3. The notices: success only as on success; else the step's own.
  const Notices notices = run.window.Notices();
  if (harmless) {
    EXPECT_EQ(notices, SuccessNotices(op));
    EXPECT_TRUE(is_new || op == Op::kLoad) << "a harmless fault, yet not done";
    if (op == Op::kWriteOver || op == Op::kWriteNew) {
      EXPECT_TRUE(run.written);
    }
  } else {
    const Notices expected = ExpectedNotices(run, step, call);
    EXPECT_EQ(notices, expected) << "step " << static_cast<int>(step);
    const bool done_after_all =
        step == Step::kReloadCheck || step == Step::kReloadExtract;
    if (op == Op::kRewrite || op == Op::kRestore) {
      EXPECT_EQ(is_new, done_after_all) << "the files and the notice disagree";
    }
    if (op == Op::kWriteOver || op == Op::kWriteNew) {
      EXPECT_FALSE(run.written);
      EXPECT_TRUE(is_old);
    }
  }
  if (op == Op::kWriteOver || op == Op::kWriteNew) {
    EXPECT_EQ(run.written, is_new) << "WriteWholeFile's result is not the truth";
  }
  // 4. Nothing beside the task file but the task file and its backup.
  for (const std::string& name : run.folder.Entries())
    EXPECT_TRUE(name == "t.td.cfg" || name == "t.td.cfg.bak") << name << " left behind";
}

TEST(FailureMatrix, EveryFailureOfEveryCallKeepsThePromises) {
  std::set<std::string> functions;
  std::set<Fault> faults;
  std::size_t calls = 0, runs = 0;
  for (Op op : {Op::kLoad, Op::kRewrite, Op::kRestore, Op::kWriteOver, Op::kWriteNew}) {
    std::vector<Call> sequence;
    {
      MatrixRun clean(op);
      clean.Go({});
      sequence = g.log;
      ASSERT_FALSE(clean.threw);
      ASSERT_EQ(clean.window.Notices(), SuccessNotices(op)) << NameOf(op);
    }
    calls += sequence.size();
    for (std::size_t k = 1; k <= sequence.size(); ++k) {
      functions.insert(sequence[k - 1].function);
      for (Fault fault : FaultsOf().at(sequence[k - 1].function)) {
        faults.insert(fault);
        // The fault alone, then (where the run deletes a temporary file
        // after it) with each failure of that delete as well: the outcome
        // must be the same.
        std::vector<std::map<std::size_t, Fault>> plans = {{{k, fault}}};
        for (std::size_t round = 0; round < plans.size(); ++round) {
          ++runs;
          MatrixRun run(op);
          run.Go(plans[round]);
          if (round == 0) {
            for (std::size_t d = k + 1; d <= g.log.size(); ++d) {
              if (g.log[d - 1].function != "DeleteFileA") continue;
              functions.insert("DeleteFileA");
              for (Fault delete_fault : FaultsOf().at("DeleteFileA")) {
                faults.insert(delete_fault);
                plans.push_back({{k, fault}, {d, delete_fault}});
              }
              break;
            }
          }
          CheckRun(run, op, k, fault, sequence, round > 0);
        }
      }
    }
  }
  const std::string size = "failure matrix: 5 operations, " + std::to_string(calls) +
                           " calls (" + std::to_string(functions.size()) +
                           " functions), " + std::to_string(faults.size()) + " faults, " +
                           std::to_string(runs) + " runs";
  std::printf("%s\n", size.c_str());
  RecordProperty("size", size);
}

}  // namespace
}  // namespace fenlodar::testing

#endif
