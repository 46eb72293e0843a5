// The tool as a user meets it: the real fenlodar.exe, started fresh for
// every test and worked from outside through its window, its message boxes,
// the file dialog and real drags.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "ole_drag.h"
#include "screen_capture.h"
#include "task_file_builder.h"
#include "temp_folder.h"
#include "tested_tool.h"
#include "texts.h"
#include "tool_driver.h"

namespace fenlodar::e2e {
namespace {

using fenlodar::testing::kGbkDownloadName;
using fenlodar::testing::TaskFileBuilder;
using fenlodar::testing::TempFolder;
using fenlodar::testing::TypicalTaskFile;

constexpr char kOldAddress[] = "http://dl.example.com/files/setup-2.4.zip";
constexpr char kReferrer[] = "http://www.example.com/downloads/setup.html";
constexpr char kNewAddress[] = "http://mirror.example.net/pub/setup-2.4.zip";

// A task file whose address fields were made for kOldAddress (a length of
// 42, its 41 bytes, three zero bytes of padding) and hold `fields` in that
// order; the first is followed by the referring page (44, its 43 bytes, one
// zero), each later one by the number 7. A rewrite changes nothing but the
// address bytes, so what it leaves is this layout with the new address in
// the replaced fields: lengths and padding stay as the old address had them.
std::string TaskFileWithAddressFields(const std::vector<std::string>& fields) {
  TaskFileBuilder file;
  file.Header().Field(kGbkDownloadName);  // 52 bytes
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) file.Number(7);
    file.Number(42).Raw(fields[i]).Zeros(3);
    if (i == 0) file.Number(44).Raw(kReferrer).Zeros(1);
  }
  return file.BlockMap(70, 50).bytes();  // 74 bytes
}

// The file's bytes, or nothing when there is no file.
std::optional<std::string> BytesOf(const std::string& path) {
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty())
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }

const std::string kEmpty;

// Another program reading the file: reads still work, writes are refused.
class HeldForReading {
 public:
  explicit HeldForReading(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldForReading() {
    if (held()) CloseHandle(handle_);
  }
  HeldForReading(const HeldForReading&) = delete;
  HeldForReading& operator=(const HeldForReading&) = delete;
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(
        tool_.Start(WindowsPathOfUnixPath(fenlodar::testing::TestedToolPath()), &why))
        << why;
  }
  void TearDown() override {
    // Every action has had its one notice answered; none may trail behind.
    EXPECT_TRUE(tool_.NoNoticeWithin(Scaled(milliseconds(300))))
        << "message box left open: "
        << ::testing::PrintToString(tool_.AnswerNotice().value_or(Notice{}).text);
    tool_.Kill();
  }

  // The next message box must be a notice with exactly this text.
  void ExpectNotice(const std::string& text) {
    const std::optional<Notice> notice = tool_.AnswerNotice();
    ASSERT_TRUE(notice) << "no message box; expected " << ::testing::PrintToString(text);
    EXPECT_EQ(notice->text, text);
    EXPECT_EQ(notice->title, texts::kNoticeTitle);
    EXPECT_FALSE(notice->has_owner);
    EXPECT_FALSE(notice->tool_window_enabled) << "the notice is not task modal";
    EXPECT_EQ(notice->button_ids, std::vector<int>{IDOK});
  }

  void ExpectNoNotice() {
    EXPECT_TRUE(tool_.NoNoticeWithin(Scaled(milliseconds(400))))
        << "unexpected message box: "
        << ::testing::PrintToString(tool_.AnswerNotice().value_or(Notice{}).text);
  }

  // Clicks the open button and gives the file dialog it brings up.
  HWND OpenFileDialog() {
    tool_.Click(Control::OpenButton);
    HWND dialog = tool_.WaitForFileDialog();
    EXPECT_TRUE(dialog) << "no file dialog";
    return dialog;
  }

  void OpenThroughDialog(const std::string& path) {
    HWND dialog = OpenFileDialog();
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(PickInFileDialog(dialog, path)) << path;
  }

