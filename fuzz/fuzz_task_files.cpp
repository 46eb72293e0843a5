// RewriteAddress and RestoreFromBackup themselves, through the product's
// file layer over an in-memory file system, with random contents, random
// addresses and one injected fault of any platform call, checked against
// what the tool promises its users:
// - the task file holds exactly its old bytes or exactly the new ones, and
//   is never created;
// - whenever it holds anything but its old bytes, the backup holds them;
// - a success notice comes only when the files are as on success, and every
//   failure notice leaves the task file as it was;
// - no temporary file and no open descriptor is left, nothing is thrown.
//
// Input: a flags byte, the failing call's number (0: none), the fault, the
// old and the new address's length bytes, an offset byte, the backup's
// length (two bytes), the old address (unless taken from the content), the
// new address, the backup's bytes, then the task file's bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "address_extraction.h"
#include "address_rewrite.h"
#include "backup_restore.h"
#include "current_task.h"
#include "file_io.h"
#include "fuzz_support.h"
#include "memory_files.h"
#include "recording_window.h"
#include "texts.h"

namespace {

using fenlodar::Box;
using fenlodar::fuzzing::Check;
using fenlodar::fuzzing::Fault;
using fenlodar::fuzzing::InputReader;
using fenlodar::fuzzing::MemoryFiles;
using fenlodar::testing::RecordingWindow;
namespace texts = fenlodar::texts;

const std::string kTask = "/tasks/t.td.cfg";
const std::string kBackup = kTask + fenlodar::BackupSuffix;

enum Flags : std::uint8_t {
  kRestore = 1,
  kTaskPresent = 2,
  kBackupPresent = 4,
  kTaskReadOnly = 8,
  kBackupReadOnly = 16,
  kOldFromContent = 32,
};

struct State {
  bool task_present, backup_present;
  std::string task, backup;
};

State Snapshot() {
  const MemoryFiles::File* task = MemoryFiles::Get(kTask);
  const MemoryFiles::File* backup = MemoryFiles::Get(kBackup);
  return {task != nullptr, backup != nullptr, task ? task->bytes : "",
          backup ? backup->bytes : ""};
}

bool Is(const std::string& notice, const char* text) { return notice == text; }

bool IsLoadNotice(const std::string& n) {
  return Is(n, texts::kNoticeFileTooLarge) || Is(n, texts::kNoticeReadFailed) ||
         Is(n, texts::kNoticeNotTaskFile);
}

void CheckNothingLeft() {
  for (const std::string& name : MemoryFiles::Names())
    Check(name == kTask || name == kBackup, "a temporary file is left");
  Check(!MemoryFiles::OpenDescriptors(), "a descriptor is left open");
}

void CheckRewrite(const State& before, const State& after, const RecordingWindow& window,
                  const std::string& old_address, const std::string& new_address,
                  bool faulted, std::uint8_t flags) {
  const std::vector<std::string> notices = window.Notices();
  Check(!notices.empty() && notices.size() <= 2,
        "one notice of its own, one of the reload");
  const std::string& own = notices.back();
  if (notices.size() == 2)
    Check(IsLoadNotice(notices[0]) && (Is(own, texts::kNoticeModifyDone) ||
                                       Is(own, texts::kNoticeModifyWriteFailed)),
          "only the reload shows a notice before the rewrite's own");
  Check(after.task_present == before.task_present, "the task file created or removed");
  const fenlodar::RewriteResult expected =
      fenlodar::ReplaceFirstTwo(before.task, old_address, new_address);
  if (after.task != before.task) {
    Check(expected.replaced > 0 && after.task == expected.content,
          "the task file holds other than its old or its new bytes");
    Check(after.backup_present && after.backup == before.task,
          "the task file changed without a backup of its old bytes");
  }
  if (Is(own, texts::kNoticeModifyDone)) {
    Check(expected.replaced > 0 && after.task == expected.content &&
              after.backup_present && after.backup == before.task,
          "success without the files as on success");
    return;
  }
  Check(after.task == before.task, "a failure notice over a changed task file");
  const bool backup_untouched =
      after.backup_present == before.backup_present && after.backup == before.backup;
  if (Is(own, texts::kNoticeNewAddressTooShort)) {
    Check(new_address.size() < fenlodar::MinNewAddressLength && notices.size() == 1 &&
              backup_untouched,
          "a short new address refused late, or a file touched");
  } else if (Is(own, texts::kNoticeReadFailed) ||
             Is(own, texts::kNoticeOldAddressNotFound) ||
             Is(own, texts::kNoticeBackupFailed)) {
    Check(backup_untouched, "a refused rewrite changed the backup");
    Check(!Is(own, texts::kNoticeOldAddressNotFound) || expected.replaced == 0 || faulted,
          "the old address not found where it is");
  } else {
    Check(Is(own, texts::kNoticeModifyWriteFailed), "a notice the rewrite never gives");
  }
  if (faulted) return;
  // With no fault, exactly the one outcome.
  const char* should = nullptr;
  if (new_address.size() < fenlodar::MinNewAddressLength)
    should = texts::kNoticeNewAddressTooShort;
  else if (before.task.empty())
    should = texts::kNoticeReadFailed;
  else if (expected.replaced == 0)
    should = texts::kNoticeOldAddressNotFound;
  else if ((flags & kBackupReadOnly) && before.backup_present)
    should = texts::kNoticeBackupFailed;
  else if (flags & kTaskReadOnly)
    should = texts::kNoticeModifyWriteFailed;
  Check(should && own == should, "an outcome other than the one without faults");
}

void CheckRestore(const State& before, const State& after, const RecordingWindow& window,
                  bool faulted, std::uint8_t flags) {
  Check(
      !window.events.empty() &&
          window.events.front() == fenlodar::testing::SetBox(Box::OriginalAddressBox, ""),
      "the address box is not emptied first");
  Check(after.backup_present == before.backup_present && after.backup == before.backup,
        "the backup changed");
  Check(after.task_present == before.task_present, "the task file created or removed");
  if (after.task != before.task)
    Check(before.backup_present && after.task == before.backup,
          "the task file holds other than its old bytes or the backup's");
  const std::vector<std::string> notices = window.Notices();
  Check(notices.size() <= 2, "more than the reload's notice and one of its own");
  const std::string own = notices.empty() ? "" : notices.back();
  if (notices.size() == 2)
    Check(IsLoadNotice(notices[0]) && Is(own, texts::kNoticeRestoreWriteFailed),
          "only the reload shows a notice before the restore's own");
  if (Is(own, texts::kNoticeRestoreDone)) {
    Check(after.task == before.backup, "success without the backup's bytes in place");
    Check(window.boxes.at(Box::OriginalAddressBox).size() > 12,
          "success without an address");
  } else if (Is(own, texts::kNoticeRestoreTaskUnreadable) ||
             Is(own, texts::kNoticeRestoreNoBackup) ||
             Is(own, texts::kNoticeRestoreWriteFailed)) {
    Check(after.task == before.task, "a failure notice over a changed task file");
  } else {
    // Silence, or the reload's notice after the write; a read failure of
    // the backup itself is the same text, before any write.
    Check(own.empty() || IsLoadNotice(own), "a notice the restore never gives");
    Check(Is(own, texts::kNoticeReadFailed) || after.task == before.backup,
          "the restore ended as written, yet the task file is not the backup");
  }
  if (!before.task_present || before.task.empty())
    Check(faulted || Is(own, texts::kNoticeRestoreTaskUnreadable),
          "restored over nothing");
  if (faulted) return;
  if (before.task.empty()) return;
  if (!before.backup_present || before.backup.empty()) {
    Check(Is(own, texts::kNoticeRestoreNoBackup), "no backup, yet not said");
  } else if (flags & kTaskReadOnly) {
    Check(Is(own, texts::kNoticeRestoreWriteFailed),
          "a read-only task file, yet not said");
  } else {
    Check(after.task == before.backup, "no fault, yet not restored");
    // Only the first address decides.
    const std::vector<std::string> list = fenlodar::AddressListOf(before.backup, 1);
    const bool confirms = !list.empty() && list[0].size() > 12;
    Check(confirms == Is(own, texts::kNoticeRestoreDone),
          "confirmation against the address");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool installed = (MemoryFiles::Install(), true);
  (void)installed;
  MemoryFiles::Reset();

  InputReader input(data, size);
  const std::uint8_t flags = input.Byte();
  const unsigned fail_at = input.Byte() % 40;
  const auto fault =
      static_cast<Fault>(input.Byte() % static_cast<unsigned>(Fault::kCount));
  const std::size_t old_length = input.Byte() % 48;
  const std::size_t new_length = input.Byte() % 64;
  const std::size_t offset = input.Byte();
  std::size_t backup_length = input.Byte();
  backup_length |= static_cast<std::size_t>(input.Byte()) << 8;
  std::string old_address = (flags & kOldFromContent) ? "" : input.Bytes(old_length);
  const std::string new_address = input.Bytes(new_length);
  const std::string backup = input.Bytes(backup_length);
  const std::string content = input.Rest();
  if (flags & kOldFromContent)
    old_address = content.substr(std::min(offset, content.size()), old_length);

  if (flags & kTaskPresent)
    MemoryFiles::Put(kTask, content, (flags & kTaskReadOnly) ? 0444 : 0644);
  if (flags & kBackupPresent)
    MemoryFiles::Put(kBackup, backup, (flags & kBackupReadOnly) ? 0444 : 0644);
  const State before = Snapshot();

  RecordingWindow window;
  window.boxes[Box::OriginalAddressBox] = old_address;
  window.boxes[Box::NewAddressBox] = new_address;
  fenlodar::CurrentTaskPath = kTask;
  MemoryFiles::FailCall(fail_at, fault);
  try {
    if (flags & kRestore)
      fenlodar::OnRestoreClicked(window);
    else
      fenlodar::OnModifyClicked(window);
  } catch (...) {
    fenlodar::fuzzing::Fail("an exception escaped");
  }
  const bool faulted =
      fault != Fault::kNone && fail_at != 0 && MemoryFiles::CallsMade() >= fail_at;
  MemoryFiles::FailCall(0, Fault::kNone);
  const State after = Snapshot();
  CheckNothingLeft();
  if (flags & kRestore)
    CheckRestore(before, after, window, faulted, flags);
  else
    CheckRewrite(before, after, window, old_address, new_address, faulted, flags);
  return 0;
}
