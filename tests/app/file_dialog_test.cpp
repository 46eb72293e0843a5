// The open button's road through the real open dialog, answered from a
// worker thread as a user would: what a pick stores, and that a cancel
// changes nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <thread>

// After windows.h, which it needs.
#include <commdlg.h>

#include "button_handlers.h"
#include "current_task.h"
#include "file_dialog.h"
#include "system_library.h"
#include "task_file_builder.h"
#include "temp_folder.h"
#include "test_time.h"
#include "window_fixture.h"

namespace fenlodar::testing {
namespace {

constexpr int kFileNameField = 0x47c;
constexpr int kFileTypeList = 0x470;

// A named CALLBACK function, not a lambda: on x86 the enumeration calls it
// with the stdcall convention, which a lambda cannot carry.
BOOL CALLBACK KeepVisibleDialog(HWND window, LPARAM result) {
  char window_class[16] = {};
  GetClassNameA(window, window_class, sizeof(window_class));
  if (std::string(window_class) != "#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(result) = window;
  return FALSE;
}

HWND FindOpenDialog(DWORD thread) {
  HWND found = nullptr;
  EnumThreadWindows(thread, KeepVisibleDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Waits on another thread for this thread's open dialog and hands it to
// `answer`; gives up and cancels after a few seconds so a test cannot hang.
class DialogAnswer {
 public:
  explicit DialogAnswer(std::function<void(HWND dialog)> answer)
      : worker_([this, answer, thread = GetCurrentThreadId()] {
          for (int tries = 0; tries < 200 * TimeScale() && dialog_ == nullptr; ++tries) {
            dialog_ = FindOpenDialog(thread);
            if (dialog_ == nullptr) Sleep(25);
          }
          if (dialog_ != nullptr) answer(dialog_);
        }) {}
  ~DialogAnswer() { worker_.join(); }
  bool Seen() const { return dialog_ != nullptr; }

 private:
  std::atomic<HWND> dialog_{nullptr};
  std::thread worker_;
};

std::string FieldText(HWND dialog) {
  std::array<char, 300> text{};
  SendMessageA(GetDlgItem(dialog, kFileNameField), WM_GETTEXT, text.size(),
               reinterpret_cast<LPARAM>(text.data()));
  return text.data();
}

// Types into the name field and presses the dialog's OK button.
void Type(HWND dialog, const std::string& text) {
  SendMessageA(GetDlgItem(dialog, kFileNameField), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(text.c_str()));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

std::string FolderShown(HWND dialog) {
  std::array<char, MAX_PATH> folder{};
  SendMessageA(dialog, CDM_GETFOLDERPATH, folder.size(),
               reinterpret_cast<LPARAM>(folder.data()));
  return folder.data();
}

// What an open dialog showed before it was cancelled.
struct Shown {
  std::string folder, name;
  LRESULT filter = -1;
};

Shown LookAndCancel(HWND open) {
  Shown shown{FolderShown(open), FieldText(open),
              SendMessageA(GetDlgItem(open, kFileTypeList), CB_GETCURSEL, 0, 0)};
  PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
  return shown;
}

class FileDialogTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    GetCurrentDirectoryA(MAX_PATH, start_directory_.data());
  }
  // The dialog leaves the working directory in the picked folder; the
  // folder must be left before it is removed.
  void TearDown() override {
    SetCurrentDirectoryA(start_directory_.data());
    WindowTest::TearDown();
  }
  std::array<char, MAX_PATH> start_directory_{};
};

TEST_F(FileDialogTest, APickIsLoadedAndRememberedAndACancelChangesNothing) {
  TempFolder folder;
  const std::string task = folder.Put(
      "a.td.cfg", TypicalTaskFile("http://example.com/a.zip", "http://example.com/"));
  FileDialog dialog;
  {
    // As a user does: go into the folder, then pick the file there.
    // The pick is made with the second filter, "*.*".
    DialogAnswer answer([&](HWND open) {
      HWND types = GetDlgItem(open, kFileTypeList);
      SendMessageA(types, CB_SETCURSEL, 1, 0);
      SendMessageA(open, WM_COMMAND, MAKEWPARAM(kFileTypeList, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(types));
      Type(open, folder.path());
      for (int tries = 0; tries < 200 * TimeScale() && FolderShown(open) != folder.path();
           ++tries)
        Sleep(25);
      Type(open, "a.td.cfg");
    });
    OnOpenClicked(*window_, dialog, Frame());
    ASSERT_TRUE(answer.Seen());
  }
  EXPECT_EQ(dialog.FileName(), task);
  EXPECT_EQ(CurrentTaskPath, task);
  EXPECT_EQ(TextOf(Control(Role::TaskNameBox)), "a.td.cfg");
  // The working directory followed the pick, and the next open starts there.
  EXPECT_EQ(CurrentDirectory(), folder.path());
  EXPECT_EQ(dialog.InitialDirectory(), folder.path());
  EXPECT_EQ(window_->notices, std::vector<std::string>{});

  Shown shown;
  {
    DialogAnswer answer([&](HWND open) { shown = LookAndCancel(open); });
    SetCurrentDirectoryA(start_directory_.data());
    CurrentTaskPath = "unchanged";
    OnOpenClicked(*window_, dialog, Frame());
    ASSERT_TRUE(answer.Seen());
  }
  // Given the whole last pick, the dialog opens in its folder and shows its
  // name there.
  EXPECT_EQ(shown.folder, folder.path());
  EXPECT_EQ(shown.name, "a.td.cfg");
  EXPECT_EQ(shown.filter, 0);  // back at "*.cfg"
  EXPECT_EQ(CurrentTaskPath, "unchanged");
  EXPECT_EQ(dialog.FileName(), task);
  EXPECT_EQ(dialog.InitialDirectory(), folder.path());
  EXPECT_EQ(window_->notices, std::vector<std::string>{});

  // The path it is given has its folder, not only the name: the dialog
  // goes there even when told to start somewhere else.
  TempFolder elsewhere;
  dialog.SetInitialDirectory(elsewhere.path());
  {
    DialogAnswer answer([&](HWND open) { shown = LookAndCancel(open); });
    OnOpenClicked(*window_, dialog, Frame());
    ASSERT_TRUE(answer.Seen());
  }
  EXPECT_EQ(shown.folder, folder.path());
  EXPECT_EQ(shown.name, "a.td.cfg");
  EXPECT_EQ(window_->notices, std::vector<std::string>{});
}

TEST_F(FileDialogTest, WithoutTheDialogLibraryNoDialogShowsAndNothingChanges) {
  TempFolder empty;
  SetLibraryFolderForTesting(empty.path());
  FileDialog dialog;
  dialog.SetInitialDirectory(empty.path());
  CurrentTaskPath = "unchanged";
  bool shown = false;
  {
    // A dialog that did show is closed again, so the test fails instead
    // of waiting.
    DialogAnswer answer([](HWND open) { PostMessageA(open, WM_COMMAND, IDCANCEL, 0); });
    OnOpenClicked(*window_, dialog, Frame());
    SetLibraryFolderForTesting("");
    shown = answer.Seen();
  }
  EXPECT_FALSE(shown);
  EXPECT_EQ(CurrentTaskPath, "unchanged");
  EXPECT_EQ(dialog.FileName(), "");
  EXPECT_EQ(dialog.InitialDirectory(), empty.path());
  EXPECT_EQ(window_->notices, std::vector<std::string>{});
}

TEST_F(FileDialogTest, CurrentDirectoryIsTheWorkingDirectory) {
  TempFolder folder;
  ASSERT_TRUE(SetCurrentDirectoryA(folder.path().c_str()));
  EXPECT_EQ(CurrentDirectory(), folder.path());
}

}  // namespace
}  // namespace fenlodar::testing