  // Drops the files and waits for the drag to end. The drop waits for the
  // tool, so an expected notice is answered while the drag still runs.
  DragOutcome Drop(const std::vector<std::string>& names, const std::string& notice = "",
                   bool as_text = false) {
    std::future<DragOutcome> drag = StartDrag(tool_.window(), names, as_text);
    if (!notice.empty()) ExpectNotice(notice);
    if (drag.wait_for(kDeadline) != std::future_status::ready) {
      ADD_FAILURE() << "the drag did not end";
      return {};
    }
    return drag.get();
  }

  // Drops a task file and waits until the boxes show its name and addresses.
  void LoadByDrop(const std::string& path, const std::string& name,
                  const std::string& address, const std::string& referrer) {
    Drop({path});
    EXPECT_TRUE(Eventually([&] {
      return tool_.Text(Control::TaskNameBox) == name &&
             tool_.Text(Control::OriginalAddressBox) == address &&
             tool_.Text(Control::ReferrerBox) == referrer;
    })) << "boxes after dropping "
        << name << ": " << tool_.Text(Control::TaskNameBox) << " / "
        << tool_.Text(Control::OriginalAddressBox) << " / "
        << tool_.Text(Control::ReferrerBox);
  }

  void ExpectBoxes(const std::string& name, const std::string& address,
                   const std::string& referrer) {
    EXPECT_EQ(tool_.Text(Control::TaskNameBox), name);
    EXPECT_EQ(tool_.Text(Control::OriginalAddressBox), address);
    EXPECT_EQ(tool_.Text(Control::ReferrerBox), referrer);
  }

  RunningTool tool_;
  TempFolder folder_;
};

// Open, look, modify, undo, reload: what a user does to repair a download.
TEST_F(ToolTest, RepairRoadThroughTheFileDialog) {
  const std::string original = TaskFileWithAddressFields({kOldAddress});
  ASSERT_EQ(original.size(), 222u);
  const std::string task = folder_.Put("setup-2.4.zip.td.cfg", original);
  const std::string backup = folder_.PathOf("setup-2.4.zip.td.cfg.bak");

  HWND dialog = OpenFileDialog();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(CaptionOf(dialog), texts::kCaptionOpen);  // the platform's "打开"
  EXPECT_EQ(FilterLabelsOf(dialog),
            (std::vector<std::string>{"\xd1\xb8\xc0\xd7\xc0\xeb\xcf\xdf\xce\xc4\xbc\xfe"
                                      "(*.cfg)",
                                      "\xcb\xf9\xd3\xd0\xce\xc4\xbc\xfe"}));
  EXPECT_EQ(SelectedFilterOf(dialog), 0);
  ASSERT_TRUE(PickInFileDialog(dialog, task));
  EXPECT_TRUE(Eventually(
      [&] { return tool_.Text(Control::TaskNameBox) == "setup-2.4.zip.td.cfg"; }));
  ExpectBoxes("setup-2.4.zip.td.cfg", kOldAddress, kReferrer);
  ExpectNoNotice();

  tool_.Type(Control::NewAddressBox, kNewAddress);
  tool_.Click(Control::ModifyButton);
  ExpectNotice(texts::kNoticeModifyDone);
  // The new address is two bytes longer than the old one.
  const std::optional<std::string> rewritten = BytesOf(task);
  EXPECT_EQ(rewritten, TaskFileWithAddressFields({kNewAddress}));
  EXPECT_EQ(rewritten.value_or("").size(), 224u);
  EXPECT_EQ(BytesOf(backup), original);
  ExpectBoxes("setup-2.4.zip.td.cfg", kNewAddress, kReferrer);
  EXPECT_EQ(folder_.Entries(), (std::vector<std::string>{"setup-2.4.zip.td.cfg",
                                                         "setup-2.4.zip.td.cfg.bak"}));

  tool_.Click(Control::RestoreButton);
  ExpectNotice(texts::kNoticeRestoreDone);
  EXPECT_EQ(BytesOf(task), original);
  EXPECT_EQ(BytesOf(backup), original);
  ExpectBoxes("setup-2.4.zip.td.cfg", kOldAddress, kReferrer);

  // The download manager rewrote the file meanwhile.
  const std::string other = "http://cdn.example.org/v2/setup-2.4.zip";
  const std::string other_referrer = "http://www.example.org/setup";
  folder_.Put("setup-2.4.zip.td.cfg", TypicalTaskFile(other, other_referrer));
  tool_.Click(Control::ReloadButton);
  EXPECT_TRUE(
      Eventually([&] { return tool_.Text(Control::OriginalAddressBox) == other; }));
  ExpectBoxes("setup-2.4.zip.td.cfg", other, other_referrer);
  ExpectNoNotice();
}

TEST_F(ToolTest, FileDialogRemembersThePickAndStartsWithTheTaskFilter) {
  const std::string task =
      folder_.Put("a.td.cfg", TypicalTaskFile(kOldAddress, kReferrer));
  const std::string notes = folder_.Put("notes.txt", "mirror list, see forum\r\n");
  OpenThroughDialog(task);
  EXPECT_TRUE(Eventually([&] { return tool_.Text(Control::TaskNameBox) == "a.td.cfg"; }));

  // OK on the dialog as it opens takes the file picked last time.
  const std::string moved = "http://new-host.example.com/files/setup-2.4.zip";
  folder_.Put("a.td.cfg", TypicalTaskFile(moved, kReferrer));
  HWND dialog = OpenFileDialog();
  ASSERT_TRUE(dialog);
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(
      Eventually([&] { return tool_.Text(Control::OriginalAddressBox) == moved; }));
  ExpectNoNotice();

  // A file that is no task file, found through "所有文件".
  dialog = OpenFileDialog();
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(SelectFilter(dialog, 1));
  ASSERT_TRUE(PickInFileDialog(dialog, notes));
  ExpectNotice(texts::kNoticeNotTaskFile);
  ExpectBoxes("a.td.cfg", moved, kReferrer);

  // The filter choice is not remembered; cancelling changes nothing.
  dialog = OpenFileDialog();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(SelectedFilterOf(dialog), 0);
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(Eventually([&] { return !IsWindow(dialog); }));
  ExpectNoNotice();
  ExpectBoxes("a.td.cfg", moved, kReferrer);
  EXPECT_EQ(folder_.Entries(), (std::vector<std::string>{"a.td.cfg", "notes.txt"}));
}

TEST_F(ToolTest, DroppedTaskFilesWithChineseNamesAreLoaded) {
  const struct {
    const char* what;
    std::string folder;
    std::string name;
  } cases[] = {
      // A download manager names a task file after the download:
      // 下载的文件.zip.td.cfg, here
      // in a folder 任务, so the path is GBK all through.
      {"named after the download", "\xc8\xce\xce\xf1",
       std::string(kGbkDownloadName) + ".td.cfg"},
      // 怽 ends in 0x5C, the byte of the path separator.
      {"a second byte like a backslash", "\x90\x5c",
       "\x90\x5c"
       "1.td.cfg"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    folder_.MakeFolder(c.folder);
    const std::string bytes = TypicalTaskFile(kOldAddress, kReferrer);
    const std::string task = folder_.Put(c.folder + "\\" + c.name, bytes);

    std::future<DragOutcome> drag = StartDrag(tool_.window(), {task});
    ASSERT_EQ(drag.wait_for(kDeadline), std::future_status::ready);
    EXPECT_EQ(drag.get().effect, static_cast<DWORD>(DROPEFFECT_NONE))
        << "a drop must be reported as not performed";
    EXPECT_TRUE(Eventually([&] { return tool_.Text(Control::TaskNameBox) == c.name; }))
        << ::testing::PrintToString(tool_.Text(Control::TaskNameBox));
    ExpectBoxes(c.name, kOldAddress, kReferrer);
    ExpectNoNotice();
    EXPECT_EQ(BytesOf(task), bytes);
    // Out of the boxes again, so the next drop has to fill them.
    tool_.Type(Control::TaskNameBox, "");
    tool_.Type(Control::OriginalAddressBox, "");
    tool_.Type(Control::ReferrerBox, "");
  }
}

// After a good file, nothing a refused drop brings may change the boxes.
TEST_F(ToolTest, RefusedDropsKeepWhatTheBoxesShow) {
  const std::string task =
      folder_.Put("a.td.cfg", TypicalTaskFile(kOldAddress, kReferrer));
  const std::string second = folder_.Put(
      "b.td.cfg", TypicalTaskFile("http://b.example.com/b.zip", "http://b//"));
  const std::string notes = folder_.Put("notes.txt", "mirror list, see forum\r\n");
  const std::string folder = folder_.MakeFolder("x.td.cfg");
  LoadByDrop(task, "a.td.cfg", kOldAddress, kReferrer);

  const struct {
    const char* what;
    std::vector<std::string> names;
    bool as_text;
    std::string notice;  // empty: the drag is refused and nothing is shown
  } cases[] = {
      // Both paths, each with CR LF, name no file.
      {"two task files", {task, second}, false, texts::kNoticeReadFailed},
      {"a folder", {folder}, false, texts::kNoticeReadFailed},
      {"a file of another kind", {notes}, false, texts::kNoticeNotTaskFile},
      {"a path dragged as text", {second}, true, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const DragOutcome outcome = Drop(c.names, c.notice, c.as_text);
    if (c.notice.empty()) ExpectNoNotice();
    EXPECT_EQ(outcome.effect, static_cast<DWORD>(DROPEFFECT_NONE));
    ExpectBoxes("a.td.cfg", kOldAddress, kReferrer);
  }

  // A reload reads what the last drop named, not what the boxes show.
  tool_.Click(Control::ReloadButton);
  ExpectNotice(texts::kNoticeNotTaskFile);
  ExpectBoxes("a.td.cfg", kOldAddress, kReferrer);
}

TEST_F(ToolTest, ReloadBeforeAnyAcceptedFile) {
  tool_.Click(Control::ReloadButton);
  ExpectNotice(texts::kNoticeNothingToReload);

  // The check is on the name box, which a user may type into; the path
  // behind it is still empty.
  tool_.Type(Control::TaskNameBox, "a.td.cfg");
  tool_.Click(Control::ReloadButton);
  ExpectNotice(texts::kNoticeReadFailed);
  tool_.Type(Control::TaskNameBox, "");

  // A refused first file does not count as loaded.
  const std::string notes = folder_.Put("notes.txt", "mirror list, see forum\r\n");
  Drop({notes}, texts::kNoticeNotTaskFile);
  tool_.Click(Control::ReloadButton);
  ExpectNotice(texts::kNoticeNothingToReload);
  ExpectBoxes("", "", "");
}

TEST_F(ToolTest, ModifyReplacesTheFirstTwoOccurrencesOnly) {
  // Holds the old address: a second search from the start would find it
  // again inside the first replacement.
  const std::string longer = std::string(kOldAddress) + "?mirror=2";
  const struct {
    const char* what;
    std::vector<std::string> before, after;
    std::size_t size_before, size_after;
  } cases[] = {
      {"twice, new address holds the old",
       {kOldAddress, kOldAddress},
       {longer, longer},
       274,
       292},
      {"three times, the third stays",
       {kOldAddress, kOldAddress, kOldAddress},
       {kNewAddress, kNewAddress, kOldAddress},
       326,
       330},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string original = TaskFileWithAddressFields(c.before);
    ASSERT_EQ(original.size(), c.size_before);
    TempFolder folder;
    const std::string task = folder.Put("a.td.cfg", original);
    LoadByDrop(task, "a.td.cfg", kOldAddress, kReferrer);
    tool_.Type(Control::NewAddressBox, c.after[0]);
    tool_.Click(Control::ModifyButton);
    ExpectNotice(texts::kNoticeModifyDone);
    const std::optional<std::string> rewritten = BytesOf(task);
    EXPECT_EQ(rewritten, TaskFileWithAddressFields(c.after));
    EXPECT_EQ(rewritten.value_or("").size(), c.size_after);
    EXPECT_EQ(BytesOf(folder.PathOf("a.td.cfg.bak")), original);
    EXPECT_EQ(tool_.Text(Control::OriginalAddressBox), c.after[0]);
  }
}

TEST_F(ToolTest, ModifyRefusesAndLeavesTheFilesAlone) {
  // Before any file, the backup would land beside the tool as ".bak".
  const std::string stray =
      FolderOf(WindowsPathOfUnixPath(fenlodar::testing::TestedToolPath())) + "\\.bak";
  DeleteFileA(stray.c_str());
  tool_.Type(Control::NewAddressBox, kNewAddress);
  tool_.Click(Control::ModifyButton);
  ExpectNotice(texts::kNoticeNoTaskLoaded);
  EXPECT_FALSE(Exists(stray));

  const std::string original = TypicalTaskFile(kOldAddress, kReferrer);
  const struct {
    const char* what;
    std::string new_address;
    // Runs after the file is loaded, before the click.
    void (*arrange)(RunningTool& tool, const std::string& task);
    bool hold_task;  // another program reads the task file meanwhile
    std::string notice;
    bool task_kept;       // false: the task file is gone and must stay gone
    bool backup_written;  // false: no file appears or changes
  } cases[] = {
      {"new address of 12 bytes", "http://a.b/c", [](RunningTool&, const std::string&) {},
       false, texts::kNoticeNewAddressTooShort, true, false},
      {"original address box emptied", kNewAddress,
       [](RunningTool& tool, const std::string&) {
         tool.Type(Control::OriginalAddressBox, "");
       },
       false, texts::kNoticeOldAddressNotFound, true, false},
      {"original address not in the file", kNewAddress,
       [](RunningTool& tool, const std::string&) {
         tool.Type(Control::OriginalAddressBox, "http://elsewhere.example.com/x.zip");
       },
       false, texts::kNoticeOldAddressNotFound, true, false},
      {"task file gone", kNewAddress,
       [](RunningTool&, const std::string& task) { DeleteFileA(task.c_str()); }, false,
       texts::kNoticeReadFailed, false, false},
      {"backup cannot be written", kNewAddress,
       [](RunningTool&, const std::string& task) {
         CreateDirectoryA((task + ".bak").c_str(), nullptr);
       },
       false, texts::kNoticeBackupFailed, true, false},
      {"task file cannot be written", kNewAddress,
       [](RunningTool& tool, const std::string&) {
         // The reload before the notice puts the name back.
         tool.Type(Control::TaskNameBox, "scribble");
       },
       true, texts::kNoticeModifyWriteFailed, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    const std::string task = folder.Put("a.td.cfg", original);
    LoadByDrop(task, "a.td.cfg", kOldAddress, kReferrer);
    c.arrange(tool_, task);
    const std::vector<std::string> before = folder.Entries();
    {
      std::optional<HeldForReading> held;
      if (c.hold_task) {
        ASSERT_TRUE(held.emplace(task).held());
      }
      tool_.Type(Control::NewAddressBox, c.new_address);
      tool_.Click(Control::ModifyButton);
      ExpectNotice(c.notice);
    }
    if (c.task_kept) {
      EXPECT_EQ(BytesOf(task), original);
    }
    if (c.backup_written) {
      EXPECT_EQ(BytesOf(task + ".bak"), original);
      ExpectBoxes("a.td.cfg", kOldAddress, kReferrer);
    } else {
      EXPECT_EQ(folder.Entries(), before);
    }
  }
}

TEST_F(ToolTest, RestoreRefusals) {
  // Before any file: the box is emptied all the same.
  tool_.Type(Control::OriginalAddressBox, kOldAddress);
  tool_.Click(Control::RestoreButton);
  ExpectNotice(texts::kNoticeNoTaskLoaded);
  EXPECT_EQ(tool_.Text(Control::OriginalAddressBox), "");

  const std::string original = TypicalTaskFile(kOldAddress, kReferrer);
  const std::string earlier = TypicalTaskFile("http://x.example.com/x.zip", kReferrer);
  const struct {
    const char* what;
    const std::string* backup;  // nullptr: there is none
    bool delete_task;
    bool hold_task;  // another program reads the task file meanwhile
    std::string notice;
    std::string address_after;  // the box is emptied first; only a reload refills it
  } cases[] = {
      {"no backup", nullptr, false, false, texts::kNoticeRestoreNoBackup, ""},
      {"empty backup", &kEmpty, false, false, texts::kNoticeRestoreNoBackup, ""},
      {"task file gone", &earlier, true, false, texts::kNoticeRestoreTaskUnreadable, ""},
      {"task file cannot be written", &earlier, false, true,
       texts::kNoticeRestoreWriteFailed, kOldAddress},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    const std::string task = folder.Put("a.td.cfg", original);
    LoadByDrop(task, "a.td.cfg", kOldAddress, kReferrer);
    if (c.backup) folder.Put("a.td.cfg.bak", *c.backup);
    if (c.delete_task) DeleteFileA(task.c_str());
    const std::vector<std::string> before = folder.Entries();
    {
      std::optional<HeldForReading> held;
      if (c.hold_task) {
        ASSERT_TRUE(held.emplace(task).held());
      }
      tool_.Click(Control::RestoreButton);
      ExpectNotice(c.notice);
    }
    EXPECT_EQ(tool_.Text(Control::OriginalAddressBox), c.address_after);
    EXPECT_EQ(folder.Entries(), before);
    if (c.backup) {
      EXPECT_EQ(BytesOf(task + ".bak"), *c.backup);
    }
    if (!c.delete_task) {
      EXPECT_EQ(BytesOf(task), original);
    }
  }
}

// Points Wine's browser launcher at a script that notes each request.
class VisitTest : public ToolTest {
 protected:
  void SetUp() override {
    DeleteFileA(log_.c_str());
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", 0,
                              nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_, nullptr),
              ERROR_SUCCESS);
    char previous[1024] = {};
    DWORD size = sizeof previous;
    if (RegQueryValueExA(key_, "Browsers", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(previous), &size) == ERROR_SUCCESS)
      previous_ = std::string(previous);
    const std::string browser = FENLODAR_E2E_BROWSER;
    ASSERT_EQ(RegSetValueExA(key_, "Browsers", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(browser.c_str()),
                             static_cast<DWORD>(browser.size() + 1)),
              ERROR_SUCCESS);
    ToolTest::SetUp();
  }
  void TearDown() override {
    ToolTest::TearDown();
    if (!key_) return;
    if (previous_) {
      RegSetValueExA(key_, "Browsers", 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(previous_->c_str()),
                     static_cast<DWORD>(previous_->size() + 1));
    } else {
      RegDeleteValueA(key_, "Browsers");
    }
    RegCloseKey(key_);
  }

  std::vector<std::string> Requests() const {
    std::vector<std::string> lines;
    const std::string all = BytesOf(log_).value_or("");
    std::size_t start = 0;
    for (std::size_t end; (end = all.find('\n', start)) != std::string::npos;
         start = end + 1)
      lines.push_back(all.substr(start, end - start));
    return lines;
  }

  std::string log_ = WindowsPathOfUnixPath(FENLODAR_E2E_BROWSER_LOG);
  HKEY key_ = nullptr;
  std::optional<std::string> previous_;
};

TEST_F(VisitTest, OnlyWebAddressesGoToTheBrowser) {
  const std::string task =
      folder_.Put("a.td.cfg", TypicalTaskFile(kOldAddress, kReferrer));
  LoadByDrop(task, "a.td.cfg", kOldAddress, kReferrer);
  tool_.Click(Control::VisitButton);
  EXPECT_TRUE(Eventually([&] { return Requests().size() == 1; }));
  ExpectNoNotice();

  const struct {
    std::string referrer;
    // What reaches the browser; empty: refused. Wine's launcher writes
    // scheme and host in small letters.
    std::string opened_as;
  } cases[] = {
      {"HTTPS://Secure.Example.com/dl?id=7", "https://secure.example.com/dl?id=7"},
      {"Http://www.example.com/Dl/Setup.html", "http://www.example.com/Dl/Setup.html"},
      {"ftp://mirror.example.com/pub/setup-2.4.zip", ""},
      {"http:/www.example.com/downloads", ""},
      {"www.example.com/downloads/setup.html", ""},
      {"", ""},
  };
  std::vector<std::string> expected = {kReferrer};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.referrer);
    tool_.Type(Control::ReferrerBox, c.referrer);
    tool_.Click(Control::VisitButton);
    if (!c.opened_as.empty()) {
      expected.push_back(c.opened_as);
      EXPECT_TRUE(Eventually([&] { return Requests().size() == expected.size(); }));
      ExpectNoNotice();
    } else {
      ExpectNotice(texts::kNoticeReferrerNotWebAddress);
    }
  }
  // A refused request would reach the script late, if at all.
  Sleep(static_cast<DWORD>(Scaled(milliseconds(1500)).count()));
  EXPECT_EQ(Requests(), expected);
}

TEST_F(ToolTest, EscClosesTheToolWithoutWriting) {
  const std::string original = TypicalTaskFile(kOldAddress, kReferrer);
  const std::string task = folder_.Put("a.td.cfg", original);
  LoadByDrop(task, "a.td.cfg", kOldAddress, kReferrer);
  tool_.Type(Control::NewAddressBox, kNewAddress);

  ASSERT_TRUE(PressKeyOn(tool_.window(), VK_ESCAPE));
  DWORD exit_code = 1;
  ASSERT_TRUE(tool_.WaitForExit(kDeadline, &exit_code)) << "still running after Esc";
  EXPECT_EQ(exit_code, 0u);
  EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"a.td.cfg"});
  EXPECT_EQ(BytesOf(task), original);
}

// Real key presses, as the platform delivers them.
TEST_F(ToolTest, KeysMoveTheFocusAndTypeButNeverClickOnEnter) {
  EXPECT_EQ(tool_.Focused(), tool_.control(Control::NewAddressBox));
  for (WORD key : std::initializer_list<WORD>{'A', 'B', 'C', VK_RETURN})
    ASSERT_TRUE(PressKeyOn(tool_.window(), key));
  EXPECT_TRUE(Eventually([&] { return tool_.Text(Control::NewAddressBox) == "abc\r\n"; }))
      << ::testing::PrintToString(tool_.Text(Control::NewAddressBox));

  ASSERT_TRUE(PressKeyOn(tool_.window(), VK_TAB));
  EXPECT_TRUE(
      Eventually([&] { return tool_.Focused() == tool_.control(Control::VisitButton); }));
  // A click here would refuse the empty referrer with a notice.
  ASSERT_TRUE(PressKeyOn(tool_.window(), VK_RETURN));
  ExpectNoNotice();
  EXPECT_EQ(tool_.Focused(), tool_.control(Control::VisitButton));

  ASSERT_TRUE(PressKeyOn(tool_.window(), VK_TAB, /*shift=*/true));
  EXPECT_TRUE(Eventually(
      [&] { return tool_.Focused() == tool_.control(Control::NewAddressBox); }));
  ASSERT_TRUE(PressKeyOn(tool_.window(), VK_TAB));
  ASSERT_TRUE(
      Eventually([&] { return tool_.Focused() == tool_.control(Control::VisitButton); }));
  ASSERT_TRUE(PressKeyOn(tool_.window(), VK_SPACE));
  ExpectNotice(texts::kNoticeReferrerNotWebAddress);
  EXPECT_EQ(tool_.Text(Control::NewAddressBox), "abc\r\n");
}

// Also writes the picture of the window the project shows.
TEST_F(ToolTest, WindowWithALoadedTaskFileLooksRight) {
  const std::string name = std::string(kGbkDownloadName) + ".td.cfg";
  const std::string task = folder_.Put(name, TypicalTaskFile(kOldAddress, kReferrer));
  LoadByDrop(task, name, kOldAddress, kReferrer);
  tool_.Type(Control::NewAddressBox, kNewAddress);
  Sleep(static_cast<DWORD>(Scaled(milliseconds(300)).count()));  // let the boxes repaint

  RECT outer{};
  GetWindowRect(tool_.window(), &outer);
  EXPECT_EQ(outer.right - outer.left, 485);
  EXPECT_EQ(outer.bottom - outer.top, 454);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 485) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 454) / 2);

  const ScreenCapture shot = ScreenCapture::Of(outer);
  ASSERT_TRUE(shot.WriteBmp(WindowsPathOfUnixPath(FENLODAR_E2E_OUTPUT_DIR) +
                            "\\fenlodar-window.bmp"));

  // A spot of each box's background that no text reaches.
  const struct {
    Control box;
    std::uint32_t colour;
  } backgrounds[] = {
      {Control::TaskNameBox, 0xECECEC},
      {Control::OriginalAddressBox, 0xECECEC},
      {Control::ReferrerBox, 0xECECEC},
      {Control::NewAddressBox, 0xFFFFFF},
  };
  for (const auto& b : backgrounds) {
    RECT box{};
    GetWindowRect(tool_.control(b.box), &box);
    const bool one_line = b.box == Control::ReferrerBox;
    const int x = one_line ? box.right - 12 : (box.left + box.right) / 2;
    const int y = one_line ? (box.top + box.bottom) / 2 : box.bottom - 5;
    EXPECT_EQ(shot.At(x - outer.left, y - outer.top), b.colour)
        << "box at " << box.left << "," << box.top;
  }
}

}  // namespace
}  // namespace fenlodar::e2e
